// A fresh folder under the system drive's root, which nothing else writes to while a test runs:
// Wine's item-id lists carry the folders' times, and a folder on the way that changes meanwhile
// (such as the profile's temporary folder) can spoil a selection by path.
#pragma once

#include <filesystem>
#include <string>

namespace pem::testing {

class QuietFolder {
 public:
  QuietFolder();
  QuietFolder(const QuietFolder&) = delete;
  QuietFolder& operator=(const QuietFolder&) = delete;
  // Removes the folder with everything in it.
  ~QuietFolder();

  const std::filesystem::path& path() const { return path_; }
  // The path of a folder below it ("/" or "\" between the names), created with the folders
  // above it.
  std::filesystem::path Folder(const std::filesystem::path& relative) const;

 private:
  std::filesystem::path path_;
};

}  // namespace pem::testing
