#include "naming.h"

#include <gtest/gtest.h>

#include <vector>

#include "forwarding_file_system.h"
#include "temp_dir.h"

namespace pem {
namespace {

using testing::NativeChild;
using testing::Sjis;
using testing::TempDir;
using testing::WriteBytes;

struct NameCase {
  const char* name;
  std::string input;
  std::string expected;
};

void PrintTo(const NameCase& c, std::ostream* os) {
  *os << c.name;
}

std::string CaseName(const ::testing::TestParamInfo<NameCase>& info) {
  return info.param.name;
}

class SafeFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SafeFileNameTest, ReplacesOnlyCharactersOfTheirOwn) {
  EXPECT_EQ(SafeFileName(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, SafeFileNameTest,
    ::testing::Values(NameCase{"slash_colon", "a/b:c",
                               "a\x81\x5E"
                               "b\x81\x46"
                               "c"},
                      NameCase{"so_backslash_table", "\x83\x5C\x5C\x95\x5C",
                               "\x83\x5C\x81\x8F\x95\x5C"},
                      NameCase{"po_bar", "\x83\x7C\x7C\x78", "\x83\x7C\x81\x62\x78"},
                      NameCase{"quotes_and_angles", "<\"a\">",
                               "\x81\x83\x81\x68"
                               "a\x81\x68\x81\x84"},
                      NameCase{"all_eleven", "\\/:,;*?\"<>|", Sjis("￥／：，；＊？”＜＞｜")},
                      NameCase{"kept_as_they_are", "\t .x. ", "\t .x. "}, NameCase{"empty", "", ""},
                      NameCase{"lead_byte_at_end", "a?\x83", "a\x81\x48\x83"},
                      NameCase{"lead_byte_before_slash_at_end", "\x83/", "\x83/"}),
    CaseName);

class CategoryFolderNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(CategoryFolderNameTest, StaysInsideTheOutputFolderAndOutOfDevices) {
  EXPECT_EQ(CategoryFolderName(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, CategoryFolderNameTest,
    ::testing::Values(
        NameCase{"plain", "abc", "abc"}, NameCase{"empty_stays_empty", "", ""},
        NameCase{"dot", ".", "\x81\x44"}, NameCase{"dot_dot", "..", "\x81\x44\x81\x44"},
        NameCase{"three_dots", "...", "\x81\x44\x81\x44\x81\x44"},
        NameCase{"dots_around_text_kept", "..a.", "..a."},
        NameCase{"dot_slash_dot", "./.", ".\x81\x5E."}, NameCase{"con", "CON", "\x82\x62ON"},
        NameCase{"lower_case_nul", "nul", "\x82\x8eul"},
        NameCase{"device_with_extension", "Aux.txt", "\x82\x60ux.txt"},
        NameCase{"device_with_blank", "prn  .x", "\x82\x90rn  .x"},
        NameCase{"com9_lpt1", "COM9", "\x82\x62OM9"}, NameCase{"com0_is_no_device", "COM0", "COM0"},
        NameCase{"com10_is_no_device", "COM10", "COM10"},
        NameCase{"longer_name", "CONSOLE", "CONSOLE"}, NameCase{"blank_before", " CON", " CON"},
        NameCase{"full_width_colon_is_no_device", "CON:", "CON\x81\x46"}),
    CaseName);

class UniqueEntryPathTest : public ::testing::Test {
 protected:
  // Chooses a name and writes the file, as the conversion does.
  std::string Take(const std::string& title) {
    const std::string path =
        UniqueEntryPath(dir_.Text(), "c", title, PlatformFileSystem(), &taken_);
    WriteBytes(NativeChild(dir_.path(), path), "");
    return path;
  }

  TempDir dir_;
  TakenNames taken_;
  void SetUp() override { std::filesystem::create_directory(dir_.path() / "c"); }
};

TEST_F(UniqueEntryPathTest, CountersAreAppendedToTheTitleItself) {
  EXPECT_EQ(Take("abc"), "c\\abc.txt");
  EXPECT_EQ(Take("abc1"), "c\\abc1.txt");
  EXPECT_EQ(Take("abc"), "c\\abc2.txt");
  EXPECT_EQ(Take("abc"), "c\\abc3.txt");
  EXPECT_EQ(Take(""), "c\\.txt");
  EXPECT_EQ(Take(""), "c\\1.txt");
  EXPECT_EQ(Take("1"), "c\\11.txt");
}

TEST_F(UniqueEntryPathTest, ExistingFilesAreNeverChosen) {
  WriteBytes(dir_.path() / "c" / "abc.txt", "keep");
  EXPECT_EQ(Take("abc"), "c\\abc1.txt");
  EXPECT_EQ(testing::ReadBytes(dir_.path() / "c" / "abc.txt"), "keep");
}

TEST_F(UniqueEntryPathTest, AFolderOfThatNameDoesNotTakeTheName) {
  std::filesystem::create_directory(dir_.path() / "c" / "abc.txt");
  EXPECT_EQ(UniqueEntryPath(dir_.Text(), "c", "abc"), "c\\abc.txt");
}

TEST_F(UniqueEntryPathTest, CountedNamesThatWouldBeDevicesAreGuarded) {
  EXPECT_EQ(Take("LPT"), "c\\LPT.txt");
  EXPECT_EQ(Take("LPT"), "c\\\x82\x6bPT1.txt");
  EXPECT_EQ(Take("con"), "c\\\x82\x83on.txt");
}

TEST_F(UniqueEntryPathTest, TheEmptyFolderNameWritesIntoTheOutputFolder) {
  EXPECT_EQ(UniqueEntryPath(dir_.Text(), "", "x"), "\\x.txt");
}

// Counts the name probes of a run of equal titles.
class ProbeCounter : public testing::ForwardingFileSystem {
 public:
  bool FileMatchExists(const std::string& path) override {
    ++probes;
    return ForwardingFileSystem::FileMatchExists(path);
  }
  long probes = 0;
};

TEST_F(UniqueEntryPathTest, ARunOfEqualTitlesCostsAboutOneProbePerEntry) {
  ProbeCounter counter;
  constexpr int kEntries = 300;
  for (int i = 0; i < kEntries; ++i) {
    const std::string path = UniqueEntryPath(dir_.Text(), "c", "", counter, &taken_);
    ASSERT_EQ(path, i == 0 ? "c\\.txt" : "c\\" + std::to_string(i) + ".txt");
    WriteBytes(NativeChild(dir_.path(), path), "");
  }
  EXPECT_LE(counter.probes, kEntries + 1);
}

TEST_F(UniqueEntryPathTest, CreateEntryFileCreatesTheFileThatWouldBeNamed) {
  WriteBytes(dir_.path() / "c" / "abc.txt", "keep");
  std::filesystem::create_directory(dir_.path() / "c" / "x.txt");
  std::string path;
  for (const char* expected : {"c\\abc1.txt", "c\\abc2.txt"}) {
    EXPECT_NE(CreateEntryFile(dir_.Text(), "c", "abc", PlatformFileSystem(), &taken_, path),
              nullptr);
    EXPECT_EQ(path, expected);
  }
  EXPECT_EQ(testing::ReadBytes(dir_.path() / "c" / "abc.txt"), "keep");
  EXPECT_EQ(testing::ReadBytes(dir_.path() / "c" / "abc2.txt"), "");
  // A folder of the name does not take it: the name is chosen and the file cannot be created.
  EXPECT_EQ(CreateEntryFile(dir_.Text(), "c", "x", PlatformFileSystem(), &taken_, path), nullptr);
  EXPECT_EQ(path, "c\\x.txt");
}

// Counts the creations of entry files that found their name taken.
class TakenCounter : public testing::ForwardingFileSystem {
 public:
  std::unique_ptr<OutputFile> CreateNewOutputFile(const std::string& path, bool& exists) override {
    std::unique_ptr<OutputFile> file = PlatformFileSystem().CreateNewOutputFile(path, exists);
    taken += exists;
    return file;
  }
  long taken = 0;
};

struct RunOfTitlesCase {
  const char* name;
  std::vector<std::string> titles;
  std::vector<std::string> existing;  // files in the folder before the run
  std::vector<std::string> expected;
  long tries_taken;  // creations that found their name taken: only by files from before
};

class EntryFolderTest : public UniqueEntryPathTest,
                        public ::testing::WithParamInterface<RunOfTitlesCase> {};

// No name that the run itself made in a folder is tried again; only files that were there
// before cost a try, and they are stepped around, never overwritten.
TEST_P(EntryFolderTest, TriesOnlyNamesThatTheRunHasNotMade) {
  for (const std::string& name : GetParam().existing) WriteBytes(dir_.path() / "c" / name, "old");
  TakenCounter counter;
  EntryFolder folder(counter, dir_.Text(), "c");
  std::vector<std::string> names;
  for (const std::string& title : GetParam().titles) {
    std::string path;
    ASSERT_NE(folder.CreateEntryFile(title, &taken_, path), nullptr) << title;
    names.push_back(path.substr(2));
  }
  EXPECT_EQ(names, GetParam().expected);
  EXPECT_EQ(counter.taken, GetParam().tries_taken);
  for (const std::string& name : GetParam().existing) {
    EXPECT_EQ(testing::ReadBytes(dir_.path() / "c" / name), "old");
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Runs, EntryFolderTest, ::testing::Values(
    RunOfTitlesCase{"Repeats", {"a", "a", "b", "a", "", ""}, {},
                    {"a.txt", "a1.txt", "b.txt", "a2.txt", ".txt", "1.txt"}, 0},
    RunOfTitlesCase{"ACounterThatIsATitle", {"a1", "a", "a"}, {"a1.txt"},
                    {"a11.txt", "a.txt", "a2.txt"}, 2},
    RunOfTitlesCase{"EarlierFiles", {"a", "a", "b"}, {"a.txt", "a2.txt", "b.txt"},
                    {"a1.txt", "a3.txt", "b1.txt"}, 3}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The names a run made are remembered per folder, also when the run goes back to a folder.
TEST_F(UniqueEntryPathTest, FoldersKeepTheirOwnTakenNames) {
  std::filesystem::create_directory(dir_.path() / "d");
  std::vector<std::string> paths;
  for (const char* folder : {"c", "d", "c", "d", "c"}) {
    std::string path;
    ASSERT_NE(CreateEntryFile(dir_.Text(), folder, "a", PlatformFileSystem(), &taken_, path),
              nullptr);
    paths.push_back(path);
  }
  EXPECT_EQ(paths, (std::vector<std::string>{"c\\a.txt", "d\\a.txt", "c\\a1.txt", "d\\a1.txt",
                                             "c\\a2.txt"}));
}

struct FitCase {
  const char* name;
  std::string text;
  std::string suffix;
  std::size_t limit;
  std::string expected;
};

class FitNameTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitNameTest, CutsBetweenCharactersToFitTheLimit) {
  const FitCase& c = GetParam();
  EXPECT_EQ(FitName(c.text, c.suffix, c.limit), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FitNameTest,
    ::testing::Values(FitCase{"NoLimit", std::string(300, 'a'), ".txt", 0, std::string(300, 'a')},
                      FitCase{"FitsExactly", std::string(251, 'a'), ".txt", 255,
                              std::string(251, 'a')},
                      FitCase{"OneOver", std::string(252, 'a'), ".txt", 255, std::string(251, 'a')},
                      // 名 is two bytes here and three in UTF-8: 85 of them fill 255 bytes.
                      FitCase{"TwoByteCharacters", Sjis("名名名"), ".txt", 10, Sjis("名名")},
                      FitCase{"NeverHalfACharacter", Sjis("名名"), "", 5, Sjis("名")},
                      // ｱ is one byte here and three in UTF-8.
                      FitCase{"HalfWidthKana", Sjis("ｱｱｱ"), "1.txt", 12, Sjis("ｱｱ")},
                      FitCase{"SuffixAlone", "abc", "12345", 4, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pem
