// The two folders of a run as the conversion names them: code page 932 texts. A folder whose
// path has characters outside code page 932 is still used as it is: the file system maps a
// stand-in text (those characters as "?", which no Windows name holds and no name that the run
// makes holds) to the folder's own path, and the names below it stay code page 932 names.
#pragma once

#include <string>
#include <string_view>

#include "filesystem.h"

namespace pem {

struct RunFolder {
  std::string given;  // UTF-8, as typed or given
  std::string text;   // as the conversion takes it
  bool exact = true;  // false for a stand-in text
};

// A code page 932 folder text without its final separators.
std::string BareText(std::string text);
// A folder as given (UTF-8) without its final separators.
std::string BareGiven(std::string path);

class RunFolders {
 public:
  // Names both folders (UTF-8) and maps their stand-ins in `file_system`, which should be one
  // made for this run; false when one cannot be used, and then Refused() gives it as given.
  bool Prepare(const std::string& install, const std::string& out, FileSystem& file_system);

  const RunFolder& Install() const { return install_; }
  const RunFolder& Out() const { return out_; }
  const std::string& Refused() const { return refused_; }

  // A message of the run (code page 932) as its user reads it: UTF-8, with the platform's folder
  // separator and each folder known by a stand-in written as it was given.
  std::string Printable(std::string_view cp932) const;

 private:
  // True when one stand-in text lies within the other while its folder does not.
  bool StandInsMislead() const;

  RunFolder install_;
  RunFolder out_;
  std::string refused_;
};

}  // namespace pem
