#include "button.h"

namespace pem::gui {

TButton::TButton(TComponent& owner, TWinControl& parent, const ControlLayout& layout)
    : TWinControl(owner, &parent) {
  CreateStockWindow({L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0}, layout);
}

void TButton::Click() {
  if (modal_result_ != mrNone) {
    if (TForm* form = ParentForm()) form->SetModalResult(modal_result_);
  }
  OnClick(*this);
}

void TButton::SetDefault(bool value) {
  default_ = value;
  SendMessageW(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool TButton::DialogChar(wchar_t character) {
  if (!MatchesAccelerator(WideText(), character) || !CanFocus()) return false;
  Click();
  return true;
}

bool TButton::PressedByEnter() {
  if (Focused()) return true;
  if (!default_) return false;
  // The default button stands in only while the focus is on no other button.
  return !dynamic_cast<TButton*>(FromHandle(GetFocus()));
}

bool TButton::DialogKey(WPARAM key) {
  const bool pressed = (key == VK_RETURN && PressedByEnter()) || (key == VK_ESCAPE && cancel_);
  if (!pressed || !CanFocus()) return false;
  Click();
  return true;
}

void TButton::CommandNotify(WORD code) {
  if (code == BN_CLICKED) Click();
}

}  // namespace pem::gui
