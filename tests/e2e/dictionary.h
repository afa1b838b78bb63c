// A dictionary of the text-dictionary tool as the tests think of it (what each value means), and
// a seeded generator of awkward ones. Writing it out adds the noise that the INI format allows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace pem::testing {

// One character: its code page 932 bytes and the same character in UTF-8. Names are built from
// these, so that the expected file names need no code conversion of their own.
struct Char {
  std::string sjis;
  std::string utf8;
  bool operator==(const Char&) const = default;
};
using Text = std::vector<Char>;

Text Ascii(const std::string& text);
std::string SjisOf(const Text& text);
std::string Utf8Of(const Text& text);

// A count as written in the file and the number that the reader takes from it.
struct Count {
  std::string text;
  int value = 0;
};

struct Entry {
  std::optional<Text> title;        // none: no key in expdata.ini
  std::optional<std::string> text;  // code page 932; none: no key in dicdata.ini
};

struct Category {
  std::optional<Text> name;    // none: no key in ItemData
  std::optional<Count> count;  // none: no Count key (no entries)
  // Entries beyond the count are written too, and must be ignored; a count beyond them gives
  // entries without title and text.
  std::vector<Entry> entries;
};

struct Dictionary {
  std::optional<Count> category_count;  // none: no Count key in ItemData
  std::vector<Category> categories;     // beyond the count: written, and ignored
  bool has_dicdata = true;
  bool has_expdata = true;
};

using Random = std::mt19937;

// A dictionary with several categories and every kind of awkward name, drawn from `seed`.
Dictionary GenerateDictionary(std::uint32_t seed);

// Writes pemri.exe and the INI files into `install`, varying what the format leaves free
// (blanks, quotes, letter case of names, key order, comments, line ends, stray sections).
void WriteDictionary(const Dictionary& dictionary, const std::filesystem::path& install,
                     Random& random);

}  // namespace pem::testing
