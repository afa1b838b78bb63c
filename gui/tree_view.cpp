#include "tree_view.h"

#include <exception>
#include <utility>

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

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
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
  const TAnchors anchors = Anchors();
  layout_.visible = Visible();
  DestroyWindow(Handle());
  CreateWnd();
  SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
  // The anchors of now, from the place of now: the new window started from its design ones.
  SetAnchors(anchors);
  SetTabOrder(order);
}

void TCustomTreeView::FinishLoading() {
  if (!loading_) return;
  loading_ = false;
  Loaded();
}

TTreeNode& TCustomTreeView::InsertNode(HTREEITEM parent, HTREEITEM after, TNodeInit init) {
  auto node = std::make_unique<TTreeNode>(TTreeNode::Key{}, *this, std::move(init.text));
  node->image_index_ = init.image_index;
  node->selected_index_ = init.selected_index;
  node->overlay_index_ = init.overlay_index;
  node->data_ = std::move(init.data);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask =
      TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE;
  insert.item.pszText = node->text_.data();
  // The indexes are asked for whenever the node is drawn, so that handlers can supply them.
  insert.item.iImage = I_IMAGECALLBACK;
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  insert.item.cChildren = init.has_children ? 1 : 0;
  insert.item.stateMask = TVIS_OVERLAYMASK;
  insert.item.state = TTreeNode::OverlayState(init.overlay_index);
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
  return AddChild(parent, TNodeInit{.text = text});
}

TTreeNode& TCustomTreeView::AddChild(TTreeNode* parent, TNodeInit init) {
  return InsertNode(parent ? parent->item_ : TVI_ROOT, TVI_LAST, std::move(init));
}

TTreeNode& TCustomTreeView::AddChildFirst(TTreeNode* parent, const std::wstring& text) {
  return InsertNode(parent ? parent->item_ : TVI_ROOT, TVI_FIRST, TNodeInit{.text = text});
}

TTreeNode& TCustomTreeView::Insert(TTreeNode* sibling, const std::wstring& text) {
  if (!sibling) return AddChild(nullptr, text);
  const TTreeNode* parent = sibling->Parent();
  const TTreeNode* previous = sibling->Neighbour(TVGN_PREVIOUS);
  return InsertNode(parent ? parent->item_ : TVI_ROOT, previous ? previous->item_ : TVI_FIRST,
                    TNodeInit{.text = text});
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

}  // namespace pem::gui
