// What the end-to-end tests of pem2txt share: running it in-process, reading a whole output tree,
// and checking that the dictionary tool's files come through every run untouched.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace pem::testing {

namespace fs = std::filesystem;

// A folder tree by relative UTF-8 path ("/" between components): the bytes of every file, and
// none for every folder.
using Tree = std::map<std::string, std::optional<std::string>>;

// Every file and folder below `root`; the root itself is not listed.
Tree ReadTree(const fs::path& root);

// The differences between two trees, one per line; empty when they are equal.
std::string TreeDifferences(const Tree& expected, const Tree& actual);

// A native path as UTF-8, with the platform's separators (as a user would type it).
std::string Utf8Arg(const fs::path& path);
// The platform's own folder separator, as UTF-8.
std::string NativeSeparator();

// A file or folder of the source tree (samples, golden trees), reachable from the test process.
fs::path SourcePath(const std::string& relative);

// The golden output tree of the bundled sample.
Tree SampleGolden();

struct RunResult {
  int status = -1;
  std::string out;  // standard output, UTF-8
  std::string err;  // standard error, UTF-8
};

// Runs pem2txt in-process on the platform's file system, with a console that is or is not a
// terminal.
RunResult RunPem2Txt(const std::vector<std::string>& args, bool terminal = false);

// The three files of the dictionary tool as they are now: bytes and modification time. Taking it
// first sets their modification time well into the past, so that a rewrite cannot go unseen.
class SourceSnapshot {
 public:
  explicit SourceSnapshot(const fs::path& install);
  void ExpectUnchanged() const;

 private:
  struct File {
    fs::path path;
    std::optional<std::string> bytes;
    fs::file_time_type modified;
  };
  std::vector<File> files_;
};

// A fresh installation folder and output folder for each test. Every run through Run() is
// followed by the check that the source files are unchanged.
class E2eTest : public ::testing::Test {
 protected:
  E2eTest();

  const fs::path& Install() const { return install_; }
  const fs::path& Out() const { return out_; }

  // Copies the bundled sample into the installation folder.
  void UseSample();

  RunResult Run(const std::vector<std::string>& args, bool terminal = false);
  // pem2txt [options] INSTALL OUT.
  RunResult Convert(const std::vector<std::string>& options = {}, bool terminal = false);

 private:
  TempDir temp_;
  fs::path install_;
  fs::path out_;
  std::optional<SourceSnapshot> sources_;
};

// The messages of pem2txt, as its user reads them.
inline constexpr char kFinishedLine[] = "終了しました\n";
inline constexpr char kToolNotFoundLine[] =
    "pem2txt: 指定されたフォルダ内で「ぺむりこ」の実行ファイルが確認できませんでした\n";
inline constexpr char kBadOutputLine[] = "pem2txt: 保存先フォルダが異常です\n";

}  // namespace pem::testing
