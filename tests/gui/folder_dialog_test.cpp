// The select-folder dialog driven as a user would: where it opens and what it starts at, what it
// gives back for each way of closing it, its events and their vetoes, and its failures.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "FolderDialogUnit.h"
#include "SelectFolderDialog.h"
#include "button.h"
#include "dialog_bench.h"
#include "quiet_folder.h"
#include "temp_dir.h"
#include "tree_probe.h"
#include "ui_probe.h"

namespace pem::testing {
namespace {

// a\b\c below a quiet folder, and a folder named ソ (83 5C), whose trail byte is no "\".
struct Tree {
  QuietFolder quiet;
  std::filesystem::path a = quiet.Folder("a");
  std::filesystem::path b = quiet.Folder("a/b");
  std::filesystem::path c = quiet.Folder("a/b/c");
  std::filesystem::path so = quiet.Folder(L"ソ");

  std::string Text(const std::filesystem::path& path) const { return Cp932Text(path); }
  std::string Slashed(const std::filesystem::path& path) const { return Text(path) + "\\"; }
};

void Ok(const DialogWindows& w) {
  Click(w.ok);
}
void CancelButton(const DialogWindows& w) {
  Click(w.cancel);
}
void Escape(const DialogWindows&) {
  PressKey(VK_ESCAPE);
}
void CloseBox(const DialogWindows& w) {
  PostMessageW(w.form, WM_SYSCOMMAND, SC_CLOSE, 0);
}
// Waits until the tree has taken in what the user did.
void Settle(const DialogWindows& w) {
  SendMessageW(w.tree, WM_NULL, 0, 0);
}
void SelectB(const DialogWindows& w) {
  ASSERT_TRUE(SelectChild(w.tree, L"b"));
  Settle(w);
}

bool IsDefault(HWND button) {
  return (GetWindowLongW(button, GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
}

TEST(SelectFolderDialog, OpensWithItsDefaultsAsTheMainWindowUsesIt) {
  DialogBench bench;
  RECT outer{};
  std::wstring title, message;
  LONG style = 0;
  bool ok_default = true, cancel_default = true, root_selected = false, open_after_enter = false;
  bool focus_in_tree = false;
  const bool result = bench.Execute([&](const DialogWindows& w) {
    GetWindowRect(w.form, &outer);
    title = WindowText(w.form);
    message = WindowText(w.message);
    style = GetWindowLongW(w.form, GWL_STYLE);
    ok_default = IsDefault(w.ok);
    cancel_default = IsDefault(w.cancel);
    root_selected = Selected(w.tree) == RootItem(w.tree) && RootItem(w.tree);
    focus_in_tree = FocusOf(GetWindowThreadProcessId(w.form, nullptr)) == w.tree;
    PressKey(VK_RETURN);
    Settle(w);
    open_after_enter = IsWindowVisible(w.form) != FALSE;
    Escape(w);
  });
  EXPECT_FALSE(result);
  EXPECT_EQ(bench.Dialog().Path(), "");
  EXPECT_EQ(outer.right - outer.left, 307);
  EXPECT_EQ(outer.bottom - outer.top, 352);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 307) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 352) / 2);
  EXPECT_EQ(title, L"gui_test");
  EXPECT_EQ(message, L"");
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
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

struct PathCase {
  const char* name;
  std::function<std::string(const Tree&)> path;      // Path before Execute
  std::function<std::string(const Tree&)> selected;  // Path after OK without moving
};
void PrintTo(const PathCase& c, std::ostream* out) {
  *out << c.name;
}

class DialogInitialFolder : public ::testing::TestWithParam<PathCase> {};

TEST_P(DialogInitialFolder, IsTheNearestExistingOneAndComesBackWithOneBackslash) {
  const Tree tree;
  DialogBench bench;
  bench.Dialog().SetPath(GetParam().path(tree));
  EXPECT_TRUE(bench.Execute(Ok));
  EXPECT_EQ(bench.Dialog().Path(), GetParam().selected(tree));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DialogInitialFolder,
    ::testing::Values(PathCase{"Folder", [](const Tree& t) { return t.Text(t.b); },
                               [](const Tree& t) { return t.Slashed(t.b); }},
                      PathCase{"FolderWithBackslash", [](const Tree& t) { return t.Slashed(t.b); },
                               [](const Tree& t) { return t.Slashed(t.b); }},
                      PathCase{"MissingTwoLevelsBelow",
                               [](const Tree& t) { return t.Text(t.a) + "\\x\\y"; },
                               [](const Tree& t) { return t.Slashed(t.a); }},
                      PathCase{"DriveRoot", [](const Tree&) { return std::string("C:\\"); },
                               [](const Tree&) { return std::string("C:\\"); }},
                      PathCase{"NameEndingInTrailByte", [](const Tree& t) { return t.Text(t.so); },
                               [](const Tree& t) { return t.Slashed(t.so); }}),
    [](const auto& info) { return std::string(info.param.name); });

struct EndingCase {
  const char* name;
  std::function<void(TSelectFolderDialog&)> set_up;
  std::function<void(const DialogWindows&)> act;
  bool result;
  std::function<std::string(const Tree&)> path;  // Path afterwards; it starts as a's
};
void PrintTo(const EndingCase& c, std::ostream* out) {
  *out << c.name;
}

class DialogEnding : public ::testing::TestWithParam<EndingCase> {};

TEST_P(DialogEnding, GivesTheChosenFolderOnlyForOk) {
  const EndingCase& c = GetParam();
  const Tree tree;
  DialogBench bench;
  bench.Dialog().SetPath(tree.Text(tree.a));
  if (c.set_up) c.set_up(bench.Dialog());
  EXPECT_EQ(bench.Execute(c.act), c.result);
  EXPECT_EQ(bench.Dialog().Path(), c.path(tree));
}

auto Then(void (*first)(const DialogWindows&), std::function<void(const DialogWindows&)> next) {
  return [first, next](const DialogWindows& w) {
    first(w);
    next(w);
  };
}

std::string MovedToB(const Tree& t) {
  return t.Slashed(t.b);
}
std::string StillA(const Tree& t) {
  return t.Text(t.a);
}

void FocusOnOkAndEnter(const DialogWindows& w) {
  EXPECT_TRUE(IsDefault(w.ok));
  EXPECT_EQ(FocusOf(GetWindowThreadProcessId(w.form, nullptr)), w.ok);
  PressKey(VK_RETURN);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, DialogEnding,
    ::testing::Values(
        EndingCase{"OkAfterMoving", nullptr, Then(SelectB, Ok), true, MovedToB},
        EndingCase{"CancelAfterMoving", nullptr, Then(SelectB, CancelButton), false, StillA},
        EndingCase{"EscapeAfterMoving", nullptr, Then(SelectB, Escape), false, StillA},
        EndingCase{"CloseBoxAfterMoving", nullptr, Then(SelectB, CloseBox), false, StillA},
        EndingCase{"EnterOnDefaultOk",
                   [](TSelectFolderDialog& d) { d.SetDefaultButton(TDefaultButton::btOk); },
                   Then(SelectB, [](const DialogWindows&) { PressKey(VK_RETURN); }), true,
                   MovedToB},
        EndingCase{"EnterOnDefaultCancel",
                   [](TSelectFolderDialog& d) { d.SetDefaultButton(TDefaultButton::btCancel); },
                   Then(SelectB, [](const DialogWindows&) { PressKey(VK_RETURN); }), false, StillA},
        EndingCase{
            "FocusOnDefaultButtonMakesOkTheDefault",
            [](TSelectFolderDialog& d) { d.SetFocusedControl(TFocusedControl::fcDefaultButton); },
            FocusOnOkAndEnter, true, [](const Tree& t) { return t.Slashed(t.a); }}),
    [](const auto& info) { return std::string(info.param.name); });

struct CloseQueryCase {
  const char* name;
  void (*press)(const DialogWindows&);
  bool throws;  // the first answer is an error rather than a refusal
  bool result;
};
void PrintTo(const CloseQueryCase& c, std::ostream* out) {
  *out << c.name;
}

class DialogCloseQuery : public ::testing::TestWithParam<CloseQueryCase> {};

TEST_P(DialogCloseQuery, ThatRefusesKeepsTheWindowOpenForTheNextTry) {
  const CloseQueryCase& c = GetParam();
  const Tree tree;
  DialogBench bench;
  TSelectFolderDialog& dialog = bench.Dialog();
  dialog.SetPath(tree.Text(tree.a));
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
    if (c.throws) error = AnswerMessageBox(GetWindowThreadProcessId(w.form, nullptr), w.form);
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
                         [](const auto& info) { return std::string(info.param.name); });

// Every event of the dialog as "event node selected", with the quiet folder's path as "~".
class EventLog {
 public:
  EventLog(TSelectFolderDialog& dialog, const Tree& tree) : prefix_(tree.Text(tree.quiet.path())) {
    const auto tree_event = [this, &dialog](const char* name) {
      return [this, &dialog, name](gui::TObject& sender, gui::TTreeNode* node,
                                   const std::string& selected) {
        EXPECT_EQ(&sender, &dialog);
        Add(name, node, selected);
      };
    };
    const auto update_event = [this, &dialog](const char* name) {
      return [this, &dialog, name](gui::TObject& sender, gui::TTreeNode* node,
                                   const std::string& selected, bool& allow) {
        EXPECT_EQ(&sender, &dialog);
        EXPECT_TRUE(allow);
        Add(name, node, selected);
      };
    };
    dialog.OnSelect.Bind(tree_event("select"));
    dialog.OnExpanded.Bind(tree_event("expanded"));
    dialog.OnCollapsed.Bind(tree_event("collapsed"));
    dialog.OnExpanding.Bind(update_event("expanding"));
    dialog.OnCollapsing.Bind(update_event("collapsing"));
    dialog.OnShow.Bind([this](gui::TObject&) { entries.push_back("show"); });
    dialog.OnCanClose.Bind([this](gui::TObject&, bool&) { entries.push_back("can close"); });
    dialog.OnClose.Bind([this](gui::TObject&) { entries.push_back("close"); });
  }

