// The lines of one entry text, saved with CR LF after every line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "filesystem.h"

namespace pem {

class LineList {
 public:
  // Replaces the lines by those of `text`, split at CR LF, CR or LF (after a line one CR and then
  // one LF are skipped, so LF CR makes two breaks). An empty text has no lines.
  void SetText(std::string_view text);
  // Every line followed by CR LF.
  std::string Text() const;
  // Creates or empties the file, writes the text in one write (none when there are no lines)
  // and closes it. Throws EFCreateError when the file cannot be created and EWriteError when
  // fewer bytes were written than the text holds.
  void SaveToFile(FileSystem& file_system, const std::string& path) const;
  // Writes the text into an open file in one write (none when there are no lines). Throws
  // EWriteError when fewer bytes were written than the text holds.
  void WriteTo(OutputFile& file) const;

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace pem
