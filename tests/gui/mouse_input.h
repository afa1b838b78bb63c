// The mouse as a user moves and clicks it, through the system's input queue.
#pragma once

#include <windows.h>

namespace pem::testing {

enum class MouseButton { left, right };

// Moves the pointer to a screen point and clicks there `clicks` times in a row (2: a double
// click).
void ClickAt(POINT screen, MouseButton button = MouseButton::left, int clicks = 1);

}  // namespace pem::testing
