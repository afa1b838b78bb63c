// The tree control: the platform's tree view with node objects, events and the hooks a derived
// tree (the shell folder tree) takes over.
//
// Nodes live in a store keyed by the control's item handle and are freed when the control
// deletes the item, so no node or its data outlives its item, also when the window or its form
// is destroyed. The `Delete` hook runs for every deletion, before the node object goes.
//
// Loading: a tree starts in the loading state, in which a derived tree only stores its
// properties. Whoever builds the tree (its form) sets the properties and then calls
// `FinishLoading`, which ends the state and runs the `Loaded` hook once.
//
// Window: the constructor creates the window with the base `CreateWnd`; a derived tree does in
// its own constructor what its `CreateWnd` adds. `RecreateWnd` destroys and re-creates the window
// through the hooks. `DestroyWnd` runs whenever the window is being destroyed, while its items
// still exist. Once a derived tree's destructor has run only the base hooks are left, so it
// releases its nodes there if its `Delete` hook must see them.
//
// A handler that throws while the control reports something is shown by the application's error
// display, and the report gets its refusal (no selection change, expansion, collapse or edit).
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "control.h"
#include "event.h"
#include "tree_node.h"

namespace pem::gui {

using TTVChangingEvent = Event<TObject&, TTreeNode*, bool&>;
using TTVChangedEvent = Event<TObject&, TTreeNode*>;
// Expanding, collapsing and editing: the flag starts true, false vetoes.
using TTVExpandingEvent = Event<TObject&, TTreeNode&, bool&>;
using TTVCollapsingEvent = Event<TObject&, TTreeNode&, bool&>;
using TTVEditingEvent = Event<TObject&, TTreeNode&, bool&>;
using TTVExpandedEvent = Event<TObject&, TTreeNode&>;
using TTVEditedEvent = Event<TObject&, TTreeNode&, std::wstring&>;

// Orders two siblings: negative puts the first in front, positive the second, 0 keeps them.
using TTVCompare = std::function<int(const TTreeNode&, const TTreeNode&)>;

// Everything a new node shows, set with the node in one request to the control.
struct TNodeInit {
  std::wstring text = {};
  int image_index = -1;
  int selected_index = -1;
  int overlay_index = -1;
  bool has_children = false;
  std::unique_ptr<TObject> data = nullptr;
};

class TCustomTreeView : public TWinControl {
 public:
  TCustomTreeView(TComponent& owner, TWinControl& parent, const ControlLayout& layout);
  ~TCustomTreeView() override;

  bool Loading() const { return loading_; }
  void FinishLoading();
  void RecreateWnd();

  // New nodes; a null parent or sibling means the top level. `Insert` puts the node in front
  // of `sibling`, or last at the top level when there is none.
  TTreeNode& AddChild(TTreeNode* parent, const std::wstring& text);
  TTreeNode& AddChildFirst(TTreeNode* parent, const std::wstring& text);
  TTreeNode& Insert(TTreeNode* sibling, const std::wstring& text);
  TTreeNode& AddChild(TTreeNode* parent, TNodeInit init);
  void Clear();
  // Sorts the direct children of `parent` (the top-level nodes for null) in one pass.
  void CustomSort(TTreeNode* parent, const TTVCompare& compare);

  TTreeNode* GetFirstNode() const;
  TTreeNode* NodeOf(HTREEITEM item) const;
  std::size_t NodeCount() const { return nodes_.size(); }
  // The node under a point of the client area, or null.
  TTreeNode* GetNodeAt(int x, int y) const;

  TTreeNode* Selected() const;
  // Runs the selection-change check; null clears the selection.
  void SetSelected(TTreeNode* node);
  TTreeNode* TopItem() const;
  void SetTopItem(TTreeNode& node);

  // Repaints stay suspended while more updates were begun than ended.
  void BeginUpdate();
  void EndUpdate();
  class UpdateScope {
   public:
    explicit UpdateScope(TCustomTreeView& tree) : tree_(tree) { tree_.BeginUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;
    ~UpdateScope() { tree_.EndUpdate(); }

   private:
    TCustomTreeView& tree_;
  };

  bool IsEditing() const;
  // Ends a label edit begun by the user or by `TTreeNode::EditText`: the `Edit` hook sees the
  // edit box's text, or a cancel, exactly once.
  void EndEditing(bool cancel);

