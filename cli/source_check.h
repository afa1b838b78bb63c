// What pem2txt warns about in the tool's three data files before a run: anything that makes the
// run convert less than the user expects, although it goes on with the defaults.
#pragma once

#include <cstddef>
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

// The warnings for the data files beside `install` (the installation folder text with its final
// separator); none when all three are there and readable code page 932 text.
std::vector<SourceWarning> CheckSources(FileSystem& file_system, const std::string& install);

}  // namespace pem
