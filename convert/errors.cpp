#include "errors.h"

#include "cp932.h"
#include "messages.h"

namespace pem {

std::string InOutErrorText(std::uint32_t code) {
  switch (code) {
    case 2:
      return msg::kFileNotFound;
    case 3:
      return msg::kInvalidFileName;
    case 4:
      return msg::kTooManyOpenFiles;
    case 5:
      return msg::kAccessDenied;
    case 100:
      return msg::kReadBeyondEnd;
    case 101:
      return msg::kDiskFull;
    case 106:
      return msg::kNotANumber;
    default:
      return std::string(msg::kIoErrorPrefix) + std::to_string(code) + msg::kIoErrorSuffix;
  }
}

EInOutError::EInOutError(std::uint32_t code) : Exception(InOutErrorText(code)), code_(code) {}

EFCreateError::EFCreateError(const std::string& path)
    : Exception(msg::kCannotCreatePrefix + path + msg::kCannotCreateSuffix) {}

EWriteError::EWriteError() : Exception(msg::kStreamWriteError) {}

std::string WithFinalPeriod(const std::string& message) {
  if (message.empty()) return message;
  std::size_t last = 0;
  for (std::size_t pos = 0; pos < message.size(); pos += CharLength(message, pos)) last = pos;
  const bool single = CharLength(message, last) == 1;
  if (single && static_cast<unsigned char>(message[last]) <= 0x2E) return message;
  return message + ".";
}

}  // namespace pem
