// Plain, slow re-statements of the reading rules, written apart from the reader so that a fuzzer
// can compare the two: a linear scan of the file for every lookup, number conversion digit by
// digit in 64 bits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pem::fuzz {

// One INI file, looked up by a linear scan of its lines for every read.
class ReferenceIni {
 public:
  explicit ReferenceIni(std::string_view file);

  // The value the Windows private-profile functions give for a key, before the NUL cut and the
  // 2047-byte cut; none when the first section of that name has no such key.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  // What ReadText gives, from Value and the default.
  std::string Text(std::string_view section, std::string_view key,
                   std::string_view default_value) const;

 private:
  std::string text_;
  std::vector<std::string_view> lines_;
};

std::optional<std::int32_t> ReferenceConvertNumber(std::string_view text);
std::optional<std::int32_t> ReferenceIniNumber(std::string_view text);

}  // namespace pem::fuzz
