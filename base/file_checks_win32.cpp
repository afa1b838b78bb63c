#include <windows.h>

#include "file_checks.h"
#include "win32_long_path.h"
#include "win32_owners.h"
#include "win32_text.h"

namespace pem {

SystemPath SystemPathOf(std::string_view path) {
  return LongPathForm(WidenCp932(path));
}

bool FileMatchExistsAt(const SystemPath& path) {
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(FindFirstFileW(path.c_str(), &data));
  return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExistsAt(const SystemPath& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace pem
