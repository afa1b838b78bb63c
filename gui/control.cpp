#include "control.h"

#include <algorithm>
#include <utility>

#include "application.h"
#include "form.h"
#include "os_error.h"
#include "win32_text.h"

namespace pem::gui {
namespace {

void RegisterOwnClass(const wchar_t* class_name, WNDPROC procedure) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, class_name, &existing)) return;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, L"MAINICON");
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = class_name;
  if (!RegisterClassExW(&window_class)) RaiseLastOSError();
}

}  // namespace

TWinControl::TWinControl(TComponent& owner, TWinControl* parent)
    : TComponent(&owner), parent_(parent) {
  if (parent_) parent_->controls_.push_back(this);
}

TWinControl::~TWinControl() {
  for (TWinControl* child : controls_) child->parent_ = nullptr;
  if (TForm* form = ParentForm(); form && form != static_cast<TWinControl*>(this))
    form->ControlRemoved(*this);
  if (parent_) {
    std::erase(parent_->controls_, this);
    std::erase(parent_->tab_list_, this);
  }
  if (handle_) DestroyWindow(handle_);
}

TForm* TWinControl::ParentForm() {
  for (TWinControl* control = this; control; control = control->parent_) {
    if (auto* form = dynamic_cast<TForm*>(control)) return form;
  }
  return nullptr;
}

