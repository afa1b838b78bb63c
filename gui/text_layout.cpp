#include "text_layout.h"

namespace pem::gui {
namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == 0x3000;
}

bool IsWide(wchar_t c) {
  return c >= 0x2E80;
}

// Characters that may not begin a line, and ones that may not end it.
bool NoLineStart(wchar_t c) {
  return std::wstring_view(
             L"\x3001\x3002\xFF0C\xFF0E\x300D\x300F\xFF09\x3011\xFF01\xFF1F\x30FC"
             L"\x3041\x3043\x3045\x3047\x3049\x3063\x3083\x3085\x3087"
             L"\x30A1\x30A3\x30A5\x30A7\x30A9\x30C3\x30E3\x30E5\x30E7)]}.,!?")
             .find(c) != std::wstring_view::npos;
}
bool NoLineEnd(wchar_t c) {
  return std::wstring_view(L"\x300C\x300E\xFF08\x3010([{").find(c) != std::wstring_view::npos;
}

bool CanBreakBefore(std::wstring_view text, std::size_t pos) {
  const wchar_t before = text[pos - 1];
  const wchar_t after = text[pos];
  if (IsBlank(before)) return true;
  if (NoLineStart(after) || NoLineEnd(before)) return false;
  return IsWide(before) || IsWide(after);
}

}  // namespace

SIZE MeasureText(HDC dc, const std::wstring& text, UINT flags) {
  RECT box{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, flags | DT_CALCRECT);
  return {box.right - box.left, box.bottom - box.top};
}

std::vector<std::wstring> WrapLines(HDC dc, std::wstring_view text, int width) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::wstring_view rest = text.substr(start);
    int fit = 0;
    SIZE size{};
    GetTextExtentExPointW(dc, rest.data(), static_cast<int>(rest.size()), width, &fit, nullptr,
                          &size);
    std::size_t end = rest.size();
    if (static_cast<std::size_t>(fit) < rest.size()) {
      end = static_cast<std::size_t>(fit > 0 ? fit : 1);
      for (std::size_t pos = end; pos > 0; --pos) {
        if (CanBreakBefore(rest, pos)) {
          end = pos;
          break;
        }
      }
    }
    std::wstring_view line = rest.substr(0, end);
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    lines.emplace_back(line);
    start += end;
    while (start < text.size() && IsBlank(text[start])) ++start;
  }
  return lines;
}

void DrawLabelText(HDC dc, const std::wstring& text, RECT box, UINT flags) {
  if (!(flags & DT_WORDBREAK)) {
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, flags);
    return;
  }
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const UINT line_flags = (flags & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE;
  for (const std::wstring& line : WrapLines(dc, text, box.right - box.left)) {
    if (box.top >= box.bottom) break;
    DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &box, line_flags);
    box.top += metrics.tmHeight;
  }
}

}  // namespace pem::gui
