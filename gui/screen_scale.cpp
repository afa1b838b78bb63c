#include "screen_scale.h"

#include "win32_owners.h"

namespace pem::gui {

int ScaleForDpi(int design, int dpi) {
  return dpi == kDesignDpi ? design : MulDiv(design, dpi, kDesignDpi);
}

int RescaleForDpi(int pixels, int from_dpi, int to_dpi) {
  if (from_dpi == to_dpi) return pixels;
  return ScaleForDpi(from_dpi == kDesignDpi ? pixels : MulDiv(pixels, kDesignDpi, from_dpi),
                     to_dpi);
}

int ScreenScale::Apply(int design) const {
  return Identity() ? design : MulDiv(design, measured_, kDesignTextHeight);
}

int ScreenScale::From(const ScreenScale& from, int pixels) const {
  if (from.measured_ == measured_) return pixels;
  return Apply(from.Identity() ? pixels : MulDiv(pixels, kDesignTextHeight, from.measured_));
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
