#include "quiet_folder.h"

#include <windows.h>

#include "unique_folder.h"

namespace pem::testing {

namespace {

std::filesystem::path SystemDriveRoot() {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  return std::wstring(windows, 3);
}

}  // namespace

QuietFolder::QuietFolder() : path_(MakeUniqueFolder(SystemDriveRoot() / "pemconv-gui-tests", "")) {}

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
