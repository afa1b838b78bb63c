#include "oracle.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>

namespace pem::testing {
namespace {

constexpr std::size_t kMaxValueBytes = 2047;

// The eleven characters that a file name cannot hold and their full-width stand-ins.
Char Substitute(const Char& c) {
  static const std::map<std::string, Char> table = {
      {"\\", {"\x81\x8F", "￥"}}, {"/", {"\x81\x5E", "／"}}, {":", {"\x81\x46", "："}},
      {",", {"\x81\x43", "，"}},  {";", {"\x81\x47", "；"}}, {"*", {"\x81\x96", "＊"}},
      {"?", {"\x81\x48", "？"}},  {"\"", {"\x81\x68", "”"}}, {"<", {"\x81\x83", "＜"}},
      {">", {"\x81\x84", "＞"}},  {"|", {"\x81\x62", "｜"}},
  };
  const auto found = table.find(c.sjis);
  return found == table.end() ? c : found->second;
}

Text Safe(const Text& text) {
  Text safe;
  for (const Char& c : text) safe.push_back(Substitute(c));
  return safe;
}

bool IsAsciiLetter(const Char& c) {
  return c.sjis.size() == 1 && std::isalpha(static_cast<unsigned char>(c.sjis[0]));
}

// A name that Windows would take for a device gets its first letter in full width.
Text GuardDevice(Text name) {
  std::string base;
  for (const Char& c : name) {
    if (c.sjis == ".") break;
    base += c.sjis.size() == 1
                ? static_cast<char>(std::toupper(static_cast<unsigned char>(c.sjis[0])))
                : '\x80';
  }
  while (!base.empty() && base.back() == ' ') base.pop_back();
  static const std::set<std::string> devices = {
      "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
      "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
  if (!devices.contains(base) || name.empty() || !IsAsciiLetter(name[0])) return name;
  // Ａ..Ｚ are 82 60..82 79 (U+FF21..), ａ..ｚ are 82 81..82 9A (U+FF41..).
  const char letter = name[0].sjis[0];
  const bool upper = letter >= 'A' && letter <= 'Z';
  const int offset = upper ? letter - 'A' : letter - 'a';
  const int unicode = (upper ? 0xFF21 : 0xFF41) + offset;
  name[0].sjis = {'\x82', static_cast<char>((upper ? 0x60 : 0x81) + offset)};
  name[0].utf8 = {static_cast<char>(0xE0 | unicode >> 12),
                  static_cast<char>(0x80 | (unicode >> 6 & 0x3F)),
                  static_cast<char>(0x80 | (unicode & 0x3F))};
  return name;
}

// Letter case as Windows folds it, for the characters that the tests use: ASCII letters and
// full-width Latin letters (EF BD 81..9A are ａ..ｚ, EF BC A1..BA are Ａ..Ｚ).
std::string FoldCase(std::string utf8) {
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    char& c = utf8[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '\xEF' && i + 2 < utf8.size() && utf8[i + 1] == '\xBC' && utf8[i + 2] >= '\xA1' &&
        utf8[i + 2] <= '\xBA') {
      utf8[i + 1] = '\xBD';
      utf8[i + 2] = static_cast<char>(utf8[i + 2] - 0xA1 + 0x81);
    }
  }
  return utf8;
}

// Entry texts never hold a line break, so each file is the text and one CR LF, or nothing.
std::string FileBytes(const std::optional<std::string>& text) {
  const std::string value = text.value_or("").substr(0, kMaxValueBytes);
  return value.empty() ? value : value + "\r\n";
}

}  // namespace

Text OutputModel::FolderName(const Text& category) {
  Text name = GuardDevice(Safe(category));
  const bool dots_only = !name.empty() && std::all_of(name.begin(), name.end(),
                                                      [](const Char& c) { return c.sjis == "."; });
  if (dots_only) std::fill(name.begin(), name.end(), Char{"\x81\x44", "．"});
  return name;
}

Text OutputModel::StemName(const Text& title, int counter) {
  Text name = Safe(title);
  if (counter > 0) {
    const Text digits = Ascii(std::to_string(counter));
    name.insert(name.end(), digits.begin(), digits.end());
  }
  return GuardDevice(name);
}

std::string OutputModel::Key(const std::string& utf8) const {
  return fold_case_ ? FoldCase(utf8) : utf8;
}

std::string OutputModel::Folder(const Text& name) {
  const std::string utf8 = Utf8Of(name);
  if (utf8.empty()) return utf8;  // the unnamed category writes into the output folder itself
  const auto [it, created] = folders_.try_emplace(Key(utf8), utf8);
  if (created) tree_[utf8] = std::nullopt;
  return it->second;
}

bool OutputModel::AddExistingFile(const Text& folder, const Text& file, const std::string& bytes) {
  const std::string folder_name = Folder(folder);
  const std::string path = (folder_name.empty() ? "" : folder_name + "/") + Utf8Of(file);
  if (!files_.insert(Key(path)).second) return false;
  tree_[path] = bytes;
  return true;
}

void OutputModel::Convert(const Dictionary& dictionary) {
  const int count = dictionary.category_count ? dictionary.category_count->value : 0;
  for (int i = 0; i < count; ++i) {
    const bool written = i < static_cast<int>(dictionary.categories.size());
    const Category empty;
    const Category& category = written ? dictionary.categories[i] : empty;
    const std::string folder = Folder(FolderName(category.name.value_or(Text{})));
    const std::string prefix = folder.empty() ? "" : folder + "/";
    const int entries = dictionary.has_dicdata && category.count ? category.count->value : 0;
    for (int j = 0; j < entries; ++j) {
      const bool present = j < static_cast<int>(category.entries.size());
      const Entry entry = present ? category.entries[j] : Entry{};
      const Text title = dictionary.has_expdata ? entry.title.value_or(Text{}) : Text{};
      std::string path;
      for (int counter = 0;; ++counter) {
        path = prefix + Utf8Of(StemName(title, counter)) + ".txt";
        if (!files_.contains(Key(path))) break;
      }
      files_.insert(Key(path));
      tree_[path] = FileBytes(entry.text);
    }
  }
}

bool FileSystemFoldsCase() {
#ifdef _WIN32
  return true;
#else
  return false;
#endif
}

}  // namespace pem::testing
