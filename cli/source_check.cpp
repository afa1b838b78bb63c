#include "source_check.h"

#include "cp932.h"
#include "cp932_table.h"

namespace pem {
namespace {

struct SourceFile {
  const char* name;
  const char* without;  // what the run does without it
  bool empty_is_missing;
};

constexpr SourceFile kSources[] = {
    {"pmridata.ini", "nothing is converted", true},
    {"dicdata.ini", "every entry file is empty", false},
    {"expdata.ini", "every entry is named .txt, 1.txt, 2.txt, ...", false},
};

bool IsDefinedPair(unsigned char lead, unsigned char trail) {
  if (trail < 0x40 || trail > 0xFC) return false;
  const int row = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
  return cp932_table::kDoubleByte[row][trail - 0x40] != 0;
}

// What is wrong with the bytes of a file that was read; empty when nothing is.
std::string ContentProblem(const SourceFile& source, std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return {};  // UTF-16 with its mark: read as such
  if (bytes.empty()) {
    return source.empty_is_missing ? std::string("empty: ") + source.without : "";
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    return std::string(
        "starts with a UTF-8 byte-order mark; it is read as code page 932 text, "
        "so its first section is not found and names come out garbled");
  }
  if (const auto at = FirstUndefinedSequence(bytes)) {
    return "is not code page 932 text (undefined bytes at offset " + std::to_string(*at) +
           "); names and texts may come out garbled";
  }
  return {};
}

std::string Problem(FileSystem& file_system, const SourceFile& source, const std::string& path) {
  if (file_system.FolderExists(path)) return std::string("is a folder: ") + source.without;
  if (!file_system.StampOf(path)) return std::string("not found: ") + source.without;
  FileStamp stamp;
  const std::optional<std::string> bytes = file_system.ReadWholeFile(path, stamp);
  if (!bytes) return std::string("cannot be read: ") + source.without;
  return ContentProblem(source, *bytes);
}

}  // namespace

std::optional<std::size_t> FirstUndefinedSequence(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[pos]);
    if (byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF)) {
      ++pos;
    } else if (IsLeadByte(byte) && pos + 1 < bytes.size() &&
               IsDefinedPair(byte, static_cast<unsigned char>(bytes[pos + 1]))) {
      pos += 2;
    } else {
      return pos;
    }
  }
  return std::nullopt;
}

std::vector<SourceWarning> CheckSources(FileSystem& file_system, const std::string& install) {
  std::vector<SourceWarning> warnings;
  for (const SourceFile& source : kSources) {
    std::string reason = Problem(file_system, source, install + source.name);
    if (!reason.empty()) warnings.push_back({source.name, std::move(reason)});
  }
  return warnings;
}

}  // namespace pem
