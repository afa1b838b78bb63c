// What pem2txt warns about in the tool's three data files: anything that makes the run convert
// less than the user expects, although it goes on with the defaults.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filesystem.h"

namespace pem {

// The position of the first byte sequence that code page 932 does not define (an unassigned
// two-byte code, a lead byte without a valid second byte, 80, A0 or FD-FF); none when there is
// none.
std::optional<std::size_t> FirstUndefinedSequence(std::string_view bytes);

struct SourceWarning {
  std::string file;    // the file's name as the tool knows it ("pmridata.ini")
  std::string reason;  // what is wrong and what it means for the run (UTF-8)
};

// The warnings that the folder listing alone gives for the data files beside `install` (the
// installation folder text with its final separator): a file missing, a folder in its place, an
// empty pmridata.ini.
std::vector<SourceWarning> CheckSources(FileSystem& file_system, const std::string& install);

// The file system of a run, watching what the run reads of the three data files: the first
// time each is read, a file that cannot be read or is not code page 932 text gives a warning.
// Checking the bytes the run reads anyway costs no second read of files that may be large.
class SourceReadWatch : public FileSystem {
 public:
  using Report = std::function<void(const SourceWarning&)>;
  SourceReadWatch(FileSystem& target, const std::string& install, Report report);

  bool FileMatchExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::uint32_t CreateFolder(const std::string& path) override;
  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override;
  std::unique_ptr<OutputFile> CreateNewOutputFile(const std::string& path, bool& exists) override;
  std::unique_ptr<OutputFolder> OpenOutputFolder(const std::string& path) override;
  std::size_t NameByteLimit(const std::string& folder) override;
  bool MapFolder(const std::string& text, const std::string& native) override;
  std::optional<FileStamp> StampOf(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path, FileStamp& stamp) override;

 private:
  struct Watched {
    std::string path;
    std::string name;
    bool seen = false;
  };

  FileSystem& target_;
  std::vector<Watched> watched_;
  Report report_;
};

}  // namespace pem
