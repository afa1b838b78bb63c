#include "cp932.h"

namespace pem {

bool EndsWithChar(std::string_view text, char c) {
  bool last_is_c = false;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = CharLength(text, pos);
    last_is_c = len == 1 && text[pos] == c;
    pos += len;
  }
  return last_is_c;
}

std::size_t FindLineEnd(std::string_view text, std::size_t pos) {
  // Not find_first_of("\r\n"): that searches the two-byte set once per byte of the text.
  while (pos < text.size()) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte <= '\r' && (byte == '\r' || byte == '\n')) break;
    ++pos;
  }
  return pos;
}

std::string ReplaceChar(std::string_view text, char from, std::string_view to) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = CharLength(text, pos);
    if (len == 1 && text[pos] == from) {
      result += to;
    } else {
      result.append(text, pos, len);
    }
    pos += len;
  }
  return result;
}

}  // namespace pem
