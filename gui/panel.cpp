#include "panel.h"

#include "form.h"
#include "win32_text.h"

namespace pem::gui {

TPanel::TPanel(TComponent& owner, TWinControl& parent, const ControlLayout& layout, TBevel bevel)
    : TWinControl(owner, &parent), bevel_(bevel) {
  const RECT bounds = ParentForm()->ScaleLayout(layout);
  CreateOwnWindow(
      {L"TPanel", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (layout.visible ? WS_VISIBLE : 0u),
       WS_EX_CONTROLPARENT},
      parent.Handle(), bounds, WidenCp932(layout.text));
  SetTabOrder(layout.tab_order);
  SetTabStop(false);
  ApplyAlignment(layout);
}

void TPanel::SetBevelOuter(TBevel bevel) {
  bevel_ = bevel;
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TPanel::Paint() {
  PaintScope paint(Handle());
  RECT client{};
  GetClientRect(Handle(), &client);
  FillRect(paint.dc(), &client, GetSysColorBrush(COLOR_BTNFACE));
  if (bevel_ != TBevel::bvNone)
    DrawEdge(paint.dc(), &client, bevel_ == TBevel::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER,
             BF_RECT);
  const std::wstring caption = WideText();
  if (caption.empty()) return;
  SelectedObject font(paint.dc(), ParentForm()->Font());
  SetBkMode(paint.dc(), TRANSPARENT);
  SetTextColor(paint.dc(), GetSysColor(COLOR_WINDOWTEXT));
  DrawTextW(paint.dc(), caption.c_str(), static_cast<int>(caption.size()), &client,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT TPanel::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTEXT: {
      const LRESULT result = TWinControl::WndProc(message, wparam, lparam);
      InvalidateRect(Handle(), nullptr, TRUE);
      return result;
    }
    default:
      return TWinControl::WndProc(message, wparam, lparam);
  }
}

}  // namespace pem::gui
