// A file system that hands every call to another one: tests derive from it to count calls or
// to make chosen calls fail.
#pragma once

#include "filesystem.h"

namespace pem::testing {

class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& target = PlatformFileSystem()) : target_(target) {}

  bool FileMatchExists(const std::string& path) override { return target_.FileMatchExists(path); }
  bool FolderExists(const std::string& path) override { return target_.FolderExists(path); }
  std::uint32_t CreateFolder(const std::string& path) override {
    return target_.CreateFolder(path);
  }
  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override {
    return target_.CreateOutputFile(path);
  }
  std::optional<FileStamp> StampOf(const std::string& path) override {
    return target_.StampOf(path);
  }
  std::optional<std::string> ReadWholeFile(const std::string& path, FileStamp& stamp) override {
    return target_.ReadWholeFile(path, stamp);
  }

 private:
  FileSystem& target_;
};

}  // namespace pem::testing
