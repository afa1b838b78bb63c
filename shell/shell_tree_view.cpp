#include "shell_tree_view.h"

#include <shellapi.h>

#include <cstdint>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include "application.h"
#include "errors.h"
#include "framework_messages.h"
#include "id_lists.h"
#include "win32_text.h"

namespace pem::shell {
namespace {

using gui::TTreeNode;

// Sets a flag for a scope, and clears it on every path.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;
  ~FlagScope() { flag_ = false; }

 private:
  bool& flag_;
};

ImageListRef SmallSystemImages() {
  SHFILEINFOW info{};
  return ImageListRef(reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON)));
}

// The folder part of a path: up to and with its last "\" or ":".
std::wstring FolderPart(const std::wstring& path) {
  const std::size_t end = path.find_last_of(L"\\:");
  return end == std::wstring::npos ? std::wstring() : path.substr(0, end + 1);
}

std::wstring CurrentDirectory() {
  std::wstring directory(GetCurrentDirectoryW(0, nullptr), L'\0');
  directory.resize(GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data()));
  return directory;
}

void SetIcons(TTreeNode& node, const TShellFolder& item) {
  node.SetImageIndex(ItemIconIndex(item.FullId(), false, false));
  node.SetSelectedIndex(ItemIconIndex(item.FullId(), false, true));
}

// Whether two lists hold the same bytes: the same list, not only the same object.
bool SameIdBytes(const ITEMIDLIST* a, const ITEMIDLIST* b) {
  const std::size_t size = IdListByteSize(a);
  return size == IdListByteSize(b) && (size == 0 || std::memcmp(a, b, size) == 0);
}

// The system list's icon for any folder, closed or open: what a node shows until its own is known.
int GenericFolderIcon(bool open) {
  SHFILEINFOW info{};
  SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                 SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON |
                     (open ? SHGFI_OPENICON : 0u));
  return info.iIcon;
}

// How long one round of icon look-ups may keep the thread from the user's input.
constexpr DWORD kIconRoundMilliseconds = 20;

}  // namespace

TCustomShellTreeView::TCustomShellTreeView(gui::TComponent& owner, gui::TWinControl& parent,
                                           const gui::ControlLayout& layout)
    : TCustomTreeView(owner, parent, layout),
      system_images_(SmallSystemImages()),
      placeholder_icons_{GenericFolderIcon(false), GenericFolderIcon(true)} {
  SetRightClickSelect(true);
  SetShowRoot(false);
  // What creating the window adds to the base's.
  if (!Images()) SetImageList();
}

TCustomShellTreeView::~TCustomShellTreeView() {
  notifier_.reset();
}

TShellFolder* TCustomShellTreeView::ItemOf(const TTreeNode& node) {
  return static_cast<TShellFolder*>(node.Data());
}

void TCustomShellTreeView::SetRoot(const TRoot& root) {
  if (SameTextIgnoringCase(root, root_)) return;
  previous_root_ = std::exchange(root_, root);
  RebuildFromRoot();
}

void TCustomShellTreeView::SetObjectTypes(TShellObjectTypes types) {
  object_types_ = types;
  RebuildFromRoot();
}

void TCustomShellTreeView::SetUseShellImages(bool use) {
  use_shell_images_ = use;
  SetImageList();
}

void TCustomShellTreeView::SetAutoRefresh(bool watch) {
  auto_refresh_ = watch;
  if (Loading()) return;
  notifier_.reset();
  if (watch)
    notifier_ =
        std::make_unique<TShellChangeNotifier>(WatchedFolder(), [this] { ReloadSelected(); });
}

std::wstring TCustomShellTreeView::WatchedFolder() const {
  if (watched_node_) {
    if (const TShellFolder* item = ItemOf(*watched_node_)) return item->WideFileSystemPath();
  }
  return root_item_ ? root_item_->WideFileSystemPath() : std::wstring();
}

TShellFolder* TCustomShellTreeView::SelectedItem() const {
  const TTreeNode* node = Selected();
  return node ? ItemOf(*node) : nullptr;
}

