#include "group_box.h"

namespace pem::gui {

TGroupBox::TGroupBox(TComponent& owner, TWinControl& parent, const ControlLayout& layout)
    : TWinControl(owner, &parent) {
  CreateStockWindow({L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT}, layout);
  SetTabStop(false);
}

}  // namespace pem::gui
