#include "dictionary_fixture.h"

#include "cp932_convert.h"

namespace pem::testing {

DictionaryFixture::DictionaryFixture(std::string_view categories, std::string_view texts,
                                     std::string_view titles)
    : install_(root_.path() / "pemuriko"), out_(root_.path() / "out") {
  std::filesystem::create_directories(install_);
  std::filesystem::create_directories(out_);
  WriteBytes(install_ / "pemri.exe", "");
  WriteBytes(install_ / "pmridata.ini", Sjis(categories));
  WriteBytes(install_ / "dicdata.ini", Sjis(texts));
  WriteBytes(install_ / "expdata.ini", Sjis(titles));
}

std::wstring DictionaryFixture::InstallText() const {
  return install_.wstring() + L"\\";
}

std::wstring DictionaryFixture::OutText() const {
  return out_.wstring();
}

std::string ReadAsUtf8(const std::filesystem::path& path) {
  return Cp932ToUtf8(ReadBytes(path));
}

}  // namespace pem::testing
