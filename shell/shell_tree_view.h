// A tree of the shell namespace below a root folder: one top-level node for the root, one child
// node per object, children listed from the shell when a node is first expanded. Every node
// owns the item it shows.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>

#include "change_notifier.h"
#include "event.h"
#include "root_folder.h"
#include "shell_folder.h"
#include "shell_menu.h"
#include "tree_view.h"

namespace pem::shell {

using TAddFolderEvent = gui::Event<gui::TObject&, TShellFolder&, bool&>;

class TCustomShellTreeView : public gui::TCustomTreeView, public IShellMenuCommandHook {
 public:
  TCustomShellTreeView(gui::TComponent& owner, gui::TWinControl& parent,
                       const gui::ControlLayout& layout);
  ~TCustomShellTreeView() override;

  const TRoot& Root() const { return root_; }
  // A text other than the current one, letter case aside, rebuilds the tree from it; a text that
  // names nothing raises Exception and the tree shows the previous root again.
  void SetRoot(const TRoot& root);
  TShellObjectTypes ObjectTypes() const { return object_types_; }
  virtual void SetObjectTypes(TShellObjectTypes types);
  bool UseShellImages() const { return use_shell_images_; }
  void SetUseShellImages(bool use);
  bool AutoContextMenus() const { return auto_context_menus_; }
  void SetAutoContextMenus(bool show) { auto_context_menus_ = show; }
  bool AutoRefresh() const { return auto_refresh_; }
  void SetAutoRefresh(bool watch);

  // The selected node's item, or null.
  TShellFolder* SelectedItem() const;
  // The selected folder's parsing name in code page 932 ("?" for a character without a form
  // there), or empty text.
  std::string SelectedPath() const;
  // Selects the folder that the desktop parses the text as; EInvalidPath when it cannot.
  void SetSelectedPath(const std::string& path);
  // Expands the ancestors of the object and selects its node; clears the selection when the
  // object lies outside the tree.
  void SelectById(const ITEMIDLIST* id);
  // The first node from `start` on, within its subtree, that shows the object.
  gui::TTreeNode* FindNodeById(const ITEMIDLIST* id, gui::TTreeNode* start) const;
  // Lists the node again from the shell, keeping what was expanded, selected and on top.
  void ReloadNode(gui::TTreeNode& node);
  void ReloadSelected();
  virtual void ReleaseAllNodes();
  void BuildRootNode();
  void RebuildFromRoot();
  void FillChildren(gui::TTreeNode& node);
  void SetUpChildNode(gui::TTreeNode& child, const ITEMIDLIST* list, gui::TTreeNode& parent);

  // The item a node shows.
  static TShellFolder* ItemOf(const gui::TTreeNode& node);

  TAddFolderEvent OnAddFolder;

 protected:
  void Loaded() override;
  void CreateWnd() override;
  void DestroyWnd() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool MenuMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
  void GetImageIndex(gui::TTreeNode& node) override;
  void GetSelectedIndex(gui::TTreeNode& node) override;
  bool CanChange(gui::TTreeNode* node) override;
  bool CanExpand(gui::TTreeNode& node) override;
  void DoContextPopup(POINT position, bool& handled) override;
  void Edit(gui::TTreeNode& node, const std::optional<std::wstring>& text) override;
  void Delete(gui::TTreeNode& node) override;

  void BeforeCommand(const std::string& verb, bool& handled) override;
  void AfterCommand(const std::string& verb, bool succeeded) override;

 private:
  gui::TTreeNode& AddItemNode(gui::TTreeNode* parent, std::unique_ptr<TShellFolder> item);
  ComPtr<IEnumIDList> ListingOf(const TShellFolder& item) const;
  // False when the OnAddFolder handler turned the child away.
  bool AddListedChild(gui::TTreeNode& parent, const ITEMIDLIST* list);
  // What a listed child shows, from one attribute query; icons as placeholders.
  gui::TNodeInit ChildShape(const TShellFolder& item) const;
  void SortChildren(gui::TTreeNode& node);
  gui::TTreeNode* FindAtDepth(const ITEMIDLIST* id, std::size_t depth, gui::TTreeNode& node) const;
  static bool MayBeLastElement(const TShellFolder& parent, const gui::TTreeNode& child,
                               const ITEMIDLIST* id);
  // The generic folder's icons until the node is drawn and its own are looked up.
  void ShowPlaceholderIcons(gui::TTreeNode& node);
  void QueueIconLookUp(gui::TTreeNode& node);
  void LookUpQueuedIcons();
  void WatchFolderOf(gui::TTreeNode* node);
  // Step by step, what reloading a node does.
  gui::TTreeNode& InsertFreshNode(gui::TTreeNode& node);
  void ExpandLikeOld(gui::TTreeNode& old, gui::TTreeNode& fresh);
  void SelectAndShowAgain(const ITEMIDLIST* selected, const ITEMIDLIST* top);
  // Renames the node's folder and has the nodes below it, and the root, follow.
  void RenameNode(gui::TTreeNode& node, const std::wstring& name);
  void FollowRename(gui::TTreeNode& node);
  void SetImageList();
  void OpenItem(const TShellFolder& item);
  void ShowContextMenu(POINT position);
  std::wstring WatchedFolder() const;

  TRoot root_ = "rfDesktop";
  TRoot previous_root_;
  std::unique_ptr<TShellFolder> root_item_;
  TShellObjectTypes object_types_;
  ImageListRef system_images_;
  // The generic folder's icons, closed and open.
  std::array<int, 2> placeholder_icons_;
  // Nodes showing the placeholder, and those of them drawn since the last look-up.
  std::unordered_set<gui::TTreeNode*> icons_pending_;
  std::deque<gui::TTreeNode*> icon_queue_;
  bool building_root_ = false;
  bool auto_context_menus_ = true;
  bool syncing_ = false;
  bool auto_refresh_ = false;
  bool image_list_guard_ = false;
  bool use_shell_images_ = true;
  std::unique_ptr<TShellChangeNotifier> notifier_;
  std::wstring saved_directory_;
  gui::TTreeNode* watched_node_ = nullptr;
};

// The tree as forms declare it. Like every tree it starts loading: set its properties, then
// call FinishLoading to build the root.
class TShellTreeView : public TCustomShellTreeView {
 public:
  using TCustomShellTreeView::TCustomShellTreeView;
};

}  // namespace pem::shell
