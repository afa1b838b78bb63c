// Folders made on disk for the shell tests, named with code page 932 texts, and the shell's
// view of them.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "shell_folder.h"
#include "temp_dir.h"

namespace pem::testing {

class ShellFolders {
 public:
  // Makes each folder ("a\b" makes both) below a fresh temporary folder.
  explicit ShellFolders(std::initializer_list<std::wstring_view> folders = {});

  // The folder's Windows path: the temporary folder, then `relative` ("" for itself).
  std::wstring Path(std::wstring_view relative = L"") const;
  void Make(std::wstring_view relative) const;

 private:
  TempDir temp_;
};

// The absolute list of a path; fails the test when the shell cannot parse it.
AbsoluteIdList ParsedId(const std::wstring& path);
// An item directly under the desktop for a path.
std::unique_ptr<shell::TShellFolder> ItemForPath(const std::wstring& path);

}  // namespace pem::testing
