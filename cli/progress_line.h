// The progress of a run on a terminal: one status line, redrawn in place.
#pragma once

#include <chrono>
#include <string>

#include "console.h"
#include "conversion_run.h"

namespace pem {

// Categories done of all and entries written. Redrawn at most every 100 ms, however fast the
// categories and entries come, always when it appears and once more with the final counts
// before it is wiped.
class ProgressLine : public ProgressIndicator {
 public:
  ProgressLine(Console& console, bool enabled) : console_(console), enabled_(enabled) {}

  void SetMin(int value) override { min_ = value; }
  void SetMax(int value) override { max_ = value; }
  void SetPosition(int value) override;
  void StepIt() override;
  void SetVisible(bool visible) override;
  void EntryWritten();
  // Clears the line, so that a message can take its place; the next change draws it again.
  void Wipe();

  int Position() const { return position_; }
  int Total() const { return max_ - min_ + 1; }
  long long Entries() const { return entries_; }

 private:
  void Draw(bool now);

  Console& console_;
  const bool enabled_;
  bool visible_ = false;
  std::size_t width_ = 0;  // of the widest line drawn, without its "\r"
  int min_ = 0, max_ = 0, position_ = 0;
  long long entries_ = 0;
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace pem
