// Windowed controls: the one window procedure thunk, parents and children, tab order, focus,
// enabling and the notifications that a parent forwards to the child they concern.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "component.h"

namespace pem::gui {

class TForm;

// Docking to an edge of the parent: full width at the top or bottom (in creation order), or
// the space that the docked controls leave.
enum class TAlign { alNone, alTop, alBottom, alClient };

// Which edges of the parent a control that is not docked keeps its distance to when the parent
// is resized; with both edges of an axis it stretches.
struct TAnchors {
  bool left = true;
  bool top = true;
  bool right = false;
  bool bottom = false;
};

// Where a control goes and what it shows, in design pixels (96 dots per inch, text 12 pixels
// high); the form scales them to the screen when the window is created.
struct ControlLayout {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::string text = {};  // code page 932
  int tab_order = -1;     // position in the parent's tab order; -1 appends
  bool visible = true;
  TAlign align = TAlign::alNone;
  TAnchors anchors = {};
};

class TWinControl : public TComponent {
 public:
  ~TWinControl() override;

  HWND Handle() const { return handle_; }
  TWinControl* Parent() const { return parent_; }
  // The form this control is on; a form gives itself.
  TForm* ParentForm();

  // The window text as the user sees it.
  std::wstring WideText() const;
  void SetWideText(std::wstring_view text);
  // The window text as code page 932: a character that has none of its forms becomes "?".
  std::string Text() const;
  void SetText(const std::string& text);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const;
  virtual void SetVisible(bool visible);

  // Position and size in pixels relative to the parent's client area (the screen for a form).
  RECT BoundsRect() const;
  void SetBounds(int left, int top, int width, int height);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  // Keeps the distances that the control has now to the anchored edges.
  void SetAnchors(TAnchors anchors);
  TAnchors Anchors() const { return anchors_; }

  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool tab_stop) { tab_stop_ = tab_stop; }
  int TabOrder() const;
  void SetTabOrder(int order);
  // Children in creation order, and in tab order.
  const std::vector<TWinControl*>& Controls() const { return controls_; }
  const std::vector<TWinControl*>& TabList() const { return tab_list_; }

  // Whether the focus could go here now: this control and every parent visible and enabled.
  virtual bool CanFocus() const;
  bool Focused() const { return handle_ && GetFocus() == handle_; }
  void SetFocus();
  bool Contains(const TWinControl* control) const;
  bool ContainsFocus() const;

  // Keyboard navigation: a character that may be this control's accelerator (true when acted
  // upon), and a key pressed while this control has the focus (true when used).
  virtual bool DialogChar(wchar_t character);
  virtual bool DialogKey(WPARAM key);

  // The control bound to a window of the framework, or null.
  static TWinControl* FromHandle(HWND window);

  // Menu messages: WM_INITMENUPOPUP, WM_MENUCHAR, and WM_DRAWITEM / WM_MEASUREITEM of a menu
  // item. A control that shows a menu whose items someone else draws takes them here, from its
  // own window and, when it asked its form (TForm::ReceiveMenuMessages), from the form's; true,
  // with `result`, when it handled the message.
  static bool IsMenuMessage(UINT message, LPARAM lparam);
  virtual bool MenuMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

 protected:
  TWinControl(TComponent& owner, TWinControl* parent);

  struct WindowSpec {
    const wchar_t* class_name;
    DWORD style;
    DWORD ex_style;
  };
  // A standard control of the platform, subclassed: child of the parent, placed by the layout.
  void CreateStockWindow(const WindowSpec& kind, const ControlLayout& layout);
  // A window of a class that the framework registered (see window_class.h).
  void CreateOwnWindow(const WindowSpec& kind, HWND parent, const RECT& bounds,
                       const std::wstring& text);

  virtual LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT DefaultHandler(UINT message, WPARAM wparam, LPARAM lparam);

  // Notifications that the parent received on behalf of this control.
  virtual void CommandNotify(WORD code);
  virtual LRESULT NotifyMessage(NMHDR& header);

  // The layout's docking and anchors, once the window is in place.
  void ApplyAlignment(const ControlLayout& layout);
  // Lays the aligned and anchored children out again after a size change.
  void RealignControls();
  // The accelerator character of a caption ("&P" gives P), or 0.
  static wchar_t Accelerator(const std::wstring& caption);
  static bool MatchesAccelerator(const std::wstring& caption, wchar_t character);

 private:
  // The procedure of every framework window: of its own classes, and of stock controls in place
  // of theirs.
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // The control in the window's user data; the caller knows that the window is bound.
  static TWinControl* BoundControl(HWND window);
  static LRESULT Dispatch(TWinControl& control, UINT message, WPARAM wparam,
                          LPARAM lparam) noexcept;
  // What a message whose handler failed returns; a failure in creation waits for the creator.
  LRESULT HandlerFailed(UINT message, std::exception_ptr error) noexcept;
  void Bind(HWND window);
  void Unbind();
  void InsertInTabList(int order);
  void ForwardedFromParent(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

  TWinControl* parent_;
  HWND handle_ = nullptr;
  std::exception_ptr creation_error_;
  // A stock control's own window procedure, which the framework's hands on to.
  WNDPROC stock_procedure_ = nullptr;
  bool enabled_ = true;
  bool tab_stop_ = true;
  TAlign align_ = TAlign::alNone;
  TAnchors anchors_;
  RECT anchor_margins_{};  // distances to the parent's right and bottom edges when anchored
  std::vector<TWinControl*> controls_;
  std::vector<TWinControl*> tab_list_;
};

}  // namespace pem::gui
