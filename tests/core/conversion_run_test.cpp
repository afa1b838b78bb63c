#include "conversion_run.h"

#include <gtest/gtest.h>

#include <set>

#include "forwarding_file_system.h"
#include "run_folders.h"
#include "temp_dir.h"

#ifdef _WIN32
#include <windows.h>

#include "win32_owners.h"
#endif

namespace pem {
namespace {

using testing::NativeChild;
using testing::ReadBytes;
using testing::Sjis;
using testing::TempDir;
using testing::WriteBytes;

// Records everything the run asks of its host, in order, as short texts.
class RecordingHost : public ConversionHost, public ProgressIndicator {
 public:
  RecordingHost(std::string install, std::string out)
      : install_(std::move(install)), out_(std::move(out)) {}

  std::string InstallFolderText() override { return install_; }
  std::string OutputFolderText() override { return out_; }
  void SetControlsEnabled(bool enabled) override { Log(enabled ? "enable" : "disable"); }
  void ApplicationMessageBox(const std::string& text, const std::string& caption,
                             BoxKind kind) override {
    Log("box " + caption + " " + (kind == BoxKind::kError ? "error" : "information") + " " + text);
  }
  void ShowExceptionBox(const Exception& error) override { Log("error " + error.Message()); }
  ProgressIndicator& Progress() override { return *this; }
  void SetMin(int value) override { Log("min " + std::to_string(value)); }
  void SetMax(int value) override { Log("max " + std::to_string(value)); }
  void SetPosition(int value) override { Log("position " + std::to_string(value)); }
  void StepIt() override { Log("step"); }
  void SetVisible(bool visible) override { Log(visible ? "show" : "hide"); }

  std::vector<std::string> events;

 private:
  void Log(std::string event) { events.push_back(std::move(event)); }
  std::string install_, out_;
};

const std::string kFinished = "box Infomation information " + Sjis("終了しました");
const std::string kToolMissing =
    "box error error " +
    Sjis("指定されたフォルダ内で「ぺむりこ」の実行ファイルが確認できませんでした");
const std::string kBadOutput = "box Error error " + Sjis("保存先フォルダが異常です");

class ConversionRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(source());
    std::filesystem::create_directory(output());
    WriteBytes(source() / "pemri.exe", "");
  }
  std::filesystem::path source() const { return dir_.path() / "tool"; }
  std::filesystem::path output() const { return dir_.path() / "out"; }
  void Source(const char* name, std::string_view utf8) const {
    WriteBytes(source() / name, Sjis(utf8));
  }
  std::string InstallText() const { return testing::Cp932Text(source()) + "\\"; }
  std::string OutputText() const { return testing::Cp932Text(output()); }

  RunOutcome Run(RecordingHost& host) { return RunConversion(host); }
  RunOutcome Run() {
    RecordingHost host(InstallText(), OutputText());
    const RunOutcome outcome = Run(host);
    events_ = host.events;
    return outcome;
  }

  // Every file below the output folder, as a relative UTF-8 path with its contents.
  std::map<std::string, std::string> Tree() const {
    std::map<std::string, std::string> tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(output())) {
      const std::string name = entry.path().lexically_relative(output()).generic_string();
      tree[name] = entry.is_directory() ? "<dir>" : ReadBytes(entry.path());
    }
    return tree;
  }

  TempDir dir_;
  std::vector<std::string> events_;
};

