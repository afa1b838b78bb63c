// A single-line edit; focus given by keyboard or by the program selects its whole text.
#pragma once

#include "control.h"
#include "event.h"

namespace pem::gui {

class TEdit : public TWinControl {
 public:
  TEdit(TComponent& owner, TWinControl& parent, const ControlLayout& layout);

  void SelectAll();
  // The selection as character positions.
  std::pair<int, int> Selection() const;

  TNotifyEvent OnChange;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void CommandNotify(WORD code) override;
};

}  // namespace pem::gui
