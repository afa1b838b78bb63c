#include "cp932.h"

#include <algorithm>

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
  // Block by block, searched for LF and then for CR before it (memchr), so that no search runs
  // past its block: a text with only one kind of line end stays linear, and most lines take two
  // searches. find_first_of("\r\n") would search the two-byte set once per byte.
  constexpr std::size_t kBlock = 1024;
  for (; pos < text.size(); pos += kBlock) {
    const std::string_view block = text.substr(pos, kBlock);
    const std::size_t lf = block.find('\n');
    const std::size_t end = std::min(block.substr(0, lf).find('\r'), lf);
    if (end != std::string_view::npos) return pos + end;
  }
  return text.size();
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
