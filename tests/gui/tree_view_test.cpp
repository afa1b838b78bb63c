// The tree control on a form: its events from the user's mouse and keys and from the program,
// each veto, the node store's clean-up on every way out, bulk filling with sorting, and icons.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "application.h"
#include "dialog_keys.h"
#include "form.h"
#include "mouse_input.h"
#include "table_row.h"
#include "test_form.h"
#include "tree_view.h"
#include "ui_probe.h"
#include "win32_text.h"

namespace pem::testing {
namespace {

using namespace pem::gui;

// User data that counts its live instances.
struct CountedData : TObject {
  static inline int live = 0;
  CountedData() { ++live; }
  ~CountedData() override { --live; }
};

// A tree that logs what its hooks see, as a derived tree would take them over.
class RecordingTree : public TCustomTreeView {
 public:
  RecordingTree(TComponent& owner, TWinControl& parent, std::vector<std::string>& log)
      : TCustomTreeView(owner, parent, ControlLayout{8, 8, 220, 180, ""}), log_(log) {}

  int redraw_off = 0;
  int redraw_on = 0;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_SETREDRAW) ++(wparam ? redraw_on : redraw_off);
    return TCustomTreeView::WndProc(message, wparam, lparam);
  }
  void Edit(TTreeNode& node, const std::optional<std::wstring>& text) override {
    if (!text) log_.push_back("cancel:" + NarrowCp932(node.Text()));
    TCustomTreeView::Edit(node, text);
  }
  void DoContextPopup(POINT, bool& handled) override {
    log_.push_back("popup");
    handled = true;
  }
  void Delete(TTreeNode& node) override { log_.push_back("delete:" + NarrowCp932(node.Text())); }

 private:
  std::vector<std::string>& log_;
};

// A shown form with a tree of A (A1, A2), B (an expand button, no children) and C (C1), each
// node with counted data; the tree has the focus. `veto` names the check that refuses.
struct TreeWindow {
  // Before the application, which destroys the form and with it the tree that logs.
  std::vector<std::string> log;
  std::string veto;
  TApplication application;
  TestForm* form = nullptr;
  RecordingTree* tree = nullptr;

  TreeWindow() {
    application.CreateForm<TestForm>(form, FormLayout{.window_class = L"TTreeTestForm",
                                                      .client_width = 236,
                                                      .client_height = 196,
                                                      .position = TPosition::poScreenCenter});
    tree = &form->Create<RecordingTree>(*form, log);
    BindEvents();
    TTreeNode& a = Add(nullptr, L"A");
    TTreeNode& c = Add(nullptr, L"C");
    Keep(tree->Insert(&c, L"B")).SetHasChildren(true);
    Add(&a, L"A2");
    Keep(tree->AddChildFirst(&a, L"A1"));
    Add(&c, L"C1");
    form->Show();
    SetForegroundWindow(form->Handle());
    tree->SetFocus();
    Settle([&] { return GetFocus() == tree->Handle(); });
  }

  TTreeNode& Keep(TTreeNode& node) {
    node.SetData(std::make_unique<CountedData>());
    return node;
  }
  TTreeNode& Add(TTreeNode* parent, const wchar_t* text) {
    return Keep(tree->AddChild(parent, text));
  }

  void BindEvents() {
    const auto name = [](TTreeNode* node) { return node ? NarrowCp932(node->Text()) : "-"; };
    const auto note = [this](const char* kind, TTreeNode& node) {
      log.push_back(std::string(kind) + ":" + NarrowCp932(node.Text()));
    };
    const auto check = [=, this](const char* kind, TTreeNode& node, bool& allow) {
      note(kind, node);
      if (veto == "throw:" + std::string(kind)) throw EAbort();
      allow = veto != kind;
    };
    tree->OnChanging.Bind([=, this](TObject&, TTreeNode* node, bool& allow) {
      log.push_back("changing:" + name(node));
      allow = veto != "changing";
    });
    tree->OnChange.Bind(
        [=, this](TObject&, TTreeNode* node) { log.push_back("change:" + name(node)); });
    tree->OnExpanding.Bind(
        [=](TObject&, TTreeNode& n, bool& allow) { check("expanding", n, allow); });
    tree->OnCollapsing.Bind(
        [=](TObject&, TTreeNode& n, bool& allow) { check("collapsing", n, allow); });
    tree->OnEditing.Bind([=](TObject&, TTreeNode& n, bool& allow) { check("editing", n, allow); });
    tree->OnExpanded.Bind([=](TObject&, TTreeNode& n) { note("expanded", n); });
    tree->OnCollapsed.Bind([=](TObject&, TTreeNode& n) { note("collapsed", n); });
    tree->OnEdited.Bind([=, this](TObject&, TTreeNode& n, std::wstring& text) {
      note("edited", n);
      log.back() += "=" + NarrowCp932(text);
    });
  }

