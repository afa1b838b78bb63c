#include <dirent.h>
#include <sys/stat.h>

#include "file_checks.h"
#include "posix_path.h"

namespace pem {
namespace {

bool IsDirectory(const std::string& folder, const dirent& entry) {
#ifdef DT_DIR
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return entry.d_type == DT_DIR;
#endif
  struct stat info;
  const std::string path = folder + "/" + entry.d_name;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

SystemPath SystemPathOf(std::string_view path) {
  return NativePath(path);
}

bool FileMatchExistsAt(const SystemPath& path) {
  const std::size_t slash = path.rfind('/');
  const std::string pattern = slash == std::string::npos ? path : path.substr(slash + 1);
  if (pattern.find_first_of("*?") == std::string::npos) {
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
  }
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : path.substr(0, slash);
  DirectoryStream dir(folder);
  if (dir.get() == nullptr) return false;
  while (const dirent* entry = ::readdir(dir.get())) {
    if (WildcardMatch(pattern, entry->d_name)) return !IsDirectory(folder, *entry);
  }
  return false;
}

bool FolderExistsAt(const SystemPath& path) {
  struct stat info;
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace pem
