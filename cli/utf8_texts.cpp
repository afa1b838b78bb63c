#include "utf8_texts.h"

#include "cp932.h"
#include "cp932_convert.h"
#include "source_check.h"

namespace pem {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// The bytes of the undefined sequence at `pos`: a lead byte takes the byte after it when that one
// can be a second byte at all (40-7E, 80-FC), so that a CR or LF after it stays a line end.
std::size_t UndefinedLength(std::string_view text, std::size_t pos) {
  if (!IsLeadByte(static_cast<unsigned char>(text[pos])) || pos + 1 >= text.size()) return 1;
  const auto trail = static_cast<unsigned char>(text[pos + 1]);
  return trail >= 0x40 && trail <= 0xFC && trail != 0x7F ? 2 : 1;
}

class ConvertingFile : public OutputFile {
 public:
  ConvertingFile(Utf8Texts& owner, std::unique_ptr<OutputFile> file, std::string path)
      : owner_(owner), file_(std::move(file)), path_(std::move(path)) {}
  // Gives the bytes of the code page 932 text written: all of them or none.
  std::size_t Write(std::string_view data) override {
    bool replaced = false;
    const std::string utf8 = TextAsUtf8(data, replaced);
    if (replaced) owner_.NoteReplaced(path_);
    return file_->Write(utf8) == utf8.size() ? data.size() : 0;
  }
  bool Close() override { return file_->Close(); }

 private:
  Utf8Texts& owner_;
  std::unique_ptr<OutputFile> file_;
  std::string path_;
};

class ConvertingFolder : public OutputFolder {
 public:
  ConvertingFolder(Utf8Texts& owner, std::unique_ptr<OutputFolder> folder, std::string path)
      : owner_(owner), folder_(std::move(folder)), path_(std::move(path)) {}
  std::unique_ptr<OutputFile> CreateNewFile(const std::string& name, bool& exists) override {
    return owner_.Converting(folder_->CreateNewFile(name, exists), path_ + '\\' + name);
  }

 private:
  Utf8Texts& owner_;
  std::unique_ptr<OutputFolder> folder_;
  std::string path_;
};

}  // namespace

std::string TextAsUtf8(std::string_view cp932, bool& replaced) {
  std::string utf8;
  for (;;) {
    const std::optional<std::size_t> bad = FirstUndefinedSequence(cp932);
    utf8 += Cp932ToUtf8(cp932.substr(0, bad.value_or(cp932.size())));
    if (!bad) return utf8;
    replaced = true;
    utf8 += kReplacement;
    cp932.remove_prefix(*bad + UndefinedLength(cp932, *bad));
  }
}

std::unique_ptr<OutputFile> Utf8Texts::CreateOutputFile(const std::string& path) {
  return Converting(target_.CreateOutputFile(path), path);
}

std::unique_ptr<OutputFile> Utf8Texts::CreateNewOutputFile(const std::string& path, bool& exists) {
  return Converting(target_.CreateNewOutputFile(path, exists), path);
}

std::unique_ptr<OutputFolder> Utf8Texts::OpenOutputFolder(const std::string& path) {
  return std::make_unique<ConvertingFolder>(*this, target_.OpenOutputFolder(path), path);
}

std::unique_ptr<OutputFile> Utf8Texts::Converting(std::unique_ptr<OutputFile> file,
                                                  std::string path) {
  if (!file) return file;
  return std::make_unique<ConvertingFile>(*this, std::move(file), std::move(path));
}

void Utf8Texts::NoteReplaced(const std::string& path) {
  if (replaced_++ == 0) first_replaced_ = path;
}

}  // namespace pem
