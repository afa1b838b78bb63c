// Dictionaries for whole runs, written as the tool writes its three INI files (code page 932,
// CR LF), and the bytes that the conversion must write for each entry.
#pragma once

#include <string>
#include <vector>

#include "sandbox.h"

namespace pem::harden {

struct Entry {
  std::string title;
  std::string text;
};

struct Category {
  std::string name;
  std::vector<Entry> entries;
};

struct Dictionary {
  std::vector<Category> categories;

  std::string CategoriesIni() const;  // pmridata.ini
  std::string TextsIni() const;       // dicdata.ini
  std::string TitlesIni() const;      // expdata.ini
  // Writes the three files into a folder.
  void WriteTo(const std::filesystem::path& folder) const;
};

// The bytes of the entry file for a text read from the source (a single line, at most 2047
// bytes): the text and CR LF, or nothing for an empty text.
std::string EntryFileBytes(const std::string& text);

// A dictionary of `categories` categories with `entries` entries each, made to exercise naming:
// Japanese names, names that need substitutes, device names, equal and empty titles, texts of
// every length up to beyond the 2047-byte cut. The same arguments always give the same data.
Dictionary GeneratedDictionary(int categories, int entries);

}  // namespace pem::harden
