// One node of a tree control: its label, icons, expand button and user data, and the way to its
// neighbours. A node lives exactly as long as the control's item it stands for.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <memory>
#include <string>

#include "component.h"

namespace pem::gui {

class TCustomTreeView;

class TTreeNode {
 public:
  // Only the tree makes nodes: one per item it inserts.
  class Key {
    Key() = default;
    friend class TCustomTreeView;
  };
  TTreeNode(Key, TCustomTreeView& tree, std::wstring text);
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  TCustomTreeView& TreeView() const { return tree_; }
  HTREEITEM ItemId() const { return item_; }

  const std::wstring& Text() const { return text_; }
  void SetText(const std::wstring& text);
  // Indexes into the tree's image list; the tree asks for them whenever it draws the node.
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int index);
  int SelectedIndex() const { return selected_index_; }
  void SetSelectedIndex(int index);
  // Index into the image list's overlay images (0 is the first); -1 for none.
  int OverlayIndex() const { return overlay_index_; }
  void SetOverlayIndex(int index);
  // Whether the node shows an expand button, whatever child nodes it has now.
  bool HasChildren() const;
  void SetHasChildren(bool has_children);

  // The node's user data, owned: it is destroyed with the node or when replaced.
  TObject* Data() const { return data_.get(); }
  void SetData(std::unique_ptr<TObject> data) { data_ = std::move(data); }

  // Neighbours, or null.
  TTreeNode* Parent() const;
  TTreeNode* GetFirstChild() const;
  TTreeNode* GetNextSibling() const;
  // The next node in document order: a node's children (expanded or not) before its next sibling.
  TTreeNode* GetNext() const;
  // Position among its siblings, and depth (0 for a top-level node).
  int Index() const;
  int Level() const;

  bool Expanded() const;
  // Runs the tree's expansion or collapse check and its events, once, however the control
  // itself reports a program's expansion.
  void Expand();
  void Collapse();
  bool Selected() const;
  // Deletes the node and its subtree; the node object is gone afterwards.
  void Delete();
  // Starts editing the label (gives the tree the focus); false when the edit did not start.
  bool EditText();

 private:
  friend class TCustomTreeView;

  TTreeNode* Neighbour(UINT relation) const;
  // The control's state bits for an overlay index.
  static UINT OverlayState(int index);
  void Redraw() const;

  TCustomTreeView& tree_;
  HTREEITEM item_ = nullptr;
  std::wstring text_;
  int image_index_ = -1;
  int selected_index_ = -1;
  int overlay_index_ = -1;
  std::unique_ptr<TObject> data_;
};

}  // namespace pem::gui