TEST_F(ConversionRunTest, WritesOneFolderPerCategoryAndOneFilePerEntry) {
  Source("pmridata.ini", "[ItemData]\r\nCount=2\r\n0=挨拶\r\n1=a/b\r\n");
  Source("dicdata.ini",
         "[DicData0]\r\nCount=3\r\n0=朝\r\n1=昼\r\n2=\r\n[DicData1]\r\nCount=1\r\n0=x\r\n");
  Source("expdata.ini", "[DicExpData0]\r\n0=おはよう\r\n1=おはよう\r\n[DicExpData1]\r\n");
  EXPECT_EQ(Run(), RunOutcome::kCompleted);
  const std::map<std::string, std::string> expected = {
      {"挨拶", "<dir>"},
      {"挨拶/おはよう.txt", Sjis("朝\r\n")},
      {"挨拶/おはよう1.txt", Sjis("昼\r\n")},
      {"挨拶/.txt", ""},
      {"a／b", "<dir>"},
      {"a／b/.txt", "x\r\n"},
  };
  EXPECT_EQ(Tree(), expected);
  const std::vector<std::string> sequence = {"disable", "min 0", "max 1", "position 0", "show",
                                             "step",    "step",  "hide",  "enable",     kFinished};
  EXPECT_EQ(events_, sequence);
}

// Counts the status queries of the source files.
class StampCounter : public testing::ForwardingFileSystem {
 public:
  std::optional<FileStamp> StampOf(const std::string& path) override {
    ++stamps;
    return ForwardingFileSystem::StampOf(path);
  }
  int stamps = 0;
};

TEST_F(ConversionRunTest, SourceFilesAreQueriedPerCategoryNotPerEntry) {
  Source("pmridata.ini", "[ItemData]\r\nCount=2\r\n0=a\r\n1=b\r\n");
  std::string texts, titles;
  for (const char* index : {"0", "1"}) {
    texts += std::string("[DicData") + index + "]\r\nCount=50\r\n";
    titles += std::string("[DicExpData") + index + "]\r\n";
    for (int j = 0; j < 50; ++j) {
      texts += std::to_string(j) + "=text\r\n";
      titles += std::to_string(j) + "=title\r\n";
    }
  }
  Source("dicdata.ini", texts);
  Source("expdata.ini", titles);
  StampCounter counter;
  RecordingHost host(InstallText(), OutputText());
  EXPECT_EQ(RunConversion(host, counter), RunOutcome::kCompleted);
  EXPECT_EQ(Tree().size(), 102u);
  EXPECT_EQ(ReadBytes(output() / "b" / "title49.txt"), "text\r\n");
  // The category count, two names, and each category's hold on dicdata.ini and expdata.ini.
  EXPECT_EQ(counter.stamps, 7);
}

TEST_F(ConversionRunTest, FailedChecksShowTheirBoxAndChangeNothing) {
  Source("pmridata.ini", "[ItemData]\r\nCount=1\r\n0=c\r\n");
  WriteBytes(dir_.path() / "file", "");
  const struct {
    std::string install;
    std::string out;
    RunOutcome outcome;
    std::string box;
  } cases[] = {
      {testing::Cp932Text(source()), OutputText(), RunOutcome::kToolNotFound, kToolMissing},
      {testing::Cp932Text(dir_.path()) + "\\", OutputText(), RunOutcome::kToolNotFound,
       kToolMissing},
      {InstallText(), "", RunOutcome::kBadOutputFolder, kBadOutput},
      {InstallText(), OutputText() + "x", RunOutcome::kBadOutputFolder, kBadOutput},
      {InstallText(), testing::Cp932Text(dir_.path() / "file"), RunOutcome::kBadOutputFolder,
       kBadOutput},
  };
  for (const auto& c : cases) {
    RecordingHost host(c.install, c.out);
    EXPECT_EQ(Run(host), c.outcome) << c.install << " " << c.out;
    EXPECT_EQ(host.events, std::vector<std::string>{c.box});
  }
  EXPECT_TRUE(Tree().empty());
}

TEST_F(ConversionRunTest, TheToolMustBeAFileNotAFolder) {
  std::filesystem::remove(source() / "pemri.exe");
  std::filesystem::create_directory(source() / "pemri.exe");
  EXPECT_EQ(Run(), RunOutcome::kToolNotFound);
  std::filesystem::remove(source() / "pemri.exe");
  WriteBytes(source() / "PEMRI2.EXE", "");
  EXPECT_EQ(Run(), RunOutcome::kCompleted);
}

