#include "tree_view.h"

#include <exception>
#include <utility>

#include "application.h"
#include "os_error.h"

namespace pem::gui {
namespace {

constexpr DWORD kDefaultStyle =
    WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_EDITLABELS;

// A failing comparison ends the sort early; its error is raised once the control is done.
struct SortContext {
  const TTVCompare& compare;
  std::exception_ptr error;
};

int CALLBACK CompareNodes(LPARAM first, LPARAM second, LPARAM data) noexcept {
  auto& context = *reinterpret_cast<SortContext*>(data);
  if (context.error) return 0;
  try {
    return context.compare(*reinterpret_cast<const TTreeNode*>(first),
                           *reinterpret_cast<const TTreeNode*>(second));
  } catch (...) {
    context.error = std::current_exception();
    return 0;
  }
}

// What a notification answers when its handler failed: its refusal, where it has one.
LRESULT RefusalOf(UINT code) {
  switch (code) {
    case TVN_SELCHANGINGW:
    case TVN_ITEMEXPANDINGW:
    case TVN_BEGINLABELEDITW:
    case NM_RCLICK:
      return TRUE;
    default:
      return FALSE;
  }
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

POINT PointOf(DWORD packed) {
  return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

}  // namespace

TCustomTreeView::TCustomTreeView(TComponent& owner, TWinControl& parent,
                                 const ControlLayout& layout)
    : TWinControl(owner, &parent), layout_(layout), style_(kDefaultStyle) {
  TCustomTreeView::CreateWnd();
}

TCustomTreeView::~TCustomTreeView() {
  // Deleted here, while this class still answers the control's deletion notices.
  destroying_ = true;
  if (Handle()) DeleteItem(TVI_ROOT);
}

void TCustomTreeView::CreateWnd() {
  destroying_ = false;
  CreateStockWindow({WC_TREEVIEWW, style_, WS_EX_CLIENTEDGE}, layout_);
  SendMessageW(Handle(), TVM_SETUNICODEFORMAT, TRUE, 0);
  if (indent_ >= 0) SendMessageW(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
  if (images_)
    SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
  if (update_count_ > 0) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TCustomTreeView::DestroyWnd() {
  DeleteItem(TVI_ROOT);
}

void TCustomTreeView::RecreateWnd() {
  const RECT bounds = BoundsRect();
  const int order = TabOrder();
  layout_.visible = Visible();
  DestroyWindow(Handle());
  CreateWnd();
  SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
  SetTabOrder(order);
}

void TCustomTreeView::FinishLoading() {
  if (!loading_) return;
  loading_ = false;
  Loaded();
}

TTreeNode& TCustomTreeView::InsertNode(HTREEITEM parent, HTREEITEM after,
                                       const std::wstring& text) {
  auto node = std::make_unique<TTreeNode>(TTreeNode::Key{}, *this, text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = node->text_.data();
  // The indexes are asked for whenever the node is drawn, so that handlers can supply them.
  insert.item.iImage = I_IMAGECALLBACK;
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  insert.item.lParam = reinterpret_cast<LPARAM>(node.get());
  const auto item = reinterpret_cast<HTREEITEM>(
      SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!item) throw EInvalidOperation("The tree control refused a new node");
  node->item_ = item;
  TTreeNode& result = *node;
  try {
    nodes_.emplace(item, std::move(node));
  } catch (...) {
    DeleteItem(item);
    throw;
  }
  return result;
}

TTreeNode& TCustomTreeView::AddChild(TTreeNode* parent, const std::wstring& text) {
  return InsertNode(parent ? parent->item_ : TVI_ROOT, TVI_LAST, text);
}

TTreeNode& TCustomTreeView::AddChildFirst(TTreeNode* parent, const std::wstring& text) {
  return InsertNode(parent ? parent->item_ : TVI_ROOT, TVI_FIRST, text);
}

TTreeNode& TCustomTreeView::Insert(TTreeNode* sibling, const std::wstring& text) {
  if (!sibling) return AddChild(nullptr, text);
  const TTreeNode* parent = sibling->Parent();
  const TTreeNode* previous = sibling->Neighbour(TVGN_PREVIOUS);
  return InsertNode(parent ? parent->item_ : TVI_ROOT, previous ? previous->item_ : TVI_FIRST,
                    text);
}

void TCustomTreeView::DeleteItem(HTREEITEM item) {
  SendMessageW(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

void TCustomTreeView::Clear() {
  UpdateScope suspended(*this);
  DeleteItem(TVI_ROOT);
}

void TCustomTreeView::CustomSort(TTreeNode* parent, const TTVCompare& compare) {
  SortContext context{compare, nullptr};
  TVSORTCB sort{};
  sort.hParent = parent ? parent->item_ : TVI_ROOT;
  sort.lpfnCompare = CompareNodes;
  sort.lParam = reinterpret_cast<LPARAM>(&context);
  SendMessageW(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
  if (context.error) std::rethrow_exception(context.error);
}

TTreeNode* TCustomTreeView::NodeOf(HTREEITEM item) const {
  if (!item) return nullptr;
  const auto found = nodes_.find(item);
  return found == nodes_.end() ? nullptr : found->second.get();
}

TTreeNode* TCustomTreeView::GetFirstNode() const {
  return NodeOf(reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0)));
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) const {
  TVHITTESTINFO hit{};
  hit.pt = {x, y};
  const auto item = reinterpret_cast<HTREEITEM>(
      SendMessageW(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return (hit.flags & TVHT_ONITEM) ? NodeOf(item) : nullptr;
}

TTreeNode* TCustomTreeView::Selected() const {
  return NodeOf(
      reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
  SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
}

TTreeNode* TCustomTreeView::TopItem() const {
  return NodeOf(
      reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TCustomTreeView::SetTopItem(TTreeNode& node) {
  SendMessageW(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node.item_));
}

void TCustomTreeView::BeginUpdate() {
  if (update_count_++ == 0 && Handle()) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TCustomTreeView::EndUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ > 0 || !Handle()) return;
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TCustomTreeView::ChangeExpansion(TTreeNode& node, bool expand) {
  if (node.Expanded() == expand) return;
  if (!(expand ? CanExpand(node) : CanCollapse(node))) return;
  // The control reports a program's expansion only the first time: the checks ran above and
  // the events follow below, whatever it reports meanwhile.
  SendExpand(node, expand ? TVE_EXPAND : TVE_COLLAPSE);
  if (node.Expanded() != expand) return;
  if (expand)
    Expand(node);
  else
    Collapse(node);
}

void TCustomTreeView::SendExpand(TTreeNode& node, UINT action) {
  struct Restore {
    HTREEITEM& item;
    HTREEITEM previous;
    ~Restore() { item = previous; }
  } restore{expanding_, std::exchange(expanding_, node.item_)};
  SendMessageW(Handle(), TVM_EXPAND, action, reinterpret_cast<LPARAM>(node.item_));
}

bool TCustomTreeView::IsEditing() const {
  return SendMessageW(Handle(), TVM_GETEDITCONTROL, 0, 0) != 0;
}

bool TCustomTreeView::StartEditing(TTreeNode& node) {
  if (ReadOnly()) return false;
  ::SetFocus(Handle());
  return SendMessageW(Handle(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node.item_)) != 0;
}

void TCustomTreeView::EndEditing(bool cancel) {
  const auto edit = reinterpret_cast<HWND>(SendMessageW(Handle(), TVM_GETEDITCONTROL, 0, 0));
  if (!edit) return;
  program_text_.reset();
  if (!cancel) program_text_ = TextOf(edit);
  ending_by_program_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{ending_by_program_};
  SendMessageW(Handle(), TVM_ENDEDITLABELNOW, cancel, 0);
}

bool TCustomTreeView::HasStyle(DWORD style) const {
  return (style_ & style) != 0;
}

void TCustomTreeView::SetStyle(DWORD style, bool on) {
  style_ = on ? style_ | style : style_ & ~style;
  if (!Handle()) return;
  const auto current = static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE));
  SetWindowLongW(Handle(), GWL_STYLE, static_cast<LONG>(on ? current | style : current & ~style));
  InvalidateRect(Handle(), nullptr, TRUE);
}

int TCustomTreeView::Indent() const {
  return static_cast<int>(SendMessageW(Handle(), TVM_GETINDENT, 0, 0));
}

void TCustomTreeView::SetIndent(int pixels) {
  indent_ = pixels;
  SendMessageW(Handle(), TVM_SETINDENT, static_cast<WPARAM>(pixels), 0);
}

void TCustomTreeView::SetImages(HIMAGELIST images) {
  images_ = images;
  SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

void TCustomTreeView::GetImageIndex(TTreeNode& node) {
  OnGetImageIndex(*this, node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode& node) {
  OnGetSelectedIndex(*this, node);
}

bool TCustomTreeView::CanChange(TTreeNode* node) {
  bool allow = true;
  OnChanging(*this, node, allow);
  return allow;
}

void TCustomTreeView::Change(TTreeNode* node) {
  OnChange(*this, node);
}

bool TCustomTreeView::CanExpand(TTreeNode& node) {
  bool allow = true;
  OnExpanding(*this, node, allow);
  return allow;
}

void TCustomTreeView::Expand(TTreeNode& node) {
  OnExpanded(*this, node);
}

bool TCustomTreeView::CanCollapse(TTreeNode& node) {
  bool allow = true;
  OnCollapsing(*this, node, allow);
  return allow;
}

void TCustomTreeView::Collapse(TTreeNode& node) {
  OnCollapsed(*this, node);
}

bool TCustomTreeView::CanEdit(TTreeNode& node) {
  bool allow = true;
  OnEditing(*this, node, allow);
  return allow;
}

void TCustomTreeView::Edit(TTreeNode& node, const std::optional<std::wstring>& text) {
  if (!text) return;
  std::wstring shown = *text;
  OnEdited(*this, node, shown);
  node.SetText(shown);
}

void TCustomTreeView::DoContextPopup(POINT, bool&) {}

void TCustomTreeView::Delete(TTreeNode&) {}

LRESULT TCustomTreeView::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DESTROY:
      destroying_ = true;
      try {
        DestroyWnd();
      } catch (...) {
        // The window goes in any case; the control must still see its destruction.
        HandleWindowProcedureException(std::current_exception());
      }
      break;
    case WM_NCDESTROY: {
      const LRESULT result = TWinControl::WndProc(message, wparam, lparam);
      ReleaseLeftoverNodes();
      return result;
    }
    case WM_CONTEXTMENU: {
      bool handled = false;
      DoContextPopup(PointOf(static_cast<DWORD>(lparam)), handled);
      if (handled) return 0;
      break;
    }
    default:
      break;
  }
  return TWinControl::WndProc(message, wparam, lparam);
}

void TCustomTreeView::ReleaseLeftoverNodes() {
  // Items whose deletion notice never came (a parent that does not pass it on) go now.
  while (!nodes_.empty()) {
    const std::unique_ptr<TTreeNode> node = std::move(nodes_.begin()->second);
    nodes_.erase(nodes_.begin());
    Delete(*node);
  }
}

LRESULT TCustomTreeView::NotifyMessage(NMHDR& header) {
  try {
    return TreeNotify(header);
  } catch (...) {
    HandleWindowProcedureException(std::current_exception());
    return RefusalOf(header.code);
  }
}

LRESULT TCustomTreeView::TreeNotify(NMHDR& header) {
  auto& notice = reinterpret_cast<NMTREEVIEWW&>(header);
  if (header.code == TVN_DELETEITEMW) {
    const auto found = nodes_.find(notice.itemOld.hItem);
    if (found == nodes_.end()) return 0;
    // Out of the store first, so that nothing reaches the node while its hook runs.
    const std::unique_ptr<TTreeNode> node = std::move(found->second);
    nodes_.erase(found);
    Delete(*node);
    return 0;
  }
  // A window on its way out reports nothing but deletions.
  if (destroying_) return 0;
  switch (header.code) {
    case TVN_SELCHANGINGW:
      return !CanChange(NodeOf(notice.itemNew.hItem));
    case TVN_SELCHANGEDW:
      Change(NodeOf(notice.itemNew.hItem));
      return 0;
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDEDW:
      return ExpansionNotify(header.code, notice);
    case TVN_BEGINLABELEDITW: {
      const auto& display = reinterpret_cast<const NMTVDISPINFOW&>(header);
      TTreeNode* node = NodeOf(display.item.hItem);
      if (!node || !CanEdit(*node)) return TRUE;
      editing_ = display.item.hItem;
      return FALSE;
    }
    case TVN_ENDLABELEDITW:
      return EndEditNotify(reinterpret_cast<const NMTVDISPINFOW&>(header));
    case TVN_GETDISPINFOW:
      SupplyImages(reinterpret_cast<NMTVDISPINFOW&>(header));
      return 0;
    case NM_RCLICK:
      RightClicked();
      return TRUE;
    default:
      return 0;
  }
}

LRESULT TCustomTreeView::ExpansionNotify(UINT code, const NMTREEVIEWW& notice) {
  TTreeNode* node = NodeOf(notice.itemNew.hItem);
  // A program's expansion runs its own checks and events.
  if (!node || notice.itemNew.hItem == expanding_) return FALSE;
  const UINT action = notice.action & (TVE_COLLAPSE | TVE_EXPAND);
  if (code == TVN_ITEMEXPANDINGW) {
    const bool expand = action == TVE_EXPAND || (action == TVE_TOGGLE && !node->Expanded());
    refused_collapse_ = nullptr;
    if (expand) return !CanExpand(*node);
    if (CanCollapse(*node)) return FALSE;
    refused_collapse_ = node->item_;
    return TRUE;
  }
  const bool expanded = node->Expanded();
  if (notice.itemNew.hItem == std::exchange(refused_collapse_, nullptr)) {
    // Some versions of the control collapse a node from the keyboard or the mouse even when
    // the check refused: it is opened again, with no events.
    if (!expanded) SendExpand(*node, TVE_EXPAND);
    return 0;
  }
  // An expansion that did not happen (a node without children) is not reported.
  if (action == (expanded ? TVE_COLLAPSE : TVE_EXPAND)) return 0;
  if (expanded)
    Expand(*node);
  else
    Collapse(*node);
  return 0;
}

LRESULT TCustomTreeView::EndEditNotify(const NMTVDISPINFOW& notice) {
  // The control may report the end of one edit twice: only the first report counts.
  if (!editing_ || notice.item.hItem != editing_) return FALSE;
  editing_ = nullptr;
  TTreeNode* node = NodeOf(notice.item.hItem);
  if (!node) return FALSE;
  std::optional<std::wstring> text;
  if (ending_by_program_)
    text = program_text_;
  else if (notice.item.pszText)
    text = notice.item.pszText;
  Edit(*node, text);
  // The label shows what `Edit` made of it, never the control's own idea.
  return FALSE;
}

void TCustomTreeView::SupplyImages(NMTVDISPINFOW& notice) {
  TVITEMW& item = notice.item;
  TTreeNode* node = NodeOf(item.hItem);
  // While the control inserts an item, the node is not in the store yet.
  if (!node) node = reinterpret_cast<TTreeNode*>(item.lParam);
  if (!node) return;
  // Filled before the hooks run, so that a failing hook leaves the stored indexes.
  if (item.mask & TVIF_IMAGE) {
    item.iImage = node->image_index_;
    GetImageIndex(*node);
    item.iImage = node->image_index_;
  }
  if (item.mask & TVIF_SELECTEDIMAGE) {
    item.iSelectedImage = node->selected_index_;
    GetSelectedIndex(*node);
    item.iSelectedImage = node->selected_index_;
  }
}

void TCustomTreeView::RightClicked() {
  const POINT screen = PointOf(GetMessagePos());
  if (right_click_select_) {
    POINT client = screen;
    ScreenToClient(Handle(), &client);
    if (TTreeNode* node = GetNodeAt(client.x, client.y)) SetSelected(node);
  }
  SendMessageW(Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()),
               MAKELPARAM(screen.x, screen.y));
}

}  // namespace pem::gui
