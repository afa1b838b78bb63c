#include "temp_dir.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "cp932.h"
#include "cp932_convert.h"
#include "unique_folder.h"

namespace pem::testing {

TempDir::TempDir()
    : path_(MakeUniqueFolder(std::filesystem::temp_directory_path(), "pemconv-test-")) {}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Text() const {
  return Cp932Text(path_);
}

std::filesystem::path NativeChild(const std::filesystem::path& base, std::string_view cp932) {
  const std::u16string wide = Cp932ToUtf16(ReplaceChar(cp932, '\\', "/"));
  return base / std::filesystem::path(wide).relative_path();
}

std::string Cp932Text(const std::filesystem::path& path) {
  std::string text;
  Utf16ToCp932(path.u16string(), text, true);
  return text;
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

std::string Sjis(std::string_view utf8) {
  std::string text;
  if (!Utf8ToCp932(utf8, text, true)) throw std::invalid_argument("not code page 932 text");
  return text;
}

}  // namespace pem::testing
