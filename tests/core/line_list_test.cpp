#include "line_list.h"

#include <gtest/gtest.h>

#include "file_errors.h"
#include "temp_dir.h"

namespace pem {
namespace {

TEST(LineListTest, SplitsAtEveryKindOfLineBreak) {
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR: two breaks
      {"a\r\n", {"a"}},
      {"\r\n", {""}},
      {"a\r\n\r\n", {"a", ""}},
  };
  LineList list;
  for (const auto& c : cases) {
    list.SetText(c.text);
    EXPECT_EQ(list.Lines(), c.lines) << c.text;
  }
}

TEST(LineListTest, EveryLineEndsWithCrLf) {
  LineList list;
  list.SetText("a\nb");
  EXPECT_EQ(list.Text(), "a\r\nb\r\n");
  list.SetText("");
  EXPECT_EQ(list.Text(), "");
}

TEST(LineListTest, SavingWritesTheTextOrNothingAndReplacesOldContent) {
  testing::TempDir dir;
  const auto file = dir.path() / "e.txt";
  testing::WriteBytes(file, "old content that is longer");
  LineList list;
  list.SetText(std::string(2047, 'x'));
  list.SaveToFile(PlatformFileSystem(), testing::Cp932Text(file));
  EXPECT_EQ(testing::ReadBytes(file), std::string(2047, 'x') + "\r\n");
  list.SetText("");
  list.SaveToFile(PlatformFileSystem(), testing::Cp932Text(file));
  EXPECT_EQ(std::filesystem::file_size(file), 0u);
}

TEST(LineListTest, AFileThatCannotBeCreatedNamesItsPath) {
  testing::TempDir dir;
  std::filesystem::create_directory(dir.path() / "taken.txt");
  const std::string path = testing::Cp932Text(dir.path() / "taken.txt");
  LineList list;
  list.SetText("x");
  try {
    list.SaveToFile(PlatformFileSystem(), path);
    FAIL() << "a folder stands where the file should be";
  } catch (const EFCreateError& error) {
    EXPECT_NE(error.Message().find(path), std::string::npos);
  }
}

}  // namespace
}  // namespace pem
