#include "shell_tree_window.h"

#include <gtest/gtest.h>

#include <chrono>

namespace pem::testing {
namespace {

struct TreeForm : gui::TForm {
  TreeForm(gui::TComponent& owner, TreeForm*& self, const gui::FormLayout& layout)
      : TForm((self = this, owner), layout) {}
};

// ＭＳ Ｐゴシック, so that Japanese labels show as a user sees them.
const gui::FormLayout kLayout{
    .window_class = L"TShellTreeTestForm",
    .client_width = 320,
    .client_height = 420,
    .position = gui::TPosition::poScreenCenter,
    .font = {"\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e", -12, SHIFTJIS_CHARSET}};

}  // namespace

ShellTreeWindow::ShellTreeWindow(const std::function<void(shell::TShellTreeView&)>& configure) {
  TreeForm* created = nullptr;
  application.CreateForm<TreeForm>(created, kLayout);
  form = created;
  tree = &form->Create<shell::TShellTreeView>(*form, gui::ControlLayout{0, 0, 320, 420, ""});
  tree->SetShowLines(false);
  tree->SetIndent(19);
  if (configure) configure(*tree);
  tree->FinishLoading();
  form->Show();
  Pump();
}

bool ShellTreeWindow::Pump(const std::function<bool()>& done) const {
  using namespace std::chrono_literals;
  const auto deadline = std::chrono::steady_clock::now() + (done ? 10s : 200ms);
  while (std::chrono::steady_clock::now() < deadline) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done && done()) return true;
    Sleep(10);
  }
  return !done;
}

gui::TTreeNode* ShellTreeWindow::Node(const std::wstring& path, bool expand) const {
  gui::TTreeNode* node = tree->GetFirstNode();
  std::size_t start = 0;
  while (node && start < path.size()) {
    const std::size_t end = std::min(path.find(L'\\', start), path.size());
    const std::wstring name = path.substr(start, end - start);
    if (expand) node->Expand();
    gui::TTreeNode* child = node->GetFirstChild();
    while (child && child->Text() != name) child = child->GetNextSibling();
    node = child;
    start = end + 1;
  }
  return node;
}

void ShellTreeWindow::EditLabel(gui::TTreeNode& node, const std::wstring& text) const {
  if (!tree->IsEditing()) {
    EXPECT_TRUE(node.EditText());
  }
  const auto edit = reinterpret_cast<HWND>(TreeView_GetEditControl(tree->Handle()));
  SetWindowTextW(edit, text.c_str());
  tree->EndEditing(false);
}

std::vector<std::wstring> ShellTreeWindow::ChildTexts(const gui::TTreeNode& node) {
  std::vector<std::wstring> texts;
  for (const gui::TTreeNode* child = node.GetFirstChild(); child; child = child->GetNextSibling())
    texts.push_back(child->Text());
  return texts;
}

}  // namespace pem::testing
