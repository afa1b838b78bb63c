// A plain container with an optional raised or lowered bevel and a centred caption.
#pragma once

#include "control.h"

namespace pem::gui {

enum class TBevel { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
 public:
  TPanel(TComponent& owner, TWinControl& parent, const ControlLayout& layout,
         TBevel bevel = TBevel::bvRaised);

  void SetBevelOuter(TBevel bevel);

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint();

  TBevel bevel_;
};

}  // namespace pem::gui
