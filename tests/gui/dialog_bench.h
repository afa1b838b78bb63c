// The select-folder dialog on the test's thread, owned by a visible main form, while another
// thread acts as the user on the window that Execute shows.
#pragma once

#include <windows.h>

#include <functional>

#include "SelectFolderDialog.h"
#include "application.h"
#include "test_form.h"

namespace pem::testing {

// What the user finds in the dialog's window.
struct DialogWindows {
  HWND form = nullptr;
  HWND tree = nullptr;
  HWND ok = nullptr;
  HWND cancel = nullptr;
  HWND message = nullptr;
};

// The dialog's window of the thread once it shows with the focus in it; all null when none came.
DialogWindows WaitForDialog(DWORD thread);
// The dialog's window of the thread, shown or not, or null.
HWND FindDialogForm(DWORD thread);

class DialogBench {
 public:
  DialogBench();
  DialogBench(const DialogBench&) = delete;
  DialogBench& operator=(const DialogBench&) = delete;

  gui::TApplication& Application() { return application_; }
  gui::TForm& MainForm() { return *main_; }
  TSelectFolderDialog& Dialog() { return *dialog_; }

  // Runs Execute while `user` acts on the window it shows; the user closes it. Gives Execute's
  // result.
  bool Execute(const std::function<void(const DialogWindows&)>& user);

 private:
  gui::TApplication application_;
  TestForm* main_ = nullptr;
  TSelectFolderDialog* dialog_ = nullptr;
};

}  // namespace pem::testing
