#include "naming.h"

#include <algorithm>
#include <array>

#include "cp932.h"

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
// remembers) until `is_free` accepts the full path of one; gives that one relative to `out`.
template <typename IsFree>
std::string FirstFreeEntryPath(const std::string& out, const std::string& folder,
                               const std::string& title, TakenNames* taken, IsFree is_free) {
  const std::string folder_path = out + '\\' + folder;
  const std::string stem = WithCompleteLastChar(title);
  for (int counter = taken != nullptr ? taken->From(folder_path, title) : 0;; ++counter) {
    const std::string name = counter == 0 ? stem : stem + std::to_string(counter);
    std::string candidate = folder + '\\' + GuardDeviceName(name) + ".txt";
    if (is_free(out + '\\' + candidate)) {
      if (taken != nullptr) taken->Took(folder_path, title, counter);
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

std::string TakenNames::Key(const std::string& folder_path, const std::string& title) {
  std::string key;
  key.reserve(folder_path.size() + title.size() + 1);
  key.append(folder_path).append(1, '\0').append(title);
  return key;
}

int TakenNames::From(const std::string& folder_path, const std::string& title) const {
  if (next_.empty()) return 0;
  const auto it = next_.find(Key(folder_path, title));
  return it != next_.end() ? it->second : 0;
}

void TakenNames::Took(const std::string& folder_path, const std::string& title, int counter) {
  if (counter > 0) next_[Key(folder_path, title)] = counter + 1;
}

std::string UniqueEntryPath(const std::string& out, const std::string& folder,
                            const std::string& title, FileSystem& file_system, TakenNames* taken) {
  return FirstFreeEntryPath(out, folder, title, taken, [&file_system](const std::string& path) {
    return !file_system.FileMatchExists(path);
  });
}

std::unique_ptr<OutputFile> CreateEntryFile(const std::string& out, const std::string& folder,
                                            const std::string& title, FileSystem& file_system,
                                            TakenNames* taken, std::string& path) {
  std::unique_ptr<OutputFile> file;
  path = FirstFreeEntryPath(out, folder, title, taken, [&](const std::string& full_path) {
    bool exists = false;
    file = file_system.CreateNewOutputFile(full_path, exists);
    return !exists;
  });
  return file;
}

}  // namespace pem
