// Numbers in INI values.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pem {

// Converts a text to a 32-bit signed number: leading blanks, one sign, then decimal digits, or a
// hexadecimal marker ($, x, X or 0x) and hex digits, up to the end of the text. None when any
// byte does not fit or the value does not fit in 32 bits.
std::optional<std::int32_t> ConvertNumber(std::string_view text);

// The number of an INI value: a "0x" or "0X" prefix of a text longer than two bytes is read as
// "$", then the text is converted; none when it is no number.
std::optional<std::int32_t> IniNumber(std::string_view text);

}  // namespace pem
