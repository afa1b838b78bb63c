// pem2txt as its user meets it: options, exit statuses, messages in UTF-8 on the right stream,
// the progress line, and the outcomes of runs that fail.
#include <algorithm>

#include "e2e_support.h"

namespace pem::testing {
namespace {

constexpr char kInstall[] = "<install>";
constexpr char kOut[] = "<out>";

class Pem2TxtTest : public E2eTest {
 protected:
  RunResult RunWith(const std::vector<std::string>& pattern, bool terminal = false) {
    std::vector<std::string> args;
    for (const std::string& arg : pattern) {
      args.push_back(arg == kInstall ? Utf8Arg(Install()) : arg == kOut ? Utf8Arg(Out()) : arg);
    }
    return Run(args, terminal);
  }

  // A hand-written dictionary; a missing text leaves that file out.
  void WriteSource(const std::optional<std::string>& categories,
                   const std::optional<std::string>& texts,
                   const std::optional<std::string>& titles) {
    WriteBytes(Install() / "pemri.exe", "");
    if (categories) WriteBytes(Install() / "pmridata.ini", *categories);
    if (texts) WriteBytes(Install() / "dicdata.ini", *texts);
    if (titles) WriteBytes(Install() / "expdata.ini", *titles);
  }

  static fs::path U8(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
  }
};

// --- Usage ---

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
};

void PrintTo(const UsageCase& c, std::ostream* os) {
  *os << c.name;
}

class BadUsageTest : public Pem2TxtTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(BadUsageTest, ExitsWithTwoAndTheUsageOnStandardError) {
  UseSample();
  const RunResult run = RunWith(GetParam().args);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.err.starts_with("pem2txt: ")) << run.err;
  EXPECT_NE(run.err.find("Usage: pem2txt"), std::string::npos) << run.err;
  EXPECT_TRUE(ReadTree(Out()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, BadUsageTest,
    ::testing::Values(UsageCase{"None", {}}, UsageCase{"InstallOnly", {kInstall}},
                      UsageCase{"OneTooMany", {kInstall, kOut, kOut}},
                      UsageCase{"UnknownLongOption", {"--verbose", kInstall, kOut}},
                      UsageCase{"UnknownShortOption", {"-x", kInstall, kOut}},
                      UsageCase{"QuietAlone", {"--quiet"}}),
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
        InfoCase{"ShortVersion", {"-V"}, kVersionLine}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Pem2TxtTest, VersionIsOneLine) {
  EXPECT_EQ(RunWith({"--version"}).out, kVersionLine);
}

// --- Folder checks ---

struct FolderCheckCase {
  const char* name;
  void (*prepare)(const fs::path& install, const fs::path& out);
  std::vector<std::string> args;
  const char* expected_err;
};

void PrintTo(const FolderCheckCase& c, std::ostream* os) {
  *os << c.name;
}

class FolderCheckTest : public Pem2TxtTest,
                        public ::testing::WithParamInterface<FolderCheckCase> {};

TEST_P(FolderCheckTest, ExitsWithTwoAndTheMessageAlone) {
  UseSample();
  GetParam().prepare(Install(), Out());
  const RunResult run = RunWith(GetParam().args);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, GetParam().expected_err);
  if (fs::is_directory(Out())) {
    EXPECT_TRUE(ReadTree(Out()).empty());
  }
}

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

INSTANTIATE_TEST_SUITE_P(
    Folders, FolderCheckTest,
    ::testing::Values(
        FolderCheckCase{"NoTool", RemoveTool, {kInstall, kOut}, kToolNotFoundLine},
        FolderCheckCase{"ToolIsFolder", ToolIsFolder, {kInstall, kOut}, kToolNotFoundLine},
        FolderCheckCase{
            "ToolWithOtherExtension", ToolHasOtherExtension, {kInstall, kOut}, kToolNotFoundLine},
        FolderCheckCase{
            "InstallMissing", NoChange, {"no-such-folder-here", kOut}, kToolNotFoundLine},
        FolderCheckCase{"OutMissing", OutMissing, {kInstall, kOut}, kBadOutputLine},
        FolderCheckCase{"OutIsFile", OutIsFile, {kInstall, kOut}, kBadOutputLine},
        FolderCheckCase{"OutEmpty", NoChange, {kInstall, ""}, kBadOutputLine}),
    [](const auto& info) { return std::string(info.param.name); });

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
    // Error 183: a file of that name is in the way. The text ends in ")", so no "." is added.
    EXPECT_EQ(run.err, "pem2txt: I/O エラー (183)\n");
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
  // The path is the output folder as typed, then "\" and the names below it.
  EXPECT_EQ(run.err,
            "pem2txt: ファイル " + Utf8Arg(Out()) + "\\挨拶\\おはよう.txt を作成できません.\n");
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

struct EmptySourceCase {
  const char* name;
  std::optional<std::string> categories;
};

void PrintTo(const EmptySourceCase& c, std::ostream* os) {
  *os << c.name;
}

class EmptySourceTest : public Pem2TxtTest,
                        public ::testing::WithParamInterface<EmptySourceCase> {};

TEST_P(EmptySourceTest, FinishesAndWritesNothing) {
  WriteSource(GetParam().categories, "[DicData0]\r\nCount=1\r\n0=text\r\n",
              "[DicExpData0]\r\n0=title\r\n");
  const RunResult run = Convert();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kFinishedLine);
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(ReadTree(Out()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Counts, EmptySourceTest,
    ::testing::Values(EmptySourceCase{"NoFile", std::nullopt}, EmptySourceCase{"EmptyFile", ""},
                      EmptySourceCase{"NoCount", "[ItemData]\r\n0=cat\r\n"},
                      EmptySourceCase{"Zero", "[ItemData]\r\nCount=0\r\n0=cat\r\n"},
                      EmptySourceCase{"Negative", "[ItemData]\r\nCount=-1\r\n0=cat\r\n"},
                      EmptySourceCase{"NotANumber", "[ItemData]\r\nCount=one\r\n0=cat\r\n"},
                      EmptySourceCase{"HexWithoutDigits", "[ItemData]\r\nCount=0x\r\n0=cat\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pem::testing
