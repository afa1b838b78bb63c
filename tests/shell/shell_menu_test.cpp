// The shell's context menu on a node of the tree, shown and chosen from as a user would, over
// folders made on disk. The menu and the boxes its commands show are modal on the tree's
// thread: a second thread reads them and presses the keys and buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "mouse_input.h"
#include "shell_fixture.h"
#include "shell_tree_window.h"
#include "ui_probe.h"
#include "win32_owners.h"
#include "win32_text.h"

namespace pem::testing {
namespace {

using gui::TTreeNode;

enum class Gesture {
  right_click,
  menu_key,
  // Wine's folder menu has no rename item: the tree is handed the verb as a menu offering it
  // would hand it.
  verb_only,
};

// The command that the item's menu, filled as the tree fills it, gives the verb; 0 without one.
UINT CommandOfVerb(const shell::TShellFolder& item, HWND owner, const std::string& verb) {
  ComPtr<IContextMenu> menu;
  const ITEMIDLIST* items[] = {item.LocalId()};
  if (item.ParentFolder()->GetUIObjectOf(owner, 1, items, IID_IContextMenu, nullptr,
                                         reinterpret_cast<void**>(menu.put())) != S_OK)
    return 0;
  const UniqueMenu popup(CreatePopupMenu());
  menu->QueryContextMenu(popup.get(), 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME);
  for (int position = 0; position < GetMenuItemCount(popup.get()); ++position) {
    const UINT command = GetMenuItemID(popup.get(), position);
    std::array<char, 256> name{};
    if (command != 0 && command != static_cast<UINT>(-1) &&
        SUCCEEDED(
            menu->GetCommandString(command - 1, GCS_VERBA, nullptr, name.data(), name.size())) &&
        verb == name.data())
      return command;
  }
  return 0;
}

HWND ShownMenu(DWORD thread) {
  return FindThreadWindow(thread, [](HWND window) {
    return IsWindowVisible(window) && ClassName(window) == L"#32768";
  });
}

int PositionOf(HMENU menu, UINT command) {
  for (int position = 0; position < GetMenuItemCount(menu); ++position) {
    if (GetMenuItemID(menu, position) == command) return position;
  }
  return -1;
}

// Clicks the command's item as a user takes it, once the menu has the mouse: an item found by
// arrow keys could be passed by a key still on its way, or moved off by the pointer's hover.
// Escape closes the menu when it lacks the command (or none is wanted); it goes again until
// the menu is gone, as a second one only reaches the tree.
bool ChooseFromMenu(HWND shown, UINT command) {
  const DWORD ui = GetWindowThreadProcessId(shown, nullptr);
  const bool tracking = WaitUntil([&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(ui, &info) && (info.flags & GUI_INMENUMODE) != 0;
  });
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(shown, MN_GETHMENU, 0, 0));
  const int position = command == 0 ? -1 : PositionOf(menu, command);
  RECT item{};
  if (tracking && position >= 0 && GetMenuItemRect(nullptr, menu, position, &item)) {
    ClickAt({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    return WaitUntil([&] { return !IsWindowVisible(shown); });
  }
  for (int attempt = 0; attempt < 5 && IsWindowVisible(shown); ++attempt) {
    PressKey(VK_ESCAPE);
    WaitUntil([&] { return !IsWindowVisible(shown); }, 2000ms);
  }
  return false;
}

std::wstring CurrentDirectory() {
  std::wstring directory(GetCurrentDirectoryW(0, nullptr), L'\0');
  directory.resize(GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data()));
  if (directory.size() > 3 && directory.back() == L'\\') directory.pop_back();
  return directory;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
  std::ranges::sort(names);
  return names;
}

std::vector<std::wstring> FoldersIn(const std::wstring& path) {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    if (entry.is_directory()) names.push_back(entry.path().filename().wstring());
  }
  return Sorted(names);
}

struct Row {
  const char* what;
  Gesture gesture;
  std::string verb{};           // empty: the menu is closed with Escape
  std::vector<int> answers{};   // the buttons pressed on the boxes that the command shows, in turn
  bool held_open = false;       // another program has the folder open, so it cannot go
  bool runs_in_folder = false;  // the command runs with the holding folder as current one
  std::wstring typed{};         // the new label
  std::vector<std::wstring> after{};  // the root's folders afterwards, on disk and as nodes
};

// What the second thread saw and did while the tree's thread was busy with the command.
struct Seen {
  bool menu = false;
  bool chosen = false;
  std::vector<std::wstring> boxes;  // their captions
  std::wstring directory_during_box;
  // Menus and boxes still open once the row was done, closed so that the test goes on.
  std::vector<std::wstring> left_over;
};

void Drive(const Row& row, const ShellTreeWindow& window, UINT command, Seen& seen) {
  const DWORD ui = GetWindowThreadProcessId(window.tree->Handle(), nullptr);
  if (row.gesture == Gesture::verb_only) {
    WaitUntil([&] { return window.tree->IsEditing(); });
    TypeText(row.typed);
    PressKey(VK_RETURN);
    return;
  }
  HWND menu = nullptr;
  seen.menu = WaitUntil([&] { return (menu = ShownMenu(ui)) != nullptr; });
  if (!seen.menu) return;
  seen.chosen = ChooseFromMenu(menu, command);
  for (const int answer : row.answers) {
    if (!WaitUntil([&] { return FindDialog(ui) != nullptr; })) return;
    if (seen.boxes.empty()) seen.directory_during_box = CurrentDirectory();
    seen.boxes.push_back(AnswerMessageBox(ui, window.form->Handle(), answer).caption);
  }
}

void CloseLeftOvers(DWORD ui, Seen& seen) {
  if (const HWND menu = ShownMenu(ui)) {
    seen.left_over.push_back(L"a menu");
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    WaitUntil([&] { return !IsWindowVisible(menu); }, 2000ms);
  }
  if (const HWND box = FindDialog(ui)) {
    seen.left_over.push_back(WindowText(box));
    PostMessageW(box, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindowVisible(box); }, 2000ms);
  }
}

