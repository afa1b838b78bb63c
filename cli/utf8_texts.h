// Entry files in UTF-8 for pem2txt --encoding=utf-8: the file system of the run converts every
// text from code page 932 as it is written. CR LF stay; a byte sequence that code page 932 does
// not define (one with no Unicode form) becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

#include "filesystem.h"

namespace pem {

// The text in UTF-8; `replaced` is set when a sequence became U+FFFD.
std::string TextAsUtf8(std::string_view cp932, bool& replaced);

class Utf8Texts : public FileSystem {
 public:
  explicit Utf8Texts(FileSystem& target) : target_(target) {}

  bool FileMatchExists(const std::string& path) override { return target_.FileMatchExists(path); }
  bool FolderExists(const std::string& path) override { return target_.FolderExists(path); }
  std::uint32_t CreateFolder(const std::string& path) override {
    return target_.CreateFolder(path);
  }
  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override;
  std::unique_ptr<OutputFile> CreateNewOutputFile(const std::string& path, bool& exists) override;
  std::unique_ptr<OutputFolder> OpenOutputFolder(const std::string& path) override;
  std::size_t NameByteLimit(const std::string& folder) override {
    return target_.NameByteLimit(folder);
  }
  bool MapFolder(const std::string& text, const std::string& native) override {
    return target_.MapFolder(text, native);
  }
  std::optional<FileStamp> StampOf(const std::string& path) override {
    return target_.StampOf(path);
  }
  std::optional<std::string> ReadWholeFile(const std::string& path, FileStamp& stamp) override {
    return target_.ReadWholeFile(path, stamp);
  }

  // How many entry files got U+FFFD, and the path of the first.
  std::size_t Replaced() const { return replaced_; }
  const std::string& FirstReplaced() const { return first_replaced_; }

  // A file of the run, converting what is written to it.
  std::unique_ptr<OutputFile> Converting(std::unique_ptr<OutputFile> file, std::string path);
  void NoteReplaced(const std::string& path);

 private:
  FileSystem& target_;
  std::size_t replaced_ = 0;
  std::string first_replaced_;
};

}  // namespace pem
