#include "folder_dialog_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace pem {
namespace {

// ソ is 83 5C: its trail byte is no "\".
constexpr char kSo[] = "\x83\x5c";

struct NearestCase {
  const char* name;
  std::string path;
  std::set<std::string> existing;
  std::string expected;
};

class NearestExistingFolderTest : public ::testing::TestWithParam<NearestCase> {};

TEST_P(NearestExistingFolderTest, DropsElementsUntilAFolderExists) {
  const NearestCase& c = GetParam();
  const auto exists = [&](const std::string& text) { return c.existing.contains(text); };
  EXPECT_EQ(NearestExistingFolder(c.path, exists), c.expected);
}

const std::string kSoFolder = std::string("C:\\") + kSo;

INSTANTIATE_TEST_SUITE_P(
    Paths, NearestExistingFolderTest,
    ::testing::Values(
        NearestCase{"Existing", "C:\\a", {"C:\\a"}, "C:\\a"},
        NearestCase{"ExistingWithBackslash", "C:\\a\\", {"C:\\a\\"}, "C:\\a\\"},
        NearestCase{"TwoLevelsBelow",
                    "C:\\Program Files\\x\\y",
                    {"C:\\Program Files\\"},
                    "C:\\Program Files\\"},
        NearestCase{"LastElementDroppedAfterBackslash", "C:\\a\\b\\", {"C:\\a\\"}, "C:\\a\\"},
        NearestCase{"DriveRootReached", "D:\\x", {"D:\\"}, "D:\\"},
        NearestCase{"MissingDrive", "Q:\\x\\y", {}, ""},
        NearestCase{"MissingDriveRoot", "Q:\\", {}, ""},
        NearestCase{"ServerNameIsNoFolder", "\\\\server\\share\\x", {}, ""},
        NearestCase{"Empty", "", {"C:\\"}, ""},
        NearestCase{"TrailByteIsNoSeparator", kSoFolder + "x", {"C:\\", kSoFolder}, "C:\\"},
        NearestCase{
            "FolderNamedWithTrailByte", kSoFolder + "\\x", {kSoFolder + "\\"}, kSoFolder + "\\"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TextCase {
  const char* name;
  std::string input;
  std::string expected;
};

class TitleFromExecutableTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TitleFromExecutableTest, IsTheNameWithoutFolderAndExtension) {
  EXPECT_EQ(TitleFromExecutable(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, TitleFromExecutableTest,
    ::testing::Values(TextCase{"Plain", "C:\\tools\\PemConv.exe", "PemConv"},
                      TextCase{"DotInFolder", "C:\\v1.2\\pemconv", "pemconv"},
                      TextCase{"LastDotOnly", "C:\\a\\conv.test.exe", "conv.test"},
                      TextCase{"AfterDriveColon", "C:conv.exe", "conv"},
                      TextCase{"NoFolder", "conv.exe", "conv"},
                      TextCase{"OnlyExtension", "C:\\a\\.exe", ""},
                      TextCase{"TrailByteInName", std::string("C:\\a\\") + kSo + ".exe", kSo}),
    [](const auto& info) { return std::string(info.param.name); });

struct CentreCase {
  const char* name;
  OuterBounds owner;
  int width;
  int height;
  TopLeft expected;
};

class CentreOverOwnerTest : public ::testing::TestWithParam<CentreCase> {};

TEST_P(CentreOverOwnerTest, StaysOnTheScreenAboveTheTaskBar) {
  const ScreenLimits screen{.width = 1024, .work_bottom = 738};
  const CentreCase& c = GetParam();
  EXPECT_EQ(CentreOverOwner(c.owner, c.width, c.height, screen), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Owners, CentreOverOwnerTest,
    ::testing::Values(CentreCase{"Centred", {100, 100, 400, 300}, 200, 100, {200, 200}},
                      CentreCase{"HalvesTruncated", {100, 100, 401, 301}, 201, 101, {200, 200}},
                      CentreCase{"LargerThanOwner", {300, 300, 100, 100}, 307, 352, {197, 174}},
                      CentreCase{"NearRightEdge", {900, 100, 400, 300}, 307, 352, {717, 74}},
                      CentreCase{"NearBottomEdge", {100, 600, 400, 300}, 307, 352, {147, 386}},
                      CentreCase{"PastLeftAndTop", {-500, -400, 400, 300}, 307, 352, {0, 0}},
                      CentreCase{"LargerThanScreen", {100, 100, 400, 300}, 2000, 1000, {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pem
