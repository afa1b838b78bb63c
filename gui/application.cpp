#include "application.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "dialog_keys.h"
#include "form.h"
#include "framework_messages.h"
#include "thread_windows.h"
#include "win32_text.h"

namespace pem::gui {

// The hidden window of the application: zero-sized, it carries the title into the task bar and
// owns the forms and boxes.
class ApplicationWindow : public TWinControl {
 public:
  ApplicationWindow(TComponent& owner, const std::wstring& title) : TWinControl(owner, nullptr) {
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    CreateOwnWindow(
        {L"TApplication", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0},
        nullptr, RECT{x, y, x, y}, title);
  }

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_CLOSE) {
      if (TForm* main = Application().MainForm()) main->Close();
      return 0;
    }
    if (message == kPostedWorkMessage) {
      Application().RunPostedWork();
      return 0;
    }
    // Restored from the task bar, this window is the one activated, before the forms it owns are
    // shown again; once they are, the keyboard goes on to the form that had it last.
    if (message == WM_SETFOCUS) Application().Post([this] { PassFocusToForm(); });
    return TWinControl::WndProc(message, wparam, lparam);
  }

 private:
  // The window that takes the keyboard is the topmost visible and enabled one that this window
  // owns: a modal form or box, as the others are disabled then, or else the form used last.
  void PassFocusToForm() {
    if (GetFocus() != Handle()) return;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
      if (GetWindow(window, GW_OWNER) == Handle() && IsWindowVisible(window) &&
          IsWindowEnabled(window)) {
        SetActiveWindow(window);
        return;
      }
    }
  }
};

namespace {

TApplication* the_application = nullptr;

// What a message box needs around it: the application window on the active window's monitor,
// the other windows disabled, and afterwards everything as it was.
class MessageBoxScope {
 public:
  explicit MessageBoxScope(HWND application_window)
      : application_window_(application_window), active_(GetActiveWindow()) {
    MoveToActiveMonitor();
    disabled_ = DisableThreadWindows(nullptr);
  }
  MessageBoxScope(const MessageBoxScope&) = delete;
  MessageBoxScope& operator=(const MessageBoxScope&) = delete;
  ~MessageBoxScope() {
    if (moved_)
      MoveCentreTo(saved_.left + (saved_.right - saved_.left) / 2,
                   saved_.top + (saved_.bottom - saved_.top) / 2);
    EnableThreadWindows(disabled_);
    if (active_ && IsWindow(active_)) SetActiveWindow(active_);
  }

 private:
  void MoveToActiveMonitor() {
    const HMONITOR target = MonitorFromWindow(active_, MONITOR_DEFAULTTONEAREST);
    if (target == MonitorFromWindow(application_window_, MONITOR_DEFAULTTONEAREST)) return;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(target, &info)) return;
    GetWindowRect(application_window_, &saved_);
    moved_ = true;
    const RECT& area = info.rcMonitor;
    MoveCentreTo(area.left + (area.right - area.left) / 2, area.top + (area.bottom - area.top) / 2);
  }
  void MoveCentreTo(int x, int y) {
    RECT bounds{};
    GetWindowRect(application_window_, &bounds);
    SetWindowPos(application_window_, nullptr, x - (bounds.right - bounds.left) / 2,
                 y - (bounds.bottom - bounds.top) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
  }

  HWND application_window_;
  HWND active_;
  bool moved_ = false;
  RECT saved_{};
  DisabledWindowList disabled_;
};

BOOL CALLBACK HideOwnedWindow(HWND window, LPARAM owner) {
  if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner)) ShowWindow(window, SW_HIDE);
  return TRUE;
}

}  // namespace

std::wstring ApplicationTitleFromPath(std::wstring_view path) {
  if (const auto slash = path.find_last_of(L'\\'); slash != std::wstring_view::npos)
    path.remove_prefix(slash + 1);
  std::wstring title(path.substr(0, path.find(L'.')));
  // Only the single-byte letters change, as code page 932's lower-casing does.
  for (std::size_t index = 1; index < title.size(); ++index) {
    if (title[index] >= L'A' && title[index] <= L'Z') title[index] += L'a' - L'A';
  }
  return title;
}

