#include "faulty_file_system.h"

namespace pem::harden {

class FaultyFileSystem::ShortOutputFile : public OutputFile {
 public:
  ShortOutputFile(std::unique_ptr<OutputFile> inner, FaultyFileSystem& owner)
      : inner_(std::move(inner)), owner_(owner) {}

  std::size_t Write(std::string_view data) override {
    if (owner_.writes_++ != owner_.plan_.short_write) return inner_->Write(data);
    return inner_->Write(data.substr(0, owner_.plan_.short_write_bytes));
  }

 private:
  std::unique_ptr<OutputFile> inner_;
  FaultyFileSystem& owner_;
};

bool FaultyFileSystem::FileMatchExists(const std::string& path) {
  Spend();
  return ForwardingFileSystem::FileMatchExists(path);
}

bool FaultyFileSystem::FolderExists(const std::string& path) {
  if (Spend()) return false;
  return ForwardingFileSystem::FolderExists(path);
}

std::uint32_t FaultyFileSystem::CreateFolder(const std::string& path) {
  if (Spend()) return kBudgetSpent;
  if (folders_++ == plan_.failing_folder) return plan_.folder_error;
  return ForwardingFileSystem::CreateFolder(path);
}

std::unique_ptr<OutputFile> FaultyFileSystem::CreateOutputFile(const std::string& path) {
  if (Spend() || files_++ == plan_.failing_file) return nullptr;
  std::unique_ptr<OutputFile> file = ForwardingFileSystem::CreateOutputFile(path);
  if (!file) return nullptr;
  return std::make_unique<ShortOutputFile>(std::move(file), *this);
}

}  // namespace pem::harden
