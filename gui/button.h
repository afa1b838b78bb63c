// A push button. Enter presses the focused button, or the default button when the focus is on
// no button; Esc presses the cancel button; the caption's accelerator presses it.
#pragma once

#include "control.h"
#include "event.h"
#include "form.h"

namespace pem::gui {

class TButton : public TWinControl {
 public:
  TButton(TComponent& owner, TWinControl& parent, const ControlLayout& layout);

  void Click();
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  // The modal result that a click gives the button's form (mrNone: none).
  void SetModalResult(TModalResult result) { modal_result_ = result; }

  bool DialogChar(wchar_t character) override;
  bool DialogKey(WPARAM key) override;

  TNotifyEvent OnClick;

 protected:
  void CommandNotify(WORD code) override;

 private:
  bool PressedByEnter();

  bool default_ = false;
  bool cancel_ = false;
  TModalResult modal_result_ = mrNone;
};

}  // namespace pem::gui
