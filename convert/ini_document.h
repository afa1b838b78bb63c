// A parsed INI file, read by the rules of the Windows private-profile functions: the first
// section of a name is the only one searched, the first key of a name in it wins, names match
// ignoring the case of ASCII letters, lines are trimmed of blanks, one pair of quotes is removed.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pem {

class IniDocument {
 public:
  IniDocument() = default;
  // Parses the file's bytes: code page 932, or UTF-16LE after its byte-order mark (converted).
  explicit IniDocument(std::string bytes);
  IniDocument(IniDocument&&) noexcept = default;
  IniDocument& operator=(IniDocument&&) noexcept = default;

  // The value of `key` in `section` as stored (quotes removed, not cut); none when the section,
  // the key or its "=" is missing.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

 private:
  struct Entry {
    std::string_view key;
    std::string_view value;
  };
  struct Section {
    std::string_view name;
    std::vector<Entry> entries;  // sorted by key ignoring case; equal keys in file order
  };

  void Parse();
  const Section* FindSection(std::string_view name) const;

  std::unique_ptr<std::string> bytes_;  // every view below points into it; never moves
  std::vector<Section> sections_;       // the first section of each name, sorted by name
  // The name last asked for and the index of its section: reads come in runs on one section.
  mutable std::string last_name_;
  mutable std::size_t last_index_ = kNoIndex;
  // The position, in its section, of the entry last found.
  mutable std::size_t last_entry_ = 0;
  static constexpr std::size_t kNoIndex = static_cast<std::size_t>(-1);
};

}  // namespace pem
