// The two folders of the command line as the conversion takes them (see run_folders.h), with the
// installation folder's final separator added and messages written back in the folders' own
// names.
#pragma once

#include <string>
#include <string_view>

#include "filesystem.h"
#include "run_folders.h"

namespace pem {

class FolderOperands {
 public:
  // Prepares both folders; false when one cannot be used, and then Refused() names it.
  bool Prepare(const std::string& install, const std::string& out, FileSystem& file_system);

  // The installation folder as a prefix, with a final separator.
  const std::string& InstallText() const { return install_text_; }
  const std::string& OutText() const { return folders_.Out().text; }
  // Each folder's text without the final separator, and as it was given.
  std::string BareInstallText() const;
  const std::string& InstallGiven() const { return folders_.Install().given; }
  const std::string& OutGiven() const { return folders_.Out().given; }
  const std::string& Refused() const { return folders_.Refused(); }

  // A message of the conversion (code page 932) as its user reads it: UTF-8, with the platform's
  // folder separator and the folders written as they were given.
  std::string Printable(std::string_view cp932) const { return folders_.Printable(cp932); }

 private:
  RunFolders folders_;
  std::string install_text_;
};

}  // namespace pem
