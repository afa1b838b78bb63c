// Label text on a device context: measuring, and word wrapping that also breaks Japanese text
// (which has no blanks between words) between its characters.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace pem::gui {

// The size of the text drawn with `flags` (DrawText flags, single line or not).
SIZE MeasureText(HDC dc, const std::wstring& text, UINT flags);

// The lines into which the text breaks at `width` pixels in the selected font.
std::vector<std::wstring> WrapLines(HDC dc, std::wstring_view text, int width);

// Draws the text into the box; with DT_WORDBREAK line by line as WrapLines breaks it.
void DrawLabelText(HDC dc, const std::wstring& text, RECT box, UINT flags);

}  // namespace pem::gui
