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
  bool Close() override {
    return inner_->Close() && owner_.closes_++ != owner_.plan_.failing_close;
  }

 private:
  std::unique_ptr<OutputFile> inner_;
  FaultyFileSystem& owner_;
};

bool FaultyFileSystem::FileMatchExists(const std::string& path) {
  Spend();
  return target_.FileMatchExists(path);
}

bool FaultyFileSystem::FolderExists(const std::string& path) {
  if (Spend()) return false;
  return target_.FolderExists(path);
}

std::uint32_t FaultyFileSystem::CreateFolder(const std::string& path) {
  if (Spend()) return kBudgetSpent;
  if (folders_++ == plan_.failing_folder) return plan_.folder_error;
  return target_.CreateFolder(path);
}

template <typename Create>
std::unique_ptr<OutputFile> FaultyFileSystem::FaultyCreation(Create create) {
  if (Spend() || files_++ == plan_.failing_file) return nullptr;
  std::unique_ptr<OutputFile> file = create();
  if (!file) return nullptr;
  return std::make_unique<ShortOutputFile>(std::move(file), *this);
}

std::unique_ptr<OutputFile> FaultyFileSystem::CreateOutputFile(const std::string& path) {
  return FaultyCreation([&] { return target_.CreateOutputFile(path); });
}

std::unique_ptr<OutputFile> FaultyFileSystem::CreateNewOutputFile(const std::string& path,
                                                                  bool& exists) {
  exists = false;
  return FaultyCreation([&] { return target_.CreateNewOutputFile(path, exists); });
}

}  // namespace pem::harden
