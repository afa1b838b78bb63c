#include "FileCtrl.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include "application.h"
#include "cp932_text.h"
#include "filesystem.h"
#include "thread_windows.h"
#include "win32_owners.h"
#include "win32_text.h"

namespace pem {
namespace {

using gui::ComPtr;
using gui::ShellMemory;

// Asks the browser, once it is set up, to select and expand to the initial folder.
int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data != 0)
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

bool BrowseForDirectory(const std::string& title, std::string& directory) {
  if (!FolderExists(directory)) directory.clear();

  ComPtr<IMalloc> allocator;
  if (SHGetMalloc(allocator.put()) != S_OK || !allocator) return false;
  ShellMemory<wchar_t> buffer(allocator,
                              static_cast<wchar_t*>(allocator->Alloc(MAX_PATH * sizeof(wchar_t))));
  if (!buffer) return false;

  const std::wstring wide_title = WidenCp932(title);
  const std::wstring initial = WidenCp932(directory);
  BROWSEINFOW browse;
  ZeroMemory(&browse, sizeof(browse));
  browse.hwndOwner = gui::Application().Handle();
  browse.pszDisplayName = buffer.get();
  browse.lpszTitle = wide_title.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  if (!initial.empty()) {
    browse.lpfn = BrowseCallback;
    browse.lParam = reinterpret_cast<LPARAM>(initial.c_str());
  }

  ShellMemory<ITEMIDLIST> chosen(allocator);
  {
    gui::ThreadWindowsDisabled disabled(nullptr);
    gui::ErrorModeScope error_mode(SEM_FAILCRITICALERRORS);
    chosen.reset(SHBrowseForFolderW(&browse));
  }
  if (!chosen) return false;
  // A confirmed item without a usable path counts as no choice; the text stays as it was.
  std::string path;
  if (!SHGetPathFromIDListW(chosen.get(), buffer.get()) || !gui::ExactCp932(buffer.get(), path))
    return false;
  directory = path;
  return true;
}

}  // namespace pem