std::string TCustomShellTreeView::SelectedPath() const {
  const TShellFolder* item = SelectedItem();
  return item ? item->FileSystemPath() : std::string();
}

void TCustomShellTreeView::SetSelectedPath(const std::string& path) {
  AbsoluteIdList list;
  if (FAILED(ParsePath(WidenCp932(path), list))) throw EInvalidPath(PathErrorMessage(path));
  SelectById(list.get());
}

void TCustomShellTreeView::BuildRootNode() {
  if (Loading()) return;
  std::optional<std::string> failure;
  try {
    ResolveRoot(root_item_, previous_root_, root_);
  } catch (const Exception& error) {
    failure = error.Message();
  }
  if (root_item_) {
    const FlagScope building(building_root_);
    if (GetFirstNode()) ReleaseAllNodes();
    auto item = std::make_unique<TShellFolder>(
        nullptr, ComPtr<IShellFolder>::Borrow(root_item_->BoundFolder()), root_item_->FullId());
    TTreeNode& node = AddItemNode(nullptr, std::move(item));
    const TShellFolder& shown = *ItemOf(node);
    node.SetText(WideDisplayNameOf(DesktopShellFolder().get(), shown.FullId(), SHGDN_NORMAL));
    if (use_shell_images_ && !Images()) ShowPlaceholderIcons(node);
    node.SetHasChildren(shown.MayHaveSubfolders());
    node.Expand();
    SetSelected(&node);
  }
  if (failure) throw Exception(*failure);
}

TTreeNode& TCustomShellTreeView::AddItemNode(TTreeNode* parent,
                                             std::unique_ptr<TShellFolder> item) {
  TTreeNode& node = AddChild(parent, L"");
  node.SetData(std::move(item));
  return node;
}

void TCustomShellTreeView::RebuildFromRoot() {
  if (syncing_) return;
  std::exception_ptr failure;
  {
    const FlagScope syncing(syncing_);
    try {
      BuildRootNode();
    } catch (...) {
      failure = std::current_exception();
    }
  }
  // Whichever root the tree shows now, a watcher watches its selection, not a folder of before.
  WatchFolderOf(Selected());
  if (failure) std::rethrow_exception(failure);
}

void TCustomShellTreeView::ReleaseAllNodes() {
  // The deletion hook releases each node's item as the control deletes the node.
  Clear();
  icon_queue_.clear();
}

void TCustomShellTreeView::FillChildren(TTreeNode& node) {
  const WaitCursor waiting;
  const UpdateScope suspended(*this);
  const TShellFolder* shown = ItemOf(node);
  if (!shown) return;
  const ComPtr<IEnumIDList> enumerator = ListingOf(*shown);
  if (!enumerator) return;
  // The lists of the children kept, in the order they were added: the order check reads them
  // without asking the control for each sibling.
  std::vector<ChildIdList> kept;
  for (;;) {
    ChildIdList list;
    if (enumerator->Next(1, list.put(), nullptr) != S_OK || !list) break;
    if (AddListedChild(node, list.get())) kept.push_back(std::move(list));
  }
  // The shell usually lists a folder in its own order: one comparison a child confirms it.
  if (!InShellOrder(shown->BoundFolder(), kept)) SortChildren(node);
}

ComPtr<IEnumIDList> TCustomShellTreeView::ListingOf(const TShellFolder& item) const {
  ComPtr<IEnumIDList> enumerator;
  IShellFolder* folder = item.BoundFolder();
  if (!folder) return enumerator;
  try {
    if (folder->EnumObjects(gui::Application().Handle(), EnumerationFlags(object_types_),
                            enumerator.put()) != S_OK)
      enumerator.reset();
  } catch (const Exception&) {
    enumerator.reset();
  }
  return enumerator;
}

bool TCustomShellTreeView::AddListedChild(TTreeNode& parent, const ITEMIDLIST* list) {
  auto item = TShellFolder::Listed(*ItemOf(parent), list);
  gui::TNodeInit init = ChildShape(*item);
  init.data = std::move(item);
  TTreeNode& child = AddChild(&parent, std::move(init));
  if (use_shell_images_ && !Images()) icons_pending_.insert(&child);
  if (gui::Allowed(OnAddFolder, *this, *ItemOf(child))) return true;
  child.Delete();
  return false;
}

