// Keyboard navigation in forms, before a message is dispatched: Tab and Shift+Tab through the
// tab order, Enter and Esc for the buttons that take them, and the accelerators of captions
// (with Alt from anywhere, without Alt where the focused control takes no characters).
#pragma once

#include <windows.h>

namespace pem::gui {

// True when the message was used and is not to be dispatched.
bool HandleDialogKeys(const MSG& message);

}  // namespace pem::gui
