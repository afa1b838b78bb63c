// An installation of the dictionary tool and an output folder on disk, for runs from the window.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "temp_dir.h"

namespace pem::testing {

class DictionaryFixture {
 public:
  // The three INI files as UTF-8 text (written in code page 932) and the tool's executable.
  DictionaryFixture(std::string_view categories, std::string_view texts, std::string_view titles);

  const std::filesystem::path& Install() const { return install_; }
  const std::filesystem::path& Out() const { return out_; }
  // The texts to type into the window: the installation folder with a final "\", the output
  // folder without.
  std::wstring InstallText() const;
  std::wstring OutText() const;

 private:
  TempDir root_;
  std::filesystem::path install_;
  std::filesystem::path out_;
};

// A file's contents in UTF-8, for comparing with what was written in code page 932.
std::string ReadAsUtf8(const std::filesystem::path& path);

}  // namespace pem::testing
