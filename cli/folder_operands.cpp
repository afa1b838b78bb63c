#include "folder_operands.h"

#include <algorithm>

#include "cp932.h"
#include "cp932_convert.h"
#include "path_separators.h"

namespace pem {
namespace {

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

bool FolderOperands::Prepare(const std::string& install, const std::string& out,
                             FileSystem& file_system) {
  if (!folders_.Prepare(install, out, file_system)) return false;
  install_text_ = folders_.Install().text;
  if (!EndsWithChar(install_text_, '\\') && !EndsWithChar(install_text_, '/')) {
    install_text_ += '\\';
  }
  return true;
}

std::string FolderOperands::BareInstallText() const {
  return BareText(install_text_);
}

std::string FolderOperands::Printable(std::string_view cp932) const {
  std::string text = Utf8WithSeparators(cp932);
  for (const RunFolder* folder : {&folders_.Install(), &folders_.Out()}) {
    if (folder->exact) continue;
    ReplaceAll(text, Utf8WithSeparators(BareText(folder->text)), BareGiven(folder->given));
  }
  return text;
}

}  // namespace pem