  TTreeNode& Node(const std::wstring& text) const {
    for (TTreeNode* node = tree->GetFirstNode(); node; node = node->GetNext()) {
      if (node->Text() == text) return *node;
    }
    throw std::runtime_error("no node " + NarrowCp932(text));
  }

  POINT LabelCentre(const std::wstring& text) const {
    RECT bounds{};
    const HTREEITEM item = Node(text).ItemId();
    std::memcpy(&bounds, &item, sizeof(item));
    SendMessageW(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&bounds));
    POINT centre{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    ClientToScreen(tree->Handle(), &centre);
    return centre;
  }

  // Handles the thread's messages as the application does until the condition holds and no
  // message came for a while, so that a late second notification would still be seen.
  void Settle(const std::function<bool()>& done = {}) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    auto quiet_since = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < deadline) {
      MSG message{};
      if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!HandleDialogKeys(message)) {
          TranslateMessage(&message);
          DispatchMessageW(&message);
        }
        quiet_since = std::chrono::steady_clock::now();
        continue;
      }
      if ((!done || done()) && std::chrono::steady_clock::now() - quiet_since > 150ms) return;
      Sleep(5);
    }
  }

  void Edit(const std::wstring& typed) {
    ASSERT_TRUE(Node(L"A").EditText());
    Settle([&] { return tree->IsEditing(); });
    TypeText(typed);
    Settle();
  }
};

struct EventCase : Row {
  const char* veto;
  std::function<void(TreeWindow&)> arrange;  // before the log starts; A is selected then
  std::function<void(TreeWindow&)> act;
  std::vector<std::string> log;
  const wchar_t* selected;
  bool a_expanded;
  const wchar_t* a_label;  // what the first node shows afterwards
};

class TreeEvents : public ::testing::TestWithParam<EventCase> {};

TEST_P(TreeEvents, ComeOnceInOrderAndAVetoHolds) {
  const EventCase& c = GetParam();
  CountedData::live = 0;
  TreeWindow w;
  w.tree->SetSelected(&w.Node(L"A"));
  if (c.arrange) c.arrange(w);
  w.Settle();
  w.log.clear();
  w.veto = c.veto;
  c.act(w);
  w.Settle([&] { return w.log.size() >= c.log.size(); });

  EXPECT_EQ(w.log, c.log);
  ASSERT_TRUE(w.tree->Selected());
  EXPECT_EQ(w.tree->Selected()->Text(), c.selected);
  EXPECT_EQ(w.tree->GetFirstNode()->Expanded(), c.a_expanded);
  EXPECT_EQ(w.tree->GetFirstNode()->Text(), c.a_label);
  EXPECT_FALSE(w.tree->IsEditing());
}

const auto kClickB = [](TreeWindow& w) { ClickAt(w.LabelCentre(L"B")); };
const auto kDoubleClickA = [](TreeWindow& w) {
  ClickAt(w.LabelCentre(L"A"), MouseButton::left, 2);
};
const auto kRightClickC = [](TreeWindow& w) { ClickAt(w.LabelCentre(L"C"), MouseButton::right); };
const auto kKey = [](WORD key) { return [key](TreeWindow&) { PressKey(key); }; };
const auto kExpandA = [](TreeWindow& w) { w.Node(L"A").Expand(); };
const auto kCollapseA = [](TreeWindow& w) { w.Node(L"A").Collapse(); };
const auto kReExpandA = [](TreeWindow& w) {
  w.Node(L"A").Collapse();
  w.Node(L"A").Expand();
};
const auto kExpandB = [](TreeWindow& w) { w.Node(L"B").Expand(); };
const auto kRightClickSelect = [](TreeWindow& w) { w.tree->SetRightClickSelect(true); };
const auto kSelectB = [](TreeWindow& w) { w.tree->SetSelected(&w.Node(L"B")); };
const auto kRefuseEdit = [](TreeWindow& w) { EXPECT_FALSE(w.Node(L"A").EditText()); };
// Types "xy" over A's label, then ends the edit.
const auto kEditThen = [](std::function<void(TreeWindow&)> end) {
  return [end](TreeWindow& w) {
    w.Edit(L"xy");
    end(w);
  };
};
const auto kEndByProgram = [](bool cancel) {
  return kEditThen([cancel](TreeWindow& w) { w.tree->EndEditing(cancel); });
};
const std::vector<std::string> kSelectsB{"changing:B", "change:B"};
const std::vector<std::string> kExpandsA{"expanding:A", "expanded:A"};
const std::vector<std::string> kEdits{"editing:A", "edited:A=xy"};
const std::vector<std::string> kCancels{"editing:A", "cancel:A"};

