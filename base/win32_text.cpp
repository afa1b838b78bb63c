#include "win32_text.h"

#include <windows.h>

namespace pem {
namespace {

constexpr UINT kCodePage = 932;

std::string Narrow(std::wstring_view text, BOOL* lossy) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size,
                                         nullptr, 0, "?", lossy);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size, narrow.data(), length,
                      "?", lossy);
  return narrow;
}

std::wstring Widen(UINT code_page, std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), length);
  return wide;
}

}  // namespace

std::wstring WidenCp932(std::string_view text) {
  return Widen(kCodePage, text);
}

std::wstring WidenUtf8(std::string_view text) {
  return Widen(CP_UTF8, text);
}

std::string NarrowUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::string NarrowCp932(std::wstring_view text) {
  return Narrow(text, nullptr);
}

bool ExactCp932(std::wstring_view text, std::string& narrow) {
  BOOL lossy = FALSE;
  std::string converted = Narrow(text, &lossy);
  if (lossy) return false;
  narrow = std::move(converted);
  return true;
}

}  // namespace pem
