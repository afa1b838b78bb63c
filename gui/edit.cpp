#include "edit.h"

namespace pem::gui {

TEdit::TEdit(TComponent& owner, TWinControl& parent, const ControlLayout& layout)
    : TWinControl(owner, &parent) {
  CreateStockWindow({L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE}, layout);
}

void TEdit::SelectAll() {
  SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

std::pair<int, int> TEdit::Selection() const {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

LRESULT TEdit::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  const LRESULT result = TWinControl::WndProc(message, wparam, lparam);
  // A click places the caret where the user clicked; any other way in selects the text.
  if (message == WM_SETFOCUS && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
  return result;
}

void TEdit::CommandNotify(WORD code) {
  if (code == EN_CHANGE) OnChange(*this);
}

}  // namespace pem::gui