// clang-format off
INSTANTIATE_TEST_SUITE_P(ByUser, TreeEvents, ::testing::Values(
    //        name                      veto               arrange            act                  log                                   selected  A open  A label
    EventCase{"ClickSelects",           "",                {},                kClickB,             kSelectsB,                             L"B",     false,  L"A"},
    EventCase{"ClickVetoed",            "changing",        {},                kClickB,             {"changing:B"},                       L"A",     false,  L"A"},
    EventCase{"DownArrowSelects",       "",                {},                kKey(VK_DOWN),       kSelectsB,                            L"B",     false,  L"A"},
    EventCase{"RightArrowExpands",      "",                {},                kKey(VK_RIGHT),      kExpandsA,                            L"A",     true,   L"A"},
    EventCase{"RightArrowVetoed",       "expanding",       {},                kKey(VK_RIGHT),      {"expanding:A"},                      L"A",     false,  L"A"},
    EventCase{"ThrowingCheckVetoes",    "throw:expanding", {},                kKey(VK_RIGHT),      {"expanding:A"},                      L"A",     false,  L"A"},
    EventCase{"PlusExpands",            "",                {},                kKey(VK_ADD),        kExpandsA,                            L"A",     true,   L"A"},
    EventCase{"LeftArrowCollapses",     "",                kExpandA,          kKey(VK_LEFT),       {"collapsing:A", "collapsed:A"},      L"A",     false,  L"A"},
    EventCase{"LeftArrowVetoed",        "collapsing",      kExpandA,          kKey(VK_LEFT),       {"collapsing:A"},                     L"A",     true,   L"A"},
    EventCase{"ButtonWithoutChildren",  "",                kSelectB,          kKey(VK_RIGHT),      {"expanding:B"},                      L"B",     false,  L"A"},
    EventCase{"DoubleClickExpands",     "",                {},                kDoubleClickA,       kExpandsA,                            L"A",     true,   L"A"},
    EventCase{"DoubleClickVetoed",      "expanding",       {},                kDoubleClickA,       {"expanding:A"},                      L"A",     false,  L"A"},
    EventCase{"RightClickSelects",      "",                kRightClickSelect, kRightClickC,        {"changing:C", "change:C", "popup"},  L"C",     false,  L"A"},
    EventCase{"RightClickSelectVetoed", "changing",        kRightClickSelect, kRightClickC,        {"changing:C", "popup"},              L"A",     false,  L"A"},
    EventCase{"RightClickAsksForAMenu", "",                {},                kRightClickC,        {"popup"},                            L"A",     false,  L"A"},
    EventCase{"EditEndedWithReturn",    "",                {},                kEditThen(kKey(VK_RETURN)), kEdits,                        L"xy",    false,  L"xy"},
    EventCase{"EditEndedWithEscape",    "",                {},                kEditThen(kKey(VK_ESCAPE)), kCancels,                      L"A",     false,  L"A"},
    EventCase{"EditVetoed",             "editing",         {},                kRefuseEdit,         {"editing:A"},                        L"A",     false,  L"A"}),
    RowName);

