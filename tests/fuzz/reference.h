// Plain, slow re-statements of the reading rules, written apart from the reader so that a fuzzer
// can compare the two: a linear scan of the file for every lookup, number conversion digit by
// digit in 64 bits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pem::fuzz {

// The value the Windows private-profile functions give for a key, before the 2047-byte cut and
// the NUL cut; none when the file has no such key in the first section of that name.
std::optional<std::string> ReferenceValue(std::string_view file, std::string_view section,
                                          std::string_view key);

// What ReadText gives, from ReferenceValue and the default.
std::string ReferenceText(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view default_value);

std::optional<std::int32_t> ReferenceConvertNumber(std::string_view text);
std::optional<std::int32_t> ReferenceIniNumber(std::string_view text);

}  // namespace pem::fuzz
