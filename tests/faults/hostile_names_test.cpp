// Hostile category names and titles: each gives an entry file inside the output folder or the
// system's clear error, and nothing lands anywhere else.
#include <gtest/gtest.h>

#include "dictionary.h"
#include "naming.h"
#include "recording_host.h"
#include "temp_dir.h"

namespace pem::harden {
namespace {

using pem::testing::Sjis;

enum class Expect { kFile, kError, kEither };

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

struct HostileName {
  std::string label;
  std::string name;
  Expect posix;
  Expect windows;
};

void PrintTo(const HostileName& c, std::ostream* os) {
  *os << c.label;
}

std::vector<HostileName> HostileNames() {
  using enum Expect;
  return {
      {"dot", ".", kFile, kFile},
      {"dot_dot", "..", kFile, kFile},
      {"three_dots", "...", kFile, kFile},
      {"dot_blank_dot", ". .", kFile, kEither},
      {"dot_dot_blank", ".. ", kFile, kEither},
      {"blank", " ", kFile, kEither},
      {"con", "CON", kFile, kFile},
      {"nul_lower_with_extension", "nul.txt", kFile, kFile},
      {"com1_blank", "COM1 ", kFile, kEither},
      {"lpt9_dot_more", "LPT9.x", kFile, kFile},
      {"prn_dot", "PRN.", kFile, kEither},
      {"ending_in_dot", "abc.", kFile, kEither},
      {"ending_in_blank", "abc ", kFile, kEither},
      {"tab", "a\tb", kFile, kError},
      {"control_01", "\x01", kFile, kError},
      {"control_1f", "x\x1f", kFile, kError},
      {"delete", "\x7f", kFile, kEither},
      {"bytes_250", std::string(250, 'n'), kFile, kEither},
      // Over the 255-byte limit of POSIX names: shortened there.
      {"bytes_300", std::string(300, 'n'), kFile, kError},
      {"japanese_120_chars",
       [] {
         std::string text;
         for (int i = 0; i < 120; ++i) text += Sjis("名");
         return text;
       }(),
       kFile, kEither},
  };
}

// Converts a dictionary of one category with one entry into `out` (a folder at or below the
// sandbox's output folder) and checks that the entry file lies inside it or the run reports the
// system's clear error, as `expected` says, and that nothing else changed.
void ExpectInsideOrClearError(const Sandbox& sandbox, const std::string& out,
                              const std::string& category, const std::string& title,
                              Expect expected) {
  const Dictionary dictionary{{{category, {{title, "text"}}}}};
  dictionary.WriteTo(sandbox.Source());
  const Tree before = Snapshot(sandbox.Root());
  RecordingHost host(sandbox.SourceText(), out);

  const RunOutcome outcome = RunConversion(host);

  EXPECT_EQ(ChangesOutside(before, Snapshot(sandbox.Root()), "box/out"),
            std::vector<std::string>{});
  EXPECT_EQ(host.FinishingStage(), ExpectedFinishingStage(host.Error()));
  std::vector<std::string> files;
  for (const auto& [path, contents] : Snapshot(sandbox.Output())) {
    if (contents) files.push_back(path);
  }
  if (outcome == RunOutcome::kCompleted) {
    EXPECT_NE(expected, Expect::kError) << "the run wrote " << ::testing::PrintToString(files);
    ASSERT_EQ(host.Written().size(), 1u);
    const std::string& written = host.Written()[0];
    EXPECT_TRUE(written.starts_with(out + "\\")) << written;
    EXPECT_EQ(ReadFile(NativeOf(written)), "text\r\n");
    // Windows snapshots do not look past MAX_PATH, so there the entry may be out of their sight.
    if (kWindows) {
      EXPECT_LE(files.size(), 1u) << ::testing::PrintToString(files);
    } else {
      EXPECT_EQ(files.size(), 1u) << ::testing::PrintToString(files);
    }
    for (const std::string& file : files) EXPECT_EQ(*Snapshot(sandbox.Output())[file], "text\r\n");
    return;
  }
  ASSERT_EQ(outcome, RunOutcome::kFailed);
  const std::string error = host.Error().value_or("");
  EXPECT_NE(expected, Expect::kFile) << "error: " << error;
  EXPECT_TRUE(files.empty()) << ::testing::PrintToString(files);
  const std::string entry_path =
      out + "\\" + UniqueEntryPath(out, CategoryFolderName(category), title);
  const std::string cannot_create = Sjis("ファイル ") + entry_path + Sjis(" を作成できません");
  EXPECT_TRUE(error == cannot_create || error.starts_with(Sjis("I/O エラー (")) ||
              error == Sjis("不正なファイル名です") || error == Sjis("ファイルが見つかりません"))
      << error;
}

// Where the name goes: the category's name or the entry's title.
enum class Role { kCategory, kTitle };

class HostileNameTest : public ::testing::TestWithParam<std::tuple<Role, HostileName>> {};

TEST_P(HostileNameTest, GivesAFileInsideTheOutputFolderOrAClearError) {
  const auto& [role, c] = GetParam();
  Sandbox sandbox;
  ExpectInsideOrClearError(sandbox, sandbox.OutputText(), role == Role::kCategory ? c.name : "c",
                           role == Role::kTitle ? c.name : "t", kWindows ? c.windows : c.posix);
}

INSTANTIATE_TEST_SUITE_P(Names, HostileNameTest,
                         ::testing::Combine(::testing::Values(Role::kCategory, Role::kTitle),
                                            ::testing::ValuesIn(HostileNames())),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) == Role::kCategory
                                                  ? "category_"
                                                  : "title_") +
                                  std::get<1>(info.param).label;
                         });

// Paths longer than the platform allows: on POSIX the output folder lies deep enough that the
// category folder or the entry file crosses PATH_MAX (4096); on Windows MAX_PATH (260) is crossed
// by the names alone. On POSIX an entry file is made relative to its folder, so only a folder
// past the limit is an error there.
TEST(LongPathTest, APathOverThePlatformLimitIsAClearError) {
  const struct {
    int depth;  // folders of 200 bytes between the output folder and the run's output text
    std::size_t category;
    std::size_t title;
    Expect posix;
  } cases[] = {{kWindows ? 0 : 19, 250, 1, Expect::kError},
               {kWindows ? 0 : 18, 200, 250, Expect::kFile}};
  for (const auto& c : cases) {
    Sandbox sandbox;
    std::filesystem::path deep = sandbox.Output();
    for (int level = 0; level < c.depth; ++level) deep /= std::string(200, 'd');
    std::filesystem::create_directories(deep);
    SCOPED_TRACE(std::to_string(TextOf(deep).size() + c.category + c.title) + " bytes");
    ExpectInsideOrClearError(sandbox, TextOf(deep), std::string(c.category, 'c'),
                             std::string(c.title, 't'), kWindows ? Expect::kEither : c.posix);
  }
}

}  // namespace
}  // namespace pem::harden