gui::TNodeInit TCustomShellTreeView::ChildShape(const TShellFolder& item) const {
  gui::TNodeInit init;
  init.text = item.WideDisplayText();
  if (use_shell_images_ && !Images()) {
    init.image_index = placeholder_icons_[0];
    init.selected_index = placeholder_icons_[1];
  }
  // One question answers both the button and the shared overlay.
  const SFGAOF attributes = item.Attributes(SFGAO_HASSUBFOLDER | SFGAO_SHARE);
  // With non-folders shown, a folder has a button when it lists anything at all.
  init.has_children = object_types_.non_folders && item.BoundFolder()
                          ? HasEnumerableItems(item.BoundFolder(), EnumerationFlags(object_types_))
                          : (attributes & SFGAO_HASSUBFOLDER) != 0;
  if (attributes & SFGAO_SHARE) init.overlay_index = 0;
  return init;
}

void TCustomShellTreeView::SetUpChildNode(TTreeNode& child, const ITEMIDLIST* list,
                                          TTreeNode& parent) {
  TShellFolder* parent_item = ItemOf(parent);
  try {
    if (!parent_item) throw EOleSysError(E_POINTER);
    child.SetData(TShellFolder::Listed(*parent_item, list));
  } catch (...) {
    // No node stays without the item it shows.
    child.Delete();
    throw;
  }
  const TShellFolder& item = *ItemOf(child);
  gui::TNodeInit shape = ChildShape(item);
  child.SetText(shape.text);
  if (use_shell_images_ && !Images()) {
    SetIcons(child, item);
    if (child.SelectedIndex() == 0) child.SetSelectedIndex(child.ImageIndex());
  }
  child.SetHasChildren(shape.has_children);
  if (shape.overlay_index >= 0) child.SetOverlayIndex(shape.overlay_index);
  if (!gui::Allowed(OnAddFolder, *this, *ItemOf(child))) child.Delete();
}

void TCustomShellTreeView::SortChildren(TTreeNode& node) {
  CustomSort(&node, [](const TTreeNode& a, const TTreeNode& b) {
    return CompareSiblings(*ItemOf(a), *ItemOf(b));
  });
}

void TCustomShellTreeView::SelectById(const ITEMIDLIST* id) {
  if (syncing_ || Loading() || !GetFirstNode()) return;
  if (const TShellFolder* selected = SelectedItem(); selected && SameIdList(selected->FullId(), id))
    return;
  {
    const FlagScope syncing(syncing_);
    const UpdateScope suspended(*this);
    TTreeNode* current = GetFirstNode();
    for (const AbsoluteIdList& ancestor : CollectAncestorIds(id)) {
      if (TTreeNode* found = FindNodeById(ancestor.get(), current)) {
        found->Expand();
        current = found;
      }
    }
    SetSelected(FindNodeById(id, current));
  }
  WatchFolderOf(Selected());
}

TTreeNode* TCustomShellTreeView::FindNodeById(const ITEMIDLIST* id, TTreeNode* start) const {
  if (!start) return nullptr;
  return FindAtDepth(id, CountIdElements(id), *start);
}

// Document order within the subtree of `node`; a node's list is one element longer than its
// parent's, so only nodes whose lists are as long as `id` can name it, and none below them.
TTreeNode* TCustomShellTreeView::FindAtDepth(const ITEMIDLIST* id, std::size_t depth,
                                             TTreeNode& node) const {
  const TShellFolder* item = ItemOf(node);
  const std::size_t node_depth = item ? CountIdElements(item->FullId()) : 0;
  if (item && node_depth == depth) return SameIdList(item->FullId(), id) ? &node : nullptr;
  if (item && node_depth > depth) return nullptr;
  const bool parent_depth = item && node_depth + 1 == depth;
  for (TTreeNode* child = node.GetFirstChild(); child; child = child->GetNextSibling()) {
    if (parent_depth && !MayBeLastElement(*item, *child, id)) continue;
    if (TTreeNode* found = FindAtDepth(id, depth, *child)) return found;
  }
  return nullptr;
}

