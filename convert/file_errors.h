// The conversion's own file failures, each carrying the text the user sees.
#pragma once

#include <cstdint>
#include <string>

#include "errors.h"

namespace pem {

// A file-system call failed; carries the system error code (Windows numbering).
class EInOutError : public Exception {
 public:
  explicit EInOutError(std::uint32_t code);
  std::uint32_t ErrorCode() const { return code_; }

 private:
  std::uint32_t code_;
};

// An output file could not be created; the text names its full path.
class EFCreateError : public Exception {
 public:
  explicit EFCreateError(const std::string& path);
};

// Fewer bytes were written than asked for (disk full).
class EWriteError : public Exception {
 public:
  EWriteError();
};

// The text that an input/output error with this system error code shows.
std::string InOutErrorText(std::uint32_t code);

}  // namespace pem
