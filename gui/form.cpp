#include "form.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "application.h"
#include "framework_messages.h"
#include "os_error.h"
#include "thread_windows.h"
#include "win32_text.h"

namespace pem::gui {
namespace {

struct FrameStyle {
  DWORD style;
  DWORD ex_style;
};

FrameStyle StyleOf(TBorderStyle border, TBorderIcons icons) {
  DWORD style = WS_CLIPSIBLINGS;
  DWORD ex_style = 0;
  bool small_caption = false;
  switch (border) {
    case TBorderStyle::bsNone:
      return {style | WS_POPUP, ex_style};
    case TBorderStyle::bsSingle:
      style |= WS_CAPTION | WS_BORDER;
      break;
    case TBorderStyle::bsSizeable:
      style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case TBorderStyle::bsDialog:
      style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
      ex_style |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      small_caption = true;
      break;
    case TBorderStyle::bsToolWindow:
      style |= WS_CAPTION;
      ex_style |= WS_EX_TOOLWINDOW;
      small_caption = true;
      break;
    case TBorderStyle::bsSizeToolWin:
      style |= WS_CAPTION | WS_THICKFRAME;
      ex_style |= WS_EX_TOOLWINDOW;
      small_caption = true;
      break;
  }
  if (icons.system_menu) style |= WS_SYSMENU;
  // Dialog frames and tool windows carry the close box only.
  if (!small_caption && icons.system_menu) {
    if (icons.minimize) style |= WS_MINIMIZEBOX;
    if (icons.maximize) style |= WS_MAXIMIZEBOX;
  }
  return {style, ex_style};
}

int ScreenDpi() {
  WindowDc screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

UniqueFont CreateFormFont(const FontSpec& font_spec, int dpi) {
  LOGFONTW font{};
  font.lfHeight = FontHeightForDpi(font_spec.height, dpi);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = font_spec.charset;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH;
  const std::wstring name = WidenCp932(font_spec.name);
  name.copy(font.lfFaceName, LF_FACESIZE - 1);
  UniqueFont result(CreateFontIndirectW(&font));
  if (!result) RaiseLastOSError();
  return result;
}

// Every control below `parent`, each parent before its children.
void CollectControls(const TWinControl& parent, std::vector<TWinControl*>& list) {
  for (TWinControl* child : parent.Controls()) {
    list.push_back(child);
    CollectControls(*child, list);
  }
}

void CollectTabOrder(const TWinControl& parent, std::vector<TWinControl*>& list) {
  for (TWinControl* child : parent.TabList()) {
    list.push_back(child);
    CollectTabOrder(*child, list);
  }
}

RECT OuterRect(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  return bounds;
}

// Gives the window a client area of the size asked for. A window that has moved to a monitor of
// another scale takes that scale's frame only when it is resized, so the frame is measured once
// more after the first resize.
void SetClientSize(HWND window, int width, int height) {
  for (int pass = 0; pass < 2; ++pass) {
    const RECT outer = OuterRect(window);
    RECT client{};
    GetClientRect(window, &client);
    if (client.right == width && client.bottom == height) return;
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left - client.right + width,
                 outer.bottom - outer.top - client.bottom + height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// Where the system puts a new overlapped window: asked of a hidden one made for the purpose,
// since a window that exists already, or a pop-up, cannot ask for it.
POINT DefaultPosition() {
  const UniqueWindow probe(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, CW_USEDEFAULT,
                                           CW_USEDEFAULT, 100, 100, nullptr, nullptr,
                                           GetModuleHandleW(nullptr), nullptr));
  if (!probe) RaiseLastOSError();
  const RECT bounds = OuterRect(probe.get());
  return {bounds.left, bounds.top};
}

}  // namespace

TForm::TForm(TComponent& owner, const FormLayout& layout)
    : TWinControl(owner, nullptr),
      font_spec_(layout.font),
      dpi_(ScreenDpi()),
      font_(CreateFormFont(font_spec_, dpi_)),
      scale_(MeasureTextHeight(font_.get())),
      border_style_(layout.border_style),
      border_icons_(layout.border_icons),
      position_(layout.position),
      designed_visible_(layout.visible) {
  const FrameStyle frame = StyleOf(border_style_, border_icons_);
  RECT bounds{0, 0, scale_.Apply(layout.client_width), scale_.Apply(layout.client_height)};
  AdjustWindowRectEx(&bounds, frame.style, FALSE, frame.ex_style);
  const RECT placed{layout.left, layout.top, layout.left + bounds.right - bounds.left,
                    layout.top + bounds.bottom - bounds.top};
  CreateOwnWindow({layout.window_class, frame.style, frame.ex_style}, Application().Handle(),
                  placed, WidenCp932(layout.caption));
  SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

TForm::~TForm() {
  if (Visible()) Application().FormVisibilityChanged(false);
  if (Handle()) DestroyWindow(Handle());
}

RECT TForm::ScaleLayout(const ControlLayout& layout) const {
  return scale_.ApplyToEdges(layout.left, layout.top, layout.width, layout.height);
}

void TForm::ChangeScale(int dpi, const RECT& suggested) {
  UniqueFont font = CreateFormFont(font_spec_, dpi);
  const ScreenScale scale(MeasureTextHeight(font.get()));
  const auto rescale = [&](LONG pixels) { return scale.From(scale_, pixels); };
  std::vector<TWinControl*> controls;
  CollectControls(*this, controls);
  std::vector<RECT> bounds;
  for (const TWinControl* control : controls) bounds.push_back(control->BoundsRect());

  // The present client area at the new scale first, so that the distances the controls keep to
  // its edges are taken at the new scale; the offered rectangle comes last.
  RECT client{};
  GetClientRect(Handle(), &client);
  SetClientSize(Handle(), rescale(client.right), rescale(client.bottom));
  for (std::size_t index = 0; index < controls.size(); ++index) {
    const RECT& old = bounds[index];
    const int left = rescale(old.left);
    const int top = rescale(old.top);
    controls[index]->SetBounds(left, top, rescale(old.right) - left, rescale(old.bottom) - top);
  }
  for (TWinControl* control : controls) control->SetAnchors(control->Anchors());

  // The old font goes once no control draws with it.
  const auto from = static_cast<WPARAM>(std::exchange(dpi_, dpi));
  std::swap(font_, font);
  scale_ = scale;
  const auto new_font = reinterpret_cast<WPARAM>(font_.get());
  SendMessageW(Handle(), WM_SETFONT, new_font, FALSE);
  for (TWinControl* control : controls) {
    SendMessageW(control->Handle(), WM_SETFONT, new_font, FALSE);
    SendMessageW(control->Handle(), kScaleChangedMessage, from, static_cast<LPARAM>(dpi));
  }
  // A fixed frame keeps the client area that its layout needs at the new scale, which grows with
  // the text's height, not exactly with the display scale; only a sizeable one takes the size.
  const bool sizeable =
      border_style_ == TBorderStyle::bsSizeable || border_style_ == TBorderStyle::bsSizeToolWin;
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top,
               SWP_NOZORDER | SWP_NOACTIVATE | (sizeable ? 0 : SWP_NOSIZE));
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TForm::SetVisible(bool visible) {
  if (visible == Visible()) return;
  if (!visible) {
    ShowWindow(Handle(), SW_HIDE);
    Application().FormVisibilityChanged(false);
    return;
  }
  if (!placed_) PlaceOnFirstShow();
  Application().FormVisibilityChanged(true);
  ShowWindow(Handle(), SW_SHOW);
  DoShow();
}

void TForm::Show() {
  SetVisible(true);
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm::Hide() {
  SetVisible(false);
}

void TForm::PlaceOnFirstShow() {
  placed_ = true;
  const RECT bounds = OuterRect(Handle());
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  int left = bounds.left;
  int top = bounds.top;
  switch (position_) {
    case TPosition::poDesigned:
      return;
    case TPosition::poDefaultPosOnly: {
      const POINT position = DefaultPosition();
      left = position.x;
      top = position.y;
      break;
    }
    case TPosition::poScreenCenter:
      left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
      top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
      break;
    case TPosition::poDesktopCenter:
      left = std::max(0, (GetSystemMetrics(SM_CXVIRTUALSCREEN) - width) / 2);
      top = std::max(0, (GetSystemMetrics(SM_CYVIRTUALSCREEN) - height) / 2);
      break;
    case TPosition::poMainFormCenter: {
      const TForm* main = Application().MainForm();
      if (!main || main == this) return;
      const RECT owner = OuterRect(main->Handle());
      left = owner.left + (owner.right - owner.left - width) / 2;
      top = owner.top + (owner.bottom - owner.top - height) / 2;
      break;
    }
  }
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TModalResult TForm::ShowModal() {
  if (Visible() || !Enabled() || modal_)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (const HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  const HWND previously_active = GetActiveWindow();
  modal_ = true;
  struct ModalEnd {
    TForm& form;
    HWND previously_active;
    ~ModalEnd() {
      form.modal_ = false;
      if (previously_active && IsWindow(previously_active)) SetActiveWindow(previously_active);
    }
  } end{*this, previously_active};
  // The other windows are enabled again before this one goes: the system gives the activation
  // of a window that goes to an enabled window, and with none of this program's enabled, to
  // another program's, which this one could not take back from.
  struct HideOnExit {
    TForm& form;
    ~HideOnExit() { form.Hide(); }
  } hide{*this};
  ThreadWindowsDisabled disabled(nullptr);
  Show();
  modal_result_ = mrNone;
  TApplication& application = Application();
  while (modal_result_ == mrNone) {
    application.HandleMessage();
    if (application.Terminated())
      modal_result_ = mrCancel;
    else if (modal_result_ != mrNone)
      CloseModal();
  }
  return modal_result_;
}

void TForm::CloseModal() {
  TCloseAction action = TCloseAction::caNone;
  try {
    if (CloseQuery()) {
      action = TCloseAction::caHide;
      DoClose(action);
    }
  } catch (...) {
    // A failing close query or close handler stops the close, as a refusal does.
    action = TCloseAction::caNone;
    Application().HandleException(std::current_exception());
  }
  if (action == TCloseAction::caNone) modal_result_ = mrNone;
  if (action == TCloseAction::caFree) Release();
}

void TForm::Close() {
  if (modal_) {
    modal_result_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  DoClose(action);
  if (action == TCloseAction::caNone) return;
  if (Application().MainForm() == this) {
    Application().Terminate();
    return;
  }
  switch (action) {
    case TCloseAction::caHide:
      Hide();
      break;
    case TCloseAction::caMinimize:
      ShowWindow(Handle(), SW_MINIMIZE);
      break;
    case TCloseAction::caFree:
      Release();
      break;
    case TCloseAction::caNone:
      break;
  }
}

void TForm::Release() {
  PostMessageW(Handle(), kReleaseMessage, 0, 0);
}

bool TForm::CloseQuery() {
  return Allowed(OnCloseQuery, *this);
}

void TForm::DoClose(TCloseAction& action) {
  OnClose(*this, action);
}

void TForm::DoShow() {
  OnShow(*this);
}

void TForm::SetActiveControl(TWinControl* control) {
  if (control) {
    FocusControl(*control);
    return;
  }
  active_control_ = nullptr;
  if (Active()) ::SetFocus(Handle());
}

void TForm::SetBorderStyle(TBorderStyle style) {
  border_style_ = style;
  ApplyStyle();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
  border_icons_ = icons;
  ApplyStyle();
}

void TForm::ApplyStyle() {
  const FrameStyle frame = StyleOf(border_style_, border_icons_);
  const DWORD kept = GetWindowLongW(Handle(), GWL_STYLE) & (WS_VISIBLE | WS_DISABLED);
  SetWindowLongW(Handle(), GWL_STYLE, static_cast<LONG>(frame.style | kept));
  SetWindowLongW(Handle(), GWL_EXSTYLE, static_cast<LONG>(frame.ex_style));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetLeft(int left) {
  const RECT bounds = OuterRect(Handle());
  SetBounds(left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
}

void TForm::SetTop(int top) {
  const RECT bounds = OuterRect(Handle());
  SetBounds(bounds.left, top, bounds.right - bounds.left, bounds.bottom - bounds.top);
}

void TForm::SetWidth(int width) {
  const RECT bounds = OuterRect(Handle());
  SetBounds(bounds.left, bounds.top, width, bounds.bottom - bounds.top);
}

void TForm::SetHeight(int height) {
  const RECT bounds = OuterRect(Handle());
  SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, height);
}

void TForm::SelectNext(TWinControl* current, bool forward) {
  std::vector<TWinControl*> order;
  CollectTabOrder(*this, order);
  const int count = static_cast<int>(order.size());
  int start = forward ? -1 : count;
  for (int index = 0; index < count; ++index) {
    if (order[static_cast<std::size_t>(index)] == current) start = index;
  }
  for (int step = 1; step <= count; ++step) {
    const int index = ((start + (forward ? step : -step)) % count + count) % count;
    TWinControl* candidate = order[static_cast<std::size_t>(index)];
    if (candidate != current && candidate->TabStop() && candidate->CanFocus()) {
      candidate->SetFocus();
      return;
    }
  }
}

void TForm::SelectFirst() {
  SelectNext(nullptr, true);
}

bool TForm::Active() const {
  return GetActiveWindow() == Handle();
}

void TForm::FocusControl(TWinControl& control) {
  active_control_ = &control;
  if (Active() && control.Handle()) ::SetFocus(control.Handle());
}

void TForm::DefocusControl(TWinControl& control) {
  if (control.Contains(active_control_)) SetActiveControl(nullptr);
  if (control.ContainsFocus()) ::SetFocus(Handle());
}

void TForm::FocusChanged(TWinControl& control) {
  active_control_ = &control;
}

void TForm::ControlRemoved(TWinControl& control) {
  if (control.Contains(active_control_)) active_control_ = nullptr;
  std::erase(menu_receivers_, &control);
}

void TForm::ReceiveMenuMessages(TWinControl& control, bool receive) {
  std::erase(menu_receivers_, &control);
  if (receive) menu_receivers_.push_back(&control);
}

LRESULT TForm::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (IsMenuMessage(message, lparam)) {
    LRESULT result = 0;
    for (TWinControl* receiver : menu_receivers_) {
      if (receiver->MenuMessage(message, wparam, lparam, result)) return result;
    }
  }
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_QUERYENDSESSION:
      // The end of the session ends the program as closing its main form does, so that form is
      // asked first, as for a close; a refusal keeps the session, and the program, going.
      if (Application().MainForm() == this) return CloseQuery();
      break;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE && !HIWORD(wparam)) {
        if (active_control_ && active_control_->CanFocus())
          ::SetFocus(active_control_->Handle());
        else
          SelectFirst();
        if (GetFocus() && GetFocus() != Handle()) return 0;
      }
      break;
    case kReleaseMessage:
      if (TComponent* owner = Owner()) owner->DestroyComponent(*this);
      return 0;
    case WM_DPICHANGED:
      ChangeScale(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    default:
      break;
  }
  return TWinControl::WndProc(message, wparam, lparam);
}

}  // namespace pem::gui
