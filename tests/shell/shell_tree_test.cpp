// The shell tree over the real shell and folders made by the tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "errors.h"
#include "id_lists.h"
#include "shell_fixture.h"
#include "shell_tree_window.h"
#include "task_memory.h"
#include "win32_text.h"

namespace pem::testing {
namespace {

using gui::TTreeNode;
using shell::TShellTreeView;
constexpr auto ItemOf = shell::TCustomShellTreeView::ItemOf;

std::function<void(TShellTreeView&)> RootAt(const std::wstring& path) {
  return [root = NarrowCp932(path)](TShellTreeView& tree) { tree.SetRoot(root); };
}

TEST(ShellTree, OpensOnTheDesktopExpandedInTheDesktopsOrderWithTheRootSelected) {
  const ShellTreeWindow window;
  TTreeNode* root = window.tree->GetFirstNode();
  ASSERT_TRUE(root);
  EXPECT_FALSE(root->GetNextSibling());
  EXPECT_TRUE(root->Expanded());
  EXPECT_TRUE(root->Selected());
  EXPECT_FALSE(window.tree->ShowRoot());
  const shell::TShellFolder& desktop = *ItemOf(*root);
  EXPECT_EQ(shell::CountIdElements(desktop.FullId()), 0u);
  EXPECT_EQ(window.tree->SelectedPath(), desktop.FileSystemPath());
  ASSERT_TRUE(root->GetFirstChild());
  for (TTreeNode* node = root->GetFirstChild(); node->GetNextSibling();
       node = node->GetNextSibling()) {
    EXPECT_LE(shell::CompareSiblings(*ItemOf(*node), *ItemOf(*node->GetNextSibling())), 0);
    EXPECT_GE(node->ImageIndex(), 0) << "no shell icon";
  }
  EXPECT_EQ(TreeView_GetImageList(window.tree->Handle(), TVSIL_NORMAL),
            reinterpret_cast<HIMAGELIST>([] {
              SHFILEINFOW info{};
              return SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info),
                                    SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
            }()));
}

TEST(ShellTree, SelectsAPathBelowTheRootAndReadsItBack) {
  const ShellFolders folders({L"上\\中\\下", L"上\\caf\u00e9\\下", L"横"});
  const ShellTreeWindow window(RootAt(folders.Path(L"上")));
  const struct {
    std::wstring path;
    const wchar_t* selected;  // the node's path below the root, or null for none
  } cases[] = {
      {L"上\\中\\下", L"中\\下"},
      {L"上\\caf\u00e9\\下", L"caf\u00e9\\下"},
      {L"上\\caf\u00e9", L"caf\u00e9"},
      {L"上", L""},
      {L"横", nullptr},
  };
  for (const auto& c : cases) {
    const std::string path = NarrowCp932(folders.Path(c.path));
    window.tree->SetSelectedPath(path);
    if (!c.selected) {
      EXPECT_FALSE(window.tree->Selected()) << path;
      EXPECT_EQ(window.tree->SelectedPath(), "");
      continue;
    }
    TTreeNode* selected = window.tree->Selected();
    ASSERT_TRUE(selected) << path;
    EXPECT_EQ(selected, window.Node(c.selected)) << path;
    EXPECT_EQ(window.tree->SelectedPath(), path);
    for (TTreeNode* node = selected->Parent(); node; node = node->Parent())
      EXPECT_TRUE(node->Expanded());
  }
  // A namesake in a folder listed before is not the folder looked for.
  EXPECT_EQ(window.tree->FindNodeById(ParsedId(folders.Path(L"上\\caf\u00e9\\下")).get(),
                                      window.tree->GetFirstNode()),
            window.Node(L"caf\u00e9\\下"));
  window.tree->SetSelectedPath(NarrowCp932(folders.Path(L"上")));
  try {
    window.tree->SetSelectedPath("/tmp");
    ADD_FAILURE() << "an unparsable path was taken";
  } catch (const EInvalidPath& error) {
    EXPECT_EQ(error.Message(), Sjis("パス設定エラー : \"/tmp\""));
  }
  EXPECT_EQ(window.tree->Selected(), window.tree->GetFirstNode());
}

TEST(ShellTree, RootTextsThatFailBringThePreviousRootBack) {
  const ShellFolders folders({L"a"});
  const ShellTreeWindow window(RootAt(folders.Path()));
  const std::string first = window.tree->Root();
  const struct {
    std::string text;
    std::string root_after;
    bool fails;
    bool same_root_node = false;
  } cases[] = {
      {"", first, true},
      {NarrowCp932(folders.Path(L"missing")), first, true},
      {"/tmp", first, true},
      {"C:", "C:\\", false},
      // The same text in other letter case changes nothing.
      {"c:\\", "C:\\", false, true},
      {"RFMYCOMPUTER", "RFMYCOMPUTER", false},
  };
  for (const auto& c : cases) {
    const TTreeNode* before = window.tree->GetFirstNode();
    try {
      window.tree->SetRoot(c.text);
      EXPECT_FALSE(c.fails) << c.text;
    } catch (const Exception& error) {
      EXPECT_TRUE(c.fails) << c.text;
      EXPECT_EQ(error.Message(), Sjis("パス設定エラー : \"") + c.text + "\"");
    }
    EXPECT_EQ(window.tree->Root(), c.root_after) << c.text;
    ASSERT_TRUE(window.tree->GetFirstNode());
    EXPECT_TRUE(window.tree->GetFirstNode()->Selected());
    if (c.same_root_node) {
      EXPECT_EQ(window.tree->GetFirstNode(), before) << c.text;
    }
  }
}

TEST(ShellTree, HonoursVetoesAndDroppedFolders) {
  const ShellFolders folders({L"a\\inner", L"b\\inner", L"c"});
  const struct {
    const char* what;
    std::vector<std::wstring> children;
    bool a_expanded, root_expanded, a_button;
  } cases[] = {
      {"expanding", {L"a", L"b", L"c"}, false, false, false},
      {"collapsing", {L"a", L"b", L"c"}, true, true, true},
      {"adding", {L"a", L"c"}, true, false, true},
  };
  for (const auto& c : cases) {
    const std::string veto = c.what;
    const ShellTreeWindow window([&](TShellTreeView& tree) {
      tree.SetRoot(NarrowCp932(folders.Path()));
      tree.OnExpanding.Bind([=](gui::TObject&, TTreeNode& node, bool& allow) {
        allow = !(veto == "expanding" && node.Text() == L"a");
      });
      tree.OnCollapsing.Bind(
          [=](gui::TObject&, TTreeNode&, bool& allow) { allow = veto != "collapsing"; });
      tree.OnAddFolder.Bind([=](gui::TObject&, shell::TShellFolder& folder, bool& can_add) {
        can_add = !(veto == "adding" && folder.WideDisplayText() == L"b");
      });
    });
    TTreeNode& root = *window.tree->GetFirstNode();
    EXPECT_EQ(ShellTreeWindow::ChildTexts(root), c.children) << c.what;
    TTreeNode& a = *root.GetFirstChild();
    a.Expand();
    root.Collapse();
    EXPECT_EQ(a.Expanded(), c.a_expanded) << c.what;
    EXPECT_EQ(root.Expanded(), c.root_expanded) << c.what;
    EXPECT_EQ(a.HasChildren(), c.a_button) << c.what;
  }
}

// The item keeps naming its folder: its path and its full list follow the new name.
TEST(ShellTree, RenamesTheFolderOnDiskWhenALabelIsEdited) {
  const ShellFolders folders({L"old"});
  const ShellTreeWindow window(RootAt(folders.Path()));
  const shell::TShellFolder& parent = *ItemOf(*window.tree->GetFirstNode());
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
    TTreeNode* node = window.Node(current);
    ASSERT_TRUE(node);
    window.EditLabel(*node, c.name);
    EXPECT_EQ(node->Text(), c.name);
    EXPECT_TRUE(std::filesystem::is_directory(folders.Path(c.name))) << NarrowCp932(c.name);
    EXPECT_FALSE(std::filesystem::exists(folders.Path(current)));
    const shell::TShellFolder& item = *ItemOf(*node);
    EXPECT_EQ(item.WideDisplayText(), c.name);
    EXPECT_EQ(item.FileSystemPath(), NarrowCp932(folders.Path() + L"\\") + c.path_tail);
    const AbsoluteIdList joined = shell::JoinIdLists(parent.FullId(), item.LocalId());
    EXPECT_EQ(shell::IdListByteSize(item.FullId()), shell::IdListByteSize(joined.get()));
    EXPECT_TRUE(shell::SameIdList(item.FullId(), joined.get()));
    current = c.name;
  }
}

