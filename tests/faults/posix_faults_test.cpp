// Real faults on POSIX: folders that refuse writes, source files that cannot be read (run as an
// unprivileged user, since root ignores permission bits) and a file system that is really full.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "dictionary.h"
#include "recording_host.h"
#include "temp_dir.h"
#include "unprivileged_run.h"

namespace pem::harden {
namespace {

using pem::testing::Sjis;
namespace fs = std::filesystem;

void SetMode(const fs::path& path, mode_t mode) {
  ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path << ": " << std::strerror(errno);
}

// The sandbox opened to every user, so that an unprivileged child can reach and read it.
void OpenToEveryone(const Sandbox& sandbox) {
  for (const fs::path& folder : {sandbox.Root(), sandbox.Root() / "box", sandbox.Source()}) {
    SetMode(folder, 0755);
  }
  SetMode(sandbox.Output(), 0777);
  for (const auto& file : fs::directory_iterator(sandbox.Source())) SetMode(file.path(), 0644);
}

Dictionary TwoCategories() {
  Dictionary dictionary;
  dictionary.categories = {{"first", {{"a", "one"}, {"b", "two"}}},
                           {Sjis("二番目"), {{"c", "three"}}}};
  return dictionary;
}

std::string Finished() {
  return ExpectedFinishingStage(std::nullopt).back();
}

#define RUN_UNPRIVILEGED(run, sandbox)                                                  \
  const ChildRun run = RunUnprivileged((sandbox).SourceText(), (sandbox).OutputText()); \
  if (!run.skip.empty()) GTEST_SKIP() << run.skip;                                      \
  ASSERT_EQ(run.failure, "")

TEST(UnwritableFolderTest, ACategoryFolderThatCannotBeCreatedIsAccessDenied) {
  Sandbox sandbox;
  TwoCategories().WriteTo(sandbox.Source());
  OpenToEveryone(sandbox);
  SetMode(sandbox.Output(), 0555);
  RUN_UNPRIVILEGED(run, sandbox);
  EXPECT_EQ(run.outcome, RunOutcome::kFailed);
  const std::vector<std::string> tail = {Finished(),
                                         "error " + Sjis("ファイルへのアクセスが拒否されました")};
  ASSERT_GE(run.events.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(run.events.end() - 2, run.events.end()), tail);
  EXPECT_TRUE(fs::is_empty(sandbox.Output()));
}

TEST(UnwritableFolderTest, AnEntryInAFolderThatRefusesWritesNamesItsPath) {
  Sandbox sandbox;
  TwoCategories().WriteTo(sandbox.Source());
  fs::create_directory(sandbox.Output() / "first");
  WriteFile(sandbox.Output() / "first" / "old.txt", "kept");
  OpenToEveryone(sandbox);
  SetMode(sandbox.Output() / "first", 0555);
  RUN_UNPRIVILEGED(run, sandbox);
  EXPECT_EQ(run.outcome, RunOutcome::kFailed);
  const std::string path = sandbox.OutputText() + "\\first\\a.txt";
  EXPECT_EQ(run.events.back(), "error " + Sjis("ファイル ") + path + Sjis(" を作成できません"));
  EXPECT_TRUE(run.written.empty());
  const Tree expected = {{"first", std::nullopt}, {"first/old.txt", "kept"}};
  EXPECT_EQ(Snapshot(sandbox.Output()), expected);
}

// A source file that cannot be read is a missing one: its defaults apply.
TEST(UnreadableSourceTest, DefaultsApply) {
  const struct {
    const char* file;
    Tree expected;
  } cases[] = {
      {"pmridata.ini", {}},
      {"dicdata.ini", {{"first", std::nullopt}, {"二番目", std::nullopt}}},
      {"expdata.ini",
       {{"first", std::nullopt},
        {"first/.txt", "one\r\n"},
        {"first/1.txt", "two\r\n"},
        {"二番目", std::nullopt},
        {"二番目/.txt", "three\r\n"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Sandbox sandbox;
    TwoCategories().WriteTo(sandbox.Source());
    OpenToEveryone(sandbox);
    SetMode(sandbox.Source() / c.file, 0);
    RUN_UNPRIVILEGED(run, sandbox);
    EXPECT_EQ(run.outcome, RunOutcome::kCompleted);
    EXPECT_EQ(run.events.back(), Finished());
    EXPECT_EQ(Snapshot(sandbox.Output()), c.expected);
  }
}

// A small tmpfs mounted over the output folder while the test runs.
class DiskFullTest : public ::testing::Test {
 protected:
  ~DiskFullTest() override {
    if (mounted_) ::umount2(sandbox_.Output().c_str(), MNT_DETACH);
  }

  // Mounts the file system; gives why that is not possible here, or "" when it is mounted.
  std::string Mount(const std::string& options) {
    if (::geteuid() != 0) return "mounting a small file system needs root";
    if (::mount("tmpfs", sandbox_.Output().c_str(), "tmpfs", 0, options.c_str()) != 0) {
      return std::string("mounting a tmpfs is not allowed here: ") + std::strerror(errno);
    }
    mounted_ = true;
    return {};
  }

  RunOutcome Run(const Dictionary& dictionary) {
    dictionary.WriteTo(sandbox_.Source());
    return RunConversion(host_);
  }

  Sandbox sandbox_;
  RecordingHost host_{sandbox_.SourceText(), sandbox_.OutputText()};
  bool mounted_ = false;
};

#define MOUNT_OR_SKIP(options) \
  if (const std::string why = Mount(options); !why.empty()) GTEST_SKIP() << why

Dictionary FullTexts(int entries) {
  Dictionary dictionary{{{"full", {}}}};
  for (int j = 0; j < entries; ++j) {
    dictionary.categories[0].entries.push_back(
        {"e" + std::to_string(j), std::string(2047, static_cast<char>('a' + j % 26))});
  }
  return dictionary;
}

// Sixteen pages hold sixteen entry files; the seventeenth write finds the disk full.
TEST_F(DiskFullTest, AWriteThatFindsTheDiskFullKeepsEveryEarlierFile) {
  MOUNT_OR_SKIP("size=64k");
  const Dictionary dictionary = FullTexts(40);
  EXPECT_EQ(Run(dictionary), RunOutcome::kFailed);
  const std::string error = Sjis("ストリームへの書き込みエラー");
  EXPECT_EQ(host_.FinishingStage(), ExpectedFinishingStage(error));

  const std::size_t done = host_.Written().size();
  ASSERT_GT(done, 0u);
  ASSERT_LT(done, 40u);
  Tree expected = {{"full", std::nullopt}};
  for (std::size_t j = 0; j < done; ++j) {
    const Entry& entry = dictionary.categories[0].entries[j];
    expected["full/" + entry.title + ".txt"] = EntryFileBytes(entry.text);
  }
  Tree tree = Snapshot(sandbox_.Output());
  const Entry& failed = dictionary.categories[0].entries[done];
  const auto last = tree.find("full/" + failed.title + ".txt");
  ASSERT_NE(last, tree.end()) << "the file that found the disk full is kept";
  EXPECT_LT(last->second->size(), EntryFileBytes(failed.text).size());
  EXPECT_TRUE(EntryFileBytes(failed.text).starts_with(*last->second));
  tree.erase(last);
  EXPECT_EQ(tree, expected);
}

// Four inodes: the output folder itself and three more, then creations fail with ENOSPC.
TEST_F(DiskFullTest, AFolderCreationOnAFullDiskIsAnIoErrorWithTheDiskFullCode) {
  MOUNT_OR_SKIP("size=1m,nr_inodes=4");
  Dictionary dictionary;
  for (const char* name : {"c0", "c1", "c2", "c3", "c4"})
    dictionary.categories.push_back({name, {}});
  EXPECT_EQ(Run(dictionary), RunOutcome::kFailed);
  EXPECT_EQ(host_.FinishingStage(), ExpectedFinishingStage(Sjis("I/O エラー (112)")));
  EXPECT_EQ(std::count(host_.Events().begin(), host_.Events().end(), "step"), 3);
  const Tree expected = {{"c0", std::nullopt}, {"c1", std::nullopt}, {"c2", std::nullopt}};
  EXPECT_EQ(Snapshot(sandbox_.Output()), expected);
}

TEST_F(DiskFullTest, AFileCreationOnAFullDiskNamesTheFile) {
  MOUNT_OR_SKIP("size=1m,nr_inodes=4");
  const Dictionary dictionary{{{"c", {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}}}};
  EXPECT_EQ(Run(dictionary), RunOutcome::kFailed);
  const std::string path = sandbox_.OutputText() + "\\c\\c.txt";
  EXPECT_EQ(host_.Error(), Sjis("ファイル ") + path + Sjis(" を作成できません"));
  const Tree expected = {{"c", std::nullopt}, {"c/a.txt", "1\r\n"}, {"c/b.txt", "2\r\n"}};
  EXPECT_EQ(Snapshot(sandbox_.Output()), expected);
}

}  // namespace
}  // namespace pem::harden