TEST_F(ConversionRunTest, ASourceWithoutCategoriesFinishesAndWritesNothing) {
  const char* const counts[] = {"Count=0", "Count=-3", "Count=abc", "", nullptr};
  for (const char* count : counts) {
    if (count != nullptr) {
      Source("pmridata.ini", std::string("[ItemData]\r\n") + count + "\r\n0=never\r\n");
    } else {
      std::filesystem::remove(source() / "pmridata.ini");
    }
    EXPECT_EQ(Run(), RunOutcome::kCompleted);
    const std::vector<std::string> sequence = {"disable", "min 0", "max 0",  "position 0",
                                               "show",    "hide",  "enable", kFinished};
    EXPECT_EQ(events_, sequence) << (count ? count : "no pmridata.ini");
  }
  EXPECT_TRUE(Tree().empty());
}

TEST_F(ConversionRunTest, MissingTitlesAndTextsGiveEmptyNamesAndEmptyFiles) {
  Source("pmridata.ini", "[ItemData]\r\nCount=2\r\n0=a\r\n1=b\r\n");
  Source("dicdata.ini", "[DicData0]\r\nCount=3\r\n0=x\r\n[DicData1]\r\nCount=0x2\r\n");
  EXPECT_EQ(Run(), RunOutcome::kCompleted);
  const std::map<std::string, std::string> expected = {
      {"a", "<dir>"}, {"a/.txt", "x\r\n"}, {"a/1.txt", ""}, {"a/2.txt", ""},
      {"b", "<dir>"}, {"b/.txt", ""},      {"b/1.txt", ""},
  };
  EXPECT_EQ(Tree(), expected);
}

TEST_F(ConversionRunTest, ASecondRunKeepsEveryFileAndNumbersTheNewOnes) {
  Source("pmridata.ini", "[ItemData]\r\nCount=1\r\n0=c\r\n");
  Source("dicdata.ini", "[DicData0]\r\nCount=2\r\n0=one\r\n1=two\r\n");
  Source("expdata.ini", "[DicExpData0]\r\n0=t\r\n1=t\r\n");
  EXPECT_EQ(Run(), RunOutcome::kCompleted);
  WriteBytes(output() / "c" / "t.txt", "edited");
  EXPECT_EQ(Run(), RunOutcome::kCompleted);
  const std::map<std::string, std::string> expected = {
      {"c", "<dir>"},          {"c/t.txt", "edited"},   {"c/t1.txt", "two\r\n"},
      {"c/t2.txt", "one\r\n"}, {"c/t3.txt", "two\r\n"},
  };
  EXPECT_EQ(Tree(), expected);
}

TEST_F(ConversionRunTest, AnOutputFolderWithATrailingSeparatorNamesTheSamePlaces) {
  Source("pmridata.ini", "[ItemData]\r\nCount=1\r\n0=c\r\n");
  Source("dicdata.ini", "[DicData0]\r\nCount=1\r\n0=v\r\n");
  RecordingHost host(InstallText(), OutputText() + "\\");
  EXPECT_EQ(Run(host), RunOutcome::kCompleted);
  EXPECT_EQ(ReadBytes(output() / "c" / ".txt"), "v\r\n");
}

TEST_F(ConversionRunTest, AFileInTheWayOfACategoryEndsTheRunAfterTheFinishingStage) {
  Source("pmridata.ini", "[ItemData]\r\nCount=3\r\n0=first\r\n1=blocked\r\n2=never\r\n");
  Source("dicdata.ini", "[DicData0]\r\nCount=1\r\n0=kept\r\n[DicData2]\r\nCount=1\r\n0=x\r\n");
  WriteBytes(output() / "blocked", "not a folder");
  EXPECT_EQ(Run(), RunOutcome::kFailed);
  const std::vector<std::string> sequence = {
      "disable", "min 0", "max 2",  "position 0", "show",
      "step",    "hide",  "enable", kFinished,    "error " + Sjis("I/O エラー (183)")};
  EXPECT_EQ(events_, sequence);
  const std::map<std::string, std::string> expected = {
      {"first", "<dir>"}, {"first/.txt", "kept\r\n"}, {"blocked", "not a folder"}};
  EXPECT_EQ(Tree(), expected);
}

