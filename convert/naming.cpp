#include "naming.h"

#include <algorithm>
#include <array>

#include "cp932.h"
#include "cp932_convert.h"

namespace pem {
namespace {

struct Substitution {
  char from;
  const char* to;
};

constexpr std::array<Substitution, 11> kSubstitutions{{
    {'\\', "\x81\x8F"},  // ￥
    {'/', "\x81\x5E"},   // ／
    {':', "\x81\x46"},   // ：
    {',', "\x81\x43"},   // ，
    {';', "\x81\x47"},   // ；
    {'*', "\x81\x96"},   // ＊
    {'?', "\x81\x48"},   // ？
    {'"', "\x81\x68"},   // ”
    {'<', "\x81\x83"},   // ＜
    {'>', "\x81\x84"},   // ＞
    {'|', "\x81\x62"},   // ｜
}};

constexpr char kFullWidthDot[] = "\x81\x44";  // ．
constexpr char kMiddleDot[] = "\x81\x45";     // ・

const char* SubstituteFor(char c) {
  for (const Substitution& s : kSubstitutions) {
    if (s.from == c) return s.to;
  }
  return nullptr;
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsDeviceBase(std::string_view base) {
  std::string upper(base);
  std::transform(upper.begin(), upper.end(), upper.begin(), Upper);
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

// The full-width form of an ASCII letter (Ａ is 82 60, ａ is 82 81).
std::string FullWidthLetter(char c) {
  const bool upper = c >= 'A' && c <= 'Z';
  const int second = upper ? 0x60 + (c - 'A') : 0x81 + (c - 'a');
  return std::string{'\x82', static_cast<char>(second)};
}

// A lead byte at the very end of a name would pair with whatever follows it in a path (the "\"
// before an entry's name, the "." of ".txt") and swallow it. It becomes ・, the character the
// platform shows for a lone lead byte anyway.
std::string WithCompleteLastChar(std::string name) {
  std::size_t last = 0;
  for (std::size_t pos = 0; pos < name.size(); pos += CharLength(name, pos)) last = pos;
  if (last + 1 == name.size() && IsLeadByte(static_cast<unsigned char>(name[last]))) {
    name.replace(last, 1, kMiddleDot);
  }
  return name;
}

// Tries the names for `title` in order (title, title1, title2, ...; from the counter that `taken`
// remembers) until `is_free` accepts one (without its folder); gives that one. The title is first
// shortened to fit with ".txt", and that shortened title is the one that counters are sought for,
// so that titles which differ only beyond the cut still get names of their own.
template <typename IsFree>
std::string FirstFreeEntryName(const std::string& folder_path, const std::string& title,
                               std::size_t limit, TakenNames* taken, IsFree is_free) {
  const std::string stem = FitName(WithCompleteLastChar(title), ".txt", limit);
  int from_start = 0;
  int& next = taken != nullptr ? taken->NextCounter(folder_path, stem) : from_start;
  for (int counter = next;; ++counter) {
    const std::string number = counter == 0 ? "" : std::to_string(counter);
    const std::string name = FitName(stem, number + ".txt", limit) + number;
    std::string candidate = GuardDeviceName(name) + ".txt";
    if (is_free(candidate)) {
      next = counter + 1;
      return candidate;
    }
  }
}

}  // namespace

std::string SafeFileName(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 8);
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = CharLength(text, pos);
    const char* substitute = len == 1 ? SubstituteFor(text[pos]) : nullptr;
    if (substitute != nullptr) {
      result += substitute;
    } else {
      result.append(text, pos, len);
    }
    pos += len;
  }
  return result;
}

std::string GuardDeviceName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  if (!IsDeviceBase(base)) return std::string(name);
  return FullWidthLetter(name[0]) + std::string(name.substr(1));
}

std::string CategoryFolderName(std::string_view category) {
  const std::string safe = WithCompleteLastChar(GuardDeviceName(SafeFileName(category)));
  if (safe.empty() || safe.find_first_not_of('.') != std::string::npos) return safe;
  std::string dots;
  for (std::size_t i = 0; i < safe.size(); ++i) dots += kFullWidthDot;
  return dots;
}

std::string FitName(std::string_view name, std::string_view suffix, std::size_t limit) {
  // A character of code page 932 takes at most three bytes in UTF-8: most names fit unconverted.
  if (limit == 0 || (name.size() + suffix.size()) * 3 <= limit) return std::string(name);
  const std::size_t suffix_bytes = Cp932ToUtf8(suffix).size();
  if (Cp932ToUtf8(name).size() + suffix_bytes <= limit) return std::string(name);
  const std::size_t room = limit - std::min(limit, suffix_bytes);
  std::size_t used = 0, end = 0;
  while (end < name.size()) {
    const std::size_t length = CharLength(name, end);
    const std::size_t bytes = Cp932ToUtf8(name.substr(end, length)).size();
    if (used + bytes > room) break;
    used += bytes;
    end += length;
  }
  return std::string(name.substr(0, end));
}

int& TakenNames::NextCounter(const std::string& folder_path, const std::string& title) {
  if (last_titles_ == nullptr || folder_path != last_folder_path_) {
    last_titles_ = &next_[folder_path];
    last_folder_path_ = folder_path;
  }
  return (*last_titles_)[title];
}

EntryFolder::EntryFolder(FileSystem& file_system, const std::string& out, std::string folder)
    : path_(out + '\\' + folder),
      folder_(std::move(folder)),
      opened_(file_system.OpenOutputFolder(path_)),
      limit_(file_system.NameByteLimit(path_)) {}

std::unique_ptr<OutputFile> EntryFolder::CreateEntryFile(const std::string& title,
                                                         TakenNames* taken, std::string& path) {
  std::unique_ptr<OutputFile> file;
  path = folder_ + '\\' +
         FirstFreeEntryName(path_, title, limit_, taken, [&](const std::string& name) {
           bool exists = false;
           file = opened_->CreateNewFile(name, exists);
           return !exists;
         });
  return file;
}

std::string UniqueEntryPath(const std::string& out, const std::string& folder,
                            const std::string& title, FileSystem& file_system, TakenNames* taken) {
  const std::string folder_path = out + '\\' + folder;
  return folder + '\\' +
         FirstFreeEntryName(folder_path, title, file_system.NameByteLimit(folder_path), taken,
                            [&](const std::string& name) {
                              return !file_system.FileMatchExists(folder_path + '\\' + name);
                            });
}

std::unique_ptr<OutputFile> CreateEntryFile(const std::string& out, const std::string& folder,
                                            const std::string& title, FileSystem& file_system,
                                            TakenNames* taken, std::string& path) {
  return EntryFolder(file_system, out, folder).CreateEntryFile(title, taken, path);
}

}  // namespace pem