void Perform(const Row& row, const ShellTreeWindow& window, TTreeNode& target) {
  shell::TCustomShellTreeView& tree = *window.tree;
  switch (row.gesture) {
    case Gesture::right_click: {
      RECT rect{};
      TreeView_GetItemRect(tree.Handle(), target.ItemId(), &rect, TRUE);
      POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
      ClientToScreen(tree.Handle(), &point);
      ClickAt(point, MouseButton::right);
      break;
    }
    case Gesture::menu_key:
      PressKey(VK_APPS);
      break;
    case Gesture::verb_only: {
      bool handled = false;
      static_cast<shell::IShellMenuCommandHook&>(tree).BeforeCommand(row.verb, handled);
      EXPECT_TRUE(handled) << row.what;
      break;
    }
  }
}

TEST(ShellTreeMenu, RunsTheChosenCommandOnTheNodesFolder) {
  const std::wstring target_name = L"日本語";
  const Row rows[] = {
      {.what = "delete, confirmed",
       .gesture = Gesture::right_click,
       .verb = "delete",
       .answers = {IDYES},
       .after = {L"other"}},
      {.what = "delete, declined",
       .gesture = Gesture::menu_key,
       .verb = "delete",
       .answers = {IDNO},
       .after = {L"other", target_name}},
      // The folder cannot go to the recycle bin, nor be deleted when the second box offers it.
      {.what = "delete of a folder held open",
       .gesture = Gesture::right_click,
       .verb = "delete",
       .answers = {IDYES, IDYES},
       .held_open = true,
       .after = {L"other", target_name}},
      // This Wine has no program that opens folders: it says so in a box.
      {.what = "open",
       .gesture = Gesture::menu_key,
       .verb = "open",
       .answers = {IDOK},
       .runs_in_folder = true,
       .after = {L"other", target_name}},
      {.what = "menu closed", .gesture = Gesture::menu_key, .after = {L"other", target_name}},
      {.what = "rename",
       .gesture = Gesture::verb_only,
       .verb = "rename",
       .typed = L"renamed",
       .after = {L"other", L"renamed"}},
  };
  for (const Row& row : rows) {
    const ShellFolders folders({target_name, L"other"});
    UniqueFileHandle held;
    if (row.held_open) {
      held.reset(CreateFileW(folders.Path(target_name).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr));
      ASSERT_TRUE(held) << row.what;
    }
    const ShellTreeWindow window(
        [&](shell::TShellTreeView& tree) { tree.SetRoot(NarrowCp932(folders.Path())); });
    TTreeNode* target = window.Node(target_name);
    ASSERT_TRUE(target) << row.what;
    // A right click selects the node itself; the keys show the selected node's menu.
    if (row.gesture != Gesture::right_click) window.tree->SetSelected(target);
    SetForegroundWindow(window.form->Handle());
    SetFocus(window.tree->Handle());
    const UINT command = row.verb.empty()
                             ? 0
                             : CommandOfVerb(*shell::TCustomShellTreeView::ItemOf(*target),
                                             window.tree->Handle(), row.verb);
    const std::wstring directory = CurrentDirectory();
    Seen seen;
    std::atomic<bool> driven = false;
    std::atomic<bool> returned = false;
    std::thread driver([&] {
      Drive(row, window, command, seen);
      driven = true;
      // The tree's thread comes back from the command unless something modal is left open.
      const DWORD ui = GetWindowThreadProcessId(window.tree->Handle(), nullptr);
      while (!WaitUntil([&] { return returned.load(); }, 3000ms)) CloseLeftOvers(ui, seen);
    });
    Perform(row, window, *target);
    const bool done = window.Pump([&] { return driven && !window.tree->IsEditing(); });
    returned = true;
    driver.join();
    EXPECT_TRUE(done) << row.what;

    EXPECT_EQ(seen.menu, row.gesture != Gesture::verb_only) << row.what;
    EXPECT_EQ(seen.chosen, command != 0) << row.what;
    EXPECT_EQ(seen.boxes.size(), row.answers.size()) << row.what;
    EXPECT_EQ(std::ranges::count(seen.boxes, L""), 0) << row.what;
    if (!row.answers.empty()) {
      EXPECT_EQ(seen.directory_during_box, row.runs_in_folder ? folders.Path() : directory)
          << row.what;
    }
    EXPECT_EQ(seen.left_over, std::vector<std::wstring>()) << row.what;
    EXPECT_EQ(CurrentDirectory(), directory) << row.what;
    held.reset();
    EXPECT_EQ(FoldersIn(folders.Path()), Sorted(row.after)) << row.what;
    EXPECT_EQ(Sorted(ShellTreeWindow::ChildTexts(*window.tree->GetFirstNode())), Sorted(row.after))
        << row.what;
  }
}

}  // namespace
}  // namespace pem::testing