// A program's expansion runs the checks and events once, also where the control reports nothing.
INSTANTIATE_TEST_SUITE_P(ByProgram, TreeEvents, ::testing::Values(
    EventCase{"Select",                 "",                {},                kSelectB,            kSelectsB,                            L"B",     false,  L"A"},
    EventCase{"SelectVetoed",           "changing",        {},                kSelectB,            {"changing:B"},                       L"A",     false,  L"A"},
    EventCase{"Expand",                 "",                {},                kExpandA,            kExpandsA,                            L"A",     true,   L"A"},
    EventCase{"ExpandVetoed",           "expanding",       {},                kExpandA,            {"expanding:A"},                      L"A",     false,  L"A"},
    EventCase{"ExpandWhenExpanded",     "",                kExpandA,          kExpandA,            {},                                   L"A",     true,   L"A"},
    EventCase{"CollapseVetoed",         "collapsing",      kExpandA,          kCollapseA,          {"collapsing:A"},                     L"A",     true,   L"A"},
    EventCase{"CollapseAndExpandAgain", "",                kExpandA,          kReExpandA,          {"collapsing:A", "collapsed:A", "expanding:A", "expanded:A"}, L"A", true, L"A"},
    EventCase{"ExpandWithoutChildren",  "",                {},                kExpandB,            {"expanding:B"},                      L"A",     false,  L"A"},
    EventCase{"EditCommitted",          "",                {},                kEndByProgram(false), kEdits,                              L"xy",    false,  L"xy"},
    EventCase{"EditCancelled",          "",                {},                kEndByProgram(true), kCancels,                             L"A",     false,  L"A"}),
    RowName);
// clang-format on

struct DeletionCase : Row {
  std::function<void(TreeWindow&)> act;
  std::vector<std::string> deleted;  // in any order
  int left;                          // nodes and data objects still alive
};

class TreeDeletion : public ::testing::TestWithParam<DeletionCase> {};

TEST_P(TreeDeletion, RunsTheHookForEveryNodeAndFreesItsData) {
  const DeletionCase& c = GetParam();
  CountedData::live = 0;
  {
    TreeWindow w;
    w.log.clear();
    c.act(w);
    std::multiset<std::string> deleted;
    for (const std::string& entry : w.log) {
      if (entry.starts_with("delete:")) deleted.insert(entry);
    }
    EXPECT_EQ(deleted, std::multiset<std::string>(c.deleted.begin(), c.deleted.end()));
    EXPECT_EQ(CountedData::live, c.left);
    if (w.form && w.form->ComponentCount() > 0) {
      EXPECT_EQ(w.tree->NodeCount(), std::size_t(c.left));
    }
  }
  EXPECT_EQ(CountedData::live, 0);
}

const std::vector<std::string> kAllDeleted{"delete:A", "delete:A1", "delete:A2",
                                           "delete:B", "delete:C",  "delete:C1"};

// The new window keeps the place and the anchors of the old, after the form has been resized.
const auto kRecreate = [](TreeWindow& w) {
  w.tree->SetAnchors({.right = true, .bottom = true});
  const RECT form = w.form->BoundsRect();
  const auto grow_form = [&](int by) {
    w.form->SetBounds(form.left, form.top, form.right - form.left + by,
                      form.bottom - form.top + by);
  };
  grow_form(20);
  const RECT before = w.tree->BoundsRect();
  w.tree->RecreateWnd();
  grow_form(50);
  const RECT after = w.tree->BoundsRect();
  EXPECT_EQ(std::vector({after.left, after.top, after.right, after.bottom}),
            std::vector({before.left, before.top, before.right + 30, before.bottom + 30}));
  w.Add(nullptr, L"new");
  EXPECT_EQ(w.tree->GetFirstNode()->Text(), L"new");
};
const auto kDestroyForm = [](TreeWindow& w) {
  w.application.DestroyComponent(*w.form);
  w.form = nullptr;
};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Paths, TreeDeletion, ::testing::Values(
    DeletionCase{"Subtree",         [](TreeWindow& w) { w.Node(L"A").Delete(); }, {"delete:A", "delete:A1", "delete:A2"}, 3},
    DeletionCase{"Clear",           [](TreeWindow& w) { w.tree->Clear(); },       kAllDeleted,                            0},
    DeletionCase{"WindowRecreated", kRecreate,                                    kAllDeleted,                            1},
    DeletionCase{"FormDestroyed",   kDestroyForm,                                 kAllDeleted,                            0},
    // The derived part is gone first: the base frees the nodes without the derived hook.
    DeletionCase{"TreeDestroyed",   [](TreeWindow& w) { w.form->DestroyComponent(*w.tree); }, {}, 0}),
    RowName);
// clang-format on

TEST(TreeView, NodesStandWhereTheyWereAdded) {
  TreeWindow w;
  std::wstring order;
  for (TTreeNode* node = w.tree->GetFirstNode(); node; node = node->GetNext())
    order += node->Text() + L"/" + std::to_wstring(node->Level()) + L"/" +
             std::to_wstring(node->Index()) + L" ";
  EXPECT_EQ(order, L"A/0/0 A1/1/0 A2/1/1 B/0/1 C/0/2 C1/1/0 ");
  EXPECT_EQ(w.Node(L"C1").Parent(), &w.Node(L"C"));
}

