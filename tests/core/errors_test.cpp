#include <gtest/gtest.h>

#include <cstdint>

#include "file_errors.h"
#include "messages.h"
#include "temp_dir.h"

namespace pem {
namespace {

using testing::Sjis;

TEST(InOutErrorTextTest, KnownCodesHaveTheirOwnTextOthersTheirNumber) {
  const struct {
    std::uint32_t code;
    const char* utf8;
  } cases[] = {
      {2, "ファイルが見つかりません"},
      {3, "不正なファイル名です"},
      {4, "オープンしたファイルが多すぎます"},
      {5, "ファイルへのアクセスが拒否されました"},
      {100, "ファイルの末尾以降を読み込みました"},
      {101, "ディスクがいっぱいです"},
      {106, "入力値が数値ではありません"},
      {183, "I/O エラー (183)"},
      {123, "I/O エラー (123)"},
      {0, "I/O エラー (0)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InOutErrorText(c.code), Sjis(c.utf8)) << c.code;
    EXPECT_EQ(EInOutError(c.code).Message(), Sjis(c.utf8)) << c.code;
    EXPECT_EQ(EInOutError(c.code).ErrorCode(), c.code);
  }
}

TEST(ErrorMessagesTest, CreateAndWriteErrorsNameWhatFailed) {
  EXPECT_EQ(EFCreateError(Sjis("C:\\出力\\a\tb.txt")).Message(),
            Sjis("ファイル C:\\出力\\a\tb.txt を作成できません"));
  EXPECT_EQ(EWriteError().Message(), Sjis("ストリームへの書き込みエラー"));
  EXPECT_EQ(EAbort().Message(), "");
}

TEST(ErrorMessagesTest, AShellFailureKeepsItsStatusAndNamesItInHexadecimal) {
  const EOleSysError error(static_cast<std::int32_t>(0x80070002));
  EXPECT_EQ(error.Status(), static_cast<std::int32_t>(0x80070002));
  EXPECT_NE(error.Message().find("80070002"), std::string::npos) << error.Message();
}

TEST(WithFinalPeriodTest, AppendsAPeriodUnlessTheTextEndsInPunctuation) {
  const struct {
    std::string text;
    std::string shown;
  } cases[] = {
      {"", ""},
      {"disk", "disk."},
      {"done.", "done."},
      {"done!", "done!"},  // 0x21 <= 0x2E
      {"a b ", "a b "},    // a blank is 0x20
      {"(183)", "(183)"},  // ')' is 0x29
      {Sjis("エラー"), Sjis("エラー") + "."},
      {"\x83\x5C", "\x83\x5C."},  // ソ: its 5C is no character of its own
      {"abc\x81", "abc\x81."},    // a lone lead byte is no punctuation
      {"x/", "x/."},              // 0x2F is above 0x2E
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithFinalPeriod(c.text), c.shown) << c.text;
  }
}

}  // namespace
}  // namespace pem
