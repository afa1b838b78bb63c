#include "file_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <vector>

#include "temp_dir.h"

namespace pem {
namespace {

using testing::NativeChild;
using testing::Sjis;
using testing::TempDir;
using testing::WriteBytes;

struct Entry {
  const char* name;  // UTF-8, relative to the test's folder
  bool folder;
};

struct FileCheckCase {
  const char* name;
  std::vector<Entry> entries;
  const char* path;  // UTF-8, relative to the test's folder; null for the empty path
  bool file_match;
  bool folder;
};
void PrintTo(const FileCheckCase& c, std::ostream* out) {
  *out << c.name;
}

class FileCheckTest : public ::testing::TestWithParam<FileCheckCase> {};

TEST_P(FileCheckTest, AnswersAsTheFileSearchAndTheAttributesDo) {
  const FileCheckCase& c = GetParam();
  TempDir dir;
  for (const Entry& entry : c.entries) {
    const std::filesystem::path native = NativeChild(dir.path(), Sjis(entry.name));
    std::filesystem::create_directories(entry.folder ? native : native.parent_path());
    if (!entry.folder) WriteBytes(native, "x");
  }
  const std::string path = c.path == nullptr ? "" : dir.Text() + '\\' + Sjis(c.path);

  EXPECT_EQ(FileMatchExists(path), c.file_match);
  EXPECT_EQ(FolderExists(path), c.folder);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FileCheckTest,
    ::testing::Values(
        FileCheckCase{"EmptyPath", {}, nullptr, false, false},
        FileCheckCase{"Missing", {}, "pemri.exe", false, false},
        FileCheckCase{"File", {{"pemri.exe", false}}, "pemri.exe", true, false},
        FileCheckCase{"PatternIgnoresCase", {{"PEMRICO.EXE", false}}, "pemri*.exe", true, false},
        FileCheckCase{"PatternOneCharacter", {{"pemri1.exe", false}}, "pemri?.exe", true, false},
        FileCheckCase{"FolderMatchesNoFile", {{"pemri.exe", true}}, "pemri*.exe", false, false},
        FileCheckCase{"Folder", {{"sub", true}}, "sub", false, true},
        FileCheckCase{"FolderWithSeparator", {{"sub", true}}, "sub\\", false, true},
        FileCheckCase{"FileWithSeparator", {{"file", false}}, "file\\", false, false},
        // The 5C of ソ (83 5C) is no separator.
        FileCheckCase{"TrailByte5C", {{"ソフト\\表", false}}, "ソフト\\表", true, false},
        FileCheckCase{
            "PatternBelowTrailByte5C", {{"ソ\\pemri.exe", false}}, "ソ\\pemri*.exe", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pem
