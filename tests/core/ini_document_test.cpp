#include "ini_document.h"

#include <gtest/gtest.h>

namespace pem {
namespace {

struct IniCase {
  const char* name;
  std::string file;
  std::string section;
  std::string key;
  std::optional<std::string> value;  // none: the default is given
};

void PrintTo(const IniCase& c, std::ostream* os) {
  *os << c.name;
}

class IniDocumentTest : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniDocumentTest, FindsWhatThePrivateProfileFunctionsFind) {
  const IniDocument document(GetParam().file);
  const auto found = document.Find(GetParam().section, GetParam().key);
  EXPECT_EQ(found ? std::optional<std::string>(std::string(*found)) : std::nullopt,
            GetParam().value);
}

const std::nullopt_t kDefault = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Lines, IniDocumentTest,
    ::testing::Values(
        IniCase{"crlf", "[s]\r\nk=v\r\n", "s", "k", "v"},
        IniCase{"lf_only", "[s]\nk=v\n", "s", "k", "v"},
        IniCase{"cr_only", "[s]\rk=v\r", "s", "k", "v"},
        IniCase{"mixed_and_no_final_break", "[s]\n\r\nj=1\r\rk=v", "s", "k", "v"},
        IniCase{"lead_byte_before_break", "[s]\r\nk=a\x82\r\nj=2\r\n", "s", "j", "2"},
        IniCase{"lead_byte_kept_at_line_end", "[s]\r\nk=a\x82\r\n", "s", "k", "a\x82"},
        IniCase{"blanks_trimmed", " \t[s] \v\r\n \tk \t= \t v \t\r\n", "s", "k", "v"},
        IniCase{"comment_line", "[s]\r\n ;k=v\r\n", "s", ";k", kDefault},
        IniCase{"hash_is_no_comment", "[s]\r\n#k=x\r\n", "s", "#k", "x"},
        IniCase{"semicolon_inside_value", "[s]\r\nk=v ; note\r\n", "s", "k", "v ; note"},
        IniCase{"first_equals_splits", "[s]\r\nk = a=b = c\r\n", "s", "k", "a=b = c"},
        IniCase{"no_equals_no_value", "[s]\r\nk\r\n", "s", "k", kDefault},
        IniCase{"no_equals_then_real_key", "[s]\r\nk\r\nk=2\r\n", "s", "k", "2"},
        IniCase{"before_first_header", "k=v\r\n[s]\r\n", "", "k", kDefault},
        IniCase{"empty_value_is_found", "[s]\r\nk=\r\n", "s", "k", ""},
        IniCase{"empty_file", "", "s", "k", kDefault}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Sections, IniDocumentTest,
    ::testing::Values(
        IniCase{"text_after_bracket_ignored", "[s]k=x\r\n", "s", "k", kDefault},
        IniCase{"first_bracket_ends_name", "[a]b]\r\nk=1\r\n", "a", "k", "1"},
        IniCase{"double_open_bracket", "[[s]\r\nk=1\r\n", "[s", "k", "1"},
        IniCase{"no_close_bracket", "[s\r\nk=1\r\n", "s", "k", "1"},
        IniCase{"not_a_header", "s]\r\nk=1\r\n", "s", "k", kDefault},
        IniCase{"name_trimmed", "[ s \t]\r\nk=1\r\n", "s", "k", "1"},
        IniCase{"trail_byte_5D_is_no_bracket", "[\x81\x5D]\r\nk=1\r\n", "\x81\x5D", "k", "1"},
        IniCase{"case_insensitive_ascii", "[DicData0]\r\nCOUNT=3\r\n", "dicdata0", "count", "3"},
        IniCase{"non_ascii_bytes_exact", "[\x82\x60]\r\nk=1\r\n", "\x82\x81", "k", kDefault},
        IniCase{"second_section_not_merged", "[s]\r\n[s]\r\nk=v\r\n", "s", "k", kDefault},
        IniCase{"second_section_case_differs", "[s]\r\nj=1\r\n[S]\r\nk=v\r\n", "s", "k", kDefault},
        IniCase{"first_key_wins", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1"},
        IniCase{"other_section_between", "[a]\r\nk=1\r\n[b]\r\nk=2\r\n", "b", "k", "2"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Values, IniDocumentTest,
    ::testing::Values(
        IniCase{"double_quotes_removed", "[s]\r\nk = \"  a b  \" \r\n", "s", "k", "  a b  "},
        IniCase{"single_quotes_removed", "[s]\r\nk='x'\r\n", "s", "k", "x"},
        IniCase{"one_pair_only", "[s]\r\nk=\"\"abc\"\"\r\n", "s", "k", "\"abc\""},
        IniCase{"mismatched_quotes_kept", "[s]\r\nk=\"abc'\r\n", "s", "k", "\"abc'"},
        IniCase{"inner_quotes_kept", "[s]\r\nk=a\"b\"\r\n", "s", "k", "a\"b\""},
        IniCase{"lone_quote_kept", "[s]\r\nk=\"\r\n", "s", "k", "\""},
        IniCase{"blanks_inside_kept", "[s]\r\nk=v \t v\r\n", "s", "k", "v \t v"},
        IniCase{"double_byte_unchanged", "[s]\r\nk=\x83\x5C\x95\x5C\r\n", "s", "k",
                "\x83\x5C\x95\x5C"},
        IniCase{"utf8_bom_not_recognised", "\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k", kDefault},
        IniCase{"form_feed_is_no_blank", "[s]\r\nk=\fv\r\n", "s", "k", "\fv"}),
    [](const auto& info) { return std::string(info.param.name); });

std::string Utf16File(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(IniDocumentEncodingTest, Utf16FilesAreConvertedToCodePage932) {
  const IniDocument document(Utf16File(u"[分類]\r\nk=ぺむ\u00e9\r\n"));
  EXPECT_EQ(document.Find("\x95\xaa\x97\xde", "k"), "\x82\xd8\x82\xde?");
}

TEST(IniDocumentLookupTest, RunsOfLookupsOnOneSectionAndSwitchesBetweenSections) {
  const IniDocument document("[One]\r\nk=1\r\nj=2\r\n[two]\r\nk=3\r\n");
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(document.Find("one", "k"), "1");
    EXPECT_EQ(document.Find("ONE", "j"), "2");
    EXPECT_EQ(document.Find("one", "j"), "2");
    EXPECT_EQ(document.Find("Two", "k"), "3");
    EXPECT_EQ(document.Find("Two", "j"), std::nullopt);
    EXPECT_EQ(document.Find("three", "k"), std::nullopt);
  }
}

TEST(IniDocumentLookupTest, ReadsInAnyOrderGiveTheFirstKeyOfEachName) {
  const IniDocument document(
      "[s]\r\n0=a\r\n1=b\r\n1=dup\r\nK=c\r\nk=dup\r\n10=d\r\n2=e\r\nCount=7\r\n");
  const std::pair<const char*, std::optional<std::string_view>> reads[] = {
      {"0", "a"},      {"1", "b"},  {"1", "b"},     {"k", "c"}, {"K", "c"}, {"2", "e"},
      {"3", kDefault}, {"10", "d"}, {"count", "7"}, {"2", "e"}, {"0", "a"}, {"1", "b"}};
  for (const auto& [key, value] : reads) EXPECT_EQ(document.Find("s", key), value) << key;
}

TEST(IniDocumentEncodingTest, ALongFileKeepsItsViewsAfterBeingMoved) {
  std::string file = "[s]\r\n";
  for (int i = 0; i < 1000; ++i) file += std::to_string(i) + "=value" + std::to_string(i) + "\r\n";
  IniDocument moved = IniDocument(file);
  IniDocument document = std::move(moved);
  EXPECT_EQ(document.Find("s", "999"), "value999");
  EXPECT_EQ(document.Find("s", "0"), "value0");
  IniDocument small_moved = IniDocument("[s]\r\nk=v\r\n");
  EXPECT_EQ(small_moved.Find("s", "k"), "v");
}

}  // namespace
}  // namespace pem
