#include "file_errors.h"

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

}  // namespace pem
