// What keeps the main window alive while a conversion runs inside OK's click handler: between
// entries, at most every 100 ms, the window repaints and answers what the system and other
// programs send it, so that the system never marks it as not responding. No input reaches the
// program during the run: clicks and keys that arrive meanwhile are thrown away.
#pragma once

#include <windows.h>

#include <optional>

namespace pem {

class RunMessagePump {
 public:
  RunMessagePump();
  RunMessagePump(const RunMessagePump&) = delete;
  RunMessagePump& operator=(const RunMessagePump&) = delete;
  // A quit message that arrived during the run is posted again, for the loop that runs next.
  ~RunMessagePump();

  // Cheap enough for every entry: only looks at the clock until the next pump is due.
  void BetweenEntries() {
    if (GetTickCount64() >= next_pump_) Pump();
  }
  // Throws away the clicks and keys that have come since the last pump.
  void DropInput();

 private:
  void Pump();
  // Removes the messages of the range, handing each to its window procedure when `dispatch` is
  // set; a quit message is kept for the end of the run.
  void Take(UINT first, UINT last, bool dispatch);

  ULONGLONG next_pump_;
  std::optional<WPARAM> quit_;
};

}  // namespace pem
