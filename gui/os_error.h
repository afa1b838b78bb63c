// Errors of the framework itself: a failed platform call, an operation not allowed in the
// object's state.
#pragma once

#include <windows.h>

#include <string>

#include "errors.h"

namespace pem::gui {

class EOSError : public Exception {
 public:
  explicit EOSError(DWORD code);
  DWORD ErrorCode() const { return code_; }

 private:
  DWORD code_;
};

class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};

// Throws EOSError for GetLastError().
[[noreturn]] void RaiseLastOSError();

}  // namespace pem::gui
