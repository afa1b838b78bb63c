// Paths and name patterns on POSIX file systems.
#pragma once

#include <dirent.h>

#include <string>
#include <string_view>

namespace pem {

// The UTF-8 path for a code page 932 path; each single-byte "\" becomes "/".
std::string NativePath(std::string_view path);

// Matches a UTF-8 name against a pattern with * (any run) and ? (one character), ignoring the
// case of ASCII letters, as a Windows file search does.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// A folder opened for reading its entries; closed when destroyed.
class DirectoryStream {
 public:
  explicit DirectoryStream(const std::string& path) : dir_(::opendir(path.c_str())) {}
  DirectoryStream(const DirectoryStream&) = delete;
  DirectoryStream& operator=(const DirectoryStream&) = delete;
  ~DirectoryStream() {
    if (dir_ != nullptr) ::closedir(dir_);
  }
  DIR* get() const { return dir_; }

 private:
  DIR* dir_;
};

}  // namespace pem
