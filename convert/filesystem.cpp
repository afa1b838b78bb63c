#include "filesystem.h"

namespace pem {
namespace {

// Creates each file by its whole path, through the file system's own CreateNewOutputFile.
class PathOutputFolder : public OutputFolder {
 public:
  PathOutputFolder(FileSystem& file_system, std::string path)
      : file_system_(file_system), path_(std::move(path)) {}
  std::unique_ptr<OutputFile> CreateNewFile(const std::string& name, bool& exists) override {
    return file_system_.CreateNewOutputFile(path_ + '\\' + name, exists);
  }

 private:
  FileSystem& file_system_;
  const std::string path_;
};

}  // namespace

std::unique_ptr<OutputFile> FileSystem::CreateNewOutputFile(const std::string& path, bool& exists) {
  exists = FileMatchExists(path);
  return exists ? nullptr : CreateOutputFile(path);
}

std::unique_ptr<OutputFolder> FileSystem::OpenOutputFolder(const std::string& path) {
  return std::make_unique<PathOutputFolder>(*this, path);
}

}  // namespace pem
