// The naming, attribute and renaming rules of items, over a folder whose answers the test sets:
// the record forms and marks that the real shell here never produces.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "errors.h"
#include "fake_shell_folder.h"
#include "id_lists.h"
#include "shell_folder.h"
#include "temp_dir.h"

namespace pem::testing {
namespace {

using namespace pem::shell;

// One element holding the bytes "xxname" and a zero, then the terminator.
const BYTE kElementWithName[] = {9, 0, 'x', 'x', 'n', 'a', 'm', 'e', 0, 0, 0};
const auto* const kNamedId = reinterpret_cast<const ITEMIDLIST*>(kElementWithName);

TEST(DisplayNames, FollowTheRecordFormAndTheShellsMarks) {
  using F = FakeShellFolder;
  const std::wstring computer = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
  const auto in_folder = [](F::NameRecord record) {
    return std::map<SHGDNF, F::NameRecord>{{SHGDN_INFOLDER, std::move(record)}};
  };
  const struct {
    const char* what;
    std::map<SHGDNF, F::NameRecord> names;
    SHGDNF flags;
    std::wstring wide;
    std::string cp932;
  } cases[] = {
      // clang-format off
      {"a question mark before digits goes", in_folder(F::Wide(L"?12?3")),
       SHGDN_INFOLDER, L"123", "123"},
      {"a question mark before a letter stays", in_folder(F::Wide(L"?a")),
       SHGDN_INFOLDER, L"?a", "?a"},
      {"a lone question mark stays", in_folder(F::Wide(L"?")), SHGDN_INFOLDER, L"?", "?"},
      {"no code page 932 form", in_folder(F::Wide(L"caf\u00e9")),
       SHGDN_INFOLDER, L"caf\u00e9", "caf?"},
      {"a replaced character is no mark", in_folder(F::Wide(L"\u00e91")),
       SHGDN_INFOLDER, L"\u00e91", "?1"},
      {"inline code page 932 bytes", in_folder(F::Inline(Sjis("日本"))),
       SHGDN_INFOLDER, L"日本", Sjis("日本")},
      {"offset into the first element", in_folder(F::Offset(4)), SHGDN_INFOLDER, L"name", "name"},
      {"offset past the element", in_folder(F::Offset(9)), SHGDN_INFOLDER, L"", ""},
      {"failed call", {}, SHGDN_INFOLDER, L"", ""},
      {"class identifier path gives the normal name",
       {{SHGDN_FORPARSING, F::Wide(computer)}, {SHGDN_NORMAL, F::Wide(L"My Computer")}},
       SHGDN_FORPARSING, L"My Computer", "My Computer"},
      {"a normal name that is a class identifier ends there",
       {{SHGDN_FORPARSING, F::Wide(computer)}, {SHGDN_NORMAL, F::Wide(computer)}},
       SHGDN_FORPARSING, computer, "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
      // clang-format on
  };
  for (const auto& c : cases) {
    FakeShellFolder folder;
    folder.names = c.names;
    EXPECT_EQ(WideDisplayNameOf(&folder, kNamedId, c.flags), c.wide) << c.what;
    EXPECT_EQ(DisplayNameOf(&folder, kNamedId, c.flags), c.cp932) << c.what;
  }
  EXPECT_EQ(DisplayNameOf(nullptr, nullptr, SHGDN_NORMAL), "parentfolder = nil");
}

// An item named by the element above, under a folder whose answers the test sets.
struct ItemUnderFake {
  explicit ItemUnderFake(FakeShellFolder& folder)
      : parent(nullptr, ComPtr<IShellFolder>::Borrow(&folder), DesktopIdList().get()),
        item(&parent, {}, kNamedId) {}
  TShellFolder parent;
  TShellFolder item;
};

TEST(ItemAttributes, ComeFromOneQueryOfTheParentFolderAndNeverFromAFailedOne) {
  const struct {
    const char* what;
    SFGAOF attributes;
    HRESULT status;
    bool container, subfolders;
    std::uint8_t abilities, traits;
  } cases[] = {
      {"nothing", 0, S_OK, false, false, 0, 0},
      {"a shared file-system folder",
       SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_SHARE | SFGAO_FILESYSTEM | SFGAO_CANRENAME |
           SFGAO_CANDELETE,
       S_OK, true, true, afCanRename | afCanDelete, tfShared | tfFileSystem},
      {"every ability and trait", 0xFFFFFFFF, S_OK, true, true, 0x7F, 0xFF},
      {"a failed query", 0xFFFFFFFF, E_FAIL, false, false, 0, 0},
  };
  for (const auto& c : cases) {
    FakeShellFolder folder;
    folder.attributes = c.attributes;
    folder.attribute_status = c.status;
    {
      const ItemUnderFake under(folder);
      const TShellFolder& item = under.item;
      EXPECT_EQ(item.IsContainer(), c.container) << c.what;
      EXPECT_EQ(item.MayHaveSubfolders(), c.subfolders) << c.what;
      EXPECT_EQ(item.AbilityFlags(), c.abilities) << c.what;
      EXPECT_EQ(item.TraitFlags(), c.traits) << c.what;
    }
    EXPECT_EQ(folder.References(), 1u) << c.what << ": a reference was kept";
  }
}

// One element "yy", then the terminator: the list a rename that returns none is parsed as.
const BYTE kElementRenamed[] = {4, 0, 'y', 'y', 0, 0};
const auto* const kRenamedId = reinterpret_cast<const ITEMIDLIST*>(kElementRenamed);

// A failed comparison is no order: siblings then stay as they were listed.
TEST(SiblingOrder, ComesFromTheShellsComparisonAndNeverFromAFailedOne) {
  const struct {
    HRESULT status;
    int order;
  } cases[] = {
      {MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1), 1},
      {MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0xFFFF), -1},
      {S_OK, 0},
      {E_NOTIMPL, 0},
      {E_INVALIDARG, 0},
  };
  for (const auto& c : cases) {
    FakeShellFolder folder;
    folder.compare_status = c.status;
    ItemUnderFake under(folder);
    const TShellFolder other(&under.parent, {}, kRenamedId);
    const int order = CompareSiblings(under.item, other);
    EXPECT_EQ((order > 0) - (order < 0), c.order) << std::hex << c.status;
    std::vector<ChildIdList> listed;
    listed.push_back(CloneIdList<ChildIdList>(kNamedId));
    listed.push_back(CloneIdList<ChildIdList>(kRenamedId));
    EXPECT_EQ(InShellOrder(&folder, listed), c.order <= 0) << std::hex << c.status;
  }
}

TEST(ItemRename, IsAskedOnlyWhenOfferedAndTakesTheListTheShellGivesOrParses) {
  const struct {
    const char* what;
    SFGAOF attributes;
    HRESULT status;
    const ITEMIDLIST* parsed;
    bool throws;
    int asked;
    const ITEMIDLIST* local_after;
  } cases[] = {
      {"not offered", 0, E_FAIL, nullptr, false, 0, kNamedId},
      {"refused", SFGAO_CANRENAME, E_FAIL, nullptr, true, 1, kNamedId},
      {"accepted, no list, parsed", SFGAO_CANRENAME, S_OK, kRenamedId, false, 1, kRenamedId},
      {"accepted, no list at all", SFGAO_CANRENAME, S_OK, nullptr, false, 1, kNamedId},
  };
  for (const auto& c : cases) {
    FakeShellFolder folder;
    folder.attributes = c.attributes;
    folder.rename_status = c.status;
    folder.parsed = c.parsed;
    ItemUnderFake under(folder);
    TShellFolder& item = under.item;
    if (c.throws) {
      try {
        item.Rename(L"new");
        ADD_FAILURE() << "a refused rename returned";
      } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "new" + Sjis(" に名前を変更できませんでした。"));
      }
    } else {
      EXPECT_EQ(item.Rename(L"new"), c.attributes != 0) << c.what;
    }
    EXPECT_EQ(folder.renames_asked, c.asked) << c.what;
    const std::size_t size = IdListByteSize(c.local_after);
    ASSERT_EQ(IdListByteSize(item.LocalId()), size) << c.what;
    EXPECT_EQ(std::memcmp(item.LocalId(), c.local_after, size), 0) << c.what;
    const AbsoluteIdList full = JoinIdLists(under.parent.FullId(), c.local_after);
    EXPECT_EQ(IdListByteSize(item.FullId()), IdListByteSize(full.get())) << c.what;
  }
}

}  // namespace
}  // namespace pem::testing
