// Items over the real shell: root texts, paths, renaming on disk and listing, on folders that
// the tests make.
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

TEST(ShellItems, NameTheirFoldersAndRenameThemOnDisk) {
  const ShellFolders folders({L"parent\\old"});
  const std::unique_ptr<TShellFolder> parent = ItemForPath(folders.Path(L"parent"));
  const struct {
    std::wstring name;
    std::string path_tail;
  } cases[] = {
      {L"renamed", "renamed"},
      {L"日本語の名前", Sjis("日本語の名前")},
      {L"caf\u00e9", "caf?"},
      {L"\ud55c\uad6d\uc5b4", "???"},
  };
  std::wstring current = L"old";
  for (const auto& c : cases) {
    const ChildIdList local =
        LastIdElementCopy(ParsedId(folders.Path(L"parent\\" + current)).get());
    TShellFolder item(parent.get(), BindSubFolder(parent->BoundFolder(), local.get(), nullptr),
                      local.get());
    EXPECT_EQ(item.WideDisplayText(), current);
    ASSERT_TRUE(item.Rename(c.name)) << NarrowCp932(c.name);
    EXPECT_TRUE(std::filesystem::is_directory(folders.Path(L"parent\\" + c.name)));
    EXPECT_FALSE(std::filesystem::exists(folders.Path(L"parent\\" + current)));
    EXPECT_EQ(item.WideDisplayText(), c.name);
    EXPECT_EQ(item.FileSystemPath(), NarrowCp932(folders.Path(L"parent\\")) + c.path_tail);
    const AbsoluteIdList joined = JoinIdLists(parent->FullId(), item.LocalId());
    EXPECT_EQ(IdListByteSize(item.FullId()), IdListByteSize(joined.get()));
    EXPECT_TRUE(SameIdList(item.FullId(), joined.get()));
    current = c.name;
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