  std::vector<std::string> entries;

 private:
  void Add(const char* name, gui::TTreeNode* node, const std::string& selected) {
    std::string shown = selected;
    if (shown.starts_with(prefix_)) shown = "~" + shown.substr(prefix_.size());
    entries.push_back(std::string(name) + " " + (node ? Cp932(node->Text()) : "-") + " " + shown);
  }

  std::string prefix_;
};

void Expand(HWND tree, HTREEITEM item, UINT action) {
  SendMessageW(tree, TVM_EXPAND, action, reinterpret_cast<LPARAM>(item));
}

TEST(SelectFolderDialog, RaisesEveryEventWithTheSelectedFolderNotTheNodes) {
  const Tree tree;
  DialogBench bench;
  bench.Dialog().SetPath(tree.Text(tree.quiet.path()));
  EventLog log(bench.Dialog(), tree);
  EXPECT_FALSE(bench.Execute([&](const DialogWindows& w) {
    const HTREEITEM quiet = Selected(w.tree);
    const HTREEITEM a = ChildNamed(w.tree, quiet, L"a");
    ASSERT_NE(a, nullptr);
    Expand(w.tree, a, TVE_EXPAND);
    SendMessageW(w.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
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

struct VetoCase {
  const char* name;
  bool refuse_expanding;
  std::vector<WORD> keys;  // pressed with the folder selected
  bool expanded_after;
};
void PrintTo(const VetoCase& c, std::ostream* out) {
  *out << c.name;
}

class DialogVeto : public ::testing::TestWithParam<VetoCase> {};

TEST_P(DialogVeto, KeepsTheNodeAsItWas) {
  const VetoCase& c = GetParam();
  const Tree tree;
  DialogBench bench;
  TSelectFolderDialog& dialog = bench.Dialog();
  dialog.SetPath(tree.Text(tree.a));
  const auto refuse = [](gui::TObject&, gui::TTreeNode*, const std::string&, bool& allow) {
    allow = false;
  };
  if (c.refuse_expanding)
    dialog.OnExpanding.Bind(refuse);
  else
    dialog.OnCollapsing.Bind(refuse);
  bool expanded = !c.expanded_after;
  bench.Execute([&](const DialogWindows& w) {
    for (WORD key : c.keys) PressKey(key);
    Settle(w);
    expanded = IsExpanded(w.tree, Selected(w.tree));
    Escape(w);
  });
  EXPECT_EQ(expanded, c.expanded_after);
}

INSTANTIATE_TEST_SUITE_P(Vetoes, DialogVeto,
                         ::testing::Values(VetoCase{"Expanding", true, {VK_ADD}, false},
                                           VetoCase{
                                               "Collapsing", false, {VK_ADD, VK_SUBTRACT}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SelectFolderDialog, TextWrittenFromAnEventShowsAtOnce) {
  const Tree tree;
  DialogBench bench;
  TSelectFolderDialog& dialog = bench.Dialog();
  dialog.SetPath(tree.Text(tree.a));
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
  EXPECT_EQ(after, Wide(tree.Slashed(tree.b)));
  EXPECT_EQ(dialog.Text(), tree.Slashed(tree.b));
}

TEST(SelectFolderDialog, NeverFocusesADefaultButtonThatDoesNotExist) {
  using B = TDefaultButton;
  using F = TFocusedControl;
  const struct {
    std::function<void(TSelectFolderDialog&)> set;
    B button;
    F focus;
  } cases[] = {
      {[](auto& d) { d.SetFocusedControl(F::fcDefaultButton); }, B::btOk, F::fcDefaultButton},
      {[](auto& d) {
         d.SetFocusedControl(F::fcDefaultButton);
         d.SetDefaultButton(B::btNone);
       },
       B::btNone, F::fcTreeView},
      {[](auto& d) {
         d.SetDefaultButton(B::btCancel);
         d.SetFocusedControl(F::fcDefaultButton);
       },
       B::btCancel, F::fcDefaultButton},
      {[](auto& d) {
         d.SetFocusedControl(F::fcDefaultButton);
         d.SetDefaultButton(B::btCancel);
       },
       B::btCancel, F::fcDefaultButton},
      {[](auto& d) { d.SetDefaultButton(B::btNone); }, B::btNone, F::fcTreeView},
  };
  for (const auto& c : cases) {
    TSelectFolderDialog dialog;
    c.set(dialog);
    EXPECT_EQ(dialog.DefaultButton(), c.button);
    EXPECT_EQ(dialog.FocusedControl(), c.focus);
  }
}

struct PlaceCase {
  const char* name;
  std::function<void(TSelectFolderDialog&, gui::TForm& owner)> set_up;
  std::function<RECT()> expected;  // outer bounds
};
void PrintTo(const PlaceCase& c, std::ostream* out) {
  *out << c.name;
}

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
  EXPECT_EQ(outer.left, expected.left);
  EXPECT_EQ(outer.top, expected.top);
  EXPECT_EQ(outer.right - outer.left, expected.right - expected.left);
  EXPECT_EQ(outer.bottom - outer.top, expected.bottom - expected.top);
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
void OwnerCentred(TSelectFolderDialog& dialog, gui::TForm& owner, RECT bounds) {
  dialog.SetPosition(TDialogPosition::dpOwnerCenter);
  owner.SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
}

INSTANTIATE_TEST_SUITE_P(
    Places, DialogPlacement,
    ::testing::Values(PlaceCase{"CustomSizeAndPlace",
                                [](TSelectFolderDialog& d, gui::TForm&) {
                                  d.SetDialogSize(TDialogSize::dsCustom);
                                  d.SetDialogWidth(400);
                                  d.SetDialogHeight(300);
                                  d.SetPosition(TDialogPosition::dpCustom);
                                  d.SetDialogLeft(10);
                                  d.SetDialogTop(20);
                                },
                                [] { return At(10, 20, 400, 300); }},
                      PlaceCase{"CustomValuesUnusedByTheDefaults",
                                [](TSelectFolderDialog& d, gui::TForm&) {
                                  d.SetDialogWidth(400);
                                  d.SetDialogHeight(300);
                                  d.SetDialogLeft(10);
                                  d.SetDialogTop(20);
                                },
                                [] { return Centred(307, 352); }},
                      PlaceCase{"FixedFrameKeepsTheOuterSize",
                                [](TSelectFolderDialog& d, gui::TForm&) {
                                  d.SetSizeable(false);
                                  d.SetPosition(TDialogPosition::dpCustom);
                                },
                                [] { return At(0, 0, 307, 352); }},
                      PlaceCase{"OwnerCentreLargerThanTheOwner",
                                [](TSelectFolderDialog& d, gui::TForm& owner) {
                                  OwnerCentred(d, owner, At(300, 300, 100, 100));
                                },
                                [] { return At(197, 174, 307, 352); }},
                      PlaceCase{"OwnerCentreNearTheRightEdge",
                                [](TSelectFolderDialog& d, gui::TForm& owner) {
                                  OwnerCentred(d, owner, At(ScreenWidth() - 100, 100, 300, 200));
                                },
                                [] { return At(ScreenWidth() - 307, 24, 307, 352); }},
                      PlaceCase{"OwnerCentreNearTheBottomEdge",
                                [](TSelectFolderDialog& d, gui::TForm& owner) {
                                  OwnerCentred(d, owner, At(100, WorkBottom() - 50, 300, 200));
                                },
                                [] { return At(97, WorkBottom() - 352, 307, 352); }}),
    [](const auto& info) { return std::string(info.param.name); });

struct RootCase {
  const char* name;
  TRootFolder root;
  std::function<std::string(const Tree&)> custom;
  std::function<std::string(const Tree&)> path;
  bool result;  // OK without moving gives true and the Path's folder, or false and no change
};
void PrintTo(const RootCase& c, std::ostream* out) {
  *out << c.name;
}

class DialogOtherRoot : public ::testing::TestWithParam<RootCase> {};

TEST_P(DialogOtherRoot, SelectsAFolderBelowItAndNothingOutsideIt) {
  const RootCase& c = GetParam();
  const Tree tree;
  DialogBench bench;
  TSelectFolderDialog& dialog = bench.Dialog();
  dialog.SetRoot(c.root);
  dialog.SetCustomRootFolder(c.custom(tree));
  dialog.SetPath(c.path(tree));
  // The focus stays off the tree: a tree view that gets the focus with nothing selected selects
  // its first node.
  dialog.SetFocusedControl(TFocusedControl::fcDefaultButton);
  bool selected = false;
  EXPECT_EQ(bench.Execute([&](const DialogWindows& w) {
    selected = Selected(w.tree) != nullptr;
    Ok(w);
  }),
            c.result);
  EXPECT_EQ(selected, c.result);
  EXPECT_EQ(dialog.Path(), c.result ? tree.Slashed(tree.b) : c.path(tree));
}

std::string None(const Tree&) {
  return "";
}
std::string PathOfB(const Tree& t) {
  return t.Text(t.b);
}

INSTANTIATE_TEST_SUITE_P(
    Roots, DialogOtherRoot,
    ::testing::Values(RootCase{"CustomFolderWithPathInside", TRootFolder::rfCustom,
                               [](const Tree& t) { return t.Text(t.a); }, PathOfB, true},
                      RootCase{"CustomFolderWithPathOutside", TRootFolder::rfCustom,
                               [](const Tree& t) { return t.Text(t.so); }, PathOfB, false},
                      RootCase{"MyComputerWithPathInside", TRootFolder::rfMyComputer, None, PathOfB,
                               true}),
    [](const auto& info) { return std::string(info.param.name); });

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
  bench.Dialog().SetPath(tree.Text(tree.a));
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
  EXPECT_EQ(bench.Dialog().Path(), tree.Slashed(tree.b));
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
