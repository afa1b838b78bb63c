#include "filesystem.h"

namespace pem {

std::unique_ptr<OutputFile> FileSystem::CreateNewOutputFile(const std::string& path, bool& exists) {
  exists = FileMatchExists(path);
  return exists ? nullptr : CreateOutputFile(path);
}

bool FileMatchExists(const std::string& path) {
  return PlatformFileSystem().FileMatchExists(path);
}

bool FolderExists(const std::string& path) {
  return PlatformFileSystem().FolderExists(path);
}

}  // namespace pem
