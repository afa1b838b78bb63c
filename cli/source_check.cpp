#include "source_check.h"

#include <cstdint>
#include <cstring>

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

const SourceFile& SourceNamed(std::string_view name) {
  for (const SourceFile& source : kSources) {
    if (name == source.name) return source;
  }
  return kSources[0];
}

bool IsDefinedPair(unsigned char lead, unsigned char trail) {
  if (trail < 0x40 || trail > 0xFC) return false;
  const int row = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
  return cp932_table::kDoubleByte[row][trail - 0x40] != 0;
}

// What is wrong with the bytes of a file that was read; empty when nothing is.
std::string ContentProblem(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return {};  // UTF-16 with its mark: read as such
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    return "starts with a UTF-8 byte-order mark; it is read as code page 932 text, so its first "
           "section is not found and names come out garbled";
  }
  if (const auto at = FirstUndefinedSequence(bytes)) {
    return "is not code page 932 text (undefined bytes at offset " + std::to_string(*at) +
           "); names and texts may come out garbled";
  }
  return {};
}

}  // namespace

std::optional<std::size_t> FirstUndefinedSequence(std::string_view bytes) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  for (std::size_t pos = 0; pos < bytes.size();) {
    std::uint64_t eight;
    if (pos + sizeof eight <= bytes.size()) {
      std::memcpy(&eight, bytes.data() + pos, sizeof eight);
      if ((eight & kHighBits) == 0) {  // eight ASCII bytes at once: most of a typical file
        pos += sizeof eight;
        continue;
      }
    }
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
    const std::string path = install + source.name;
    std::string reason;
    if (file_system.FolderExists(path)) {
      reason = std::string("is a folder: ") + source.without;
    } else if (const std::optional<FileStamp> stamp = file_system.StampOf(path); !stamp) {
      reason = std::string("not found: ") + source.without;
    } else if (stamp->size == 0 && source.empty_is_missing) {
      reason = std::string("empty: ") + source.without;
    }
    if (!reason.empty()) warnings.push_back({source.name, std::move(reason)});
  }
  return warnings;
}

SourceReadWatch::SourceReadWatch(FileSystem& target, const std::string& install, Report report)
    : target_(target), report_(std::move(report)) {
  for (const SourceFile& source : kSources) {
    watched_.push_back({install + source.name, source.name});
  }
}

bool SourceReadWatch::FileMatchExists(const std::string& path) {
  return target_.FileMatchExists(path);
}
bool SourceReadWatch::FolderExists(const std::string& path) {
  return target_.FolderExists(path);
}
std::uint32_t SourceReadWatch::CreateFolder(const std::string& path) {
  return target_.CreateFolder(path);
}
std::unique_ptr<OutputFile> SourceReadWatch::CreateOutputFile(const std::string& path) {
  return target_.CreateOutputFile(path);
}
std::unique_ptr<OutputFile> SourceReadWatch::CreateNewOutputFile(const std::string& path,
                                                                 bool& exists) {
  return target_.CreateNewOutputFile(path, exists);
}
std::unique_ptr<OutputFolder> SourceReadWatch::OpenOutputFolder(const std::string& path) {
  return target_.OpenOutputFolder(path);
}
std::size_t SourceReadWatch::NameByteLimit(const std::string& folder) {
  return target_.NameByteLimit(folder);
}
bool SourceReadWatch::MapFolder(const std::string& text, const std::string& native) {
  return target_.MapFolder(text, native);
}
std::optional<FileStamp> SourceReadWatch::StampOf(const std::string& path) {
  return target_.StampOf(path);
}

std::optional<std::string> SourceReadWatch::ReadWholeFile(const std::string& path,
                                                          FileStamp& stamp) {
  std::optional<std::string> bytes = target_.ReadWholeFile(path, stamp);
  for (Watched& watched : watched_) {
    if (watched.seen || watched.path != path) continue;
    watched.seen = true;
    const std::string reason =
        bytes ? ContentProblem(*bytes)
              : std::string("cannot be read: ") + SourceNamed(watched.name).without;
    if (!reason.empty()) report_({watched.name, reason});
  }
  return bytes;
}

}  // namespace pem
