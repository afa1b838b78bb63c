// The form in which the file layer hands paths to the system: its long-path form.
#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>

#include "file_checks.h"
#include "temp_dir.h"
#include "win32_long_path.h"

namespace pem {
namespace {

struct PathForm {
  const char* name;
  std::string text;       // code page 932, as the conversion names the path
  std::wstring expected;  // "|" stands for the current folder
};
void PrintTo(const PathForm& c, std::ostream* out) {
  *out << c.name;
}

class LongPathFormTest : public ::testing::TestWithParam<PathForm> {};

TEST_P(LongPathFormTest, IsFullNormalisedAndPrefixed) {
  const PathForm& c = GetParam();
  const testing::TempDir current;
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(current.path().c_str()));
  std::wstring expected = c.expected;
  if (const std::size_t at = expected.find(L'|'); at != std::wstring::npos)
    expected.replace(at, 1, current.path().wstring());

  EXPECT_EQ(SystemPathOf(c.text), expected);
  SetCurrentDirectoryW(previous);
}

const std::string k300(300, 'a');
const std::wstring kWide300(300, L'a');

INSTANTIATE_TEST_SUITE_P(
    Paths, LongPathFormTest,
    ::testing::Values(PathForm{"Empty", "", L""},
                      PathForm{"Drive", "C:\\a\\b.txt", L"\\\\?\\C:\\a\\b.txt"},
                      PathForm{"DriveRoot", "C:\\", L"\\\\?\\C:\\"},
                      PathForm{"TrailingSeparator", "C:\\a\\", L"\\\\?\\C:\\a\\"},
                      PathForm{"ForwardSlashes", "C:/a/b", L"\\\\?\\C:\\a\\b"},
                      PathForm{"DotComponents", "C:\\a\\.\\b\\..\\c", L"\\\\?\\C:\\a\\c"},
                      // An empty category name puts two separators after the output folder.
                      PathForm{"TwoSeparators", "C:\\out\\\\.txt", L"\\\\?\\C:\\out\\.txt"},
                      PathForm{"Pattern", "C:\\tool\\pemri*.exe", L"\\\\?\\C:\\tool\\pemri*.exe"},
                      PathForm{"Share", "\\\\server\\share\\a", L"\\\\?\\UNC\\server\\share\\a"},
                      PathForm{"ShareWithSlashesAndDots", "//server/share/a/../b",
                               L"\\\\?\\UNC\\server\\share\\b"},
                      PathForm{"Relative", "a\\b", L"\\\\?\\|\\a\\b"},
                      PathForm{"RelativeWithDots", "a\\..\\.\\b", L"\\\\?\\|\\b"},
                      PathForm{"AlreadyPrefixed", "\\\\?\\C:\\a/..\\b", L"\\\\?\\C:\\a/..\\b"},
                      PathForm{"AlreadyPrefixedWithTwoSeparators", "\\\\?\\C:\\out\\\\.txt",
                               L"\\\\?\\C:\\out\\.txt"},
                      PathForm{"AlreadyPrefixedShare", "\\\\?\\UNC\\server\\share\\a",
                               L"\\\\?\\UNC\\server\\share\\a"},
                      PathForm{"Japanese", "C:\\\x83\x5C\x83\x74\x83\x67\\a",
                               L"\\\\?\\C:\\ソフト\\a"},
                      PathForm{"LongerThanTheOldLimit", "C:\\" + k300 + "\\" + k300,
                               L"\\\\?\\C:\\" + kWide300 + L"\\" + kWide300}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pem
