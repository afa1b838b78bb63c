#include "message_recorder.h"

#include <algorithm>
#include <atomic>
// After windows.h, which it needs.
#include <commctrl.h>
#include <shlobj.h>

namespace pem::testing {
namespace {

std::atomic<MessageRecorder*> active_recorder{nullptr};

bool Recordable(UINT message) {
  switch (message) {
    case WM_ENABLE:
    case WM_SHOWWINDOW:
    case PBM_SETRANGE32:
    case PBM_SETPOS:
    case PBM_STEPIT:
      return true;
    default:
      return false;
  }
}

}  // namespace

MessageRecorder::MessageRecorder(DWORD thread, std::vector<HWND> watched)
    : watched_(std::move(watched)) {
  active_recorder = this;
  hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, thread);
}

MessageRecorder::~MessageRecorder() {
  UnhookWindowsHookEx(hook_);
  active_recorder = nullptr;
}

std::vector<RecordedMessage> MessageRecorder::Messages() {
  std::lock_guard lock(mutex_);
  return messages_;
}

LRESULT CALLBACK MessageRecorder::Hook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    if (MessageRecorder* recorder = active_recorder)
      recorder->Record(*reinterpret_cast<const CWPSTRUCT*>(lparam));
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void MessageRecorder::Record(const CWPSTRUCT& call) {
  if (call.message == BFFM_SETSELECTIONW && call.wParam) {
    std::lock_guard lock(mutex_);
    messages_.push_back({call.hwnd, call.message, call.wParam, call.lParam, false, false,
                         reinterpret_cast<const wchar_t*>(call.lParam)});
    return;
  }
  if (watched_.empty() || !Recordable(call.message) ||
      std::find(watched_.begin(), watched_.end(), call.hwnd) == watched_.end())
    return;
  const bool all_disabled = std::none_of(watched_.begin(), watched_.end() - 1,
                                         [](HWND window) { return IsWindowEnabled(window); });
  std::lock_guard lock(mutex_);
  messages_.push_back({call.hwnd,
                       call.message,
                       call.wParam,
                       call.lParam,
                       all_disabled,
                       IsWindowVisible(watched_.back()) != FALSE,
                       {}});
}

}  // namespace pem::testing
