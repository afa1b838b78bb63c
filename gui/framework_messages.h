// The framework's own window messages, all in one place so that no two can share a number.
#pragma once

#include <windows.h>

namespace pem::gui {

// Posted to a form that is to be destroyed once the messages before it are handled.
inline constexpr UINT kReleaseMessage = WM_APP + 0x100;
// Posted to the application window: run the work that other threads handed in.
inline constexpr UINT kPostedWorkMessage = WM_APP + 0x101;
// Sent to every control of a form laid out again at another display scale, once the controls
// have their new places and font: WPARAM and LPARAM are the old and the new dots per inch, for
// what a control sizes in pixels of its own.
inline constexpr UINT kScaleChangedMessage = WM_APP + 0x102;

}  // namespace pem::gui
