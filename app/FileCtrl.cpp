#include "FileCtrl.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include "application.h"
#include "file_checks.h"
#include "thread_windows.h"
#include "win32_long_path.h"
#include "win32_owners.h"
#include "win32_text.h"

namespace pem {
namespace {

// Asks the browser, once it is set up, to select and expand to the initial folder.
int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data != 0)
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

bool BrowseForDirectory(const std::string& title, std::wstring& directory) {
  if (!FolderExistsAt(LongPathForm(directory))) directory.clear();

  const std::wstring wide_title = WidenCp932(title);
  // The browser writes the chosen item's display name here, never more than MAX_PATH characters;
  // the path is taken from the item itself.
  std::wstring display_name(MAX_PATH, L'\0');
  BROWSEINFOW browse{};
  browse.hwndOwner = gui::Application().Handle();
  browse.pszDisplayName = display_name.data();
  browse.lpszTitle = wide_title.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  if (!directory.empty()) {
    browse.lpfn = BrowseCallback;
    browse.lParam = reinterpret_cast<LPARAM>(directory.c_str());
  }

  AbsoluteIdList chosen;
  {
    gui::ThreadWindowsDisabled disabled(nullptr);
    ErrorModeScope error_mode(SEM_FAILCRITICALERRORS);
    chosen.reset(SHBrowseForFolderW(&browse));
  }
  if (!chosen) return false;
  // A confirmed item without a usable path counts as no choice; the text stays as it was.
  ShellMemory<wchar_t> path;
  if (FAILED(SHGetNameFromIDList(chosen.get(), SIGDN_FILESYSPATH, path.put())) || !path)
    return false;
  directory = path.get();
  return true;
}

}  // namespace pem
