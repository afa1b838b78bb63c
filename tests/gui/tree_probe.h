// A tree-view control of the program read and driven from the test's thread, as a user would
// see and choose its items.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

namespace pem::testing {

HWND FindTree(HWND window);
HTREEITEM Selected(HWND tree);
HTREEITEM RootItem(HWND tree);
std::wstring SelectedText(HWND tree);
bool IsExpanded(HWND tree, HTREEITEM item);
void Expand(HWND tree, HTREEITEM item);
// The child of `parent` named `name` (the parent expanded first), or null.
HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::wstring& name);
void Select(HWND tree, HTREEITEM item);
// Selects the child of the selected item that is named `name`.
bool SelectChild(HWND tree, const std::wstring& name);

}  // namespace pem::testing
