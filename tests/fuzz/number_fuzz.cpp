// Number conversion against a plain re-statement of its rules, and round trips of every 32-bit
// value through its decimal and hexadecimal texts.
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "number.h"
#include "reference.h"

namespace pem::fuzz {
namespace {

std::string Hex(std::uint32_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return text;
}

void CheckRoundTrips(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  Require(IniNumber(std::to_string(value)) == value, "a decimal text gives its value");
  Require(IniNumber("  " + std::to_string(value)) == value, "leading blanks are skipped");
  Require(IniNumber("$" + Hex(bits)) == value, "a $ hexadecimal text gives its bits");
  Require(IniNumber("0X" + Hex(bits)) == value, "a 0X hexadecimal text gives its bits");
  Require(IniNumber("-x" + Hex(bits)) == value, "a sign before hexadecimal has no effect");
  Require(!IniNumber(std::to_string(value) + " "), "a trailing blank is no number");
}

}  // namespace
}  // namespace pem::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pem::fuzz;
  const std::string_view text = AsText(data, size);
  Require(pem::ConvertNumber(text) == ReferenceConvertNumber(text),
          "ConvertNumber follows the rules");
  Require(pem::IniNumber(text) == ReferenceIniNumber(text), "IniNumber follows the rules");
  if (size >= 4) {
    std::int32_t value;
    std::memcpy(&value, data, sizeof value);
    CheckRoundTrips(value);
  }
  return 0;
}
