#include "os_error.h"

#include "win32_text.h"

namespace pem::gui {
namespace {

std::string SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", length);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.'))
    text.pop_back();
  return NarrowCp932(text);
}

}  // namespace

EOSError::EOSError(DWORD code)
    : Exception("System Error.  Code: " + std::to_string(code) + ".\r\n" + SystemMessage(code)),
      code_(code) {}

void RaiseLastOSError() {
  throw EOSError(GetLastError());
}

}  // namespace pem::gui