TEST_F(ConversionRunTest, AnEntryThatCannotBeCreatedNamesItsFullPath) {
  Source("pmridata.ini", "[ItemData]\r\nCount=1\r\n0=c\r\n");
  Source("dicdata.ini", "[DicData0]\r\nCount=2\r\n0=a\r\n1=b\r\n");
  Source("expdata.ini", "[DicExpData0]\r\n0=ok\r\n1=dir\r\n");
  std::filesystem::create_directories(output() / "c" / "dir.txt");
  EXPECT_EQ(Run(), RunOutcome::kFailed);
  const std::string path = OutputText() + "\\c\\dir.txt";
  EXPECT_EQ(events_.back(), "error " + Sjis("ファイル ") + path + Sjis(" を作成できません"));
  EXPECT_EQ(ReadBytes(output() / "c" / "ok.txt"), "a\r\n");
}

TEST_F(ConversionRunTest, LongTextsAreCutAndEndWithCrLf) {
  Source("pmridata.ini", "[ItemData]\r\nCount=1\r\n0=c\r\n");
  Source("dicdata.ini", "[DicData0]\r\nCount=1\r\n0=" + std::string(3000, 'z') + "\r\n");
  EXPECT_EQ(Run(), RunOutcome::kCompleted);
  EXPECT_EQ(ReadBytes(output() / "c" / ".txt"), std::string(2047, 'z') + "\r\n");
}

TEST_F(ConversionRunTest, CategoryNamesCannotLeaveTheOutputFolder) {
  Source("pmridata.ini", "[ItemData]\r\nCount=3\r\n0=..\r\n1=.\r\n2=nul\r\n");
  Source("dicdata.ini",
         "[DicData0]\r\nCount=1\r\n0=a\r\n[DicData1]\r\nCount=1\r\n0=b\r\n"
         "[DicData2]\r\nCount=1\r\n0=c\r\n");
  EXPECT_EQ(Run(), RunOutcome::kCompleted);
  const std::map<std::string, std::string> expected = {
      {"．．", "<dir>"},    {"．．/.txt", "a\r\n"}, {"．", "<dir>"},
      {"．/.txt", "b\r\n"}, {"ｎul", "<dir>"},      {"ｎul/.txt", "c\r\n"},
  };
  EXPECT_EQ(Tree(), expected);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2);
}

// Folders that code page 932 cannot name, and paths of more than 1,000 characters: the run takes
// its folders as given, through its own file system's map, and reads and writes below them what
// it reads and writes below plain folders.
struct FolderCase {
  const char* name;
  const char* install;  // UTF-8, relative to the test's folder
  const char* out;
};
void PrintTo(const FolderCase& c, std::ostream* out) {
  *out << c.name;
}