// Whether a child may name the object: its folder orders its name as the object's last element.
// The desktop's comparison of two whole lists walks every folder on their way, so among
// thousands of siblings only the one that this cheap test lets through is compared that way.
bool TCustomShellTreeView::MayBeLastElement(const TShellFolder& parent, const TTreeNode& child,
                                            const ITEMIDLIST* id) {
  IShellFolder* folder = parent.BoundFolder();
  const TShellFolder* item = ItemOf(child);
  if (!folder || !item) return true;
  const ITEMIDLIST* last = id;
  for (const ITEMIDLIST* next = NextIdElement(last); next->mkid.cb; next = NextIdElement(next))
    last = next;
  const HRESULT status = folder->CompareIDs(0, item->LocalId(), last);
  return FAILED(status) || static_cast<std::int16_t>(status & 0xFFFF) == 0;
}

void TCustomShellTreeView::ReloadSelected() {
  if (TTreeNode* node = Selected()) ReloadNode(*node);
}

void TCustomShellTreeView::ReloadNode(TTreeNode& node) {
  const TShellFolder* old_item = ItemOf(node);
  if (!old_item || !old_item->BoundFolder()) return;
  const auto id_of = [](const TTreeNode* shown) {
    const TShellFolder* item = shown ? ItemOf(*shown) : nullptr;
    return item ? CloneIdList<AbsoluteIdList>(item->FullId()) : AbsoluteIdList();
  };
  const AbsoluteIdList top_id = id_of(TopItem());
  const AbsoluteIdList selected_id = id_of(Selected());
  const UpdateScope suspended(*this);
  const WaitCursor waiting;
  TTreeNode& fresh = InsertFreshNode(node);
  FillChildren(fresh);
  ExpandLikeOld(node, fresh);
  node.Delete();
  SelectAndShowAgain(selected_id.get(), top_id.get());
}

TTreeNode& TCustomShellTreeView::InsertFreshNode(TTreeNode& node) {
  const TShellFolder& old_item = *ItemOf(node);
  TTreeNode* parent = node.Parent();
  auto item = std::make_unique<TShellFolder>(parent ? ItemOf(*parent) : nullptr,
                                             ComPtr<IShellFolder>::Borrow(old_item.BoundFolder()),
                                             old_item.LocalId());
  TTreeNode& fresh = Insert(&node, L"");
  fresh.SetData(std::move(item));
  const TShellFolder& shown = *ItemOf(fresh);
  SetIcons(fresh, shown);
  fresh.SetHasChildren(shown.MayHaveSubfolders());
  fresh.SetText(shown.WideDisplayText());
  return fresh;
}

void TCustomShellTreeView::ExpandLikeOld(TTreeNode& old, TTreeNode& fresh) {
  const int level = old.Level();
  for (TTreeNode* below = &old; below && (below == &old || below->Level() > level);
       below = below->GetNext()) {
    const TShellFolder* item = ItemOf(*below);
    if (!item || !below->Expanded()) continue;
    if (TTreeNode* found = FindNodeById(item->FullId(), &fresh)) found->Expand();
  }
}

void TCustomShellTreeView::SelectAndShowAgain(const ITEMIDLIST* selected, const ITEMIDLIST* top) {
  if (selected) SetSelected(FindNodeById(selected, GetFirstNode()));
  if (top) {
    if (TTreeNode* found = FindNodeById(top, GetFirstNode())) SetTopItem(*found);
  }
}

