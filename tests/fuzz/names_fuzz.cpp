// The code page 932 helpers and the naming of the output tree: arbitrary bytes as a category
// name and as a title. A name must never hold a separator or a wildcard of its own, never leave
// or become the output folder, never be a device, and never swallow the separator or the ".txt"
// that follows it; conversions to Unicode and back must be stable.
#include <algorithm>
#include <string>

#include "cp932.h"
#include "cp932_convert.h"
#include "fuzz_support.h"
#include "naming.h"
#include "posix_path.h"

namespace pem::fuzz {
namespace {

constexpr std::string_view kReplaced = "\\/:,;*?\"<>|";

// The characters of a text as code page 932 reads it.
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> characters;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = CharLength(text, pos);
    characters.push_back(text.substr(pos, length));
    pos += length;
  }
  return characters;
}

void CheckSafeFileName(std::string_view text) {
  const std::string safe = SafeFileName(text);
  std::size_t replaced = 0;
  for (std::string_view c : Characters(text)) {
    replaced += c.size() == 1 && kReplaced.find(c[0]) != std::string_view::npos;
  }
  Require(safe.size() == text.size() + replaced, "each replacement adds exactly one byte");
  for (std::string_view c : Characters(safe)) {
    Require(c.size() == 2 || kReplaced.find(c[0]) == std::string_view::npos,
            "no replaced character is left standing on its own");
  }
  Require(SafeFileName(safe) == safe, "SafeFileName changes nothing twice");
}

void CheckCategoryFolder(std::string_view name) {
  const std::string folder = CategoryFolderName(name);
  Require(folder.empty() == name.empty(), "only the empty name gives the empty folder name");
  Require(folder.find_first_not_of('.') != std::string::npos || folder.empty(),
          "no folder name is made of dots");
  Require(GuardDeviceName(folder) == folder, "no folder name is a device");
  Require(EndsWithChar(folder + "\\", '\\'), "the separator after a folder stays a separator");
  for (std::string_view c : Characters(folder)) {
    Require(c.size() == 2 || kReplaced.find(c[0]) == std::string_view::npos,
            "a folder name holds no separator or wildcard");
  }
}

// The entry path of a title in an empty folder: folder, separator, stem, ".txt".
void CheckEntryName(std::string_view title) {
  class NothingExists : public FileSystem {
   public:
    bool FileMatchExists(const std::string&) override { return false; }
    bool FolderExists(const std::string&) override { return false; }
    std::uint32_t CreateFolder(const std::string&) override { return 5; }
    std::unique_ptr<OutputFile> CreateOutputFile(const std::string&) override { return nullptr; }
    std::optional<FileStamp> StampOf(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ReadWholeFile(const std::string&, FileStamp&) override {
      return std::nullopt;
    }
  } nothing;
  const std::string safe = SafeFileName(title);
  const std::string path = UniqueEntryPath("O", "F", safe, nothing);
  const std::vector<std::string_view> characters = Characters(path);
  Require(path.starts_with("F\\"), "the entry lies in its category folder");
  const std::vector<std::string_view> extension = {".", "t", "x", "t"};
  Require(characters.size() >= 6 &&
              std::equal(extension.begin(), extension.end(), characters.end() - 4),
          "the entry name ends in .txt as characters of their own");
  for (std::size_t i = 2; i < characters.size(); ++i) {
    Require(characters[i] != "\\", "the entry name holds no separator");
  }
}

void CheckConversions(std::string_view text) {
  const std::string utf8 = Cp932ToUtf8(text);
  std::string back;
  Require(Utf8ToCp932(utf8, back, true), "every decoded character has a code");
  Require(Cp932ToUtf8(back) == utf8, "decoding the re-encoded text gives the same characters");
  Require(Cp932ToUtf16(text).size() == Characters(text).size(), "one unit per character");
  std::u16string units(text.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(text[2 * i]) |
                                     static_cast<unsigned char>(text[2 * i + 1]) << 8);
  }
  std::string encoded;
  if (Utf16ToCp932(units, encoded, true)) {
    Require(Cp932ToUtf16(encoded) == units, "an exact encoding decodes to the same units");
  }
  Require(ReplaceChar(text, '\\', "\\") == text, "replacing a character by itself keeps the text");
}

#ifndef _WIN32
void CheckPosixPaths(std::string_view text) {
  const std::string native = NativePath(text);
  Require(WildcardMatch("*", native), "* matches every name");
  if (native.find_first_of("*?") == std::string::npos) {
    Require(WildcardMatch(native, native), "a name without wildcards matches itself");
  }
}
#endif

}  // namespace
}  // namespace pem::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pem::fuzz;
  const std::string_view text = AsText(data, std::min<std::size_t>(size, 4096));
  CheckSafeFileName(text);
  CheckCategoryFolder(text);
  CheckEntryName(text);
  CheckConversions(text);
#ifndef _WIN32
  CheckPosixPaths(text);
#endif
  return 0;
}
