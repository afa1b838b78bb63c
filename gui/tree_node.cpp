#include "tree_node.h"

#include <cstring>

#include "tree_view.h"

namespace pem::gui {

TTreeNode::TTreeNode(Key, TCustomTreeView& tree, std::wstring text)
    : tree_(tree), text_(std::move(text)) {}

void TTreeNode::SetText(const std::wstring& text) {
  text_ = text;
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = item_;
  item.pszText = text_.data();
  SendMessageW(tree_.Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::SetImageIndex(int index) {
  // Handlers set the index while the node is drawn: only a change is drawn again.
  if (image_index_ == index) return;
  image_index_ = index;
  Redraw();
}

void TTreeNode::SetSelectedIndex(int index) {
  if (selected_index_ == index) return;
  selected_index_ = index;
  Redraw();
}

void TTreeNode::SetOverlayIndex(int index) {
  overlay_index_ = index;
  TVITEMW item{};
  item.mask = TVIF_STATE;
  item.hItem = item_;
  item.stateMask = TVIS_OVERLAYMASK;
  item.state = OverlayState(index);
  SendMessageW(tree_.Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

UINT TTreeNode::OverlayState(int index) {
  // The control counts overlay images from 1; 0 means none.
  return INDEXTOOVERLAYMASK(index < 0 ? 0 : index + 1);
}

bool TTreeNode::HasChildren() const {
  TVITEMW item{};
  item.mask = TVIF_CHILDREN;
  item.hItem = item_;
  SendMessageW(tree_.Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.cChildren != 0;
}

void TTreeNode::SetHasChildren(bool has_children) {
  TVITEMW item{};
  item.mask = TVIF_CHILDREN;
  item.hItem = item_;
  item.cChildren = has_children ? 1 : 0;
  SendMessageW(tree_.Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

TTreeNode* TTreeNode::Neighbour(UINT relation) const {
  const auto found = reinterpret_cast<HTREEITEM>(
      SendMessageW(tree_.Handle(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item_)));
  return tree_.NodeOf(found);
}

TTreeNode* TTreeNode::Parent() const {
  return Neighbour(TVGN_PARENT);
}

TTreeNode* TTreeNode::GetFirstChild() const {
  return Neighbour(TVGN_CHILD);
}

TTreeNode* TTreeNode::GetNextSibling() const {
  return Neighbour(TVGN_NEXT);
}

TTreeNode* TTreeNode::GetNext() const {
  if (TTreeNode* child = GetFirstChild()) return child;
  for (const TTreeNode* node = this; node; node = node->Parent()) {
    if (TTreeNode* sibling = node->GetNextSibling()) return sibling;
  }
  return nullptr;
}

int TTreeNode::Index() const {
  int index = 0;
  for (TTreeNode* node = Neighbour(TVGN_PREVIOUS); node; node = node->Neighbour(TVGN_PREVIOUS))
    ++index;
  return index;
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* node = Parent(); node; node = node->Parent()) ++level;
  return level;
}

bool TTreeNode::Expanded() const {
  const auto state = SendMessageW(tree_.Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_),
                                  TVIS_EXPANDED);
  return (state & TVIS_EXPANDED) != 0;
}

void TTreeNode::Expand() {
  tree_.ChangeExpansion(*this, true);
}

void TTreeNode::Collapse() {
  tree_.ChangeExpansion(*this, false);
}

bool TTreeNode::Selected() const {
  return tree_.Selected() == this;
}

void TTreeNode::Delete() {
  tree_.DeleteItem(item_);
}

bool TTreeNode::EditText() {
  return tree_.StartEditing(*this);
}

void TTreeNode::Redraw() const {
  // The control takes the item in the rectangle it fills.
  RECT bounds{};
  std::memcpy(&bounds, &item_, sizeof(item_));
  if (SendMessageW(tree_.Handle(), TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&bounds)))
    InvalidateRect(tree_.Handle(), &bounds, TRUE);
}

}  // namespace pem::gui