// Whatever was listed below a renamed folder, and the root itself, names the folder anew.
TEST(ShellTree, NodesBelowARenamedFolderFollowItsNewName) {
  const struct {
    const char* what;
    std::vector<std::wstring> expanded;
    std::wstring renamed, name;  // the node below the root ("" for the root) and its new name
    std::wstring then;           // a node by its new path, expanded, selected and renamed "x"
    std::wstring on_disk;        // that folder's path on disk
    std::vector<std::wstring> children;
    std::wstring root;
  } cases[] = {
      {"a folder never expanded", {}, L"a", L"a2", L"a2", L"top\\a2", {L"b", L"d"}, L"top"},
      {"a child listed", {L"a"}, L"a", L"a2", L"a2\\b", L"top\\a2\\b", {L"c"}, L"top"},
      {"a grandchild listed",
       {L"a", L"a\\b"},
       L"a",
       L"a2",
       L"a2\\b\\c",
       L"top\\a2\\b\\c",
       {},
       L"top"},
      {"the root", {L"a"}, L"", L"top2", L"a\\b", L"top2\\a\\b", {L"c"}, L"top2"},
  };
  for (const auto& c : cases) {
    const ShellFolders folders({L"top\\a\\b\\c", L"top\\a\\d"});
    const ShellTreeWindow window(RootAt(folders.Path(L"top")));
    for (const std::wstring& path : c.expanded) window.Node(path)->Expand();
    window.EditLabel(*window.Node(c.renamed), c.name);
    TTreeNode* node = window.Node(c.then);
    ASSERT_TRUE(node) << c.what;
    node->Expand();
    EXPECT_EQ(ShellTreeWindow::ChildTexts(*node), c.children) << c.what;
    window.tree->SetSelected(node);
    EXPECT_EQ(window.tree->SelectedPath(), NarrowCp932(folders.Path(c.on_disk))) << c.what;
    window.EditLabel(*node, L"x");
    const std::filesystem::path renamed = folders.Path(c.on_disk);
    EXPECT_TRUE(std::filesystem::is_directory(renamed.parent_path() / L"x")) << c.what;
    EXPECT_EQ(window.tree->Root(), NarrowCp932(folders.Path(c.root))) << c.what;
    window.tree->SetObjectTypes(window.tree->ObjectTypes());
    EXPECT_EQ(window.tree->SelectedPath(), window.tree->Root()) << c.what;
  }
}

