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

}  // namespace

std::wstring LongPathForm(std::wstring_view path) {
  // The long form is passed on as it stands: the system normalises nothing in it.
  if (path.empty() || path.starts_with(kLongPrefix)) return std::wstring(path);
  std::wstring full = FullPath(std::wstring(path));
  if (full.starts_with(kLongPrefix) || full.starts_with(kDevicePrefix)) return full;
  if (full.starts_with(L"\\\\")) return std::wstring(kUncPrefix) + full.substr(2);
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\')
    return std::wstring(kLongPrefix) + full;
  return full;
}

}  // namespace pem
