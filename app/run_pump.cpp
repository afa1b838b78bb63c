#include "run_pump.h"

namespace pem {
namespace {

constexpr ULONGLONG kPumpInterval = 100;  // milliseconds

// What the run throws away, posted or from the devices: the mouse over the client area and the
// frame, raw input, keys and characters, and a click posted to a button.
constexpr UINT kInputRanges[][2] = {{WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
                                    {BM_CLICK, BM_CLICK},
                                    {WM_INPUT, WM_KEYLAST},
                                    {WM_MOUSEFIRST, WM_MOUSELAST}};
// The most messages of one range that a pump hands on: enough for every window of the thread to
// paint, and an end should a window never validate itself.
constexpr int kMostDispatched = 64;

}  // namespace

RunMessagePump::RunMessagePump() : next_pump_(GetTickCount64() + kPumpInterval) {}

RunMessagePump::~RunMessagePump() {
  if (quit_) PostQuitMessage(static_cast<int>(*quit_));
}

// Every call of the message functions also delivers the messages sent to the thread's windows
// by other threads and programs. Of the posted ones only paint and timers run now (a progress
// bar animates by its timer); the rest wait in the queue for the run's end, as before.
void RunMessagePump::Pump() {
  next_pump_ = GetTickCount64() + kPumpInterval;
  DropInput();
  Take(WM_PAINT, WM_PAINT, true);
  Take(WM_TIMER, WM_TIMER, true);
}

void RunMessagePump::DropInput() {
  for (const auto& [first, last] : kInputRanges) Take(first, last, false);
}

void RunMessagePump::Take(UINT first, UINT last, bool dispatch) {
  MSG message{};
  for (int count = 0; (!dispatch || count < kMostDispatched) &&
                      PeekMessageW(&message, nullptr, first, last, PM_REMOVE);
       ++count) {
    // The quit message comes whatever the range asks for.
    if (message.message == WM_QUIT)
      quit_ = message.wParam;
    else if (dispatch)
      DispatchMessageW(&message);
  }
}

}  // namespace pem
