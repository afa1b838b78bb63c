#include "tree_probe.h"

#include "ui_probe.h"

namespace pem::testing {
namespace {

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::wstring ItemText(HWND tree, HTREEITEM item) {
  wchar_t text[MAX_PATH] = {};
  TVITEMW data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = MAX_PATH;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
  return text;
}

}  // namespace

HWND FindTree(HWND window) {
  return FindChildWindow(window, [](HWND child) { return ClassName(child) == WC_TREEVIEWW; });
}

HTREEITEM Selected(HWND tree) {
  return Next(tree, TVGN_CARET, nullptr);
}

HTREEITEM RootItem(HWND tree) {
  return Next(tree, TVGN_ROOT, nullptr);
}

std::wstring SelectedText(HWND tree) {
  const HTREEITEM item = Selected(tree);
  return item ? ItemText(tree, item) : L"";
}

bool IsExpanded(HWND tree, HTREEITEM item) {
  return (SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
          TVIS_EXPANDED) != 0;
}

void Expand(HWND tree, HTREEITEM item) {
  SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::wstring& name) {
  Expand(tree, parent);
  for (HTREEITEM item = Next(tree, TVGN_CHILD, parent); item; item = Next(tree, TVGN_NEXT, item)) {
    if (ItemText(tree, item) == name) return item;
  }
  return nullptr;
}

void Select(HWND tree, HTREEITEM item) {
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

bool SelectChild(HWND tree, const std::wstring& name) {
  const HTREEITEM item = ChildNamed(tree, Selected(tree), name);
  if (item) Select(tree, item);
  return item != nullptr;
}

}  // namespace pem::testing
