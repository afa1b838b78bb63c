#include "quiet_folder.h"

#include <windows.h>

namespace pem::testing {

QuietFolder::QuietFolder() {
  static int counter = 0;
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  path_ = std::filesystem::path(std::wstring(windows, 3)) / "pemconv-gui-tests" /
          (std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

QuietFolder::~QuietFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
  // The shared parent goes with the last of its folders.
  std::filesystem::remove(path_.parent_path(), ignored);
}

std::filesystem::path QuietFolder::Folder(const std::filesystem::path& relative) const {
  std::filesystem::path folder = path_ / relative;
  folder.make_preferred();
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace pem::testing
