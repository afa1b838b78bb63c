// The file-system calls of the conversion, behind one interface so that the same core runs on
// Windows (wide API) and POSIX, and so that tests can inject faults. Every path is a code page
// 932 text in which a single-byte "\" separates components.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pem {

// What tells two versions of a file apart without reading it.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // platform ticks; only compared for equality
  bool operator==(const FileStamp&) const = default;
};

// A file opened for writing, unshared; closed when destroyed.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Writes the bytes in one call; gives how many were written (fewer when the disk is full).
  virtual std::size_t Write(std::string_view data) = 0;
  // Releases the file; false when the system reports there that what was written may not all be
  // kept, as a file server does for a quota that ran out under its cache.
  virtual bool Close() = 0;
};

// A folder opened once for the files that a category writes into it.
class OutputFolder {
 public:
  virtual ~OutputFolder() = default;
  // As FileSystem::CreateNewOutputFile for the file `name` (one component) in this folder.
  virtual std::unique_ptr<OutputFile> CreateNewFile(const std::string& name, bool& exists) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when the first entry that a search for `path` reports exists and is not a folder.
  // The last component may hold the wildcards * and ?; a plain path tests for a file.
  virtual bool FileMatchExists(const std::string& path) = 0;
  // True when `path` names an existing folder; "" gives false, a trailing "\" is allowed.
  virtual bool FolderExists(const std::string& path) = 0;
  // Creates one folder; gives 0 or the system error code in Windows numbering.
  virtual std::uint32_t CreateFolder(const std::string& path) = 0;
  // Creates the file or empties an existing one, opened for writing without sharing; null when
  // it cannot be created.
  virtual std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) = 0;
  // Creates the file only when no file of that name exists, so that no file is ever emptied;
  // null when it is not created, and then `exists` tells whether a file of that name is in the
  // way. This one probes with FileMatchExists and then calls CreateOutputFile; a platform that
  // can check and create in one step does so.
  virtual std::unique_ptr<OutputFile> CreateNewOutputFile(const std::string& path, bool& exists);
  // The folder `path`, for creating files in it: the file `name` is `path` + "\" + `name`. This
  // one names each file by that whole path through CreateNewOutputFile; a platform that can create
  // a file relative to an open folder does so, and falls back to whole paths when the folder cannot
  // be opened. Never null.
  virtual std::unique_ptr<OutputFolder> OpenOutputFolder(const std::string& path);
  // The longest name, in bytes of the names as stored, that the file system takes in `folder`;
  // 0 where the limit is not counted in bytes (Windows counts characters, and takes every
  // name that the conversion makes).
  virtual std::size_t NameByteLimit(const std::string& folder) {
    (void)folder;
    return 0;
  }
  // Makes the folder whose path is `native` (the platform's own bytes on POSIX, UTF-8 on Windows)
  // reachable: paths that begin with the component(s) `text` lead into it, and what follows is
  // converted from code page 932. False where the file system cannot map, and then `text` must
  // be the exact text of the folder.
  virtual bool MapFolder(const std::string& text, const std::string& native) {
    (void)text;
    (void)native;
    return false;
  }
  // Size and modification time of a file; none when it is missing or not a file.
  virtual std::optional<FileStamp> StampOf(const std::string& path) = 0;
  // The whole contents of a file; none when it is missing or unreadable. Sets `stamp` to the
  // file's stamp as it was read.
  virtual std::optional<std::string> ReadWholeFile(const std::string& path, FileStamp& stamp) = 0;
};

// The file system of the platform the program runs on.
FileSystem& PlatformFileSystem();
// A file system of the platform of its own, with no folder mapped yet: one for each run that
// maps its folders, so that no run sees another's.
std::unique_ptr<FileSystem> NewPlatformFileSystem();

}  // namespace pem
