// Names of the output tree: category folders and entry files.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "filesystem.h"

namespace pem {

// Replaces the eleven characters that a file name cannot hold (\ / : , ; * ? " < > |) by their
// full-width look-alikes; nothing else changes. Trail bytes of two-byte characters are left alone.
std::string SafeFileName(std::string_view text);

// A name that Windows takes for a device (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, in any case,
// also with blanks or a dot and more after it) gets its first letter in full width, so that the
// data lands in a file rather than vanishing into the device. Other names are returned unchanged.
std::string GuardDeviceName(std::string_view name);

// The folder name of a category: SafeFileName, then the device guard, and a name made only of
// dots (".", "..") gets full-width dots, so that no category leaves or becomes the output folder.
// A lone lead byte at the end becomes ・ (81 45), so that it cannot swallow the "\" after it.
std::string CategoryFolderName(std::string_view category);

// Remembers, per folder and title, the counter from which the next free name is to be sought.
// Valid while the conversion is the only writer of the folder: a name found taken stays taken.
// Only titles that have needed a counter are kept, so that unique titles cost no memory.
class TakenNames {
 public:
  // The counter to try first: 0 for a title that has not needed a counter in the folder.
  int From(const std::string& folder_path, const std::string& title) const;
  // Notes that `counter` has been taken for the title, when it is not 0.
  void Took(const std::string& folder_path, const std::string& title, int counter);

 private:
  static std::string Key(const std::string& folder_path, const std::string& title);

  std::unordered_map<std::string, int> next_;
};

// The path, relative to `out`, of the entry file for `title` in category folder `folder`:
// folder + "\" + title + ".txt", or title followed by the smallest counter 1, 2, ... under which
// no file exists yet. `folder` and `title` have been through SafeFileName; a lone lead byte at
// the end of the title becomes ・ (81 45), so that it cannot swallow the counter or the ".". With
// `taken`, names already known to be taken are not probed again.
std::string UniqueEntryPath(const std::string& out, const std::string& folder,
                            const std::string& title,
                            FileSystem& file_system = PlatformFileSystem(),
                            TakenNames* taken = nullptr);

// Creates, empty and open for writing, the entry file that UniqueEntryPath names, with the name
// checked and the file created in one step where the platform can (CreateNewOutputFile), so that
// an existing file is never emptied. Sets `path` to the name relative to `out`; null when that
// file cannot be created.
std::unique_ptr<OutputFile> CreateEntryFile(const std::string& out, const std::string& folder,
                                            const std::string& title, FileSystem& file_system,
                                            TakenNames* taken, std::string& path);

}  // namespace pem
