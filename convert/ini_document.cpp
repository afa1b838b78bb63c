#include "ini_document.h"

#include <algorithm>

#include "cp932.h"
#include "cp932_convert.h"

namespace pem {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

unsigned char Fold(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Orders names ignoring the case of ASCII letters; every other byte compares as it is, also the
// second byte of a two-byte character that happens to be a letter (ア 83 41 is not ヂ 83 61).
// Shorter names come first: names of different lengths never match, so most comparisons end
// at once.
int CompareNames(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  bool second_byte = false;  // equal so far, so the same in both names
  for (std::size_t i = 0; i < a.size(); ++i) {
    const unsigned char x = second_byte ? static_cast<unsigned char>(a[i]) : Fold(a[i]);
    const unsigned char y = second_byte ? static_cast<unsigned char>(b[i]) : Fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
    second_byte = !second_byte && IsLeadByte(x);
  }
  return 0;
}

bool NameLess(std::string_view a, std::string_view b) {
  return CompareNames(a, b) < 0;
}

std::string DecodeUtf16File(std::string_view bytes) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                   static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  std::string text;
  Utf16ToCp932(units, text);
  return text;
}

// The section name of a header line (which starts with "["): up to the first "]" that is a
// character of its own, or to the end of the line, trimmed.
std::string_view HeaderName(std::string_view line) {
  std::size_t pos = 1;
  while (pos < line.size() && !(line[pos] == ']' && CharLength(line, pos) == 1)) {
    pos += CharLength(line, pos);
  }
  return Trim(line.substr(1, std::min(pos, line.size()) - 1));
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

IniDocument::IniDocument(std::string bytes)
    : bytes_(std::make_unique<std::string>(std::move(bytes))) {
  if (bytes_->size() >= 2 && (*bytes_)[0] == '\xFF' && (*bytes_)[1] == '\xFE') {
    *bytes_ = DecodeUtf16File(*bytes_);
  }
  Parse();
}

void IniDocument::Parse() {
  std::vector<Section> in_file_order;
  Section* current = nullptr;
  const std::string_view all(*bytes_);
  for (std::size_t start = 0; start < all.size();) {
    const std::size_t end = FindLineEnd(all, start);
    const std::string_view line = Trim(all.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      in_file_order.push_back({HeaderName(line), {}});
      current = &in_file_order.back();
      continue;
    }
    const std::size_t equals = line.find('=');
    if (current == nullptr || equals == std::string_view::npos) continue;
    std::string_view key = line.substr(0, equals);
    while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
    std::string_view value = line.substr(equals + 1);
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    current->entries.push_back({key, Unquote(value)});
  }

  // Keep the first section of each name; sort keys so that equal keys stay in file order.
  std::stable_sort(in_file_order.begin(), in_file_order.end(),
                   [](const Section& a, const Section& b) { return NameLess(a.name, b.name); });
  for (Section& section : in_file_order) {
    if (!sections_.empty() && CompareNames(sections_.back().name, section.name) == 0) continue;
    std::stable_sort(section.entries.begin(), section.entries.end(),
                     [](const Entry& a, const Entry& b) { return NameLess(a.key, b.key); });
    sections_.push_back(std::move(section));
  }
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
  if (last_index_ != kNoIndex && name == last_name_) return &sections_[last_index_];
  const auto it = std::lower_bound(sections_.begin(), sections_.end(), name,
                                   [](const Section& section, std::string_view wanted) {
                                     return NameLess(section.name, wanted);
                                   });
  if (it == sections_.end() || CompareNames(it->name, name) != 0) return nullptr;
  last_name_ = name;
  last_index_ = static_cast<std::size_t>(it - sections_.begin());
  return &*it;
}

std::optional<std::string_view> IniDocument::Find(std::string_view section,
                                                  std::string_view key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return {};
  const std::vector<Entry>& entries = found->entries;
  // Keys are mostly read in order (0, 1, 2, ...), which is their sorted order: the entry after
  // the one last found is tried first. It is the one to give when it is the first of its name.
  const std::size_t next = last_entry_ + 1;
  if (next < entries.size() && CompareNames(entries[next].key, key) == 0 &&
      CompareNames(entries[next - 1].key, key) != 0) {
    last_entry_ = next;
    return entries[next].value;
  }
  const auto it = std::lower_bound(
      entries.begin(), entries.end(), key,
      [](const Entry& entry, std::string_view wanted) { return NameLess(entry.key, wanted); });
  if (it == entries.end() || CompareNames(it->key, key) != 0) return {};
  last_entry_ = static_cast<std::size_t>(it - entries.begin());
  return it->value;
}

}  // namespace pem
