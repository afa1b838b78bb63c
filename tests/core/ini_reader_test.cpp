#include "ini_reader.h"

#include <gtest/gtest.h>

#include "forwarding_file_system.h"
#include "temp_dir.h"

namespace pem {
namespace {

using testing::Cp932Text;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class IniReaderTest : public ::testing::Test {
 protected:
  std::string PathOf(const char* name) const { return Cp932Text(dir_.path() / name); }
  void Write(const char* name, std::string_view bytes) const {
    WriteBytes(dir_.path() / name, bytes);
  }

  TempDir dir_;
};

TEST_F(IniReaderTest, MissingFileSectionOrKeyGiveTheDefault) {
  Write("a.ini", "[s]\r\nk=v\r\nn=12\r\n");
  const IniReader reader(PathOf("a.ini"));
  const IniReader missing(PathOf("none.ini"));
  EXPECT_EQ(reader.ReadText("s", "k", "d"), "v");
  EXPECT_EQ(reader.ReadText("s", "x", "d"), "d");
  EXPECT_EQ(reader.ReadText("x", "k", "d"), "d");
  EXPECT_EQ(missing.ReadText("s", "k", "d"), "d");
  EXPECT_EQ(reader.ReadNumber("s", "n", -1), 12);
  EXPECT_EQ(reader.ReadNumber("s", "k", -1), -1);
  EXPECT_EQ(missing.ReadNumber("s", "n", 7), 7);
}

TEST_F(IniReaderTest, DefaultsLoseTrailingSpacesOnly) {
  const IniReader reader(PathOf("none.ini"));
  EXPECT_EQ(reader.ReadText("s", "k", " d \t  "), " d \t");
  EXPECT_EQ(reader.ReadText("s", "k", "   "), "");
}

TEST_F(IniReaderTest, LongValuesAreCutTo2047Bytes) {
  const std::string title(3000, 'a');
  const std::string kana = "x" + std::string(1500 * 2, '\x82');  // cut falls inside a character
  Write("a.ini", "[ItemData]\r\n0=" + title + "\r\n1=" + kana + "\r\n");
  const IniReader reader(PathOf("a.ini"));
  EXPECT_EQ(reader.ReadText("ItemData", "0", ""), title.substr(0, 2047));
  EXPECT_EQ(reader.ReadCategoryName(1), kana.substr(0, 2047));
  EXPECT_EQ(reader.ReadText("ItemData", "9", std::string(3000, 'd')), std::string(2047, 'd'));
}

TEST_F(IniReaderTest, ValuesStopAtANulByte) {
  Write("a.ini", std::string("[s]\r\nk=ab\0cd\r\n", 14));
  EXPECT_EQ(IniReader(PathOf("a.ini")).ReadText("s", "k", ""), "ab");
}

TEST_F(IniReaderTest, CategoryNamesWithGaps) {
  Write("pmridata.ini", "[ItemData]\r\nCount=3\r\n0=zero\r\n2=two\r\n");
  const IniReader reader(PathOf("pmridata.ini"));
  EXPECT_EQ(reader.ReadNumber("ItemData", "Count", 0), 3);
  EXPECT_EQ(reader.ReadCategoryName(0), "zero");
  EXPECT_EQ(reader.ReadCategoryName(1), "");
  EXPECT_EQ(reader.ReadCategoryName(2), "two");
}

TEST_F(IniReaderTest, EveryReadSeesTheFileAsItIsNow) {
  Write("a.ini", "[s]\r\nk=old\r\n");
  const IniReader reader(PathOf("a.ini"));
  EXPECT_EQ(reader.ReadText("s", "k", ""), "old");
  Write("a.ini", "[s]\r\nk=newer\r\n");
  EXPECT_EQ(reader.ReadText("s", "k", ""), "newer");
  std::filesystem::remove(dir_.path() / "a.ini");
  EXPECT_EQ(reader.ReadText("s", "k", "gone"), "gone");
  Write("a.ini", "[s]\r\nk=back\r\n");
  EXPECT_EQ(reader.ReadText("s", "k", ""), "back");
}

TEST_F(IniReaderTest, ReadingChangesNothing) {
  const std::string bytes = "[s]\r\nk=v\r\n";
  Write("a.ini", bytes);
  const auto before = std::filesystem::last_write_time(dir_.path() / "a.ini");
  {
    const IniReader reader(PathOf("a.ini"));
    EXPECT_EQ(reader.ReadText("s", "k", ""), "v");
  }
  EXPECT_EQ(ReadBytes(dir_.path() / "a.ini"), bytes);
  EXPECT_EQ(std::filesystem::last_write_time(dir_.path() / "a.ini"), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

// Counts the status queries and file reads that a reader makes.
class CountingFileSystem : public testing::ForwardingFileSystem {
 public:
  std::optional<FileStamp> StampOf(const std::string& path) override {
    ++stamps;
    return ForwardingFileSystem::StampOf(path);
  }
  std::optional<std::string> ReadWholeFile(const std::string& path, FileStamp& stamp) override {
    ++reads;
    return ForwardingFileSystem::ReadWholeFile(path, stamp);
  }
  int stamps = 0;
  int reads = 0;
};

TEST_F(IniReaderTest, AnUnchangedFileIsParsedOnce) {
  std::string file = "[s]\r\n";
  for (int i = 0; i < 500; ++i) file += std::to_string(i) + "=" + std::to_string(i * 2) + "\r\n";
  Write("a.ini", file);
  CountingFileSystem counting;
  const IniReader reader(PathOf("a.ini"), counting);
  for (int i = 0; i < 500; ++i) ASSERT_EQ(reader.ReadNumber("s", std::to_string(i), -1), i * 2);
  EXPECT_EQ(counting.reads, 1);
}

TEST_F(IniReaderTest, AHoldSeesTheFileAsItWasWhenItBegan) {
  Write("a.ini", "[s]\r\nk=old\r\n");
  CountingFileSystem counting;
  const IniReader reader(PathOf("a.ini"), counting);
  {
    const IniReader::Hold hold(reader);
    Write("a.ini", "[s]\r\nk=newer\r\n");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(reader.ReadText("s", "k", ""), "old");
    EXPECT_EQ(counting.stamps, 1);
  }
  EXPECT_EQ(reader.ReadText("s", "k", ""), "newer");
  EXPECT_EQ(counting.reads, 2);
}

}  // namespace
}  // namespace pem
