#include "dialog_keys.h"

#include "form.h"

namespace pem::gui {
namespace {

bool KeyDown(int key) {
  return GetKeyState(key) < 0;
}

bool HandleKeyDown(TForm& form, TWinControl& control, const MSG& message, LRESULT code) {
  if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  switch (message.wParam) {
    case VK_TAB:
      if ((code & DLGC_WANTTAB) || KeyDown(VK_CONTROL) || KeyDown(VK_MENU)) return false;
      form.SelectNext(&control, !KeyDown(VK_SHIFT));
      return true;
    case VK_RETURN:
    case VK_ESCAPE:
      if (KeyDown(VK_CONTROL) || KeyDown(VK_MENU) || KeyDown(VK_SHIFT)) return false;
      return form.DialogKey(message.wParam);
    default:
      return false;
  }
}

}  // namespace

bool HandleDialogKeys(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_CHAR && message.message != WM_SYSCHAR)
    return false;
  TWinControl* control = TWinControl::FromHandle(message.hwnd);
  TForm* form = control ? control->ParentForm() : nullptr;
  if (!form) return false;
  const LRESULT code =
      SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
  switch (message.message) {
    case WM_KEYDOWN:
      return HandleKeyDown(*form, *control, message, code);
    case WM_CHAR:
      if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
      return form->DialogChar(static_cast<wchar_t>(message.wParam));
    default:
      return form->DialogChar(static_cast<wchar_t>(message.wParam));
  }
}

}  // namespace pem::gui
