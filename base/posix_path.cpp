#include "posix_path.h"

#include <algorithm>

#include "cp932.h"
#include "cp932_convert.h"

namespace pem {
namespace {

char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Length of the UTF-8 sequence that starts at pos; a stray byte counts as one character.
std::size_t Utf8Length(std::string_view text, std::size_t pos) {
  std::size_t len = 1;
  while (pos + len < text.size() && (static_cast<unsigned char>(text[pos + len]) & 0xC0) == 0x80) {
    ++len;
  }
  return len;
}

}  // namespace

std::string NativePath(std::string_view path) {
  // No multi-byte UTF-8 sequence holds the byte 5C (the 5C of ソ ends up inside E3 82 BD), so
  // after the conversion every 5C is a "\" of its own and can be swapped byte by byte.
  std::string native = Cp932ToUtf8(path);
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  // Greedy matching with one backtrack point: linear in practice, no recursion.
  std::size_t p = 0, n = 0;
  std::size_t star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      n += Utf8Length(name, n);
    } else if (p < pattern.size() && FoldAscii(pattern[p]) == FoldAscii(name[n])) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      resume += Utf8Length(name, resume);
      n = resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace pem
