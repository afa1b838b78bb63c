// INI files to read both with the program's own reader and with the platform's
// GetPrivateProfileStringA: hand-written tricky ones and seeded generated ones, each with the
// section/key/default triples to ask for.
//
// Only the common ground of Windows and Wine 8 is written (no headers with two "]" or none, no
// default made only of blanks or in quotes, no FF or 1A bytes, no NUL bytes, no key line without
// "=" before the same key with one, no byte-order mark but UTF-16LE's, and no section "" is asked
// for). Comment lines are written, but no name asked for begins with ";", so that Wine keeping
// them as keys shows nowhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pem::testing {

// Wine's ANSI code page decides how GetPrivateProfileStringA sees the bytes of a file.
//
// Under 932 it reads them as Japanese text, as Windows in Japan does; then the files hold only
// characters that survive its round trip through UTF-16 (no unassigned codes, no NEC-selected
// rows, no lead byte right before a line end), and a value longer than 2047 bytes has a character
// boundary at byte 2047.
//
// Under 1252 (Wine's default here) every byte is one character and comes back unchanged, so
// values and the layout of lines compare soundly whatever their bytes. Names do not: Wine then
// sees the second byte of a two-byte character as a character of its own and folds its letter
// case (ア 83 41 would match ヂ 83 61), and it takes the second byte A0 of あ for a no-break
// space and trims it. Such characters are written only under 932.
enum class AnsiCodePage { k1252, k932 };

struct Query {
  std::string section;
  std::string key;
  std::string default_value;
};

struct IniCase {
  std::string name;
  std::string bytes;
  std::vector<Query> queries;
  bool japanese_only = false;  // compared only when the ANSI code page is 932
};

// Hand-written files: blanks, quotes, letter case, duplicates, comments, line ends, lengths,
// two-byte characters whose second byte is 5C, 5D or 7C, UTF-16LE.
std::vector<IniCase> TrickyCases();

// A file with many sections and keys drawn from small pools of names (so that duplicates and
// case variants abound), and every pairing of those names asked for.
IniCase GeneratedCase(std::uint32_t seed, AnsiCodePage code_page);

}  // namespace pem::testing
