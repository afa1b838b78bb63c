// A file system that passes every call to another one and fails the calls a test chooses: a
// folder creation with a given error code, a file creation, or a write that stores and reports
// fewer bytes than it was given, as a full disk does, or a close that reports a loss.
#pragma once

#include <cstdint>
#include <string>

#include "forwarding_file_system.h"

namespace pem::harden {

struct FaultPlan {
  static constexpr int kNever = -1;
  int failing_folder = kNever;        // index of the CreateFolder call that fails, from 0
  std::uint32_t folder_error = 0;     // the system error code that it gives
  int failing_file = kNever;          // index of the CreateOutputFile call that gives no file
  int short_write = kNever;           // index of the Write call that falls short
  std::size_t short_write_bytes = 0;  // how many bytes that write stores and reports
  int failing_close = kNever;         // index of the file close that reports a loss
  // Calls of any kind after which every folder test says "missing" and every creation fails with
  // kBudgetSpent, so that a run over hostile counts ends in bounded time.
  long long call_budget = -1;
};

// The error code of a creation refused because the call budget was spent (not enough quota).
inline constexpr std::uint32_t kBudgetSpent = 1816;

class FaultyFileSystem : public testing::ForwardingFileSystem {
 public:
  explicit FaultyFileSystem(FaultPlan plan, FileSystem& target = PlatformFileSystem())
      : ForwardingFileSystem(target), target_(target), plan_(plan) {}

  bool FileMatchExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::uint32_t CreateFolder(const std::string& path) override;
  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override;
  // The target's own check-and-create, so that runs use the platform's way of creating entries.
  std::unique_ptr<OutputFile> CreateNewOutputFile(const std::string& path, bool& exists) override;

  bool BudgetSpent() const { return plan_.call_budget >= 0 && calls_ > plan_.call_budget; }

 private:
  class ShortOutputFile;

  // Counts one call; true once the budget is spent.
  bool Spend() {
    ++calls_;
    return BudgetSpent();
  }

  // Counts one file creation; gives the target's file, wrapped, unless this one is to fail.
  template <typename Create>
  std::unique_ptr<OutputFile> FaultyCreation(Create create);

  FileSystem& target_;
  const FaultPlan plan_;
  long long calls_ = 0;
  int folders_ = 0;
  int files_ = 0;
  int writes_ = 0;
  int closes_ = 0;
};

}  // namespace pem::harden