class RunFolderTest : public ::testing::TestWithParam<FolderCase> {
 protected:
  // A folder below the test's, as a user gives it.
  std::filesystem::path Below(const char* utf8) const {
    const std::u8string relative(reinterpret_cast<const char8_t*>(utf8));
    return (dir_.path() / std::filesystem::path(relative)).make_preferred();
  }
  // The same for the test's own file functions, which on Windows know no other way to reach a
  // path of more than 260 characters.
  static std::filesystem::path Reachable(const std::filesystem::path& path) {
#ifdef _WIN32
    return L"\\\\?\\" + path.wstring();
#else
    return path;
#endif
  }
  static std::string Given(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
  }
  // Every folder and file below `folder`, as a relative UTF-8 path with its contents. The
  // folder's entries are listed by name, so that no part of the library that knows no long
  // paths walks the tree.
  void ReadTree(const std::filesystem::path& folder, const std::string& relative,
                std::map<std::string, std::string>& tree) {
    for (const std::filesystem::path& name : Names(folder)) {
      const std::filesystem::path path = folder / name;
      const std::u8string utf8 = name.u8string();
      const std::string key = relative + std::string(utf8.begin(), utf8.end());
      longest_ = std::max(longest_, path.native().size());
      const bool is_folder = std::filesystem::is_directory(path);
      tree[key] = is_folder ? "<dir>" : ReadBytes(path);
      if (is_folder) ReadTree(path, key + "/", tree);
    }
  }
  static std::vector<std::filesystem::path> Names(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> names;
#ifdef _WIN32
    WIN32_FIND_DATAW data;
    const UniqueFindHandle find(FindFirstFileW((folder / L"*").c_str(), &data));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.get(), &data)) {
      const std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") names.emplace_back(name);
    }
#else
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      names.push_back(entry.path().filename());
#endif
    return names;
  }
  // Runs with the folders as a window or a command line gives them; gives the tree written.
  std::map<std::string, std::string> Run(const char* install, const char* out) {
    std::filesystem::create_directories(Reachable(Below(out)));
    const std::unique_ptr<FileSystem> file_system = NewPlatformFileSystem();
    RunFolders folders;
    EXPECT_TRUE(folders.Prepare(Given(Below(install)) + '\\', Given(Below(out)), *file_system));
    RecordingHost host(folders.Install().text, folders.Out().text);
    EXPECT_EQ(RunConversion(host, *file_system), RunOutcome::kCompleted);
    EXPECT_EQ(host.events.back(), kFinished);
    std::map<std::string, std::string> tree;
    ReadTree(Reachable(Below(out)), "", tree);
    return tree;
  }

  TempDir dir_;
  std::size_t longest_ = 0;  // characters (bytes on POSIX) of the longest path written
};

TEST_P(RunFolderTest, WritesTheTreeItWritesBelowPlainFolders) {
  const FolderCase& c = GetParam();
  std::filesystem::create_directories(Reachable(Below(c.install)));
  const std::string title(200, 't');
  const std::pair<const char*, std::string> sources[] = {
      {"pemri.exe", ""},
      {"pmridata.ini", Sjis("[ItemData]\r\nCount=2\r\n0=ソフト\r\n1=inst\r\n")},
      {"dicdata.ini",
       Sjis("[DicData0]\r\nCount=2\r\n0=朝\r\n1=昼\r\n[DicData1]\r\nCount=1\r\n0=x\r\n")},
      {"expdata.ini",
       Sjis("[DicExpData0]\r\n0=おはよう\r\n1=" + title + "\r\n[DicExpData1]\r\n0=y\r\n")},
  };
  for (const auto& [name, bytes] : sources) WriteBytes(Reachable(Below(c.install)) / name, bytes);

  const std::map<std::string, std::string> plain = Run(c.install, "plain");
  EXPECT_EQ(plain.size(), 5u);
  longest_ = 0;
  EXPECT_EQ(Run(c.install, c.out), plain);
  if (std::string_view(c.name).starts_with("Paths")) {
    EXPECT_GE(longest_, 1000u);
  }
}

#define D190                                                                                       \
  "dddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddd" \
  "dddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddd" \
  "dd"

INSTANTIATE_TEST_SUITE_P(
    Folders, RunFolderTest,
    ::testing::Values(FolderCase{"CodePage932CannotName", "José/tool", "Zoë/out"},
                      // As stand-ins the installation folder lies within the output folder, where
                      // the category "inst" is written; the folders themselves do not.
                      FolderCase{"StandInsThatWouldNest", "Josè/inst", "José"},
                      FolderCase{"PathsOfMoreThan1000Characters", D190 "/" D190 "/" D190 "/tool",
                                 D190 "/" D190 "/" D190 "/" D190 "/" D190 "/out"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pem