void TCustomShellTreeView::SetImageList() {
  const FlagScope guarded(image_list_guard_);
  HIMAGELIST list = Images();
  if (!list && use_shell_images_) list = system_images_.get();
  SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

void TCustomShellTreeView::OpenItem(const TShellFolder& item) {
  const std::wstring path = item.WideFileSystemPath();
  ShellExecuteW(Handle(), nullptr, path.c_str(), nullptr, FolderPart(path).c_str(), SW_SHOWNORMAL);
}

void TCustomShellTreeView::Loaded() {
  TCustomTreeView::Loaded();
  BuildRootNode();
}

void TCustomShellTreeView::CreateWnd() {
  TCustomTreeView::CreateWnd();
  if (GetFirstNode()) ReleaseAllNodes();
  if (!Images()) SetImageList();
  if (!building_root_) BuildRootNode();
}

void TCustomShellTreeView::DestroyWnd() {
  ReleaseAllNodes();
  TCustomTreeView::DestroyWnd();
}

// The context menu being shown draws and measures its own items; without one, the messages go
// where they go for any control.
bool TCustomShellTreeView::MenuMessage(UINT message, WPARAM wparam, LPARAM lparam,
                                       LRESULT& result) {
  return ForwardShellMenuMessage(message, wparam, lparam, result) ||
         TCustomTreeView::MenuMessage(message, wparam, lparam, result);
}

LRESULT TCustomShellTreeView::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case TVM_SETIMAGELIST:
      if (image_list_guard_) break;
      SetImageList();
      return 0;
    case gui::kAfterPaintMessage:
      LookUpQueuedIcons();
      return 0;
    default:
      break;
  }
  return TCustomTreeView::WndProc(message, wparam, lparam);
}

void TCustomShellTreeView::GetImageIndex(TTreeNode& node) {
  if (Images())
    TCustomTreeView::GetImageIndex(node);
  else
    QueueIconLookUp(node);
}

void TCustomShellTreeView::GetSelectedIndex(TTreeNode& node) {
  if (Images())
    TCustomTreeView::GetSelectedIndex(node);
  else
    QueueIconLookUp(node);
}

void TCustomShellTreeView::ShowPlaceholderIcons(TTreeNode& node) {
  node.SetImageIndex(placeholder_icons_[0]);
  node.SetSelectedIndex(placeholder_icons_[1]);
  icons_pending_.insert(&node);
}

// A paint never waits for the shell's icons: the node shows the generic folder until the icons
// are looked up once the paint is done, a few at a time, and kept in the node.
void TCustomShellTreeView::QueueIconLookUp(TTreeNode& node) {
  if (!icons_pending_.contains(&node)) return;
  icon_queue_.push_back(&node);
  if (icon_queue_.size() == 1) PostMessageW(Handle(), gui::kAfterPaintMessage, 0, 0);
}

void TCustomShellTreeView::LookUpQueuedIcons() {
  const DWORD start = GetTickCount();
  while (!icon_queue_.empty() && GetTickCount() - start < kIconRoundMilliseconds) {
    TTreeNode* node = icon_queue_.front();
    icon_queue_.pop_front();
    // Only a node still pending is alive, as the deletion hook forgets the ones that go: nothing
    // of a queued node is read before that check.
    if (!icons_pending_.erase(node)) continue;
    const TShellFolder* item = ItemOf(*node);
    if (!item) continue;
    SetIcons(*node, *item);
    if (node->SelectedIndex() == 0) node->SetSelectedIndex(node->ImageIndex());
  }
  if (!icon_queue_.empty()) PostMessageW(Handle(), gui::kAfterPaintMessage, 0, 0);
}

bool TCustomShellTreeView::CanChange(TTreeNode* node) {
  const bool allow = TCustomTreeView::CanChange(node);
  // A selection that a sync makes is followed once the sync is done.
  if (allow && !syncing_ && node) WatchFolderOf(node);
  return allow;
}

// A watcher, when there is one, follows the selection to its folder.
void TCustomShellTreeView::WatchFolderOf(TTreeNode* node) {
  watched_node_ = node;
  const bool watching = auto_refresh_;
  SetAutoRefresh(false);
  SetAutoRefresh(watching);
  watched_node_ = nullptr;
}

bool TCustomShellTreeView::CanExpand(TTreeNode& node) {
  const NodeWatch watch(*this, node);
  const bool allow = TCustomTreeView::CanExpand(node);
  if (watch.Deleted()) return false;
  // Whatever happens, the button shows only what the node has now.
  struct ButtonFollowsChildren {
    TTreeNode& node;
    ~ButtonFollowsChildren() { node.SetHasChildren(node.GetFirstChild() != nullptr); }
  } button{node};
  if (!allow) return false;
  const TShellFolder* item = ItemOf(node);
  if (!item) return true;
  if (!item->IsContainer())
    OpenItem(*item);
  else if (node.HasChildren() && !node.GetFirstChild())
    FillChildren(node);
  return true;
}

