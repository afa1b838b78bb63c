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
  // Size and modification time of a file; none when it is missing or not a file.
  virtual std::optional<FileStamp> StampOf(const std::string& path) = 0;
  // The whole contents of a file; none when it is missing or unreadable. Sets `stamp` to the
  // file's stamp as it was read.
  virtual std::optional<std::string> ReadWholeFile(const std::string& path, FileStamp& stamp) = 0;
};

// The file system of the platform the program runs on.
FileSystem& PlatformFileSystem();

// Shorthands for the platform's file system.
bool FileMatchExists(const std::string& path);
bool FolderExists(const std::string& path);

}  // namespace pem
