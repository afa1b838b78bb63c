#include "unique_folder.h"

#include <random>
#include <string>
#include <system_error>

namespace pem::testing {

std::filesystem::path MakeUniqueFolder(const std::filesystem::path& parent,
                                       std::string_view prefix) {
  thread_local std::mt19937 random{std::random_device{}()};
  std::error_code error;
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Another test may remove a shared parent between the two calls; the next attempt makes it
    // again.
    std::filesystem::create_directories(parent, error);
    const std::filesystem::path folder = parent / (std::string(prefix) + std::to_string(random()));
    if (std::filesystem::create_directory(folder, error)) return folder;
  }
  throw std::filesystem::filesystem_error("cannot make a folder of its own", parent, error);
}

}  // namespace pem::testing