std::wstring TWinControl::WideText() const {
  if (!handle_) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(handle_, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::string TWinControl::Text() const {
  return NarrowCp932(WideText());
}

void TWinControl::SetWideText(std::wstring_view text) {
  if (text == WideText()) return;
  SetWindowTextW(handle_, std::wstring(text).c_str());
}

void TWinControl::SetText(const std::string& text) {
  SetWideText(WidenCp932(text));
}

void TWinControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (!enabled && ContainsFocus()) {
    if (TForm* form = ParentForm()) form->DefocusControl(*this);
  }
  if (handle_) EnableWindow(handle_, enabled);
}

bool TWinControl::Visible() const {
  return handle_ && (GetWindowLongW(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TWinControl::SetVisible(bool visible) {
  if (Visible() == visible) return;
  if (!visible && ContainsFocus()) {
    if (TForm* form = ParentForm()) form->DefocusControl(*this);
  }
  ShowWindow(handle_, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

RECT TWinControl::BoundsRect() const {
  RECT bounds{};
  GetWindowRect(handle_, &bounds);
  if (parent_)
    MapWindowPoints(HWND_DESKTOP, parent_->handle_, reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetAlign(TAlign align) {
  align_ = align;
  if (parent_) parent_->RealignControls();
}

void TWinControl::SetAnchors(TAnchors anchors) {
  anchors_ = anchors;
  if (!parent_) return;
  RECT client{};
  GetClientRect(parent_->handle_, &client);
  const RECT bounds = BoundsRect();
  anchor_margins_ = {bounds.left, bounds.top, client.right - bounds.right,
                     client.bottom - bounds.bottom};
}

void TWinControl::ApplyAlignment(const ControlLayout& layout) {
  SetAnchors(layout.anchors);
  if (layout.align != TAlign::alNone) SetAlign(layout.align);
}

void TWinControl::RealignControls() {
  RECT space{};
  GetClientRect(handle_, &space);
  const RECT client = space;
  for (TWinControl* child : controls_) {
    const RECT bounds = child->BoundsRect();
    const int height = bounds.bottom - bounds.top;
    const int width = bounds.right - bounds.left;
    switch (child->align_) {
      case TAlign::alTop:
        child->SetBounds(space.left, space.top, space.right - space.left, height);
        space.top += height;
        break;
      case TAlign::alBottom:
        child->SetBounds(space.left, space.bottom - height, space.right - space.left, height);
        space.bottom -= height;
        break;
      case TAlign::alNone: {
        const TAnchors& anchors = child->anchors_;
        const RECT& margins = child->anchor_margins_;
        int left = bounds.left;
        int top = bounds.top;
        int new_width = width;
        int new_height = height;
        if (anchors.right) {
          if (anchors.left)
            new_width = std::max<int>(0, client.right - margins.right - left);
          else
            left = client.right - margins.right - width;
        }
        if (anchors.bottom) {
          if (anchors.top)
            new_height = std::max<int>(0, client.bottom - margins.bottom - top);
          else
            top = client.bottom - margins.bottom - height;
        }
        if (anchors.right || anchors.bottom) child->SetBounds(left, top, new_width, new_height);
        break;
      }
      case TAlign::alClient:
        break;
    }
  }
  for (TWinControl* child : controls_) {
    if (child->align_ == TAlign::alClient)
      child->SetBounds(space.left, space.top, std::max<int>(0, space.right - space.left),
                       std::max<int>(0, space.bottom - space.top));
  }
}

int TWinControl::TabOrder() const {
  if (!parent_) return -1;
  const auto& list = parent_->tab_list_;
  const auto found = std::find(list.begin(), list.end(), this);
  return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!parent_) return;
  std::erase(parent_->tab_list_, this);
  InsertInTabList(order);
}

void TWinControl::InsertInTabList(int order) {
  auto& list = parent_->tab_list_;
  if (order < 0 || order > static_cast<int>(list.size())) order = static_cast<int>(list.size());
  list.insert(list.begin() + order, this);
}

bool TWinControl::CanFocus() const {
  for (const TWinControl* control = this; control; control = control->parent_) {
    if (!control->Visible() || !control->enabled_) return false;
  }
  return true;
}

void TWinControl::SetFocus() {
  if (TForm* form = ParentForm(); form && form != static_cast<TWinControl*>(this))
    form->FocusControl(*this);
  else
    ::SetFocus(handle_);
}

bool TWinControl::Contains(const TWinControl* control) const {
  for (; control; control = control->parent_) {
    if (control == this) return true;
  }
  return false;
}

bool TWinControl::ContainsFocus() const {
  const HWND focus = GetFocus();
  return focus && handle_ && (focus == handle_ || IsChild(handle_, focus));
}

bool TWinControl::DialogChar(wchar_t character) {
  for (TWinControl* child : controls_) {
    if (child->DialogChar(character)) return true;
  }
  return false;
}

bool TWinControl::DialogKey(WPARAM key) {
  for (TWinControl* child : controls_) {
    if (child->DialogKey(key)) return true;
  }
  return false;
}

wchar_t TWinControl::Accelerator(const std::wstring& caption) {
  for (std::size_t pos = 0; pos + 1 < caption.size(); ++pos) {
    if (caption[pos] != L'&') continue;
    if (caption[pos + 1] != L'&') return caption[pos + 1];
    ++pos;
  }
  return 0;
}

bool TWinControl::MatchesAccelerator(const std::wstring& caption, wchar_t character) {
  const wchar_t accelerator = Accelerator(caption);
  if (!accelerator) return false;
  const auto upper = [](wchar_t c) {
    return static_cast<wchar_t>(
        reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
  };
  return upper(accelerator) == upper(character);
}

// The control lives in the window's user data, which the process reads without asking the window
// server (a window property costs a round trip to it on some systems). The user data means a
// control only in a window whose procedure is the framework's.
TWinControl* TWinControl::FromHandle(HWND window) {
  if (!window) return nullptr;
  const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (procedure != WindowProc &&
      reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC)) != WindowProc)
    return nullptr;
  return BoundControl(window);
}

TWinControl* TWinControl::BoundControl(HWND window) {
  return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void TWinControl::CreateStockWindow(const WindowSpec& kind, const ControlLayout& layout) {
  TForm* form = ParentForm();
  const RECT bounds =
      form ? form->ScaleLayout(layout)
           : RECT{layout.left, layout.top, layout.left + layout.width, layout.top + layout.height};
  const DWORD style = kind.style | WS_CHILD | WS_CLIPSIBLINGS | (layout.visible ? WS_VISIBLE : 0);
  const HWND window = CreateWindowExW(
      kind.ex_style, kind.class_name, WidenCp932(layout.text).c_str(), style, bounds.left,
      bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent_->handle_, nullptr,
      GetModuleHandleW(nullptr), nullptr);
  if (!window) RaiseLastOSError();
  Bind(window);
  // The control's procedure is replaced, not chained through the platform's subclass list, which
  // looks its chain up in a window property on every message.
  stock_procedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
  InsertInTabList(layout.tab_order);
  if (form) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(form->Font()), FALSE);
  ApplyAlignment(layout);
}

void TWinControl::CreateOwnWindow(const WindowSpec& kind, HWND parent, const RECT& bounds,
                                  const std::wstring& text) {
  RegisterOwnClass(kind.class_name, WindowProc);
  const bool child = (kind.style & WS_CHILD) != 0;
  const HWND window =
      CreateWindowExW(kind.ex_style, kind.class_name, text.c_str(), kind.style, bounds.left,
                      bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                      nullptr, GetModuleHandleW(nullptr), this);
  if (!window) {
    // The window is gone, whether or not its last message reached us.
    handle_ = nullptr;
    if (creation_error_) std::rethrow_exception(std::exchange(creation_error_, nullptr));
    RaiseLastOSError();
  }
  if (child && parent_) {
    if (TForm* form = ParentForm())
      SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(form->Font()), FALSE);
  }
}

void TWinControl::Bind(HWND window) {
  handle_ = window;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TWinControl::Unbind() {
  if (stock_procedure_ &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle_, GWLP_WNDPROC)) == WindowProc)
    SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(stock_procedure_));
  SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
  stock_procedure_ = nullptr;
  handle_ = nullptr;
}

LRESULT CALLBACK TWinControl::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    static_cast<TWinControl*>(create->lpCreateParams)->Bind(window);
  }
  TWinControl* control = BoundControl(window);
  if (!control) return DefWindowProcW(window, message, wparam, lparam);
  const LRESULT result = Dispatch(*control, message, wparam, lparam);
  if (message == WM_NCDESTROY) control->Unbind();
  return result;
}

LRESULT TWinControl::Dispatch(TWinControl& control, UINT message, WPARAM wparam,
                              LPARAM lparam) noexcept {
  try {
    return control.WndProc(message, wparam, lparam);
  } catch (...) {
    return control.HandlerFailed(message, std::current_exception());
  }
}

LRESULT TWinControl::HandlerFailed(UINT message, std::exception_ptr error) noexcept {
  switch (message) {
    case WM_NCCREATE:
      creation_error_ = std::move(error);
      return FALSE;
    case WM_CREATE:
      creation_error_ = std::move(error);
      return -1;
    default:
      break;
  }
  // A window left invalid would be asked to paint again at once, and fail again.
  if (message == WM_PAINT) ValidateRect(handle_, nullptr);
  HandleWindowProcedureException(std::move(error));
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_ACTIVATE;
    case WM_QUERYENDSESSION:
      return TRUE;
    default:
      return 0;
  }
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wparam, LPARAM lparam) {
  return stock_procedure_ ? CallWindowProcW(stock_procedure_, handle_, message, wparam, lparam)
                          : DefWindowProcW(handle_, message, wparam, lparam);
}

