// Items over the real shell: root texts and listing, on folders that the tests make.
#include <gtest/gtest.h>

#include <filesystem>

#include "errors.h"
#include "id_lists.h"
#include "root_folder.h"
#include "shell_fixture.h"
#include "win32_text.h"

namespace pem::testing {
namespace {

using namespace pem::shell;

AbsoluteIdList SpecialFolder(int csidl) {
  AbsoluteIdList list;
  EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, csidl, list.put()), S_OK);
  return list;
}

TEST(ResolveRoot, TakesRootNamesInAnyCaseAndPathsAndMendsADriveText) {
  const ShellFolders folders({L"日本語"});
  const std::string japanese = NarrowCp932(folders.Path(L"日本語"));
  const struct {
    std::string text;
    AbsoluteIdList expected;
    std::string text_after;
  } cases[] = {
      {"rfMyComputer", SpecialFolder(CSIDL_DRIVES), "rfMyComputer"},
      {"RFMYCOMPUTER", SpecialFolder(CSIDL_DRIVES), "RFMYCOMPUTER"},
      {"rfmycomputer", SpecialFolder(CSIDL_DRIVES), "rfmycomputer"},
      {"rfDesktop", SpecialFolder(CSIDL_DESKTOP), "rfDesktop"},
      {"RfPersonal", SpecialFolder(CSIDL_PERSONAL), "RfPersonal"},
      {"C:", ParsedId(L"C:\\"), "C:\\"},
      {japanese, ParsedId(folders.Path(L"日本語")), japanese},
  };
  for (const auto& c : cases) {
    std::unique_ptr<TShellFolder> root;
    TRoot text = c.text;
    ResolveRoot(root, "rfDesktop", text);
    ASSERT_TRUE(root) << c.text;
    EXPECT_TRUE(SameIdList(root->FullId(), c.expected.get())) << c.text;
    EXPECT_EQ(text, c.text_after);
  }
}

TEST(ShellItems, TellWhetherAFolderListsAnything) {
  const ShellFolders folders({L"empty", L"full\\child"});
  const struct {
    const wchar_t* folder;
    bool listed;
  } cases[] = {{L"empty", false}, {L"full", true}};
  for (const auto& c : cases) {
    const auto item = ItemForPath(folders.Path(c.folder));
    EXPECT_EQ(HasEnumerableItems(item->BoundFolder(), SHCONTF_FOLDERS), c.listed) << c.folder;
  }
  EXPECT_FALSE(HasEnumerableItems(nullptr, SHCONTF_FOLDERS));
}

}  // namespace
}  // namespace pem::testing