// The node is listed afresh from the shell; what was expanded and selected below it stays so.
TEST(ShellTree, ReloadsANodeKeepingWhatWasOpenAndSelected) {
  const struct {
    const char* what;
    std::wstring reloaded;
    std::vector<std::wstring> expanded;
    std::wstring selected;
    std::wstring made, removed;  // on disk, below the root, before the reload
    std::vector<std::wstring> children;
    std::vector<std::wstring> expanded_after;  // of "", "a", "a\\b" and "e"
  } cases[] = {
      {"the root",
       L"",
       {L"a", L"a\\b"},
       L"a\\b\\c",
       L"f",
       L"",
       {L"a", L"e", L"f"},
       {L"", L"a", L"a\\b"}},
      {"a folder that lost a sub-folder", L"a", {L"a"}, L"a", L"", L"a\\d", {L"b"}, {L"", L"a"}},
      {"a folder never expanded", L"e", {}, L"", L"e\\g", L"", {L"g"}, {L""}},
  };
  for (const auto& c : cases) {
    const ShellFolders folders({L"top\\a\\b\\c", L"top\\a\\d", L"top\\e"});
    const ShellTreeWindow window(RootAt(folders.Path(L"top")));
    for (const std::wstring& path : c.expanded) window.Node(path)->Expand();
    window.tree->SetSelected(window.Node(c.selected));
    if (!c.made.empty()) folders.Make(L"top\\" + c.made);
    if (!c.removed.empty()) std::filesystem::remove(folders.Path(L"top\\" + c.removed));
    window.tree->ReloadNode(*window.Node(c.reloaded));
    TTreeNode* reloaded = window.Node(c.reloaded, false);
    ASSERT_TRUE(reloaded) << c.what;
    EXPECT_EQ(ShellTreeWindow::ChildTexts(*reloaded), c.children) << c.what;
    for (const std::wstring path : {L"", L"a", L"a\\b", L"e"}) {
      const TTreeNode* node = window.Node(path, false);
      const bool expanded = std::ranges::find(c.expanded_after, path) != c.expanded_after.end();
      EXPECT_EQ(node && node->Expanded(), expanded) << c.what << ": " << NarrowCp932(path);
    }
    EXPECT_EQ(window.tree->Selected(), window.Node(c.selected, false)) << c.what;
    const std::wstring selected = c.selected.empty() ? L"top" : L"top\\" + c.selected;
    EXPECT_EQ(window.tree->SelectedPath(), NarrowCp932(folders.Path(selected))) << c.what;
  }
}

