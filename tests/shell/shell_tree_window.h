// A shown form holding a shell tree, on the test's own thread: the test configures the tree
// while it loads, then acts on it and lets the form handle its messages.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "application.h"
#include "form.h"
#include "shell_tree_view.h"

namespace pem::testing {

struct ShellTreeWindow {
  explicit ShellTreeWindow(const std::function<void(shell::TShellTreeView&)>& configure = {});

  // Handles the thread's messages until the condition holds (true) or a few seconds passed.
  bool Pump(const std::function<bool()>& done = {}) const;
  // The node of the path below the root node ("a\b"), or null; the nodes on the way are
  // expanded unless only what is listed already counts.
  gui::TTreeNode* Node(const std::wstring& path, bool expand = true) const;
  // Ends a label edit of the node, started here unless it runs already, with the text.
  void EditLabel(gui::TTreeNode& node, const std::wstring& text) const;
  static std::vector<std::wstring> ChildTexts(const gui::TTreeNode& node);

  gui::TApplication application;
  gui::TForm* form = nullptr;
  shell::TShellTreeView* tree = nullptr;
};

}  // namespace pem::testing