  bool HideSelection() const { return !HasStyle(TVS_SHOWSELALWAYS); }
  void SetHideSelection(bool hide) { SetStyle(TVS_SHOWSELALWAYS, !hide); }
  bool ShowLines() const { return HasStyle(TVS_HASLINES); }
  void SetShowLines(bool show) { SetStyle(TVS_HASLINES, show); }
  bool ShowRoot() const { return HasStyle(TVS_LINESATROOT); }
  void SetShowRoot(bool show) { SetStyle(TVS_LINESATROOT, show); }
  bool ShowButtons() const { return HasStyle(TVS_HASBUTTONS); }
  void SetShowButtons(bool show) { SetStyle(TVS_HASBUTTONS, show); }
  bool ReadOnly() const { return !HasStyle(TVS_EDITLABELS); }
  void SetReadOnly(bool read_only) { SetStyle(TVS_EDITLABELS, !read_only); }
  int Indent() const;
  void SetIndent(int pixels);
  bool RightClickSelect() const { return right_click_select_; }
  void SetRightClickSelect(bool select) { right_click_select_ = select; }
  // Borrowed: the tree never destroys the list.
  HIMAGELIST Images() const { return images_; }
  void SetImages(HIMAGELIST images);

  TTVChangingEvent OnChanging;
  TTVChangedEvent OnChange;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVExpandedEvent OnGetImageIndex;
  TTVExpandedEvent OnGetSelectedIndex;

  // Tells whether a node was deleted while it was watched: a handler given a node may delete it.
  class NodeWatch {
   public:
    NodeWatch(TCustomTreeView& tree, const TTreeNode& node);
    NodeWatch(const NodeWatch&) = delete;
    NodeWatch& operator=(const NodeWatch&) = delete;
    ~NodeWatch();
    bool Deleted() const { return node_ == nullptr; }

   private:
    friend class TCustomTreeView;
    TCustomTreeView& tree_;
    const TTreeNode* node_;
    NodeWatch* outer_;
  };

 protected:
  virtual void CreateWnd();
  // Deletes every item.
  virtual void DestroyWnd();
  virtual void Loaded() {}
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

  // The node is about to be drawn; a handler may set its indexes.
  virtual void GetImageIndex(TTreeNode& node);
  virtual void GetSelectedIndex(TTreeNode& node);
  // The checks give whether to go on; they raise the events.
  virtual bool CanChange(TTreeNode* node);
  virtual void Change(TTreeNode* node);
  virtual bool CanExpand(TTreeNode& node);
  virtual void Expand(TTreeNode& node);
  virtual bool CanCollapse(TTreeNode& node);
  virtual void Collapse(TTreeNode& node);
  virtual bool CanEdit(TTreeNode& node);
  // A label edit ended: the new text, or nothing when it was cancelled. The base raises
  // `OnEdited` and shows the (possibly changed) text.
  virtual void Edit(TTreeNode& node, const std::optional<std::wstring>& text);
  // A context menu is asked for at a screen point ({-1, -1} from the keyboard); set `handled`
  // when it was shown.
  virtual void DoContextPopup(POINT screen_point, bool& handled);
  // The node and its data are freed right after.
  virtual void Delete(TTreeNode& node);

  LRESULT NotifyMessage(NMHDR& header) override;

 private:
  friend class TTreeNode;

  bool HasStyle(DWORD style) const;
  void SetStyle(DWORD style, bool on);
  TTreeNode& InsertNode(HTREEITEM parent, HTREEITEM after, TNodeInit init);
  void ChangeExpansion(TTreeNode& node, bool expand);
  // Expands or collapses with no checks or events.
  void SendExpand(TTreeNode& node, UINT action);
  bool StartEditing(TTreeNode& node);
  LRESULT TreeNotify(NMHDR& header);
  LRESULT ExpansionNotify(UINT code, const NMTREEVIEWW& notice);
  LRESULT EndEditNotify(const NMTVDISPINFOW& notice);
  void SupplyImages(NMTVDISPINFOW& notice);
  void RightClicked();
  void DeleteItem(HTREEITEM item);
  void ReleaseLeftoverNodes();
  // Runs the `Delete` hook for a node on its way out; its watches see it gone first.
  void NodeDeleted(TTreeNode& node);
  // Raises an event that may refuse; a handler that deleted the node refuses too.
  template <typename Event, typename Node>
  bool AllowedAndKept(const Event& event, Node& node);

  ControlLayout layout_;
  DWORD style_;
  std::unordered_map<HTREEITEM, std::unique_ptr<TTreeNode>> nodes_;
  HIMAGELIST images_ = nullptr;
  int indent_ = -1;  // the control's own until set
  int update_count_ = 0;
  bool loading_ = true;
  bool right_click_select_ = false;
  bool destroying_ = false;
  // A program's expansion of this item: its checks and events are run around the control.
  HTREEITEM expanding_ = nullptr;
  // The item whose collapse the check refused last.
  HTREEITEM refused_collapse_ = nullptr;
  // The item whose label is being edited until its one end is reported.
  HTREEITEM editing_ = nullptr;
  // An edit ended by the program, whose outcome the control may misreport: the text to
  // commit, or none for a cancel.
  bool ending_by_program_ = false;
  std::optional<std::wstring> program_text_;
  // The innermost of the watches alive, each holding the next outer one.
  NodeWatch* watches_ = nullptr;
};

}  // namespace pem::gui
