#include "folder_operands.h"

#include <algorithm>

#include "cp932.h"
#include "cp932_convert.h"

namespace pem {
namespace {

#ifdef _WIN32
constexpr bool kSlashSeparates = false;
#else
constexpr bool kSlashSeparates = true;
#endif

// The UTF-8 of a code page 932 text, with "/" for every separator where that is the platform's.
std::string Utf8WithSeparators(std::string_view cp932) {
  std::string utf8 = Cp932ToUtf8(cp932);
  // No multi-byte UTF-8 sequence holds the byte 5C, so every 5C left is a "\".
  if (kSlashSeparates) std::replace(utf8.begin(), utf8.end(), '\\', '/');
  return utf8;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty() || from == to) return;
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

// A code page 932 folder text without its final separators.
std::string BareText(std::string text) {
  while (text.size() > 1 && (EndsWithChar(text, '\\') || text.back() == '/')) text.pop_back();
  return text;
}

// A folder as given without its final separators.
std::string BareGiven(std::string path) {
  while (path.size() > 1 && (path.back() == '/' || (!kSlashSeparates && path.back() == '\\'))) {
    path.pop_back();
  }
  return path;
}

// True when `inner` is `outer` or lies below it.
bool Within(const std::string& inner, const std::string& outer) {
  return inner.starts_with(outer) && (inner.size() == outer.size() || outer == "/" ||
                                      inner[outer.size()] == '\\' || inner[outer.size()] == '/');
}

}  // namespace

bool FolderOperands::Use(const std::string& given, bool is_install, FileSystem& file_system,
                         Folder& folder) {
  folder.given = given;
  folder.exact = Utf8ToCp932(given, folder.text, true);
  if (!folder.exact) Utf8ToCp932(given, folder.text, false);
  const bool mapped = !given.empty() && file_system.MapFolder(folder.text, given);
  if (!mapped && !folder.exact) {
    refused_ = given;
    return false;
  }
  if (is_install && !EndsWithChar(folder.text, '\\') && !EndsWithChar(folder.text, '/')) {
    folder.text += '\\';
  }
  return true;
}

bool FolderOperands::Prepare(const std::string& install, const std::string& out,
                             FileSystem& file_system) {
  if (!Use(install, true, file_system, install_) || !Use(out, false, file_system, out_)) {
    return false;
  }
  if (install_.exact && out_.exact) return true;
  // Stand-in texts must lead where the folders do: one stand-in within the other, while the
  // folders themselves are not so, would send files into the wrong folder.
  for (const auto& [inner, outer] : {std::pair{&out_, &install_}, std::pair{&install_, &out_}}) {
    const std::string inner_text = BareText(inner->text);
    const std::string outer_text = BareText(outer->text);
    if (!Within(inner_text, outer_text)) continue;
    const std::string rest = Utf8WithSeparators(inner_text.substr(outer_text.size()));
    if (BareGiven(inner->given) != BareGiven(outer->given) + rest) {
      refused_ = inner->given;
      return false;
    }
  }
  return true;
}

std::string FolderOperands::BareInstallText() const {
  return BareText(install_.text);
}

std::string FolderOperands::Printable(std::string_view cp932) const {
  std::string text = Utf8WithSeparators(cp932);
  for (const Folder* folder : {&install_, &out_}) {
    if (folder->exact) continue;
    ReplaceAll(text, Utf8WithSeparators(BareText(folder->text)), BareGiven(folder->given));
  }
  return text;
}

}  // namespace pem
