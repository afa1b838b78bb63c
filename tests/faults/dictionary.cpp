#include "dictionary.h"

#include <array>

#include "cp932_convert.h"

namespace pem::harden {
namespace {

std::string Cp932(std::string_view utf8) {
  std::string text;
  Utf8ToCp932(utf8, text, true);
  return text;
}

std::string Line(const std::string& key, const std::string& value) {
  return key + "=" + value + "\r\n";
}

}  // namespace

std::string Dictionary::CategoriesIni() const {
  std::string ini = "[ItemData]\r\n" + Line("Count", std::to_string(categories.size()));
  for (std::size_t i = 0; i < categories.size(); ++i) {
    ini += Line(std::to_string(i), categories[i].name);
  }
  return ini;
}

std::string Dictionary::TextsIni() const {
  std::string ini;
  for (std::size_t i = 0; i < categories.size(); ++i) {
    const std::vector<Entry>& entries = categories[i].entries;
    ini += "[DicData" + std::to_string(i) + "]\r\n" + Line("Count", std::to_string(entries.size()));
    for (std::size_t j = 0; j < entries.size(); ++j)
      ini += Line(std::to_string(j), entries[j].text);
  }
  return ini;
}

std::string Dictionary::TitlesIni() const {
  std::string ini;
  for (std::size_t i = 0; i < categories.size(); ++i) {
    const std::vector<Entry>& entries = categories[i].entries;
    ini += "[DicExpData" + std::to_string(i) + "]\r\n";
    for (std::size_t j = 0; j < entries.size(); ++j) {
      ini += Line(std::to_string(j), entries[j].title);
    }
  }
  return ini;
}

void Dictionary::WriteTo(const std::filesystem::path& folder) const {
  WriteFile(folder / "pmridata.ini", CategoriesIni());
  WriteFile(folder / "dicdata.ini", TextsIni());
  WriteFile(folder / "expdata.ini", TitlesIni());
}

std::string EntryFileBytes(const std::string& text) {
  return text.empty() ? text : text + "\r\n";
}

Dictionary GeneratedDictionary(int categories, int entries) {
  const std::array<std::string, 8> names = {Cp932("挨拶"),
                                            Cp932("記号: <比較> / \"引用\""),
                                            Cp932("ソフト表現"),
                                            "CON",
                                            "",
                                            Cp932("十字|ポ"),
                                            "..",
                                            "com1.txt"};
  const std::array<std::string, 8> titles = {Cp932("おはよう"), "a/b:c", Cp932("何?*"), "",
                                             Cp932("ソ\\表"),   "NUL",   "abc",         "abc1"};
  Dictionary dictionary;
  for (int i = 0; i < categories; ++i) {
    Category category{names[i % names.size()] + (i < 8 ? "" : std::to_string(i)), {}};
    for (int j = 0; j < entries; ++j) {
      const int length = (i * 7919 + j * 104729) % 3000;
      std::string text;
      for (int k = 0; static_cast<int>(text.size()) < length; ++k) {
        text += k % 5 == 0 ? Cp932("語") : std::string(1, static_cast<char>('a' + (j + k) % 26));
      }
      category.entries.push_back({titles[(i + j) % titles.size()], text});
    }
    dictionary.categories.push_back(std::move(category));
  }
  return dictionary;
}

}  // namespace pem::harden
