#include "number.h"

namespace pem {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsX(char c) {
  return c == 'x' || c == 'X';
}

std::optional<std::int32_t> ConvertHex(std::string_view digits) {
  if (digits.empty()) return {};
  std::uint32_t value = 0;
  for (char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0 || value > 0x0FFFFFFFu) return {};
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ConvertDecimal(std::string_view digits, bool negative) {
  if (digits.empty()) return {};
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9' || value > 214748364) return {};
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return {};
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ConvertNumber(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
  const std::string_view rest = text.substr(pos);
  if (!rest.empty() && (rest[0] == '$' || IsX(rest[0]))) return ConvertHex(rest.substr(1));
  if (rest.size() >= 2 && rest[0] == '0' && IsX(rest[1])) return ConvertHex(rest.substr(2));
  return ConvertDecimal(rest, negative);
}

std::optional<std::int32_t> IniNumber(std::string_view text) {
  // "0x1A" is read as "$1A": a hexadecimal marker, no blanks or sign before it.
  if (text.size() > 2 && text[0] == '0' && IsX(text[1])) return ConvertHex(text.substr(2));
  return ConvertNumber(text);
}

}  // namespace pem
