#include "win32_long_path.h"

#include <windows.h>

namespace pem {
namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
constexpr std::wstring_view kUncPrefix = L"\\\\?\\UNC\\";

std::wstring FullPath(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return path;
    // Too small: `length` is then the size needed, with the terminating zero.
    if (length >= full.size()) {
      full.resize(length);
      continue;
    }
    full.resize(length);
    return full;
  }
}

// The long form as it stands but for its empty components, which a folder that ends in a
// separator, or an empty name, leaves when a name is joined to it: the system refuses them there,
// where it collapses them in every other form.
std::wstring WithoutEmptyComponents(std::wstring_view path) {
  std::wstring kept(path.substr(0, kLongPrefix.size()));
  for (const wchar_t c : path.substr(kLongPrefix.size())) {
    if (c != L'\\' || kept.back() != L'\\') kept += c;
  }
  return kept;
}

}  // namespace

std::wstring LongPathForm(std::wstring_view path) {
  // The long form is otherwise passed on as it stands: the system normalises nothing in it.
  if (path.starts_with(kLongPrefix)) return WithoutEmptyComponents(path);
  if (path.empty()) return std::wstring(path);
  std::wstring full = FullPath(std::wstring(path));
  if (full.starts_with(kLongPrefix) || full.starts_with(kDevicePrefix)) return full;
  if (full.starts_with(L"\\\\")) return std::wstring(kUncPrefix) + full.substr(2);
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\')
    return std::wstring(kLongPrefix) + full;
  return full;
}

}  // namespace pem
