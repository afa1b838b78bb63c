#include "mouse_input.h"

#include <vector>

namespace pem::testing {
namespace {

INPUT MouseInput(POINT screen, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Absolute positions run from 0 to 65535 across the primary screen.
  input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  return input;
}

}  // namespace

void ClickAt(POINT screen, MouseButton button, int clicks) {
  const bool left = button == MouseButton::left;
  std::vector<INPUT> inputs{MouseInput(screen, 0)};
  for (int click = 0; click < clicks; ++click) {
    inputs.push_back(MouseInput(screen, left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN));
    inputs.push_back(MouseInput(screen, left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP));
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace pem::testing