void TWinControl::CommandNotify(WORD) {}

LRESULT TWinControl::NotifyMessage(NMHDR&) {
  return 0;
}

bool TWinControl::IsMenuMessage(UINT message, LPARAM lparam) {
  switch (message) {
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
      return true;
    case WM_DRAWITEM:
      return reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)->CtlType == ODT_MENU;
    case WM_MEASUREITEM:
      return reinterpret_cast<const MEASUREITEMSTRUCT*>(lparam)->CtlType == ODT_MENU;
    default:
      return false;
  }
}

bool TWinControl::MenuMessage(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (IsMenuMessage(message, lparam)) {
    LRESULT result = 0;
    if (MenuMessage(message, wparam, lparam, result)) return result;
  }
  switch (message) {
    case WM_COMMAND:
      if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lparam)); child && child != this) {
        child->CommandNotify(HIWORD(wparam));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lparam);
      if (TWinControl* child = FromHandle(header.hwndFrom); child && child != this)
        return child->NotifyMessage(header);
      break;
    }
    case WM_SETFOCUS:
      if (TForm* form = ParentForm(); form && form != static_cast<TWinControl*>(this))
        form->FocusChanged(*this);
      break;
    case WM_SIZE:
      // A minimised window has no room; its controls keep their places until it comes back.
      if (wparam != SIZE_MINIMIZED) RealignControls();
      break;
    case WM_GETFONT:
      // The framework's own windows draw with their form's font.
      if (TForm* form = ParentForm(); form && !stock_procedure_)
        return reinterpret_cast<LRESULT>(form->Font());
      break;
    default:
      break;
  }
  return DefaultHandler(message, wparam, lparam);
}

}  // namespace pem::gui
