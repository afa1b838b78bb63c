// pem2txt as its user meets it: options, exit statuses, messages in UTF-8 on the right stream,
// the progress line, and the outcomes of runs that fail.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "capturing_console.h"
#include "e2e_support.h"
#include "progress_line.h"
#include "system_error.h"

namespace pem::testing {
namespace {

constexpr char kInstall[] = "<install>";
constexpr char kOut[] = "<out>";
constexpr char kInstallFile[] = "<install>/pmridata.ini";
// A data file of a hand-written dictionary that is a folder instead.
constexpr char kFolder[] = "<folder>";

class Pem2TxtTest : public E2eTest {
 protected:
  // An argument with the test's folders in place of their tokens.
  std::string Expand(const std::string& arg) const {
    if (arg == kInstall) return Utf8Arg(Install());
    if (arg == kOut) return Utf8Arg(Out());
    if (arg == kInstallFile) return Utf8Arg(Install() / "pmridata.ini");
    return arg;
  }

  RunResult RunWith(const std::vector<std::string>& pattern, bool terminal = false) {
    std::vector<std::string> args;
    for (const std::string& arg : pattern) args.push_back(Expand(arg));
    return Run(args, terminal);
  }

  // A hand-written dictionary; a missing text leaves that file out, kFolder puts a folder there.
  void WriteSource(const std::optional<std::string>& categories,
                   const std::optional<std::string>& texts,
                   const std::optional<std::string>& titles) {
    WriteBytes(Install() / "pemri.exe", "");
    WriteDataFile("pmridata.ini", categories);
    WriteDataFile("dicdata.ini", texts);
    WriteDataFile("expdata.ini", titles);
  }

  void WriteDataFile(const char* name, const std::optional<std::string>& bytes) {
    if (bytes == kFolder) {
      fs::create_directory(Install() / name);
    } else if (bytes) {
      WriteBytes(Install() / name, *bytes);
    }
  }

  // The system's own description of error 183.
  static std::string AlreadyExists() {
#ifdef _WIN32
    return SystemErrorDescription(183);
#else
    return std::strerror(EEXIST);
#endif
  }

