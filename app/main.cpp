// PemConv.exe: starts the application with its main window and runs it until it is closed.
#include <windows.h>

#include "UMain.h"
#include "application.h"
#include "shell_folder.h"
#include "win32_text.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    // The shell's module comes first and goes last: OLE and the desktop item outlive every window
    // that shows shell folders.
    const pem::shell::ShellControlsModule shell_module;
    pem::gui::TApplication application;
    try {
      application.Initialize();
      application.CreateForm(pem::Form1);
      application.Run();
    } catch (...) {
      application.HandleException(std::current_exception());
      return 1;
    }
  } catch (const std::exception& error) {
    // Without an application object there is no error box of its own.
    MessageBoxW(nullptr, pem::WidenCp932(error.what()).c_str(), L"PemConv", MB_ICONERROR);
    return 1;
  }
  return 0;
}
