// A static text drawn in the form's font. It either sizes itself to its text or keeps its box
// and wraps its words; its accelerator moves the focus to the control it labels.
#pragma once

#include "control.h"

namespace pem::gui {

struct LabelOptions {
  bool auto_size = true;
  bool word_wrap = false;
};

class TLabel : public TWinControl {
 public:
  TLabel(TComponent& owner, TWinControl& parent, const ControlLayout& layout,
         LabelOptions options = {});

  void SetFocusControl(TWinControl* control) { focus_control_ = control; }
  TWinControl* FocusControl() const { return focus_control_; }
  bool CanFocus() const override { return false; }
  bool DialogChar(wchar_t character) override;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  UINT DrawFlags() const;
  void Paint();
  void AdjustSize();

  LabelOptions options_;
  TWinControl* focus_control_ = nullptr;
};

}  // namespace pem::gui
