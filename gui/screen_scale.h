// How a layout drawn at 96 dots per inch with text 12 pixels high adapts to the screen: the font
// follows the screen's resolution, the sizes follow the height that the font's text really has.
#pragma once

#include <windows.h>

namespace pem::gui {

inline constexpr int kDesignDpi = 96;
inline constexpr int kDesignTextHeight = 12;

// Design pixels (or a font height) meant at 96 dots per inch on a screen of `dpi` dots per inch,
// rounded to the nearest integer.
int ScaleForDpi(int design, int dpi);
inline int FontHeightForDpi(int design_height, int dpi) {
  return ScaleForDpi(design_height, dpi);
}
// Pixels at `from_dpi` at `to_dpi`, by way of their design value.
int RescaleForDpi(int pixels, int from_dpi, int to_dpi);

// Multiplies design pixels by measured / design text height, rounded to the nearest integer.
class ScreenScale {
 public:
  explicit ScreenScale(int measured_text_height = kDesignTextHeight)
      : measured_(measured_text_height) {}
  int Apply(int design) const;
  // Pixels laid out at scale `from` as pixels at this scale, by way of their design value: exact
  // for a layout that `from` scaled up from the design, at most one pixel off otherwise.
  int From(const ScreenScale& from, int pixels) const;
  // Scales the four edges; width and height follow from the scaled edges.
  RECT ApplyToEdges(int left, int top, int width, int height) const;
  bool Identity() const { return measured_ == kDesignTextHeight; }

 private:
  int measured_;
};

// The height of the text "0" in `font` on the screen.
int MeasureTextHeight(HFONT font);

}  // namespace pem::gui
