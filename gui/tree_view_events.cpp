#include <exception>
#include <utility>

#include "application.h"
#include "framework_messages.h"
#include "screen_scale.h"
#include "tree_view.h"

namespace pem::gui {
namespace {

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

POINT PointOf(DWORD packed) {
  return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

}  // namespace

TCustomTreeView::NodeWatch::NodeWatch(TCustomTreeView& tree, const TTreeNode& node)
    : tree_(tree), node_(&node), outer_(std::exchange(tree.watches_, this)) {}

TCustomTreeView::NodeWatch::~NodeWatch() {
  tree_.watches_ = outer_;
}

void TCustomTreeView::NodeDeleted(TTreeNode& node) {
  for (NodeWatch* watch = watches_; watch; watch = watch->outer_) {
    if (watch->node_ == &node) watch->node_ = nullptr;
  }
  Delete(node);
}

template <typename Event, typename Node>
bool TCustomTreeView::AllowedAndKept(const Event& event, Node& node) {
  const NodeWatch watch(*this, node);
  return Allowed(event, *this, node) && !watch.Deleted();
}

void TCustomTreeView::GetImageIndex(TTreeNode& node) {
  OnGetImageIndex(*this, node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode& node) {
  OnGetSelectedIndex(*this, node);
}

bool TCustomTreeView::CanChange(TTreeNode* node) {
  if (!node) return Allowed(OnChanging, *this, node);
  const NodeWatch watch(*this, *node);
  return Allowed(OnChanging, *this, node) && !watch.Deleted();
}

void TCustomTreeView::Change(TTreeNode* node) {
  OnChange(*this, node);
}

bool TCustomTreeView::CanExpand(TTreeNode& node) {
  return AllowedAndKept(OnExpanding, node);
}

void TCustomTreeView::Expand(TTreeNode& node) {
  OnExpanded(*this, node);
}

bool TCustomTreeView::CanCollapse(TTreeNode& node) {
  return AllowedAndKept(OnCollapsing, node);
}

void TCustomTreeView::Collapse(TTreeNode& node) {
  OnCollapsed(*this, node);
}

bool TCustomTreeView::CanEdit(TTreeNode& node) {
  return AllowedAndKept(OnEditing, node);
}

void TCustomTreeView::Edit(TTreeNode& node, const std::optional<std::wstring>& text) {
  if (!text) return;
  std::wstring shown = *text;
  const NodeWatch watch(*this, node);
  OnEdited(*this, node, shown);
  if (!watch.Deleted()) node.SetText(shown);
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
    case kScaleChangedMessage:
      // The rows take the new font's height; the indent is in pixels of the old scale.
      SendMessageW(Handle(), TVM_SETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
      if (indent_ >= 0)
        SetIndent(RescaleForDpi(indent_, static_cast<int>(wparam), static_cast<int>(lparam)));
      return 0;
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
    NodeDeleted(*node);
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
    NodeDeleted(*node);
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
    refused_collapse_ = notice.itemNew.hItem;
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
