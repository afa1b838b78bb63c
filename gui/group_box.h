// A frame around related controls; it takes no focus itself.
#pragma once

#include "control.h"

namespace pem::gui {

class TGroupBox : public TWinControl {
 public:
  TGroupBox(TComponent& owner, TWinControl& parent, const ControlLayout& layout);
};

}  // namespace pem::gui
