// The one exception hierarchy: every failure that ends an action carries a code page 932 text.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace pem {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  // The message as code page 932 bytes.
  std::string Message() const { return what(); }
};

// Ends an action silently: the error display drops it.
class EAbort : public Exception {
 public:
  EAbort() : Exception("") {}
};

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

// The message as the error display shows it: "." appended unless the text is empty or ends in a
// single-byte character of code 0x2E or less.
std::string WithFinalPeriod(const std::string& message);

}  // namespace pem
