// The two folders of the command line as the conversion takes them: code page 932 texts. On
// POSIX a folder whose path has characters outside code page 932 is still used as the bytes it
// is: the file system maps a stand-in text (those characters as "?") to its own path.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "filesystem.h"

namespace pem {

class FolderOperands {
 public:
  // Prepares both folders; false when one cannot be used, and then Refused() names it.
  bool Prepare(const std::string& install, const std::string& out, FileSystem& file_system);

  // The installation folder as a prefix, with a final separator.
  const std::string& InstallText() const { return install_.text; }
  const std::string& OutText() const { return out_.text; }
  // Each folder's text without the final separator, and as it was given.
  std::string BareInstallText() const;
  const std::string& InstallGiven() const { return install_.given; }
  const std::string& OutGiven() const { return out_.given; }
  const std::string& Refused() const { return refused_; }

  // A message of the conversion (code page 932) as its user reads it: UTF-8, with the platform's
  // folder separator and the folders written as they were given.
  std::string Printable(std::string_view cp932) const;

 private:
  struct Folder {
    std::string given;  // as on the command line
    std::string text;   // as the conversion takes it
    bool exact = true;  // false for a stand-in text
  };

  static Folder Take(const std::string& given);
  // True when one stand-in text lies within the other while its folder does not.
  bool StandInsMislead() const;

  Folder install_;
  Folder out_;
  std::string refused_;
};

}  // namespace pem
