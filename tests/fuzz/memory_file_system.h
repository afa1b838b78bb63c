// Files held in memory, for fuzzing the reader at full speed: every Put gives the file a new
// stamp, as a write on disk gives it a new time.
#pragma once

#include <map>
#include <string>

#include "filesystem.h"

namespace pem::fuzz {

class MemoryFileSystem : public FileSystem {
 public:
  void Put(const std::string& path, std::string bytes);
  void Remove(const std::string& path) { files_.erase(path); }

  bool FileMatchExists(const std::string& path) override { return files_.contains(path); }
  bool FolderExists(const std::string&) override { return false; }
  std::uint32_t CreateFolder(const std::string&) override { return 5; }
  std::unique_ptr<OutputFile> CreateOutputFile(const std::string&) override { return nullptr; }
  std::optional<FileStamp> StampOf(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path, FileStamp& stamp) override;

 private:
  struct File {
    std::string bytes;
    FileStamp stamp;
  };
  std::map<std::string, File> files_;
  std::int64_t clock_ = 0;
};

}  // namespace pem::fuzz
