#include "thread_windows.h"

#include <exception>

namespace pem::gui {
namespace {

// Kept on the caller's stack, so that nested calls (a box over a modal window) do not share it.
struct Enumeration {
  HWND spared;
  DisabledWindowList disabled;
  std::exception_ptr failure;
};

BOOL CALLBACK DisableWindow(HWND window, LPARAM data) {
  auto& enumeration = *reinterpret_cast<Enumeration*>(data);
  if (window == enumeration.spared || !IsWindowVisible(window) || !IsWindowEnabled(window))
    return TRUE;
  try {
    enumeration.disabled.insert(enumeration.disabled.begin(), window);
  } catch (...) {
    enumeration.failure = std::current_exception();
    return FALSE;
  }
  EnableWindow(window, FALSE);
  return TRUE;
}

}  // namespace

DisabledWindowList DisableThreadWindows(HWND spared) {
  Enumeration enumeration{spared, {}, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&enumeration));
  if (enumeration.failure) {
    EnableThreadWindows(enumeration.disabled);
    std::rethrow_exception(enumeration.failure);
  }
  return std::move(enumeration.disabled);
}

void EnableThreadWindows(DisabledWindowList& windows) {
  for (const HWND window : windows) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  windows.clear();
}

}  // namespace pem::gui
