// Writes a generated dictionary, with the tool's executable beside it, for runs of pem2txt.
// Usage: pemconv_make_dictionary FOLDER CATEGORIES ENTRIES
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "dictionary.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: pemconv_make_dictionary FOLDER CATEGORIES ENTRIES\n", stderr);
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    pem::harden::WriteFile(folder / "pemri.exe", "");
    pem::harden::GeneratedDictionary(std::atoi(argv[2]), std::atoi(argv[3])).WriteTo(folder);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "pemconv_make_dictionary: %s\n", error.what());
    return 1;
  }
  return 0;
}
