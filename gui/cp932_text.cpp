#include "cp932_text.h"

#include <windows.h>

namespace pem::gui {
namespace {

constexpr UINT kCodePage = 932;

std::string Convert(std::wstring_view text, BOOL* lossy) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size,
                                         nullptr, 0, "?", lossy);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size, narrow.data(), length,
                      "?", lossy);
  return narrow;
}

}  // namespace

std::string UserTextToCp932(std::wstring_view text) {
  return Convert(text, nullptr);
}

bool ExactCp932(std::wstring_view text, std::string& narrow) {
  BOOL lossy = FALSE;
  std::string converted = Convert(text, &lossy);
  if (lossy) return false;
  narrow = std::move(converted);
  return true;
}

}  // namespace pem::gui
