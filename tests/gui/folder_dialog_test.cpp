// The select-folder dialog driven as a user would: where it opens and what it starts at, what it
// gives back for each way of closing it, its events and their vetoes, and its failures.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "FolderDialogUnit.h"
#include "SelectFolderDialog.h"
#include "button.h"
#include "dialog_bench.h"
#include "quiet_folder.h"
#include "table_row.h"
#include "temp_dir.h"
#include "tree_probe.h"
#include "ui_probe.h"
#include "win32_text.h"

namespace pem::testing {
namespace {

// a\b\c below a quiet folder, and a folder named ソ (83 5C), whose trail byte is no "\"; each as
// the dialog's text.
struct Tree {
  QuietFolder quiet;
  std::string root = Cp932Text(quiet.path());
  std::string a = Cp932Text(quiet.Folder("a"));
  std::string b = Cp932Text(quiet.Folder("a/b"));
  std::string c = Cp932Text(quiet.Folder("a/b/c"));
  std::string so = Cp932Text(quiet.Folder(L"ソ"));
  std::string drive = "C:";
};
using Folder = std::string Tree::*;

void Ok(const DialogWindows& w) {
  Click(w.ok);
}
void CancelButton(const DialogWindows& w) {
  Click(w.cancel);
}
void Escape(const DialogWindows&) {
  PressKey(VK_ESCAPE);
}
void Enter(const DialogWindows&) {
  PressKey(VK_RETURN);
}
void CloseBox(const DialogWindows& w) {
  PostMessageW(w.form, WM_SYSCOMMAND, SC_CLOSE, 0);
}
// Waits until the tree has taken in what the user did. The window's thread takes a sent message
// before the input queued for it, and input from another thread reaches the queue with a delay
// that grows with the machine's load: so the sync is repeated for a while, not made once.
void Settle(const DialogWindows& w) {
  for (int round = 0; round < 10; ++round) {
    SendMessageW(w.tree, WM_NULL, 0, 0);
    Sleep(20);
  }
}
void SelectB(const DialogWindows& w) {
  ASSERT_TRUE(SelectChild(w.tree, L"b"));
  Settle(w);
}

bool IsDefault(HWND button) {
  return (GetWindowLongW(button, GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
}
DWORD ThreadOf(const DialogWindows& w) {
  return GetWindowThreadProcessId(w.form, nullptr);
}

using Preparation = std::function<void(TSelectFolderDialog&)>;
Preparation DefaultIs(TDefaultButton button) {
  return [button](TSelectFolderDialog& d) { d.SetDefaultButton(button); };
}
void FocusDefaultButton(TSelectFolderDialog& d) {
  d.SetFocusedControl(TFocusedControl::fcDefaultButton);
}

TEST(SelectFolderDialog, OpensWithItsDefaultsAsTheMainWindowUsesIt) {
  DialogBench bench;
  std::wstring title, message;
  LONG style = 0;
  bool ok_default = true, cancel_default = true, root_selected = false, open_after_enter = false;
  bool focus_in_tree = false;
  const bool result = bench.Execute([&](const DialogWindows& w) {
    title = WindowText(w.form);
    message = WindowText(w.message);
    style = GetWindowLongW(w.form, GWL_STYLE);
    ok_default = IsDefault(w.ok);
    cancel_default = IsDefault(w.cancel);
    root_selected = Selected(w.tree) == RootItem(w.tree) && RootItem(w.tree);
    focus_in_tree = FocusOf(ThreadOf(w)) == w.tree;
    Enter(w);
    Settle(w);
    open_after_enter = IsWindowVisible(w.form) != FALSE;
    Escape(w);
  });
  EXPECT_FALSE(result);
  EXPECT_EQ(bench.Dialog().Path(), "");
  EXPECT_EQ(title, L"gui_test");
  EXPECT_EQ(message, L"");
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(ok_default);
  EXPECT_FALSE(cancel_default);
  EXPECT_TRUE(root_selected);
  EXPECT_TRUE(focus_in_tree);
  EXPECT_TRUE(open_after_enter) << "with no default button Enter presses nothing";
}

TEST(SelectFolderDialog, KeepsTheButtonsAtTheRightEdgeAndTheTreeBetweenThePanels) {
  DialogBench bench;
  const auto layout = [](const DialogWindows& w) {
    const SIZE client = ClientSize(w.form);
    RECT ok{}, cancel{}, tree{};
    for (auto [window, rect] : {std::pair{w.ok, &ok}, {w.cancel, &cancel}, {w.tree, &tree}}) {
      GetWindowRect(window, rect);
      MapWindowPoints(HWND_DESKTOP, w.form, reinterpret_cast<POINT*>(rect), 2);
    }
    return std::vector<LONG>{client.cx - ok.right, client.cx - cancel.right, ok.top - tree.bottom,
                             client.cx - (tree.right - tree.left),
                             client.cy - (tree.bottom - tree.top)};
  };
  std::vector<LONG> before, after;
  bench.Execute([&](const DialogWindows& w) {
    before = layout(w);
    SetWindowPos(w.form, nullptr, 0, 0, 450, 420, SWP_NOMOVE | SWP_NOZORDER);
    after = layout(w);
    Escape(w);
  });
  EXPECT_EQ(after, before);
}

struct EndingCase : Row {
  Preparation set_up;
  bool move;  // to b before closing; the dialog starts at a
  void (*close)(const DialogWindows&);
  bool result;
};

class DialogEnding : public ::testing::TestWithParam<EndingCase> {};

TEST_P(DialogEnding, GivesTheChosenFolderOnlyForOk) {
  const EndingCase& c = GetParam();
  const Tree tree;
  DialogBench bench;
  bench.Dialog().SetPath(tree.a);
  if (c.set_up) c.set_up(bench.Dialog());
  EXPECT_EQ(bench.Execute([&](const DialogWindows& w) {
    if (c.move) SelectB(w);
    c.close(w);
  }),
            c.result);
  EXPECT_EQ(bench.Dialog().Path(), c.result ? (c.move ? tree.b : tree.a) + "\\" : tree.a);
}

void FocusOnOkAndEnter(const DialogWindows& w) {
  EXPECT_TRUE(IsDefault(w.ok));
  EXPECT_EQ(FocusOf(ThreadOf(w)), w.ok);
  Enter(w);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, DialogEnding,
    ::testing::Values(
        EndingCase{"OkAfterMoving", nullptr, true, Ok, true},
        EndingCase{"CancelAfterMoving", nullptr, true, CancelButton, false},
        EndingCase{"EscapeAfterMoving", nullptr, true, Escape, false},
        EndingCase{"CloseBoxAfterMoving", nullptr, true, CloseBox, false},
        EndingCase{"EnterOnDefaultOk", DefaultIs(TDefaultButton::btOk), true, Enter, true},
        EndingCase{"EnterOnDefaultCancel", DefaultIs(TDefaultButton::btCancel), true, Enter, false},
        EndingCase{"FocusOnDefaultButtonMakesOkTheDefault", FocusDefaultButton, false,
                   FocusOnOkAndEnter, true}),
    RowName);

struct CloseQueryCase : Row {
  void (*press)(const DialogWindows&);
  bool throws;  // the first answer is an error rather than a refusal
  bool result;
};

class DialogCloseQuery : public ::testing::TestWithParam<CloseQueryCase> {};

TEST_P(DialogCloseQuery, ThatRefusesKeepsTheWindowOpenForTheNextTry) {
  const CloseQueryCase& c = GetParam();
  const Tree tree;
  DialogBench bench;
  TSelectFolderDialog& dialog = bench.Dialog();
  dialog.SetPath(tree.a);
  int queries = 0, closes = 0;
  dialog.OnCanClose.Bind([&](gui::TObject& sender, bool& can_close) {
    EXPECT_EQ(&sender, &dialog);
    EXPECT_TRUE(can_close);
    if (queries++ > 0) return;
    if (c.throws) throw Exception("refused");
    can_close = false;
  });
  dialog.OnClose.Bind([&](gui::TObject&) { ++closes; });
  bool open_after_refusal = false;
  MessageBoxSeen error;
  const bool result = bench.Execute([&](const DialogWindows& w) {
    c.press(w);
    if (c.throws) error = AnswerMessageBox(ThreadOf(w), w.form);
    Settle(w);
    open_after_refusal = IsWindowVisible(w.form) != FALSE;
    c.press(w);
  });
  EXPECT_EQ(result, c.result);
  EXPECT_TRUE(open_after_refusal);
  EXPECT_EQ(queries, 2);
  EXPECT_EQ(closes, 1);
  if (c.throws) {
    EXPECT_EQ(error.text, L"refused.");
    EXPECT_EQ(error.icon, ErrorIcon());
  }
}

INSTANTIATE_TEST_SUITE_P(Buttons, DialogCloseQuery,
                         ::testing::Values(CloseQueryCase{"Ok", Ok, false, true},
                                           CloseQueryCase{"Cancel", CancelButton, false, false},
                                           CloseQueryCase{"OkWithAnError", Ok, true, true}),
                         RowName);

// Every event of the dialog as "event node selected", with the quiet folder's path as "~".
class EventLog {
 public:
  EventLog(TSelectFolderDialog& dialog, const Tree& tree) : prefix_(tree.root) {
    // The events before a change also pass its permission, which starts granted.
    const auto record = [this, &dialog](const char* name) {
      return [this, &dialog, name](gui::TObject& sender, gui::TTreeNode* node,
                                   const std::string& selected, auto&... allow) {
        EXPECT_EQ(&sender, &dialog);
        EXPECT_TRUE((allow && ... && true));
        Add(name, node, selected);
      };
    };
    dialog.OnSelect.Bind(record("select"));
    dialog.OnExpanded.Bind(record("expanded"));
    dialog.OnCollapsed.Bind(record("collapsed"));
    dialog.OnExpanding.Bind(record("expanding"));
    dialog.OnCollapsing.Bind(record("collapsing"));
    dialog.OnShow.Bind([this](gui::TObject&) { entries.push_back("show"); });
    dialog.OnCanClose.Bind([this](gui::TObject&, bool&) { entries.push_back("can close"); });
    dialog.OnClose.Bind([this](gui::TObject&) { entries.push_back("close"); });
  }

  std::vector<std::string> entries;

 private:
  void Add(const char* name, gui::TTreeNode* node, const std::string& selected) {
    std::string shown = selected;
    if (shown.starts_with(prefix_)) shown = "~" + shown.substr(prefix_.size());
    entries.push_back(std::string(name) + " " + (node ? NarrowCp932(node->Text()) : "-") + " " +
                      shown);
  }

  std::string prefix_;
};

TEST(SelectFolderDialog, RaisesEveryEventWithTheSelectedFolderNotTheNodes) {
  const Tree tree;
  DialogBench bench;
  bench.Dialog().SetPath(tree.root);
  EventLog log(bench.Dialog(), tree);
  EXPECT_FALSE(bench.Execute([&](const DialogWindows& w) {
    const HTREEITEM a = ChildNamed(w.tree, Selected(w.tree), L"a");
    ASSERT_NE(a, nullptr);
    Expand(w.tree, a);
    Select(w.tree, a);
    // The control reports a collapse that the user asks for, not one that a program sends.
    PressKey(VK_SUBTRACT);
    Settle(w);
    Escape(w);
  }));
  const std::string quiet_name = tree.quiet.path().filename().string();
  EXPECT_EQ(log.entries, (std::vector<std::string>{
                             "show",
                             "expanding " + quiet_name + " ~\\",
                             "expanded " + quiet_name + " ~\\",
                             "expanding a ~\\",
                             "expanded a ~\\",
                             "select a ~\\a\\",
                             "collapsing a ~\\a\\",
                             "collapsed a ~\\a\\",
                             "can close",
                             "close",
                         }));
}

struct VetoCase : Row {
  bool refuse_expanding;
  std::vector<WORD> keys;  // pressed with the folder selected
  bool expanded_after;
};

class DialogVeto : public ::testing::TestWithParam<VetoCase> {};

TEST_P(DialogVeto, KeepsTheNodeAsItWas) {
  const VetoCase& c = GetParam();
  const Tree tree;
  DialogBench bench;
  TSelectFolderDialog& dialog = bench.Dialog();
  dialog.SetPath(tree.a);
  const auto refuse = [](gui::TObject&, gui::TTreeNode*, const std::string&, bool& allow) {
    allow = false;
  };
  if (c.refuse_expanding)
    dialog.OnExpanding.Bind(refuse);
  else
    dialog.OnCollapsing.Bind(refuse);
  bool expanded = !c.expanded_after;
  bench.Execute([&](const DialogWindows& w) {
    for (WORD key : c.keys) {
      PressKey(key);
      Settle(w);
    }
    expanded = IsExpanded(w.tree, Selected(w.tree));
    Escape(w);
  });
  EXPECT_EQ(expanded, c.expanded_after);
}

INSTANTIATE_TEST_SUITE_P(Vetoes, DialogVeto,
                         ::testing::Values(VetoCase{"Expanding", true, {VK_ADD}, false},
                                           VetoCase{
                                               "Collapsing", false, {VK_ADD, VK_SUBTRACT}, true}),
                         RowName);

TEST(SelectFolderDialog, TextWrittenFromAnEventShowsAtOnce) {
  const Tree tree;
  DialogBench bench;
  TSelectFolderDialog& dialog = bench.Dialog();
  dialog.SetPath(tree.a);
  dialog.SetText("start");
  dialog.OnSelect.Bind([&](gui::TObject&, gui::TTreeNode*, const std::string& selected) {
    dialog.SetText(selected);
  });
  std::wstring before, after;
  bench.Execute([&](const DialogWindows& w) {
    before = WindowText(w.message);
    SelectB(w);
    after = WindowText(w.message);
    Escape(w);
  });
  EXPECT_EQ(before, L"start");
  EXPECT_EQ(after, WidenCp932(tree.b + "\\"));
}

TEST(SelectFolderDialog, NeverFocusesADefaultButtonThatDoesNotExist) {
  using B = TDefaultButton;
  using F = TFocusedControl;
  const struct {
    std::vector<Preparation> steps;
    B button;
    F focus;
  } cases[] = {
      {{FocusDefaultButton, DefaultIs(B::btNone)}, B::btNone, F::fcTreeView},
      {{DefaultIs(B::btCancel), FocusDefaultButton}, B::btCancel, F::fcDefaultButton},
      {{FocusDefaultButton, DefaultIs(B::btCancel)}, B::btCancel, F::fcDefaultButton},
  };
  for (const auto& c : cases) {
    TSelectFolderDialog dialog;
    for (const Preparation& step : c.steps) step(dialog);
    EXPECT_EQ(dialog.DefaultButton(), c.button);
    EXPECT_EQ(dialog.FocusedControl(), c.focus);
  }
}

struct PlaceCase : Row {
  std::function<void(TSelectFolderDialog&, gui::TForm& owner)> set_up;
  std::function<RECT()> expected;  // outer bounds
};

class DialogPlacement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(DialogPlacement, FollowsSizeAndPositionInScreenPixels) {
  DialogBench bench;
  GetParam().set_up(bench.Dialog(), bench.MainForm());
  RECT outer{};
  LONG style = 0;
  bench.Execute([&](const DialogWindows& w) {
    GetWindowRect(w.form, &outer);
    style = GetWindowLongW(w.form, GWL_STYLE);
    Escape(w);
  });
  const RECT expected = GetParam().expected();
  EXPECT_EQ((std::array{outer.left, outer.top, outer.right, outer.bottom}),
            (std::array{expected.left, expected.top, expected.right, expected.bottom}));
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

int ScreenWidth() {
  return GetSystemMetrics(SM_CXSCREEN);
}
int WorkBottom() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work.bottom;
}
RECT Centred(int width, int height) {
  const int left = (ScreenWidth() - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return {left, top, left + width, top + height};
}
RECT At(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}
// The dialog's sizes and places are meant at 96 dots per inch.
const int kWidth = AtScreenDpi(307);
const int kHeight = AtScreenDpi(352);
void OwnerCentred(TSelectFolderDialog& dialog, gui::TForm& owner, RECT bounds) {
  dialog.SetPosition(TDialogPosition::dpOwnerCenter);
  owner.SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
}

INSTANTIATE_TEST_SUITE_P(
    Places, DialogPlacement,
    ::testing::Values(
        PlaceCase{"CustomSizeAndPlace",
                  [](TSelectFolderDialog& d, gui::TForm&) {
                    d.SetDialogSize(TDialogSize::dsCustom);
                    d.SetDialogWidth(400);
                    d.SetDialogHeight(300);
                    d.SetPosition(TDialogPosition::dpCustom);
                    d.SetDialogLeft(10);
                    d.SetDialogTop(20);
                  },
                  [] {
                    return At(AtScreenDpi(10), AtScreenDpi(20), AtScreenDpi(400), AtScreenDpi(300));
                  }},
        PlaceCase{"CustomValuesUnusedByTheDefaults",
                  [](TSelectFolderDialog& d, gui::TForm&) {
                    d.SetDialogWidth(400);
                    d.SetDialogHeight(300);
                    d.SetDialogLeft(10);
                    d.SetDialogTop(20);
                  },
                  [] { return Centred(kWidth, kHeight); }},
        PlaceCase{"FixedFrameKeepsTheOuterSize",
                  [](TSelectFolderDialog& d, gui::TForm&) {
                    d.SetSizeable(false);
                    d.SetPosition(TDialogPosition::dpCustom);
                  },
                  [] { return At(0, 0, kWidth, kHeight); }},
        PlaceCase{"OwnerCentreLargerThanTheOwner",
                  [](TSelectFolderDialog& d, gui::TForm& owner) {
                    OwnerCentred(d, owner, At(300, 300, 100, 100));
                  },
                  [] { return At(350 - kWidth / 2, 350 - kHeight / 2, kWidth, kHeight); }},
        PlaceCase{"OwnerCentreNearTheRightEdge",
                  [](TSelectFolderDialog& d, gui::TForm& owner) {
                    OwnerCentred(d, owner, At(ScreenWidth() - 100, 100, 300, 200));
                  },
                  [] {
                    return At(ScreenWidth() - kWidth, std::max(0, 200 - kHeight / 2), kWidth,
                              kHeight);
                  }},
        PlaceCase{"OwnerCentreNearTheBottomEdge",
                  [](TSelectFolderDialog& d, gui::TForm& owner) {
                    OwnerCentred(d, owner, At(100, WorkBottom() - 50, 300, 200));
                  },
                  [] { return At(250 - kWidth / 2, WorkBottom() - kHeight, kWidth, kHeight); }}),
    RowName);

struct StartCase : Row {
  TRootFolder root;
  Folder custom;     // null: none
  Folder given;      // the path set
  const char* tail;  // written after the given folder
  Folder selected;   // Path after OK without moving, with a backslash; null: nothing is selected,
                     // OK gives false and leaves Path as set
};

class DialogStartFolder : public ::testing::TestWithParam<StartCase> {};

TEST_P(DialogStartFolder, IsTheNearestExistingOneBelowTheRootAndComesBackWithOneBackslash) {
  const StartCase& c = GetParam();
  const Tree tree;
  DialogBench bench;
  TSelectFolderDialog& dialog = bench.Dialog();
  dialog.SetRoot(c.root);
  dialog.SetCustomRootFolder(c.custom ? tree.*c.custom : "");
  const std::string given = tree.*c.given + c.tail;
  dialog.SetPath(given);
  // The focus stays off the tree: a tree view that gets the focus with nothing selected selects
  // its first node.
  FocusDefaultButton(dialog);
  bool selected = false;
  EXPECT_EQ(bench.Execute([&](const DialogWindows& w) {
    selected = Selected(w.tree) != nullptr;
    Ok(w);
  }),
            c.selected != nullptr);
  EXPECT_EQ(selected, c.selected != nullptr);
  EXPECT_EQ(dialog.Path(), c.selected ? tree.*c.selected + "\\" : given);
}

constexpr TRootFolder kDesktop = TRootFolder::rfDesktop;
constexpr TRootFolder kMyComputer = TRootFolder::rfMyComputer;
constexpr TRootFolder kCustom = TRootFolder::rfCustom;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Paths, DialogStartFolder, ::testing::Values(
    //        name                         root         custom     given         tail       selected
    StartCase{"Folder",                    kDesktop,    nullptr,   &Tree::b,     "",        &Tree::b},
    StartCase{"FolderWithBackslash",       kDesktop,    nullptr,   &Tree::b,     "\\",      &Tree::b},
    StartCase{"MissingTwoLevelsBelow",     kDesktop,    nullptr,   &Tree::a,     "\\x\\y",  &Tree::a},
    StartCase{"DriveRoot",                 kDesktop,    nullptr,   &Tree::drive, "\\",      &Tree::drive},
    StartCase{"NameEndingInTrailByte",     kDesktop,    nullptr,   &Tree::so,    "",        &Tree::so},
    StartCase{"CustomRootWithPathInside",  kCustom,     &Tree::a,  &Tree::b,     "",        &Tree::b},
    StartCase{"CustomRootWithPathOutside", kCustom,     &Tree::so, &Tree::b,     "",        nullptr},
    StartCase{"MyComputerWithPathInside",  kMyComputer, nullptr,   &Tree::b,     "",        &Tree::b}),
    RowName);
// clang-format on

TEST(SelectFolderDialog, GivesTheTreeARootNameItKnowsForEveryRoot) {
  DialogBench bench;
  for (int root = 0; root < static_cast<int>(TRootFolder::rfCustom); ++root) {
    bench.Dialog().SetRoot(static_cast<TRootFolder>(root));
    bool shown = false;
    EXPECT_NO_THROW(bench.Execute([&](const DialogWindows& w) {
      shown = RootItem(w.tree) != nullptr;
      Escape(w);
    })) << "root "
        << root;
    EXPECT_TRUE(shown) << "root " << root;
  }
}

TEST(SelectFolderDialog, BuildsANewWindowForEveryExecute) {
  const Tree tree;
  DialogBench bench;
  bench.Dialog().SetPath(tree.a);
  HWND first = nullptr;
  EXPECT_TRUE(bench.Execute([&](const DialogWindows& w) {
    first = w.form;
    SelectB(w);
    Ok(w);
  }));
  EXPECT_FALSE(IsWindow(first));
  std::wstring selected;
  EXPECT_TRUE(bench.Execute([&](const DialogWindows& w) {
    selected = SelectedText(w.tree);
    Ok(w);
  }));
  EXPECT_EQ(selected, L"b");
  EXPECT_EQ(bench.Dialog().Path(), tree.b + "\\");
}

TEST(SelectFolderDialog, RefusesToExecuteWhileItsWindowShows) {
  DialogBench bench;
  TSelectFolderDialog& dialog = bench.Dialog();
  bool nested = true;
  dialog.OnShow.Bind([&](gui::TObject&) { nested = dialog.Execute(); });
  bench.Execute(Escape);
  EXPECT_FALSE(nested);
}

TEST(SelectFolderDialog, AnUnusableRootReachesTheErrorDisplayWithTheWindowGone) {
  DialogBench bench;
  TSelectFolderDialog& dialog = bench.Dialog();
  dialog.SetRoot(TRootFolder::rfCustom);
  dialog.SetCustomRootFolder("C:\\pemconv-no-such-folder\\x");
  dialog.SetPath("C:\\");
  int events = 0;
  dialog.OnShow.Bind([&](gui::TObject&) { ++events; });
  dialog.OnSelect.Bind([&](gui::TObject&, gui::TTreeNode*, const std::string&) { ++events; });
  gui::TForm& main = bench.MainForm();
  gui::TButton& browse = main.Create<gui::TButton>(main, gui::ControlLayout{10, 10, 80, 25, "..."});
  browse.OnClick.Bind([&](gui::TObject&) { dialog.Execute(); });

  const DWORD thread = GetCurrentThreadId();
  HWND form_while_shown = reinterpret_cast<HWND>(1);
  MessageBoxSeen box;
  std::thread user([&] {
    Click(browse.Handle());
    WaitUntil([&] { return FindDialog(thread) != nullptr; });
    form_while_shown = FindDialogForm(thread);
    box = AnswerMessageBox(thread, main.Handle());
    PostMessageW(main.Handle(), WM_CLOSE, 0, 0);
  });
  bench.Application().Run();
  user.join();

  EXPECT_EQ(form_while_shown, nullptr);
  EXPECT_NE(box.text, L"");
  EXPECT_EQ(box.caption, L"gui_test");
  EXPECT_EQ(box.icon, ErrorIcon());
  EXPECT_EQ(events, 0);
  EXPECT_EQ(dialog.Path(), "C:\\");
}

}  // namespace
}  // namespace pem::testing
