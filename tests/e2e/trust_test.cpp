// pem2txt where a user meets the limits of the platform: names too long for a file system that
// counts bytes, sources named in another letter case, folders outside code page 932, and a
// progress line fed faster than a terminal can show it.
#include <chrono>

#include "capturing_console.h"
#include "e2e_support.h"
#include "forwarding_file_system.h"
#include "pem2txt.h"

namespace pem::testing {
namespace {

// pemri.exe and the three data files of a hand-written dictionary.
void WriteSources(const fs::path& install, const std::string& categories, const std::string& texts,
                  const std::string& titles) {
  WriteBytes(install / "pemri.exe", "");
  WriteBytes(install / "pmridata.ini", categories);
  WriteBytes(install / "dicdata.ini", texts);
  WriteBytes(install / "expdata.ini", titles);
}

#ifndef _WIN32
std::string Repeat(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

// A dictionary of one category whose entries have the given titles and the texts "t0", "t1", ...
void WriteOneCategory(const fs::path& install, const std::string& category,
                      const std::vector<std::string>& titles) {
  std::string texts = "[DicData0]\r\nCount=" + std::to_string(titles.size()) + "\r\n";
  std::string names = "[DicExpData0]\r\n";
  for (std::size_t i = 0; i < titles.size(); ++i) {
    texts += std::to_string(i) + "=t" + std::to_string(i) + "\r\n";
    names += std::to_string(i) + "=" + Sjis(titles[i]) + "\r\n";
  }
  WriteSources(install, "[ItemData]\r\nCount=1\r\n0=" + Sjis(category) + "\r\n", texts, names);
}

// --- Names longer than 255 bytes in UTF-8 ---

struct LongNameCase {
  const char* name;
  std::string category;
  std::vector<std::string> titles;
  std::string folder;              // as written
  std::vector<std::string> files;  // entry file names as written, in entry order
};

void PrintTo(const LongNameCase& c, std::ostream* os) {
  *os << c.name;
}

class LongNameTest : public E2eTest, public ::testing::WithParamInterface<LongNameCase> {};

// Each name is cut at a character so that it fits the 255 bytes with its counter and ".txt";
// names that fit are kept as they are, and cut names stay unique.
TEST_P(LongNameTest, CutsNamesToFitAndKeepsThemUnique) {
  const LongNameCase& c = GetParam();
  WriteOneCategory(Install(), c.category, c.titles);
  const RunResult run = Convert();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  Tree expected = {{c.folder, std::nullopt}};
  for (std::size_t i = 0; i < c.files.size(); ++i) {
    ASSERT_LE(c.files[i].size(), 255u);
    expected[c.folder + "/" + c.files[i]] = "t" + std::to_string(i) + "\r\n";
  }
  EXPECT_EQ(TreeDifferences(expected, ReadTree(Out())), "");
}

const std::string kName = "名";  // 2 bytes in code page 932, 3 in UTF-8
const std::string kKana = "ｱ";   // 1 byte in code page 932, 3 in UTF-8
const std::string k83Names = Repeat(kName, 83);
const std::string kN250(250, 'n'), kM250(250, 'm'), kX250(250, 'x');

// Twelve equal titles: the tenth counter takes a byte more of the name.
std::vector<std::string> CounterGrowsADigit() {
  std::vector<std::string> files{kX250 + ".txt"};
  for (int i = 1; i < 12; ++i) {
    files.push_back((i < 10 ? kX250 : kX250.substr(1)) + std::to_string(i) + ".txt");
  }
  return files;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, LongNameTest, ::testing::Values(
    LongNameCase{"TitlesEqualUpToTheCut", "c",
                 {Repeat(kName, 84) + "A", Repeat(kName, 84) + "B", k83Names}, "c",
                 {k83Names + ".txt", k83Names + "1.txt", k83Names + "2.txt"}},
    LongNameCase{"AsciiThatFitsStays", "c", {kN250 + "n", kN250 + "n", kM250, kM250}, "c",
                 {kN250 + "n.txt", kN250 + "1.txt", kM250 + ".txt", kM250 + "1.txt"}},
    LongNameCase{"CounterGrowsADigit", "c", std::vector<std::string>(12, kX250), "c",
                 CounterGrowsADigit()},
    LongNameCase{"HalfWidthKana", "c", {Repeat(kKana, 100)}, "c", {Repeat(kKana, 83) + ".txt"}},
    LongNameCase{"CategoryOf300Bytes", std::string(300, 'c'), {"t"}, std::string(255, 'c'),
                 {"t.txt"}},
    LongNameCase{"JapaneseCategory", Repeat(kName, 100), {"t"}, Repeat(kName, 85), {"t.txt"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on
#endif

// --- Sources in another letter case ---

class SourceCaseTest : public E2eTest,
                       public ::testing::WithParamInterface<std::vector<const char*>> {};

// The three files are found whatever the letter case of their names, as on the data's own
// platform.
TEST_P(SourceCaseTest, FindsTheSourcesIgnoringLetterCase) {
  UseSample();
  const std::vector<const char*> names = GetParam();
  const char* usual[] = {"pmridata.ini", "dicdata.ini", "expdata.ini"};
  for (std::size_t i = 0; i < names.size(); ++i) {
    fs::rename(Install() / usual[i], Install() / (std::string(names[i]) + ".tmp"));
    fs::rename(Install() / (std::string(names[i]) + ".tmp"), Install() / names[i]);
  }
  const RunResult run = Convert();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(TreeDifferences(SampleGolden(), ReadTree(Out())), "");
}

INSTANTIATE_TEST_SUITE_P(
    Names, SourceCaseTest,
    ::testing::Values(std::vector<const char*>{"PMRIDATA.INI", "DICDATA.INI", "EXPDATA.INI"},
                      std::vector<const char*>{"PmriData.Ini", "dicDATA.ini", "ExpData.INI"},
                      std::vector<const char*>{"pmridata.ini", "dicdata.INI", "expdata.ini"}));

// --- Folders outside code page 932 ---

struct FolderBytesCase {
  const char* name;
  std::string install;  // below the test's temporary folder: UTF-8, or on POSIX any bytes
  std::string out;
};

// The path as the command line gives it: the bytes on POSIX, UTF-8 of the wide text on Windows.
std::string Given(const fs::path& path) {
#ifdef _WIN32
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
#else
  return path.string();
#endif
}

fs::path Below(const fs::path& root, const std::string& given) {
#ifdef _WIN32
  return (root / fs::path(std::u8string(given.begin(), given.end()))).make_preferred();
#else
  return root / given;
#endif
}

void PrintTo(const FolderBytesCase& c, std::ostream* os) {
  *os << c.name;
}

class FolderBytesTest : public E2eTest, public ::testing::WithParamInterface<FolderBytesCase> {};

// Folders are used as the bytes they are; messages name them as given.
TEST_P(FolderBytesTest, ConvertsIntoAndFromFoldersOutsideCodePage932) {
  const FolderBytesCase& c = GetParam();
  const fs::path root = Out();
  const fs::path install = Below(root, c.install);
  const fs::path out = Below(root, c.out);
  fs::create_directories(install);
  fs::create_directories(out);
  for (const char* name : {"pemri.exe", "pmridata.ini", "dicdata.ini", "expdata.ini"}) {
    fs::copy_file(SourcePath("samples/pemuriko") / name, install / name);
  }
  const RunResult run = RunPem2Txt({Given(install), Given(out)});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(TreeDifferences(SampleGolden(), ReadTree(out)), "");

  fs::remove(install / "pemri.exe");
  const RunResult missing = RunPem2Txt({Given(install), Given(out)});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find(": " + Given(install) + ": no pemri*.exe in it\n"), std::string::npos)
      << missing.err;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, FolderBytesTest,
    ::testing::Values(FolderBytesCase{"Utf8OutsideCodePage932", "jos\xC3\xA9/src",
                                      "jos\xC3\xA9/out"},
#ifndef _WIN32
                      FolderBytesCase{"NotUtf8", "\xE9t\xE9/src", "\xE9t\xE9/dst"},
#endif
                      FolderBytesCase{"OutInsideInstall", "\xC3\xA4", "\xC3\xA4/\xC3\xBC"},
                      FolderBytesCase{"SameStandIns", "\xC3\xA4/x", "\xC3\xBC/x"},
                      FolderBytesCase{"OnlyOutOutside", "plain", "\xF0\x9F\x98\x80"}),
    [](const auto& info) { return std::string(info.param.name); });

// Where the file system takes code page 932 paths only, such a folder is refused in the
// program's language, naming the folder.
TEST(FolderRefusalTest, AFolderOutsideCodePage932IsRefusedByName) {
  ForwardingFileSystem text_only;
  for (const bool install : {true, false}) {
    CapturingConsole console(false);
    const std::string folder = "jos\xC3\xA9";
    const int status =
        Pem2Txt({install ? folder : ".", install ? "." : folder}, console, text_only);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(console.err, "pem2txt: フォルダ名がコードページ 932 で表せません: " + folder + "\n");
  }
}

// --- The progress line ---

struct ProgressCase {
  const char* name;
  std::string categories;
  std::string texts;
  std::string counts;  // as the last line drawn shows them
};

void PrintTo(const ProgressCase& c, std::ostream* os) {
  *os << c.name;
}

class ProgressRateTest : public E2eTest, public ::testing::WithParamInterface<ProgressCase> {};

// However fast categories and entries come, the line is redrawn at most about ten times a
// second, and it shows the final counts once before it is wiped.
TEST_P(ProgressRateTest, RedrawsAtMostTenTimesASecondAndOnceAtTheEnd) {
  WriteSources(Install(), GetParam().categories, GetParam().texts, "");
  const auto start = std::chrono::steady_clock::now();
  const RunResult run = Convert({}, true);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(run.status, 0);
  long draws = 0;
  for (std::size_t at = run.err.find("\r["); at != std::string::npos;
       at = run.err.find("\r[", at + 1)) {
    ++draws;
  }
  EXPECT_LE(draws, static_cast<long>(seconds * 10) + 3) << seconds << " s";
  const std::size_t last = run.err.rfind("\r[");
  ASSERT_NE(last, std::string::npos);
  const std::size_t counts = last + 34;  // after "\r[", the bar and "] "
  EXPECT_EQ(run.err.substr(counts, run.err.find(" entries", counts) - counts), GetParam().counts);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ProgressRateTest,
    ::testing::Values(ProgressCase{"ManyEmptyCategories", "[ItemData]\r\nCount=100000\r\n", "",
                                   "100000/100000 categories, 0"},
                      ProgressCase{"ManyEntries", "[ItemData]\r\nCount=1\r\n0=c\r\n",
                                   "[DicData0]\r\nCount=20000\r\n", "1/1 categories, 20000"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pem::testing
