#include "line_list.h"

#include "cp932.h"
#include "file_errors.h"

namespace pem {

void LineList::SetText(std::string_view text) {
  lines_.clear();
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t end = FindLineEnd(text, pos);
    lines_.emplace_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
}

std::string LineList::Text() const {
  std::size_t size = 0;
  for (const std::string& line : lines_) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines_) text.append(line).append("\r\n");
  return text;
}

void LineList::SaveToFile(FileSystem& file_system, const std::string& path) const {
  const std::unique_ptr<OutputFile> file = file_system.CreateOutputFile(path);
  if (!file) throw EFCreateError(path);
  WriteTo(*file);
}

void LineList::WriteTo(OutputFile& file) const {
  const std::string text = Text();
  if (!text.empty() && file.Write(text) != text.size()) throw EWriteError();
  if (!file.Close()) throw EWriteError();
}

}  // namespace pem