  static fs::path U8(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
  }
};

// --- Usage ---

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
  std::string error;
};

void PrintTo(const UsageCase& c, std::ostream* os) {
  *os << c.name;
}

const std::string kNoFolders = "expected INSTALL_DIR and OUTPUT_DIR";

class BadUsageTest : public Pem2TxtTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(BadUsageTest, ExitsWithTwoAndOneLineWithAHintToTheHelp) {
  UseSample();
  const RunResult run = RunWith(GetParam().args);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "pem2txt: " + GetParam().error + "\nTry 'pem2txt --help' for more information.\n");
  EXPECT_TRUE(ReadTree(Out()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, BadUsageTest,
    ::testing::Values(
        UsageCase{"None", {}, kNoFolders}, UsageCase{"InstallOnly", {kInstall}, kNoFolders},
        UsageCase{"OneTooMany", {kInstall, kOut, kOut}, kNoFolders},
        UsageCase{"UnknownLongOption", {"--verbose", kInstall, kOut}, "unknown option: --verbose"},
        UsageCase{"UnknownShortOption", {"-x", kInstall, kOut}, "unknown option: -x"},
        UsageCase{"UnknownAmongCombined", {"-qx", kInstall, kOut}, "unknown option: -x"},
        UsageCase{"QuietAlone", {"--quiet"}, kNoFolders},
        UsageCase{"CombinedQuietAlone", {"-qq"}, kNoFolders},
        UsageCase{"UnknownEncoding",
                  {"--encoding=latin1", kInstall, kOut},
                  "bad encoding: --encoding=latin1 (--encoding=cp932 or --encoding=utf-8)"}),
    [](const auto& info) { return std::string(info.param.name); });

struct InfoCase {
  const char* name;
  std::vector<std::string> args;
  std::string expected_start;
};

void PrintTo(const InfoCase& c, std::ostream* os) {
  *os << c.name;
}

class InfoOptionTest : public Pem2TxtTest, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(InfoOptionTest, PrintsOnStandardOutputAndConvertsNothing) {
  UseSample();
  const RunResult run = RunWith(GetParam().args);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.starts_with(GetParam().expected_start)) << run.out;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(ReadTree(Out()).empty());
}

const std::string kVersionLine = "pem2txt " PEMCONV_E2E_VERSION "\n";

INSTANTIATE_TEST_SUITE_P(
    Options, InfoOptionTest,
    ::testing::Values(
        InfoCase{"Help", {"--help"}, "Usage: pem2txt [options] INSTALL_DIR OUTPUT_DIR"},
        InfoCase{"ShortHelp", {"-h"}, "Usage: pem2txt"},
        InfoCase{"HelpBeforeFolders", {"--help", kInstall, kOut}, "Usage: pem2txt"},
        InfoCase{"Version", {"--version"}, kVersionLine},
        InfoCase{"ShortVersion", {"-V"}, kVersionLine},
        InfoCase{"QuietVersionCombined", {"-qV"}, kVersionLine},
        InfoCase{"VersionQuietCombined", {"-Vq", kInstall, kOut}, kVersionLine},
        InfoCase{"HelpCombined", {"-qh"}, "Usage: pem2txt"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Pem2TxtTest, VersionIsOneLine) {
  EXPECT_EQ(RunWith({"--version"}).out, kVersionLine);
}

// --- Folder checks ---

struct FolderCheckCase {
  const char* name;
  void (*prepare)(const fs::path& install, const fs::path& out);
  std::vector<std::string> args;
  const char* message;  // the program's own line
  const char* reason;   // after it, with the folder as given
};

void PrintTo(const FolderCheckCase& c, std::ostream* os) {
  *os << c.name;
}

class FolderCheckTest : public Pem2TxtTest,
                        public ::testing::WithParamInterface<FolderCheckCase> {};

TEST_P(FolderCheckTest, ExitsWithTwoAndTheMessageTheFolderAndTheReason) {
  UseSample();
  const FolderCheckCase& c = GetParam();
  c.prepare(Install(), Out());
  const RunResult run = RunWith(c.args);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  const bool install_at_fault = c.message == std::string(kToolNotFoundLine);
  const std::string folder = Expand(install_at_fault ? c.args[0] : c.args[1]);
  std::string line(c.message);
  line.pop_back();
  EXPECT_EQ(run.err, line + ": " + (folder.empty() ? "" : folder + ": ") + c.reason + "\n");
  if (fs::is_directory(Out())) {
    EXPECT_TRUE(ReadTree(Out()).empty());
  }
}

constexpr char kNoTool[] = "no pemri*.exe in it";

void NoChange(const fs::path&, const fs::path&) {}
void RemoveTool(const fs::path& install, const fs::path&) {
  fs::remove(install / "pemri.exe");
}
void ToolIsFolder(const fs::path& install, const fs::path&) {
  fs::remove(install / "pemri.exe");
  fs::create_directory(install / "pemri.exe");
}
void ToolHasOtherExtension(const fs::path& install, const fs::path&) {
  fs::rename(install / "pemri.exe", install / "pemri.exe.txt");
}
void OutIsFile(const fs::path&, const fs::path& out) {
  fs::remove(out);
  WriteBytes(out, "a file");
}
void OutMissing(const fs::path&, const fs::path& out) {
  fs::remove(out);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Folders, FolderCheckTest, ::testing::Values(
    FolderCheckCase{"NoTool", RemoveTool, {kInstall, kOut}, kToolNotFoundLine, kNoTool},
    FolderCheckCase{"ToolIsFolder", ToolIsFolder, {kInstall, kOut}, kToolNotFoundLine, kNoTool},
    FolderCheckCase{"ToolWithOtherExtension", ToolHasOtherExtension, {kInstall, kOut},
                    kToolNotFoundLine, kNoTool},
    FolderCheckCase{"InstallMissing", NoChange, {"no-such-folder-here", kOut}, kToolNotFoundLine,
                    "not found"},
    FolderCheckCase{"InstallIsFile", NoChange, {kInstallFile, kOut}, kToolNotFoundLine,
                    "not a folder"},
    FolderCheckCase{"OutMissing", OutMissing, {kInstall, kOut}, kBadOutputLine, "not found"},
    FolderCheckCase{"OutIsFile", OutIsFile, {kInstall, kOut}, kBadOutputLine, "not a folder"},
    FolderCheckCase{"OutEmpty", NoChange, {kInstall, ""}, kBadOutputLine, "no folder given"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// --- Messages and progress of a successful run ---

struct OutputCase {
  const char* name;
  std::vector<std::string> options;
  bool terminal;
  const char* expected_out;
  bool progress;
};

void PrintTo(const OutputCase& c, std::ostream* os) {
  *os << c.name;
}

class RunOutputTest : public Pem2TxtTest, public ::testing::WithParamInterface<OutputCase> {};

TEST_P(RunOutputTest, WritesTheTreeAndOnlyTheExpectedText) {
  UseSample();
  const OutputCase& c = GetParam();
  const RunResult run = Convert(c.options, c.terminal);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, c.expected_out);
  if (c.progress) {
    // The sample has five categories and eighteen entries; the line is wiped at the end, so
    // that nothing but blanks follows the last count and the cursor is back at the start.
    EXPECT_NE(run.err.find("0/5 categories"), std::string::npos) << run.err;
    const std::size_t last = run.err.rfind("5/5 categories, 18 entries");
    ASSERT_NE(last, std::string::npos) << run.err;
    const std::string wipe = run.err.substr(run.err.find("entries", last) + 7);
    EXPECT_EQ(wipe.find_first_not_of(" \r"), std::string::npos) << ::testing::PrintToString(wipe);
    EXPECT_TRUE(wipe.ends_with('\r')) << ::testing::PrintToString(wipe);
    EXPECT_EQ(run.err.find("pem2txt:"), std::string::npos) << run.err;
  } else {
    EXPECT_EQ(run.err, "");
  }
  EXPECT_EQ(TreeDifferences(SampleGolden(), ReadTree(Out())), "");
}

INSTANTIATE_TEST_SUITE_P(Consoles, RunOutputTest,
                         ::testing::Values(OutputCase{"Pipe", {}, false, kFinishedLine, false},
                                           OutputCase{"PipeQuiet", {"--quiet"}, false, "", false},
                                           OutputCase{"PipeShortQuiet", {"-q"}, false, "", false},
                                           OutputCase{"Terminal", {}, true, kFinishedLine, true},
                                           OutputCase{"TerminalQuiet", {"-q"}, true, "", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Runs that end with an error ---

// The sample's first two category folders; the third is "ソフト表現".
Tree FirstTwoCategories() {
  Tree tree;
  for (const auto& [name, bytes] : SampleGolden()) {
    if (name.starts_with("挨拶") || name.starts_with("記号")) tree[name] = bytes;
  }
  return tree;
}

// The bar's share is taken in wide arithmetic: a count of categories near the largest that
// pmridata.ini can hold fills the bar as a small one does.
TEST(ProgressLineTest, FillsTheBarInProportionToTheCategoriesDone) {
  CapturingConsole console(true);
  ProgressLine line(console, true);
  line.SetMax(1'999'999'999);
  line.SetPosition(1'000'000'000);
  line.SetVisible(true);
  EXPECT_NE(console.err.find("[###############...............] 1000000000/2000000000 categories"),
            std::string::npos)
      << console.err;
}

TEST_F(Pem2TxtTest, FolderBlockedByAFileEndsTheRunWithExitOne) {
  UseSample();
  for (const bool quiet : {false, true}) {
    fs::remove_all(Out());
    fs::create_directory(Out());
    WriteBytes(Out() / U8("ソフト表現"), "in the way");
    const RunResult run =
        Convert(quiet ? std::vector<std::string>{"--quiet"} : std::vector<std::string>{});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, quiet ? "" : kFinishedLine);
    // Error 183: a file of that name is in the way. The text ends in ")", so no "." is added;
    // the system's description and the name in the way follow.
    EXPECT_EQ(run.err, "pem2txt: I/O エラー (183): " + AlreadyExists() + ": " + Utf8Arg(Out()) +
                           NativeSeparator() + "ソフト表現\n");
    Tree expected = FirstTwoCategories();
    expected["ソフト表現"] = "in the way";
    EXPECT_EQ(TreeDifferences(expected, ReadTree(Out())), "") << (quiet ? "quiet" : "");
  }
}

TEST_F(Pem2TxtTest, EntryFileBlockedByAFolderEndsTheRunWithItsPath) {
  UseSample();
  fs::create_directories(Out() / U8("挨拶") / U8("おはよう.txt"));
  const RunResult run = Convert();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, kFinishedLine);
  // The path is the output folder as typed, then the names below it with the platform's
  // separator.
  const std::string sep = NativeSeparator();
  EXPECT_EQ(run.err, "pem2txt: ファイル " + Utf8Arg(Out()) + sep + "挨拶" + sep +
                         "おはよう.txt を作成できません.\n");
  const Tree expected = {{"挨拶", std::nullopt}, {"挨拶/おはよう.txt", std::nullopt}};
  EXPECT_EQ(TreeDifferences(expected, ReadTree(Out())), "");
}

TEST_F(Pem2TxtTest, TitleWithATab) {
  WriteSource("[ItemData]\r\nCount=1\r\n0=cat\r\n",
              "[DicData0]\r\nCount=2\r\n0=first\r\n1=second\r\n",
              "[DicExpData0]\r\n0=a\tb\r\n1=c\r\n");
  const RunResult run = Convert();
  EXPECT_EQ(run.out, kFinishedLine);
#ifdef _WIN32
  // Windows refuses control characters in file names: the run stops at that entry.
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "pem2txt: ファイル " + Utf8Arg(Out()) + "\\cat\\a\tb.txt を作成できません.\n");
  const Tree expected = {{"cat", std::nullopt}};
#else
  // POSIX file names may hold a tab.
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const Tree expected = {
      {"cat", std::nullopt}, {"cat/a\tb.txt", "first\r\n"}, {"cat/c.txt", "second\r\n"}};
#endif
  EXPECT_EQ(TreeDifferences(expected, ReadTree(Out())), "");
}

TEST_F(Pem2TxtTest, NamesThatDifferOnlyInLetterCase) {
  WriteSource("[ItemData]\r\nCount=2\r\n0=Cat\r\n1=CAT\r\n",
              "[DicData0]\r\nCount=2\r\n0=one\r\n1=two\r\n[DicData1]\r\nCount=1\r\n0=three\r\n",
              "[DicExpData0]\r\n0=abc\r\n1=ABC\r\n[DicExpData1]\r\n0=Abc\r\n");
  const RunResult run = Convert();
  EXPECT_EQ(run.status, 0) << run.err;
#ifdef _WIN32
  // Windows takes names that differ only in letter case for one name: one folder, and the later
  // titles get counters.
  const Tree expected = {{"Cat", std::nullopt},
                         {"Cat/abc.txt", "one\r\n"},
                         {"Cat/ABC1.txt", "two\r\n"},
                         {"Cat/Abc2.txt", "three\r\n"}};
#else
  // POSIX file systems tell letter case apart.
  const Tree expected = {{"Cat", std::nullopt},
                         {"Cat/abc.txt", "one\r\n"},
                         {"Cat/ABC.txt", "two\r\n"},
                         {"CAT", std::nullopt},
                         {"CAT/Abc.txt", "three\r\n"}};
#endif
  EXPECT_EQ(TreeDifferences(expected, ReadTree(Out())), "");
}

// --- Sources without categories ---

constexpr char kTexts[] = "[DicData0]\r\nCount=1\r\n0=text\r\n";
constexpr char kTitles[] = "[DicExpData0]\r\n0=title\r\n";
const std::string kNothing = "nothing is converted";

struct SourceCase {
  const char* name;
  // As WriteSource takes them.
  std::optional<std::string> categories, texts = kTexts, titles = kTitles;
  const char* warned_file = nullptr;  // the file a warning names; none for no warning
  std::string reason = {};
  Tree tree = {};  // what the run writes
};

void PrintTo(const SourceCase& c, std::ostream* os) {
  *os << c.name;
}

class SourceWarningTest : public Pem2TxtTest, public ::testing::WithParamInterface<SourceCase> {};

// Sources that convert less than a user expects: the run goes on with the defaults and ends
// normally, and a warning on standard error names the file and what is wrong; --quiet hides it.
TEST_P(SourceWarningTest, FinishesWithTheDefaultsAndWarnsUnlessQuiet) {
  const SourceCase& c = GetParam();
  WriteSource(c.categories, c.texts, c.titles);
  for (const bool quiet : {false, true}) {
    fs::remove_all(Out());
    fs::create_directory(Out());
    const RunResult run =
        Convert(quiet ? std::vector<std::string>{"-q"} : std::vector<std::string>{});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, quiet ? "" : kFinishedLine);
    const std::string warning =
        c.warned_file == nullptr || quiet
            ? ""
            : "pem2txt: warning: " + Utf8Arg(Install() / c.warned_file) + ": " + c.reason + "\n";
    EXPECT_EQ(run.err, warning);
    EXPECT_EQ(TreeDifferences(c.tree, ReadTree(Out())), "");
  }
}

const std::string kGarbled = "; names and texts may come out garbled";
const std::string kNotCp932 = "is not code page 932 text (undefined bytes at offset ";
const std::string kNoEntries = ": every entry file is empty";
const Tree kCategoryOnly = {{"cat", std::nullopt}};
const Tree kOneEntry = {{"cat", std::nullopt}, {"cat/title.txt", "text\r\n"}};
constexpr char kOneCategory[] = "[ItemData]\r\nCount=1\r\n0=cat\r\n";
const std::string kBom = "\xEF\xBB\xBF" + std::string(kOneCategory);
const std::string kUtf16Titles(
    "\xFF\xFE[\0D\0i\0c\0E\0x\0p\0D\0a\0t\0a\0\x30\0]\0\r\0\n\0\x30\0=\0t\0\r\0\n\0", 42);

// clang-format off
INSTANTIATE_TEST_SUITE_P(Sources, SourceWarningTest, ::testing::Values(
    SourceCase{"NoFile", std::nullopt, kTexts, kTitles, "pmridata.ini", "not found: " + kNothing},
    SourceCase{"EmptyFile", "", kTexts, kTitles, "pmridata.ini", "empty: " + kNothing},
    SourceCase{"CategoriesAreAFolder", kFolder, kTexts, kTitles, "pmridata.ini",
               "is a folder: " + kNothing},
    SourceCase{"NoCount", "[ItemData]\r\n0=cat\r\n"},
    SourceCase{"Zero", "[ItemData]\r\nCount=0\r\n0=cat\r\n"},
    SourceCase{"Negative", "[ItemData]\r\nCount=-1\r\n0=cat\r\n"},
    SourceCase{"NotANumber", "[ItemData]\r\nCount=one\r\n0=cat\r\n"},
    SourceCase{"HexWithoutDigits", "[ItemData]\r\nCount=0x\r\n0=cat\r\n"},
    SourceCase{"Utf8ByteOrderMark", kBom, kTexts, kTitles, "pmridata.ini",
               "starts with a UTF-8 byte-order mark; it is read as code page 932 text, so its "
               "first section is not found and names come out garbled"},
    SourceCase{"UndefinedTwoByteCode", kOneCategory, "[DicData0]\r\nCount=1\r\n0=\x85\x40\r\n",
               kTitles, "dicdata.ini", kNotCp932 + "23)" + kGarbled,
               {{"cat", std::nullopt}, {"cat/title.txt", "\x85\x40\r\n"}}},
    SourceCase{"LoneLeadByte", kOneCategory, kTexts, "[DicExpData0]\r\n0=title\x81", "expdata.ini",
               kNotCp932 + "22)" + kGarbled,
               {{"cat", std::nullopt}, {"cat/title\xE3\x83\xBB.txt", "text\r\n"}}},
    SourceCase{"NoTexts", kOneCategory, std::nullopt, kTitles, "dicdata.ini",
               "not found" + kNoEntries, kCategoryOnly},
    SourceCase{"TextsAreAFolder", kOneCategory, kFolder, kTitles, "dicdata.ini",
               "is a folder" + kNoEntries, kCategoryOnly},
    SourceCase{"NoTitles", kOneCategory, kTexts, std::nullopt, "expdata.ini",
               "not found: every entry is named .txt, 1.txt, 2.txt, ...",
               {{"cat", std::nullopt}, {"cat/.txt", "text\r\n"}}},
    SourceCase{"Utf16IsNoFault", kOneCategory, kTexts, kUtf16Titles, nullptr, "",
               {{"cat", std::nullopt}, {"cat/t.txt", "text\r\n"}}},
    SourceCase{"AllWell", kOneCategory, kTexts, kTitles, nullptr, "", kOneEntry}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// --- The encoding of the entry files ---

struct EncodingCase {
  const char* name;
  std::vector<std::string> options;
  std::string text;  // the entry's text in dicdata.ini, code page 932
  std::string file;  // the entry file's bytes
  bool warned = false;
};

void PrintTo(const EncodingCase& c, std::ostream* os) {
  *os << c.name;
}

class EncodingTest : public Pem2TxtTest, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(EncodingTest, WritesTheTextInTheEncodingAskedFor) {
  const EncodingCase& c = GetParam();
  WriteSource("[ItemData]\r\nCount=1\r\n0=cat\r\n", "[DicData0]\r\nCount=1\r\n0=" + c.text + "\r\n",
              "[DicExpData0]\r\n0=title\r\n");
  const RunResult run = Convert(c.options);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ReadBytes(Out() / "cat" / "title.txt"), c.file);
  const std::string warning = "pem2txt: warning: " + Utf8Arg(Out()) + NativeSeparator() + "cat" +
                              NativeSeparator() +
                              "title.txt: bytes with no Unicode form written as U+FFFD (1 entry "
                              "file in all)\n";
  // After the source's own warning, if any.
  EXPECT_EQ(run.err.ends_with(warning), c.warned) << run.err;
}

const std::vector<std::string> kUtf8 = {"--encoding=utf-8"};
constexpr char kFffd[] = "\xEF\xBF\xBD";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, EncodingTest, ::testing::Values(
    EncodingCase{"DefaultKeepsCodePage932", {}, "\x83\x65\xB1\x85\x40", "\x83\x65\xB1\x85\x40\r\n"},
    EncodingCase{"Cp932KeepsIt", {"--encoding=cp932"}, "\x83\x65\x85\x40", "\x83\x65\x85\x40\r\n"},
    // テ, a half-width ｱ and ソ, whose second byte is a backslash.
    EncodingCase{"Utf8", kUtf8, "\x83\x65\xB1\x83\x5C", "テｱソ\r\n"},
    EncodingCase{"UnassignedTwoByteCode", kUtf8, "a\x85\x40" "b", "a" + std::string(kFffd) + "b\r\n", true},
    EncodingCase{"BytesCodePage932LeavesOpen", kUtf8, "\x80\xA0\xFD", std::string(kFffd) + kFffd + kFffd + "\r\n", true},
    // A lead byte before the line end: the CR LF stays.
    EncodingCase{"LeadByteAtTheEnd", kUtf8, "x\x81", "x" + std::string(kFffd) + "\r\n", true},
    EncodingCase{"QuietWarnsNot", {"--encoding=utf-8", "-q"}, "\x85\x40", std::string(kFffd) + "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace pem::testing