void TCustomShellTreeView::DoContextPopup(POINT position, bool& handled) {
  if (!auto_context_menus_) {
    TCustomTreeView::DoContextPopup(position, handled);
    return;
  }
  handled = true;
  TTreeNode* node = Selected();
  if (!node || !ItemOf(*node)) return;
  if (position.x == -1 && position.y == -1) {
    RECT bounds{};
    const HTREEITEM item = node->ItemId();
    std::memcpy(&bounds, &item, sizeof(item));
    SendMessageW(Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&bounds));
    position = {bounds.left, bounds.bottom};
    ClientToScreen(Handle(), &position);
  }
  ShowShellContextMenu(*ItemOf(*node), Handle(), position, *this);
}

void TCustomShellTreeView::BeforeCommand(const std::string& verb, bool& handled) {
  TTreeNode* node = Selected();
  if (SameTextIgnoringCase(verb, "rename") && node) {
    node->EditText();
    handled = true;
  } else if (SameTextIgnoringCase(verb, "open") && node && ItemOf(*node)) {
    saved_directory_ = CurrentDirectory();
    SetCurrentDirectoryW(FolderPart(ItemOf(*node)->WideFileSystemPath()).c_str());
  }
}

void TCustomShellTreeView::AfterCommand(const std::string& verb, bool succeeded) {
  if (SameTextIgnoringCase(verb, "open") && !saved_directory_.empty()) {
    SetCurrentDirectoryW(saved_directory_.c_str());
    saved_directory_.clear();
  }
  TTreeNode* node = Selected();
  if (!succeeded || !node || !ItemOf(*node)) return;
  if (SameTextIgnoringCase(verb, "delete")) {
    // The user may have declined: the node goes only with what it showed.
    const std::wstring path = ItemOf(*node)->WideFileSystemPath();
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) node->Delete();
  } else if (SameTextIgnoringCase(verb, "paste")) {
    ReloadNode(*node);
  }
}

void TCustomShellTreeView::Edit(TTreeNode& node, const std::optional<std::wstring>& text) {
  if (!text) return;
  std::wstring name = *text;
  const NodeWatch watch(*this, node);
  OnEdited(*this, node, name);
  if (!watch.Deleted()) RenameNode(node, name);
}

void TCustomShellTreeView::RenameNode(TTreeNode& node, const std::wstring& name) {
  TShellFolder* item = ItemOf(node);
  if (!item) return;
  const AbsoluteIdList before = CloneIdList<AbsoluteIdList>(item->FullId());
  if (!item->Rename(name)) return;
  node.SetText(name);
  if (!SameIdBytes(before.get(), item->FullId())) {
    FollowRename(node);
  } else if (TTreeNode* parent = node.Parent()) {
    // The shell did not say what the folder is called now: its parent lists it afresh.
    ReloadNode(*parent);
  }
}

void TCustomShellTreeView::FollowRename(TTreeNode& node) {
  // In document order, every item is rebased after its parent.
  const int level = node.Level();
  for (TTreeNode* below = node.GetNext(); below && below->Level() > level;
       below = below->GetNext()) {
    if (TShellFolder* item = ItemOf(*below)) item->Rebase();
  }
  if (node.Parent()) return;
  // The root node's folder is the root's: a later rebuild starts from its new name.
  const TShellFolder& shown = *ItemOf(node);
  root_item_ = ItemFromAbsoluteId(shown.FullId());
  if (!RootFolderFromName(root_)) root_ = shown.FileSystemPath();
}

void TCustomShellTreeView::Delete(TTreeNode& node) {
  if (watched_node_ == &node) watched_node_ = nullptr;
  icons_pending_.erase(&node);
  node.SetData(nullptr);
  TCustomTreeView::Delete(node);
}

}  // namespace pem::shell
