#include "shell_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "root_folder.h"

namespace pem::testing {

ShellFolders::ShellFolders(std::initializer_list<std::wstring_view> folders) {
  for (const std::wstring_view folder : folders) Make(folder);
}

std::wstring ShellFolders::Path(std::wstring_view relative) const {
  std::wstring path = std::filesystem::absolute(temp_.path()).wstring();
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  if (!relative.empty()) path += L'\\' + std::wstring(relative);
  return path;
}

void ShellFolders::Make(std::wstring_view relative) const {
  std::filesystem::create_directories(Path(relative));
}

AbsoluteIdList ParsedId(const std::wstring& path) {
  AbsoluteIdList list;
  EXPECT_EQ(shell::ParsePath(path, list), S_OK) << "the shell cannot parse the path";
  return list;
}

std::unique_ptr<shell::TShellFolder> ItemForPath(const std::wstring& path) {
  return shell::ItemFromAbsoluteId(ParsedId(path).get());
}

}  // namespace pem::testing
