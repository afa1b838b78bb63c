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

// CreateNewOutputFile of the platform (one step) and of the interface (probe, then create):
// both must keep every existing file and refuse a folder of the name.
class CreateNewOutputFileTest : public ::testing::TestWithParam<bool> {
 protected:
  FileSystem& Subject() { return GetParam() ? PlatformFileSystem() : probing_; }
  std::string PathOf(const char* name) const { return Cp932Text(dir_.path() / name); }

  TempDir dir_;
  testing::ForwardingFileSystem probing_;  // keeps the interface's own CreateNewOutputFile
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

INSTANTIATE_TEST_SUITE_P(PlatformAndProbing, CreateNewOutputFileTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Platform" : "Probing"; });

}  // namespace
}  // namespace pem
