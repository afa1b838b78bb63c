#include "filesystem.h"

#include <gtest/gtest.h>

#include "forwarding_file_system.h"
#include "temp_dir.h"

namespace pem {
namespace {

using testing::Cp932Text;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// A file system whose CreateNewOutputFile creates the file inside a folder opened by the
// platform, as a category's entries are made.
class OpenFolderFileSystem : public testing::ForwardingFileSystem {
 public:
  std::unique_ptr<OutputFile> CreateNewOutputFile(const std::string& path, bool& exists) override {
    const std::size_t slash = path.find_last_of("\\/");
    return PlatformFileSystem()
        .OpenOutputFolder(path.substr(0, slash))
        ->CreateNewFile(path.substr(slash + 1), exists);
  }
};

const char* const kCreationNames[] = {"Platform", "Probing", "OpenFolder"};

// CreateNewOutputFile of the platform (one step), of the interface (probe, then create) and of
// a folder opened once: each must keep every existing file and refuse a folder of the name.
class CreateNewOutputFileTest : public ::testing::TestWithParam<int> {
 protected:
  FileSystem& Subject() {
    FileSystem* const subjects[] = {&PlatformFileSystem(), &probing_, &open_folder_};
    return *subjects[GetParam()];
  }
  std::string PathOf(const char* name) const { return Cp932Text(dir_.path() / name); }

  TempDir dir_;
  testing::ForwardingFileSystem probing_;  // keeps the interface's own CreateNewOutputFile
  OpenFolderFileSystem open_folder_;
};

TEST_P(CreateNewOutputFileTest, CreatesAFreeName) {
  bool exists = true;
  {
    const std::unique_ptr<OutputFile> file = Subject().CreateNewOutputFile(PathOf("a.txt"), exists);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Write("text"), 4u);
  }
  EXPECT_FALSE(exists);
  EXPECT_EQ(ReadBytes(dir_.path() / "a.txt"), "text");
}

TEST_P(CreateNewOutputFileTest, LeavesAnExistingFileAlone) {
  WriteBytes(dir_.path() / "a.txt", "keep");
  bool exists = false;
  EXPECT_EQ(Subject().CreateNewOutputFile(PathOf("a.txt"), exists), nullptr);
  EXPECT_TRUE(exists);
  EXPECT_EQ(ReadBytes(dir_.path() / "a.txt"), "keep");
}

TEST_P(CreateNewOutputFileTest, AFolderOrAMissingParentIsNoFileButFails) {
  std::filesystem::create_directory(dir_.path() / "a.txt");
  for (const char* name : {"a.txt", "missing/a.txt"}) {
    bool exists = true;
    EXPECT_EQ(Subject().CreateNewOutputFile(PathOf(name), exists), nullptr) << name;
    EXPECT_FALSE(exists) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Ways, CreateNewOutputFileTest, ::testing::Range(0, 3),
                         [](const auto& info) { return kCreationNames[info.param]; });

}  // namespace
}  // namespace pem
