// Reads one INI file of the dictionary tool. Reading never fails: a missing file, section or key
// gives the default. The file is parsed once and the parse reused while its size and time stay
// the same, so every read sees the file as it is now at the cost of one status query; inside a
// Hold, reads see the file as it was when the hold began and cost no query.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "filesystem.h"
#include "ini_document.h"

namespace pem {

class IniReader {
 public:
  // Holds the path only; the file is first touched by a read. Releasing writes nothing.
  explicit IniReader(std::string path, FileSystem& file_system = PlatformFileSystem());

  // The value of the key, at most 2047 bytes; the default (trailing spaces removed) when missing.
  std::string ReadText(std::string_view section, std::string_view key,
                       std::string_view default_value) const;
  // The value as a number; the default when it is missing or no number.
  std::int32_t ReadNumber(std::string_view section, std::string_view key,
                          std::int32_t default_value) const;
  // The name of category `index`: key dec(index) of section ItemData, default empty.
  std::string ReadCategoryName(int index) const;

  const std::string& Path() const { return path_; }

  // For a burst of reads (one category's entries), where a status query per read would cost as
  // much as writing the entry files: brings the parse up to date once, then keeps it while the
  // hold lives.
  class Hold {
   public:
    explicit Hold(const IniReader& reader);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    const IniReader& reader_;
  };

 private:
  const IniDocument& Current() const;

  std::string path_;
  FileSystem& file_system_;
  mutable std::optional<FileStamp> stamp_;  // of the parsed file; none while it is missing
  mutable IniDocument document_;
  mutable bool parsed_ = false;
  mutable int holds_ = 0;
};

// The longest value that a read gives, as the platform's 2048-byte buffer holds it.
inline constexpr std::size_t kMaxValueBytes = 2047;

}  // namespace pem