TApplication::TApplication() : TComponent(nullptr) {
  INITCOMMONCONTROLSEX controls{
      sizeof(INITCOMMONCONTROLSEX),
      ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  the_application = this;
  window_ =
      std::make_unique<ApplicationWindow>(*this, ApplicationTitleFromPath(ExecutableFileName()));
}

TApplication::~TApplication() {
  if (window_) {
    // Pop-ups go first, so that none is seen half-destroyed.
    EnumThreadWindows(GetCurrentThreadId(), HideOwnedWindow,
                      reinterpret_cast<LPARAM>(window_->Handle()));
  }
  main_form_ = nullptr;
  DestroyComponents();
  window_.reset();
  the_application = nullptr;
}

void TApplication::Initialize() {
  if (!com_) com_.emplace();
}

HWND TApplication::Handle() const {
  return window_->Handle();
}

std::wstring TApplication::Title() const {
  wchar_t title[256] = {};
  GetWindowTextW(window_->Handle(), title, 256);
  return title;
}

void TApplication::BecameMainForm(TForm& form) {
  main_form_ = &form;
}

void TApplication::Run() {
  HonourStartupShowCommand();
  while (!terminated_) HandleMessage();
}

void TApplication::HonourStartupShowCommand() {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  if (!(startup.dwFlags & STARTF_USESHOWWINDOW) || !main_form_) return;
  if (startup.wShowWindow == SW_SHOWMAXIMIZED) ShowWindow(main_form_->Handle(), SW_MAXIMIZE);
  if (startup.wShowWindow == SW_SHOWMINNOACTIVE) ShowWindow(Handle(), SW_MINIMIZE);
}

void TApplication::HandleMessage() {
  try {
    if (!ProcessMessage()) Idle();
  } catch (...) {
    HandleException(std::current_exception());
  }
}

bool TApplication::ProcessMessage() {
  MSG message{};
  if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
  if (message.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (!HandleDialogKeys(message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

void TApplication::Idle() {
  WaitMessage();
}

void TApplication::Post(std::function<void()> work) {
  {
    const std::lock_guard lock(posted_mutex_);
    posted_.push_back(std::move(work));
  }
  // A failed post (a full queue) leaves the work for the next one that gets through.
  PostMessageW(window_->Handle(), kPostedWorkMessage, 0, 0);
}

void TApplication::RunPostedWork() {
  std::deque<std::function<void()>> work;
  {
    const std::lock_guard lock(posted_mutex_);
    work.swap(posted_);
  }
  for (auto& item : work) {
    try {
      item();
    } catch (...) {
      HandleException(std::current_exception());
    }
  }
}

void TApplication::Terminate() {
  PostQuitMessage(0);
}

int TApplication::ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  return ShowMessageBox(WidenCp932(text), WidenCp932(caption), flags);
}

int TApplication::ShowMessageBox(const std::wstring& text, const std::wstring& caption,
                                 UINT flags) {
  MessageBoxScope scope(Handle());
  return MessageBoxW(Handle(), text.c_str(), caption.c_str(), flags);
}

void TApplication::HandleException(std::exception_ptr error) noexcept {
  try {
    if (const HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
    try {
      std::rethrow_exception(error);
    } catch (const EAbort&) {
    } catch (const Exception& failure) {
      ShowException(failure);
    } catch (const std::exception& failure) {
      ShowException(Exception(failure.what()));
    }
  } catch (...) {
    // The error display itself failed (out of memory): nothing is left to show it with.
  }
}

void TApplication::ShowException(const Exception& error) {
  ShowError(WidenCp932(WithFinalPeriod(error.Message())));
}

void TApplication::ShowError(const std::wstring& message) {
  ShowMessageBox(message, Title(), MB_ICONERROR);
}

void TApplication::FormVisibilityChanged(bool shown) {
  visible_forms_ += shown ? 1 : -1;
  const bool visible = IsWindowVisible(Handle()) != FALSE;
  if ((visible_forms_ > 0) == visible) return;
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                   (visible ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
}

TApplication& Application() {
  return *the_application;
}

int ApplicationMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  return Application().ShowMessageBox(text, caption, flags);
}

void HandleWindowProcedureException(std::exception_ptr error) noexcept {
  if (the_application) the_application->HandleException(std::move(error));
}

std::wstring ExecutableFileName() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length < name.size()) {
      name.resize(length);
      return name;
    }
    name.resize(name.size() * 2);
  }
}

}  // namespace pem::gui
