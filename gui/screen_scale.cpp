#include "screen_scale.h"

#include "win32_owners.h"

namespace pem::gui {

int FontHeightForDpi(int design_height, int dpi) {
  return dpi == kDesignDpi ? design_height : MulDiv(design_height, dpi, kDesignDpi);
}

int ScreenScale::Apply(int design) const {
  return Identity() ? design : MulDiv(design, measured_, kDesignTextHeight);
}

RECT ScreenScale::ApplyToEdges(int left, int top, int width, int height) const {
  return {Apply(left), Apply(top), Apply(left + width), Apply(top + height)};
}

int MeasureTextHeight(HFONT font) {
  WindowDc screen(nullptr);
  SelectedObject selected(screen.get(), font);
  SIZE size{};
  GetTextExtentPoint32W(screen.get(), L"0", 1, &size);
  return size.cy;
}

}  // namespace pem::gui
