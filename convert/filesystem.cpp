#include "filesystem.h"

namespace pem {

bool FileMatchExists(const std::string& path) {
  return PlatformFileSystem().FileMatchExists(path);
}

bool FolderExists(const std::string& path) {
  return PlatformFileSystem().FolderExists(path);
}

}  // namespace pem
