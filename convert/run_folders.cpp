#include "run_folders.h"

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

}  // namespace pem
