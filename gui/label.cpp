#include "label.h"

#include "form.h"
#include "text_layout.h"
#include "win32_text.h"

namespace pem::gui {

TLabel::TLabel(TComponent& owner, TWinControl& parent, const ControlLayout& layout,
               LabelOptions options)
    : TWinControl(owner, &parent), options_(options) {
  const RECT bounds = ParentForm()->ScaleLayout(layout);
  CreateOwnWindow({L"TLabel", WS_CHILD | WS_CLIPSIBLINGS | (layout.visible ? WS_VISIBLE : 0u), 0},
                  parent.Handle(), bounds, WidenCp932(layout.text));
  SetTabStop(false);
  AdjustSize();
  ApplyAlignment(layout);
}

UINT TLabel::DrawFlags() const {
  return DT_LEFT | DT_EXPANDTABS | (options_.word_wrap ? DT_WORDBREAK : DT_SINGLELINE);
}

void TLabel::AdjustSize() {
  if (!options_.auto_size) return;
  WindowDc screen(nullptr);
  SelectedObject font(screen.get(), ParentForm()->Font());
  const SIZE size = MeasureText(screen.get(), WideText(), DrawFlags());
  const RECT bounds = BoundsRect();
  SetBounds(bounds.left, bounds.top, size.cx, size.cy);
}

void TLabel::Paint() {
  PaintScope paint(Handle());
  RECT client{};
  GetClientRect(Handle(), &client);
  FillRect(paint.dc(), &client, GetSysColorBrush(COLOR_BTNFACE));
  SelectedObject font(paint.dc(), ParentForm()->Font());
  SetBkMode(paint.dc(), TRANSPARENT);
  SetTextColor(paint.dc(),
               GetSysColor(IsWindowEnabled(Handle()) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  DrawLabelText(paint.dc(), WideText(), client, DrawFlags());
}

bool TLabel::DialogChar(wchar_t character) {
  if (!focus_control_ || !MatchesAccelerator(WideText(), character) || !focus_control_->CanFocus())
    return false;
  focus_control_->SetFocus();
  return true;
}

LRESULT TLabel::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTEXT: {
      const LRESULT result = TWinControl::WndProc(message, wparam, lparam);
      AdjustSize();
      InvalidateRect(Handle(), nullptr, TRUE);
      return result;
    }
    case WM_ENABLE:
      InvalidateRect(Handle(), nullptr, TRUE);
      break;
    case WM_SETFONT:
      // Its form's font, with which it draws, has changed.
      AdjustSize();
      InvalidateRect(Handle(), nullptr, TRUE);
      return 0;
    default:
      break;
  }
  return TWinControl::WndProc(message, wparam, lparam);
}

}  // namespace pem::gui