TEST(TreeView, ANodeAddedWithItsLookShowsItFromTheStart) {
  TreeWindow w;
  const struct {
    const wchar_t* text;
    int image, selected, overlay;
    bool has_children;
  } cases[] = {{L"D", -1, -1, -1, false}, {L"E", 2, 3, 0, true}};
  for (const auto& c : cases) {
    TTreeNode& node =
        w.tree->AddChild(nullptr, TNodeInit{c.text, c.image, c.selected, c.overlay, c.has_children,
                                            std::make_unique<CountedData>()});
    wchar_t text[16] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_STATE;
    item.hItem = node.ItemId();
    item.stateMask = TVIS_OVERLAYMASK;
    item.pszText = text;
    item.cchTextMax = 16;
    ASSERT_TRUE(SendMessageW(w.tree->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(text, c.text);
    EXPECT_EQ(item.cChildren != 0, c.has_children) << c.text;
    EXPECT_EQ(item.state & TVIS_OVERLAYMASK, INDEXTOOVERLAYMASK(c.overlay + 1)) << c.text;
    EXPECT_EQ(node.ImageIndex(), c.image);
    EXPECT_EQ(node.SelectedIndex(), c.selected);
    EXPECT_TRUE(node.Data());
  }
}

TEST(TreeView, FiveThousandNodesAddedWithRepaintsSuspendedAndSortedOnce) {
  TreeWindow w;
  TTreeNode& parent = w.tree->AddChild(nullptr, L"numbers");
  constexpr int kCount = 5000;
  {
    TCustomTreeView::UpdateScope outer(*w.tree);
    TCustomTreeView::UpdateScope nested(*w.tree);
    for (int i = 0; i < kCount; ++i) w.tree->AddChild(&parent, std::to_wstring(i * 7919 % kCount));
  }
  EXPECT_EQ(w.tree->redraw_off, 1);
  EXPECT_EQ(w.tree->redraw_on, 1);

  const auto numeric = [](const TTreeNode& a, const TTreeNode& b) {
    return std::stoi(a.Text()) - std::stoi(b.Text());
  };
  EXPECT_THROW(w.tree->CustomSort(&parent,
                                  [](const TTreeNode&, const TTreeNode&) -> int {
                                    throw std::runtime_error("no order");
                                  }),
               std::runtime_error);
  w.tree->CustomSort(&parent, numeric);
  int expected = 0;
  for (TTreeNode* node = parent.GetFirstChild(); node; node = node->GetNextSibling())
    EXPECT_EQ(node->Text(), std::to_wstring(expected++));
  EXPECT_EQ(expected, kCount);
  parent.Expand();
  w.Settle();
}

TEST(TreeView, DrawsTheIconsItsHandlersChooseFromABorrowedList) {
  SHFILEINFOW info{};
  const auto system = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  ASSERT_TRUE(system);
  const int drive = info.iIcon;
  SHGetFileInfoW(L"C:\\windows", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  const int folder = info.iIcon;
  {
    TreeWindow w;
    std::set<std::wstring> asked;
    w.tree->OnGetImageIndex.Bind([&](TObject&, TTreeNode& node) {
      asked.insert(node.Text());
      node.SetImageIndex(node.Level() == 0 ? drive : folder);
    });
    w.tree->OnGetSelectedIndex.Bind(
        [&](TObject&, TTreeNode& node) { node.SetSelectedIndex(node.ImageIndex()); });
    w.tree->SetImages(system);
    w.tree->SetShowLines(false);
    w.tree->SetIndent(19);
    w.Node(L"A").Expand();
    w.tree->SetSelected(&w.Node(L"A1"));
    w.Settle();
    EXPECT_EQ(asked, (std::set<std::wstring>{L"A", L"A1", L"A2", L"B", L"C"}));
    if (const char* hold = std::getenv("PEMCONV_TREE_HOLD_MS"))
      w.Settle([&, until = GetTickCount() + std::stoul(hold)] { return GetTickCount() > until; });
  }
  EXPECT_GT(ImageList_GetImageCount(system), 0) << "the tree left the borrowed list alone";
}

}  // namespace
}  // namespace pem::testing
