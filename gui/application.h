// The application object: the hidden application window that owns every top-level window and
// message box, the title, the main form, the message loop and the general error display.
#pragma once

#include <windows.h>

#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "component.h"
#include "errors.h"
#include "win32_owners.h"

namespace pem::gui {

class TForm;
class ApplicationWindow;

class TApplication : public TComponent {
 public:
  // Creates the application window and its title; one application object exists at a time.
  TApplication();
  ~TApplication() override;

  // Initialises COM for the thread, single-threaded apartment.
  void Initialize();

  // Creates a form owned by the application, constructed from (application, reference, args).
  // The form sets `reference` before its construction runs; it is cleared if construction
  // fails. The first form becomes the main form.
  template <typename Form, typename... Args>
  Form& CreateForm(Form*& reference, Args&&... args);

  // Runs the message loop until the quit message arrives.
  void Run();
  // One pass of the loop: one message handled, or a wait for the next one.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Hands work to the user-interface thread; callable from any thread while the application
  // exists. The work runs from the message loop, in the order posted; an error it raises goes to
  // the error display. Work still queued when the application goes is dropped.
  void Post(std::function<void()> work);
  // Runs the work posted so far; the application window calls it.
  void RunPostedWork();

  HWND Handle() const;
  // The caption of the application window, as the task bar shows it.
  std::wstring Title() const;
  TForm* MainForm() const { return main_form_; }

  // A modal message box owned by the application window, on the monitor of the active window;
  // gives the button that closed it.
  int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);
  int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);
  // Drops an EAbort; shows every other error in the error box.
  void HandleException(std::exception_ptr error) noexcept;
  // The error box: the message with the final period rule, the title as caption.
  void ShowException(const Exception& error);
  // The error box with a message already in its final form.
  void ShowError(const std::wstring& message);

  // Forms report when they are shown or hidden: the application window is visible while a
  // form is.
  void FormVisibilityChanged(bool shown);

 private:
  void BecameMainForm(TForm& form);
  void Idle();
  bool ProcessMessage();
  void HonourStartupShowCommand();

  std::optional<ComInitialization> com_;
  std::mutex posted_mutex_;
  std::deque<std::function<void()>> posted_;
  std::unique_ptr<ApplicationWindow> window_;
  TForm* main_form_ = nullptr;
  bool terminated_ = false;
  int visible_forms_ = 0;
};

// The one application object; valid while it exists.
TApplication& Application();

// ApplicationMessageBox: the one way to show a message box.
int ApplicationMessageBox(const std::string& text, const std::string& caption, UINT flags);

// The window procedures' boundary: an error that leaves a handler ends up here.
void HandleWindowProcedureException(std::exception_ptr error) noexcept;

// The running executable's full file name.
std::wstring ExecutableFileName();

// The title for an executable's file name: the name without folder, cut at its first ".", the
// letters after the first character in lower case.
std::wstring ApplicationTitleFromPath(std::wstring_view path);

template <typename Form, typename... Args>
Form& TApplication::CreateForm(Form*& reference, Args&&... args) {
  struct ClearOnFailure {
    Form*& reference;
    bool done = false;
    ~ClearOnFailure() {
      if (!done) reference = nullptr;
    }
  } guard{reference};
  Form& form = Create<Form>(reference, std::forward<Args>(args)...);
  guard.done = true;
  if (form.DesignedVisible()) form.Show();
  if (!main_form_) BecameMainForm(form);
  return form;
}

}  // namespace pem::gui
