#include "number.h"

#include <gtest/gtest.h>

namespace pem {
namespace {

struct NumberCase {
  const char* text;
  std::optional<std::int32_t> expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
  *os << '<' << c.text << '>';
}

class IniNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(IniNumberTest, ConvertsAsTheReaderDoes) {
  EXPECT_EQ(IniNumber(GetParam().text), GetParam().expected) << "text: <" << GetParam().text << ">";
}

constexpr std::nullopt_t kNone = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Decimal, IniNumberTest,
    ::testing::Values(NumberCase{"12", 12}, NumberCase{" 12", 12}, NumberCase{"   7", 7},
                      NumberCase{"007", 7}, NumberCase{"0", 0}, NumberCase{"+7", 7},
                      NumberCase{"-7", -7}, NumberCase{"-0", 0},
                      NumberCase{"2147483647", 2147483647}, NumberCase{"2147483648", kNone},
                      NumberCase{"-2147483648", INT32_MIN}, NumberCase{"-2147483649", kNone},
                      NumberCase{"21474836470", kNone}, NumberCase{"0000000000012", 12},
                      NumberCase{"", kNone}, NumberCase{"   ", kNone}, NumberCase{"-", kNone},
                      NumberCase{"+", kNone}, NumberCase{"+-7", kNone}, NumberCase{"--7", kNone},
                      NumberCase{"1e3", kNone}, NumberCase{"3.0", kNone}, NumberCase{"12 ", kNone},
                      NumberCase{"abc", kNone}, NumberCase{"\t12", kNone}, NumberCase{"1 2", kNone},
                      NumberCase{"- 7", kNone}));

INSTANTIATE_TEST_SUITE_P(
    Hexadecimal, IniNumberTest,
    ::testing::Values(NumberCase{"0x1A", 26}, NumberCase{"0X1A", 26}, NumberCase{"$1A", 26},
                      NumberCase{"x1A", 26}, NumberCase{"X1a", 26}, NumberCase{"-0x1A", 26},
                      NumberCase{"-$10", 16}, NumberCase{"+$10", 16}, NumberCase{" $10", 16},
                      NumberCase{"0x", kNone}, NumberCase{"$", kNone}, NumberCase{"x", kNone},
                      NumberCase{"0xFFFFFFFF", -1}, NumberCase{"$7FFFFFFF", INT32_MAX},
                      NumberCase{"$80000000", INT32_MIN}, NumberCase{"$100000000", kNone},
                      NumberCase{"$000000001", 1}, NumberCase{"0x1G", kNone},
                      NumberCase{"0x0x1", kNone}, NumberCase{"$-1", kNone},
                      NumberCase{"0x 1", kNone}, NumberCase{"0x1 ", kNone}));

TEST(ConvertNumberTest, ZeroXPrefixIsAMarkerEvenWithoutTheReadersRewrite) {
  EXPECT_EQ(ConvertNumber("0x10"), 16);
  EXPECT_EQ(ConvertNumber("-0x10"), 16);
  EXPECT_EQ(ConvertNumber("0x"), std::nullopt);
}

}  // namespace
}  // namespace pem
