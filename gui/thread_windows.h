// Modality towards the whole application: the thread's other top-level windows are disabled
// while a box, a browser or a modal form is up, and enabled again afterwards.
#pragma once

#include <windows.h>

#include <vector>

namespace pem::gui {

// The windows that DisableThreadWindows disabled, newest first.
using DisabledWindowList = std::vector<HWND>;

// Disables every visible, enabled top-level window of the calling thread except `spared`; gives
// the list of the windows it disabled. On failure the windows disabled so far are enabled again.
DisabledWindowList DisableThreadWindows(HWND spared);

// Enables again every window of the list that still exists, newest first.
void EnableThreadWindows(DisabledWindowList& windows);

// DisableThreadWindows for the lifetime of the object.
class ThreadWindowsDisabled {
 public:
  explicit ThreadWindowsDisabled(HWND spared) : windows_(DisableThreadWindows(spared)) {}
  ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
  ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;
  ~ThreadWindowsDisabled() { EnableThreadWindows(windows_); }

 private:
  DisabledWindowList windows_;
};

}  // namespace pem::gui
