// Top-level windows: created from a layout, shown modelessly or modally, closed through a close
// query and a close action, and keeping track of the control that has the focus. A form moved to
// a monitor of another display scale (WM_DPICHANGED) lays itself out again at that scale (its
// font, every control's place and size, and what the controls size themselves, see
// kScaleChangedMessage) and takes the rectangle the system offers; a fixed frame takes only its
// place and keeps the client area its layout needs.
#pragma once

#include <string>
#include <vector>

#include "control.h"
#include "event.h"
#include "screen_scale.h"
#include "win32_owners.h"

namespace pem::gui {

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

struct TBorderIcons {
  bool system_menu = true;
  bool minimize = true;
  bool maximize = true;
};

// Where a form goes when it is first shown.
enum class TPosition {
  poDesigned,        // the layout's left and top
  poDefaultPosOnly,  // the system's default position for a new window, the size kept
  poScreenCenter,    // centred on the primary screen
  poDesktopCenter,   // centred on the whole virtual desktop
  poMainFormCenter,  // centred over the application's main form
};

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;

struct FontSpec {
  std::string name = {};  // code page 932
  int height = -12;       // character height as a negative number, at 96 dots per inch
  BYTE charset = DEFAULT_CHARSET;
};

struct FormLayout {
  const wchar_t* window_class = L"TForm";  // the window class of the form, for example L"TForm1"
  std::string caption = {};                // code page 932
  int left = 0;
  int top = 0;
  int client_width = 0;
  int client_height = 0;
  TBorderStyle border_style = TBorderStyle::bsSizeable;
  TBorderIcons border_icons = {};
  TPosition position = TPosition::poDesigned;
  FontSpec font = {};
  bool visible = false;
};

class TForm : public TWinControl {
 public:
  TForm(TComponent& owner, const FormLayout& layout);
  ~TForm() override;

  HFONT Font() const { return font_.get(); }
  // The layout's design pixels on this screen (see screen_scale.h).
  RECT ScaleLayout(const ControlLayout& layout) const;
  int ScaleValue(int design) const { return scale_.Apply(design); }
  // The screen's dots per inch that the form is laid out for, and design pixels scaled by that
  // alone (not by the text's height): what must stay as it is at 96 dots per inch.
  int Dpi() const { return dpi_; }
  int ScaleForScreen(int design) const { return ScaleForDpi(design, dpi_); }

  bool DesignedVisible() const { return designed_visible_; }
  void Show();
  void Hide();
  void SetVisible(bool visible) override;
  TModalResult ShowModal();
  bool Modal() const { return modal_; }
  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult result) { modal_result_ = result; }
  // Asks the close query and the close action; closing the main form ends the application.
  void Close();
  // Destroys the form once the messages now queued have been handled.
  void Release();

  TWinControl* ActiveControl() const { return active_control_; }
  void SetActiveControl(TWinControl* control);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  TBorderStyle BorderStyle() const { return border_style_; }
  // The frame changes; the outer bounds stay.
  void SetBorderStyle(TBorderStyle style);
  TBorderIcons BorderIcons() const { return border_icons_; }
  void SetBorderIcons(TBorderIcons icons);
  // Outer bounds in screen pixels. Set before the form is first shown, they hold: the position
  // rule moves the form only where it says so (centred, or the system's default position), and
  // never changes its size.
  void SetLeft(int left);
  void SetTop(int top);
  void SetWidth(int width);
  void SetHeight(int height);

  // Moves the focus to the next control in tab order that can take it.
  void SelectNext(TWinControl* current, bool forward);
  void SelectFirst();

  // Focus bookkeeping, called by the controls.
  void FocusControl(TWinControl& control);
  void DefocusControl(TWinControl& control);
  void FocusChanged(TWinControl& control);
  void ControlRemoved(TWinControl& control);

  // Hands the form's menu messages (see TWinControl::MenuMessage) to `control` too, or no longer.
  void ReceiveMenuMessages(TWinControl& control, bool receive);

  Event<TObject&, bool&> OnCloseQuery;
  Event<TObject&, TCloseAction&> OnClose;
  TNotifyEvent OnShow;

 protected:
  virtual bool CloseQuery();
  virtual void DoClose(TCloseAction& action);
  virtual void DoShow();
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void ApplyStyle();
  void ChangeScale(int dpi, const RECT& suggested);
  void PlaceOnFirstShow();
  void CloseModal();
  bool Active() const;

  FontSpec font_spec_;
  int dpi_;
  UniqueFont font_;
  ScreenScale scale_;
  TBorderStyle border_style_;
  TBorderIcons border_icons_;
  TPosition position_;
  bool designed_visible_;
  bool placed_ = false;
  bool modal_ = false;
  TModalResult modal_result_ = mrNone;
  TWinControl* active_control_ = nullptr;
  std::vector<TWinControl*> menu_receivers_;
};

}  // namespace pem::gui
