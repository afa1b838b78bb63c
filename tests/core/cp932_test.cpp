#include "cp932.h"

#include <gtest/gtest.h>

#include "cp932_convert.h"

namespace pem {
namespace {

TEST(Cp932TextTest, TrailBytesAreNeverCharactersOfTheirOwn) {
  const std::string so_table = "\x83\x5C\x95\x5C";  // ソ表: both second bytes are 5C
  EXPECT_FALSE(EndsWithChar(so_table, '\\'));
  EXPECT_TRUE(EndsWithChar(so_table + "\\", '\\'));
  EXPECT_EQ(ReplaceChar(so_table + "\\", '\\', "/"), so_table + "/");
  EXPECT_EQ(ReplaceChar("a\\b\\", '\\', "/"), "a/b/");
}

TEST(Cp932TextTest, ALeadByteAtTheEndIsACharacterOfItsOwn) {
  EXPECT_EQ(CharLength("\x83", 0), 1u);
  EXPECT_EQ(CharLength("a\x83", 1), 1u);
  EXPECT_EQ(CharLength("\x83\x5C", 0), 2u);
  EXPECT_TRUE(EndsWithChar("\x83\\", '\\') == false);  // 83 5C is one character
  EXPECT_EQ(ReplaceChar("\x83", '\x83', "x"), "x");
}

TEST(Cp932TextTest, LineEndsAreFoundOnEitherSideOfBlockBoundaries) {
  for (const std::size_t at : {0u, 1u, 255u, 256u, 257u, 600u}) {
    for (const char end : {'\r', '\n'}) {
      std::string text(700, 'a');
      text[at] = end;
      EXPECT_EQ(FindLineEnd(text, 0), at) << at;
      EXPECT_EQ(FindLineEnd(text, at + 1), text.size()) << at;
    }
  }
  EXPECT_EQ(FindLineEnd("ab\n\rc\r", 3), 3u);
  EXPECT_EQ(FindLineEnd("ab\n\rc\r", 4), 5u);
  EXPECT_EQ(FindLineEnd("", 0), 0u);
}

struct ConversionCase {
  const char* name;
  std::string cp932;
  std::u16string utf16;
};

class Cp932ToUnicodeTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(Cp932ToUnicodeTest, DecodesAsTheWindowsCodePage) {
  EXPECT_EQ(Cp932ToUtf16(GetParam().cp932), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Cp932ToUnicodeTest,
    ::testing::Values(ConversionCase{"ascii_backslash", "a\\~", u"a\\~"},
                      ConversionCase{"kana", "\x82\xd8\x82\xde", u"ぺむ"},
                      ConversionCase{"half_width", "\xb1\xdf", u"\uFF71\uFF9F"},
                      ConversionCase{"wave_dash", "\x81\x60", u"\uFF5E"},
                      ConversionCase{"nec_row13", "\x87\x40", u"\u2460"},
                      ConversionCase{"ibm_ext", "\xfa\x40", u"\u2170"},
                      ConversionCase{"user_defined", "\xf0\x40", u"\uE000"},
                      ConversionCase{"single_80_a0_fd", "\x80\xa0\xfd", u"\u0080\uF8F0\uF8F1"},
                      ConversionCase{"unassigned_pair", "\x85\x40", u"\u30FB"},
                      ConversionCase{"lone_lead_at_end", "a\x82", u"a\u30FB"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UnicodeToCp932Test, EveryAssignedCodeComesBackUnlessAPreferredTwinExists) {
  int round_trips = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string unit = Cp932ToUtf16(code);
      if (unit == u"\u30FB" && code != "\x81\x45") continue;
      std::string back;
      ASSERT_TRUE(Utf16ToCp932(unit, back, true));
      // Twins decode to one character; only the NEC-selected rows and some NEC row 13 symbols
      // have a twin that the code page prefers.
      if (back != code) {
        EXPECT_TRUE(lead == 0xED || lead == 0xEE || lead == 0xFA || lead == 0xFB || lead == 0x87)
            << std::hex << lead << ' ' << trail;
        EXPECT_EQ(Cp932ToUtf16(back), unit);
      } else {
        ++round_trips;
      }
    }
  }
  EXPECT_GT(round_trips, 9000);
}

TEST(UnicodeToCp932Test, PrefersTheCodesWindowsPrefers) {
  std::string out;
  Utf16ToCp932(u"\u2170\u2252\u2160\uFFE2", out);  // ⅰ ≒ Ⅰ ￢
  EXPECT_EQ(out, "\xfa\x40\x81\xe0\x87\x54\x81\xca");
}

TEST(UnicodeToCp932Test, UnmappableCharactersBecomeAQuestionMarkOrFail) {
  std::string out;
  EXPECT_TRUE(Utf8ToCp932("caf\xc3\xa9", out));  // é has no code
  EXPECT_EQ(out, "caf?");
  EXPECT_FALSE(Utf8ToCp932("caf\xc3\xa9", out, true));
  EXPECT_FALSE(Utf8ToCp932("\xf0\x9f\x98\x80", out, true));  // outside the BMP
  EXPECT_FALSE(Utf8ToCp932("\xc3", out, true));              // cut sequence
  EXPECT_FALSE(Utf8ToCp932("\xc0\xaf", out, true));          // overlong "/"
  EXPECT_FALSE(Utf8ToCp932("\xed\xa0\x80", out, true));      // surrogate
  EXPECT_FALSE(Utf16ToCp932(u"\xD800", out, true));          // unpaired surrogate
  EXPECT_TRUE(Utf8ToCp932("/tmp/\xe3\x81\xba\xe3\x82\x80", out, true));
  EXPECT_EQ(out, "/tmp/\x82\xd8\x82\xde");
}

TEST(UnicodeToCp932Test, Utf8RoundTripOfJapaneseText) {
  const std::string sjis = "\x8e\x77\x92\xe8\x82\xb3\x82\xea\x82\xbd \x83\x5c\x95\x5c\xb1";
  std::string back;
  ASSERT_TRUE(Utf8ToCp932(Cp932ToUtf8(sjis), back, true));
  EXPECT_EQ(back, sjis);
}

}  // namespace
}  // namespace pem
