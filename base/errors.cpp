#include "errors.h"

#include <cstdio>

#include "cp932.h"

namespace pem {
namespace {

std::string StatusText(std::int32_t status) {
  char text[32];
  std::snprintf(text, sizeof text, "OLE error %08X", static_cast<std::uint32_t>(status));
  return text;
}

}  // namespace

EOleSysError::EOleSysError(std::int32_t status) : Exception(StatusText(status)), status_(status) {}

std::string WithFinalPeriod(const std::string& message) {
  if (message.empty()) return message;
  std::size_t last = 0;
  for (std::size_t pos = 0; pos < message.size(); pos += CharLength(message, pos)) last = pos;
  const bool single = CharLength(message, last) == 1;
  if (single && static_cast<unsigned char>(message[last]) <= 0x2E) return message;
  return message + ".";
}

}  // namespace pem
