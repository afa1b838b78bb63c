#include "memory_file_system.h"

namespace pem::fuzz {

void MemoryFileSystem::Put(const std::string& path, std::string bytes) {
  const FileStamp stamp{bytes.size(), ++clock_};
  files_[path] = {std::move(bytes), stamp};
}

std::optional<FileStamp> MemoryFileSystem::StampOf(const std::string& path) {
  const auto file = files_.find(path);
  if (file == files_.end()) return std::nullopt;
  return file->second.stamp;
}

std::optional<std::string> MemoryFileSystem::ReadWholeFile(const std::string& path,
                                                           FileStamp& stamp) {
  const auto file = files_.find(path);
  if (file == files_.end()) return std::nullopt;
  stamp = file->second.stamp;
  return file->second.bytes;
}

}  // namespace pem::fuzz
