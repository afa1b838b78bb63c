// Test fixtures on the real file system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pem::testing {

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  const std::filesystem::path& path() const { return path_; }
  // The folder as a code page 932 path text, as the conversion takes it (no trailing "\").
  std::string Text() const;

 private:
  std::filesystem::path path_;
};

// The native path for a code page 932 text relative to `base` ("\" separates components).
std::filesystem::path NativeChild(const std::filesystem::path& base, std::string_view cp932);

// The code page 932 text of a native path.
std::string Cp932Text(const std::filesystem::path& path);

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// The bytes of a text written in UTF-8 in the test source, as code page 932.
std::string Sjis(std::string_view utf8);

}  // namespace pem::testing
