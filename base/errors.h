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

// A COM or shell call failed; carries its 32-bit status, which the message names in hexadecimal.
class EOleSysError : public Exception {
 public:
  explicit EOleSysError(std::int32_t status);
  std::int32_t Status() const { return status_; }

 private:
  std::int32_t status_;
};

// A path names no folder that can be used; the thrower words the message.
class EInvalidPath : public Exception {
 public:
  using Exception::Exception;
};

// The message as the error display shows it: "." appended unless the text is empty or ends in a
// single-byte character of code 0x2E or less.
std::string WithFinalPeriod(const std::string& message);

}  // namespace pem
