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

// The longest start of `name`, cut between two characters, that takes at most `limit` bytes
// together with `suffix` on a file system that stores names in UTF-8; `name` itself when it
// fits or when `limit` is 0 (no limit in bytes).
std::string FitName(std::string_view name, std::string_view suffix, std::size_t limit);

// Remembers, per folder and title, the counter from which the next free name is to be sought, so
// that no name this run has made is probed again. Valid while the conversion is the only writer
// of the folder: a name found taken stays taken.
class TakenNames {
 public:
  // The counter to try first for the title in the folder, 0 for a title not yet written there;
  // whoever takes a name sets it past the counter taken.
  int& NextCounter(const std::string& folder_path, const std::string& title);

 private:
  using Titles = std::unordered_map<std::string, int>;
  std::unordered_map<std::string, Titles> next_;
  // The folder of the last call and its titles: the entries of a category come in a row.
  std::string last_folder_path_;
  Titles* last_titles_ = nullptr;
};

// The category folder `out` + "\" + `folder`, opened once for the entry files written into it.
class EntryFolder {
 public:
  EntryFolder(FileSystem& file_system, const std::string& out, std::string folder);

  // Creates, empty and open for writing, the entry file that UniqueEntryPath names, with the
  // name checked and the file created in one step where the platform can, so that an existing
  // file is never emptied. Sets `path` to the name relative to `out`; null when that file
  // cannot be created.
  std::unique_ptr<OutputFile> CreateEntryFile(const std::string& title, TakenNames* taken,
                                              std::string& path);

 private:
  const std::string path_;
  const std::string folder_;
  const std::unique_ptr<OutputFolder> opened_;
  const std::size_t limit_;
};

// The path, relative to `out`, of the entry file for `title` in category folder `folder`:
// folder + "\" + title + ".txt", or title followed by the smallest counter 1, 2, ... under which
// no file exists yet. `folder` and `title` have been through SafeFileName; a lone lead byte at
// the end of the title becomes ・ (81 45), so that it cannot swallow the counter or the ".".
// Where the file system limits names in bytes, the title is cut (FitName) so that it fits with
// its counter and ".txt". With `taken`, names already known to be taken are not probed again.
std::string UniqueEntryPath(const std::string& out, const std::string& folder,
                            const std::string& title,
                            FileSystem& file_system = PlatformFileSystem(),
                            TakenNames* taken = nullptr);

// EntryFolder::CreateEntryFile for one entry, with the folder opened for it alone.
std::unique_ptr<OutputFile> CreateEntryFile(const std::string& out, const std::string& folder,
                                            const std::string& title, FileSystem& file_system,
                                            TakenNames* taken, std::string& path);

}  // namespace pem