// The watcher follows the selection, also one that the program makes or a new root brings, away
// from the folder "c" that the user chose before; the folders already listed keep a folder made
// inside them from showing any other way.
TEST(ShellTree, ShowsAFolderMadeOnDiskInTheSelectedFolderWhileRefreshingAutomatically) {
  const struct {
    const char* what;
    std::function<void(const ShellTreeWindow&, const ShellFolders&)> select;
    std::wstring listed;  // a node listed before the folder is made, below the root shown then
    std::wstring made;    // below the first root
    std::wstring shown;   // below the root shown then
  } cases[] = {
      {"as opened", [](auto&, auto&) {}, L"a", L"新しい", L"新しい"},
      {"a path selected",
       [](const ShellTreeWindow& window, const ShellFolders& folders) {
         window.tree->SetSelected(window.Node(L"c"));
         window.tree->SetSelectedPath(NarrowCp932(folders.Path(L"a")));
       },
       L"a\\old", L"a\\新しい", L"a\\新しい"},
      {"a new root",
       [](const ShellTreeWindow& window, const ShellFolders& folders) {
         window.tree->SetSelected(window.Node(L"c"));
         window.tree->SetRoot(NarrowCp932(folders.Path(L"b")));
       },
       L"old", L"b\\新しい", L"新しい"},
  };
  for (const auto& c : cases) {
    const ShellFolders folders({L"a\\old", L"b\\old", L"c"});
    const ShellTreeWindow window(RootAt(folders.Path()));
    window.tree->SetAutoRefresh(true);
    c.select(window, folders);
    ASSERT_NE(window.Node(c.listed), nullptr) << c.what;
    folders.Make(c.made);
    EXPECT_TRUE(window.Pump([&] { return window.Node(c.shown, false) != nullptr; })) << c.what;
  }
}

TEST(ShellTree, LeavesNoItemOrListBehind) {
  const ShellFolders folders({L"a\\b\\c", L"d"});
  const auto use = [&] {
    const ShellTreeWindow window(RootAt(folders.Path()));
    window.tree->SetSelectedPath(NarrowCp932(folders.Path(L"a\\b\\c")));
    window.tree->ReloadNode(*window.tree->GetFirstNode());
    window.tree->SetRoot("rfDesktop");
  };
  use();  // the shell's own caches fill once
  const long items = shell::TShellFolder::LiveCount();
  const long blocks = OutstandingTaskBlocks();
  use();
  EXPECT_EQ(shell::TShellFolder::LiveCount(), items);
  EXPECT_EQ(OutstandingTaskBlocks(), blocks);
}

}  // namespace
}  // namespace pem::testing
