// Character-wise handling of code page 932 byte strings.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pem {

// True for a byte that begins a two-byte character (81-9F, E0-FC).
constexpr bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Length of the character that starts at `pos`: 2 for a lead byte with a byte after it, else 1.
// A lead byte at the very end of the text is a character of its own; never reads past the end.
constexpr std::size_t CharLength(std::string_view text, std::size_t pos) {
  return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// True when the last character of the text is the single byte `c`; the trail byte of a
// two-byte character (the 5C of ソ) never counts as `c`.
bool EndsWithChar(std::string_view text, char c);

// The position of the first CR or LF at or after `pos`, or the size of the text when there is
// none. CR and LF are never the second byte of a two-byte character.
std::size_t FindLineEnd(std::string_view text, std::size_t pos);

// Replaces every character that is the single byte `from` by the bytes `to`.
std::string ReplaceChar(std::string_view text, char from, std::string_view to);

}  // namespace pem
