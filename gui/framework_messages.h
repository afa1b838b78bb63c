// The framework's own window messages, all in one place so that no two can share a number.
#pragma once

#include <windows.h>

namespace pem::gui {

// Posted to a form that is to be destroyed once the messages before it are handled.
inline constexpr UINT kReleaseMessage = WM_APP + 0x100;
// Posted to the application window: run the work that other threads handed in.
inline constexpr UINT kPostedWorkMessage = WM_APP + 0x101;
// Posted to a tree to itself: do the work that its last paints left for later.
inline constexpr UINT kAfterPaintMessage = WM_APP + 0x102;
// Sent to every control of a form laid out again at another display scale, once the controls
// have their new places and font: WPARAM and LPARAM are the old and the new dots per inch, for
// what a control sizes in pixels of its own.
inline constexpr UINT kScaleChangedMessage = WM_APP + 0x103;

}  // namespace pem::gui
