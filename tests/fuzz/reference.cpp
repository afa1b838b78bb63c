#include "reference.h"

#include "cp932.h"
#include "cp932_convert.h"

namespace pem::fuzz {
namespace {

bool Blank(char c) {
  return c == ' ' || c == '\t' || c == '\v';
}

std::string_view Trimmed(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && Blank(text[begin])) ++begin;
  while (end > begin && Blank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Equal ignoring the case of ASCII letters; the second byte of a two-byte character is no letter.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    if (CharLength(a, i) == 2) {
      if (a.substr(i, 2) != b.substr(i, 2)) return false;
      i += 2;
    } else {
      if (Upper(a[i]) != Upper(b[i])) return false;
      i += 1;
    }
  }
  return true;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return lines;
}

std::string_view SectionName(std::string_view header) {
  std::size_t end = 1;
  while (end < header.size()) {
    if (header[end] == ']') break;
    end += CharLength(header, end);
  }
  return Trimmed(header.substr(1, std::min(end, header.size()) - 1));
}

std::string Decoded(std::string_view file) {
  if (file.size() < 2 || file[0] != '\xFF' || file[1] != '\xFE') return std::string(file);
  std::u16string units;
  for (std::size_t i = 2; i + 1 < file.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(file[i]) +
                                          256 * static_cast<unsigned char>(file[i + 1])));
  }
  std::string text;
  Utf16ToCp932(units, text);
  return text;
}

}  // namespace

ReferenceIni::ReferenceIni(std::string_view file) : text_(Decoded(file)), lines_(Lines(text_)) {}

std::optional<std::string> ReferenceIni::Value(std::string_view section,
                                               std::string_view key) const {
  enum { kBefore, kInside } state = kBefore;
  for (std::string_view line : lines_) {
    line = Trimmed(line);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (state == kInside) return std::nullopt;
      if (SameName(SectionName(line), section)) state = kInside;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (state != kInside || equals == std::string_view::npos) continue;
    if (!SameName(Trimmed(line.substr(0, equals)), key)) continue;
    std::string_view value = Trimmed(line.substr(equals + 1));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
  }
  return std::nullopt;
}

std::string ReferenceIni::Text(std::string_view section, std::string_view key,
                               std::string_view default_value) const {
  std::string text;
  if (const std::optional<std::string> value = Value(section, key)) {
    text = value->substr(0, value->find('\0'));
  } else {
    text = std::string(default_value.substr(0, default_value.find('\0')));
    while (!text.empty() && text.back() == ' ') text.pop_back();
  }
  if (text.size() > 2047) text.resize(2047);
  return text;
}

std::optional<std::int32_t> ReferenceConvertNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    i += 1;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0 || value > (hex ? 0x0FFFFFFFu : 214748364u)) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
  }
  if (hex) return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  if (value > (negative ? 2147483648u : 2147483647u)) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(value)
                                            : static_cast<std::int64_t>(value));
}

std::optional<std::int32_t> ReferenceIniNumber(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return ReferenceConvertNumber("$" + std::string(text.substr(2)));
  }
  return ReferenceConvertNumber(text);
}

}  // namespace pem::fuzz
