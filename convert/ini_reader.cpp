#include "ini_reader.h"

#include "number.h"

namespace pem {

IniReader::IniReader(std::string path, FileSystem& file_system)
    : path_(std::move(path)), file_system_(file_system) {}

IniReader::Hold::Hold(const IniReader& reader) : reader_(reader) {
  reader_.Current();
  ++reader_.holds_;
}

IniReader::Hold::~Hold() {
  --reader_.holds_;
}

const IniDocument& IniReader::Current() const {
  if (parsed_ && holds_ > 0) return document_;
  const std::optional<FileStamp> stamp = file_system_.StampOf(path_);
  if (parsed_ && stamp == stamp_) return document_;
  FileStamp read_stamp;
  std::optional<std::string> bytes;
  if (stamp) bytes = file_system_.ReadWholeFile(path_, read_stamp);
  document_ = bytes ? IniDocument(std::move(*bytes)) : IniDocument();
  stamp_ = bytes ? std::optional<FileStamp>(read_stamp) : std::nullopt;
  parsed_ = true;
  return document_;
}

std::string IniReader::ReadText(std::string_view section, std::string_view key,
                                std::string_view default_value) const {
  std::string_view value;
  if (const auto found = Current().Find(section, key)) {
    value = found->substr(0, found->find('\0'));
  } else {
    value = default_value.substr(0, default_value.find('\0'));
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  }
  return std::string(value.substr(0, kMaxValueBytes));
}

std::int32_t IniReader::ReadNumber(std::string_view section, std::string_view key,
                                   std::int32_t default_value) const {
  return IniNumber(ReadText(section, key, "")).value_or(default_value);
}

std::string IniReader::ReadCategoryName(int index) const {
  return ReadText("ItemData", std::to_string(index), "");
}

}  // namespace pem
