// The program's INI reader against the platform's GetPrivateProfileStringA with a 2048-byte
// buffer, on the same files and the same questions. Run under Wine, once with its default ANSI
// code page 1252 and once with 932 (see ini_corpus.h for what each can compare).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>

#include "ini_corpus.h"
#include "ini_reader.h"
#include "temp_dir.h"

namespace pem::testing {

// Names the case in test output instead of dumping its bytes.
void PrintTo(const IniCase& c, std::ostream* os) {
  *os << c.name;
}

namespace {

std::optional<AnsiCodePage> CurrentCodePage() {
  switch (GetACP()) {
    case 932:
      return AnsiCodePage::k932;
    case 1252:
      return AnsiCodePage::k1252;
    default:
      return std::nullopt;
  }
}

// Bytes as text: printable ASCII as it is, everything else in hex; long runs shortened.
std::string Shown(std::string_view bytes, std::size_t limit = 120) {
  std::ostringstream text;
  text << '"';
  for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '"') {
      text << static_cast<char>(byte);
    } else {
      static constexpr char kDigits[] = "0123456789ABCDEF";
      text << "\\x" << kDigits[byte >> 4] << kDigits[byte & 15];
    }
  }
  text << (bytes.size() > limit ? "\"..." : "\"") << " (" << bytes.size() << " bytes)";
  return text.str();
}

std::string PlatformRead(const Query& query, const std::string& path) {
  char buffer[2048];
  const DWORD count =
      GetPrivateProfileStringA(query.section.c_str(), query.key.c_str(),
                               query.default_value.c_str(), buffer, sizeof buffer, path.c_str());
  return std::string(buffer, count);
}

class IniDifferentialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::optional<AnsiCodePage> code_page = CurrentCodePage();
    if (!code_page) GTEST_SKIP() << "ANSI code page " << GetACP() << " is neither 1252 nor 932";
    code_page_ = *code_page;
    // The platform takes the path in the ANSI code page: keep it to ASCII.
    const std::string folder = dir_.Text();
    ASSERT_TRUE(std::all_of(folder.begin(), folder.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x80;
    })) << folder;
  }

  // Asks every question of the case both ways; the first answer that differs, or "".
  std::string FirstDifference(const IniCase& c) {
    const std::string name = std::to_string(++files_) + ".ini";
    WriteBytes(dir_.path() / name, c.bytes);
    const std::string path = dir_.Text() + "\\" + name;
    const IniReader reader(path);
    for (const Query& query : c.queries) {
      const std::string ours = reader.ReadText(query.section, query.key, query.default_value);
      const std::string platform = PlatformRead(query, path);
      if (ours == platform) continue;
      const std::size_t at =
          std::mismatch(ours.begin(), ours.end(), platform.begin(), platform.end()).first -
          ours.begin();
      const std::size_t from = at < 20 ? 0 : at - 20;
      std::ostringstream text;
      text << c.name << ": section " << Shown(query.section) << ", key " << Shown(query.key)
           << ", default " << Shown(query.default_value) << "\n  ours     " << Shown(ours)
           << "\n  platform " << Shown(platform) << "\n  from byte " << from << ": ours "
           << Shown(std::string_view(ours).substr(from), 60) << ", platform "
           << Shown(std::string_view(platform).substr(from), 60) << "\n  file "
           << Shown(c.bytes, 600);
      return text.str();
    }
    return "";
  }

  AnsiCodePage code_page_ = AnsiCodePage::k1252;

 private:
  TempDir dir_;
  int files_ = 0;
};

class TrickyIniTest : public IniDifferentialTest, public ::testing::WithParamInterface<IniCase> {};

TEST_P(TrickyIniTest, ReadsAsThePlatformDoes) {
  if (GetParam().japanese_only && code_page_ != AnsiCodePage::k932) {
    GTEST_SKIP() << "needs the ANSI code page 932";
  }
  EXPECT_EQ(FirstDifference(GetParam()), "");
}

INSTANTIATE_TEST_SUITE_P(Files, TrickyIniTest, ::testing::ValuesIn(TrickyCases()),
                         [](const auto& info) { return info.param.name; });

TEST_F(IniDifferentialTest, GeneratedFilesReadAsThePlatformReadsThem) {
  constexpr std::uint32_t kFiles = 300;
  constexpr int kReported = 5;
  int differing = 0;
  for (std::uint32_t seed = 1; seed <= kFiles && differing < kReported; ++seed) {
    const std::string difference = FirstDifference(GeneratedCase(seed, code_page_));
    if (!difference.empty()) {
      ADD_FAILURE() << difference;
      ++differing;
    }
  }
}

TEST_F(IniDifferentialTest, MissingFileGivesTheDefault) {
  const std::string path = "Z:\\no\\such\\folder\\missing.ini";
  const IniReader reader(path);
  for (const Query& query : {Query{"s", "k", ""}, Query{"s", "k", "dflt  "}}) {
    EXPECT_EQ(reader.ReadText(query.section, query.key, query.default_value),
              PlatformRead(query, path));
  }
}

// The second run asks Wine for code page 932 through LC_ALL; make sure that it got it, or the
// Japanese cases would pass by being skipped.
TEST(AnsiCodePageTest, IsTheOneTheRunAskedFor) {
  const char* locale = std::getenv("LC_ALL");
  if (locale != nullptr && std::string_view(locale).starts_with("ja_JP")) {
    EXPECT_EQ(GetACP(), 932u);
  }
}

}  // namespace
}  // namespace pem::testing
