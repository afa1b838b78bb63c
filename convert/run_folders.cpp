#include "run_folders.h"

#include <algorithm>
#include <utility>

#include "cp932.h"
#include "cp932_convert.h"
#include "path_separators.h"

namespace pem {
namespace {

RunFolder Take(const std::string& given) {
  RunFolder folder;
  folder.given = given;
  folder.exact = Utf8ToCp932(given, folder.text, true);
  if (!folder.exact) Utf8ToCp932(given, folder.text, false);
  return folder;
}

// True when `inner` is `outer` or lies below it.
bool Within(const std::string& inner, const std::string& outer) {
  return inner.starts_with(outer) && (inner.size() == outer.size() || outer == "/" ||
                                      inner[outer.size()] == '\\' || inner[outer.size()] == '/');
}

// The UTF-8 of a code page 932 text, with "/" for every separator where that is the platform's.
std::string Utf8WithSeparators(std::string_view cp932) {
  std::string utf8 = Cp932ToUtf8(cp932);
  // No multi-byte UTF-8 sequence holds the byte 5C, so every 5C left is a "\".
  if (kOnlySlashSeparates) std::replace(utf8.begin(), utf8.end(), '\\', '/');
  return utf8;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty() || from == to) return;
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

}  // namespace

std::string BareText(std::string text) {
  while (text.size() > 1 && (EndsWithChar(text, '\\') || text.back() == '/')) text.pop_back();
  return text;
}

std::string BareGiven(std::string path) {
  while (path.size() > 1 && (path.back() == '/' || (!kOnlySlashSeparates && path.back() == '\\'))) {
    path.pop_back();
  }
  return path;
}

bool RunFolders::StandInsMislead() const {
  for (const auto& [inner, outer] : {std::pair{&out_, &install_}, std::pair{&install_, &out_}}) {
    if (Within(BareText(inner->text), BareText(outer->text)) &&
        !Within(BareGiven(inner->given), BareGiven(outer->given))) {
      return true;
    }
  }
  return false;
}

bool RunFolders::Prepare(const std::string& install, const std::string& out,
                         FileSystem& file_system) {
  install_ = Take(install);
  out_ = Take(out);
  refused_.clear();
  // A stand-in within the other folder's, while the folders themselves are not so, would send
  // files into the wrong folder: the output folder's stand-in then takes full-width question
  // marks, which no other stand-in has.
  if (!out_.exact && StandInsMislead()) out_.text = ReplaceChar(out_.text, '?', "\x81\x48");
  if (StandInsMislead()) {
    refused_ = out_.given;
    return false;
  }
  for (const RunFolder* folder : {&install_, &out_}) {
    const bool mapped =
        !folder->given.empty() && file_system.MapFolder(folder->text, folder->given);
    if (!mapped && !folder->exact) {
      refused_ = folder->given;
      return false;
    }
  }
  return true;
}

std::string RunFolders::Printable(std::string_view cp932) const {
  std::string text = Utf8WithSeparators(cp932);
  for (const RunFolder* folder : {&install_, &out_}) {
    if (folder->exact) continue;
    ReplaceAll(text, Utf8WithSeparators(BareText(folder->text)), BareGiven(folder->given));
  }
  return text;
}

}  // namespace pem
