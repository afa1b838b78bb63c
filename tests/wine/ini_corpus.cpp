#include "ini_corpus.h"

#include <random>

namespace pem::testing {
namespace {

// Every pairing of the sections and keys, each asked with every default.
std::vector<Query> Pairs(const std::vector<std::string>& sections,
                         const std::vector<std::string>& keys,
                         const std::vector<std::string>& defaults = {"", "dflt"}) {
  std::vector<Query> queries;
  for (const std::string& section : sections) {
    for (const std::string& key : keys) {
      for (const std::string& default_value : defaults) {
        queries.push_back({section, key, default_value});
      }
    }
  }
  return queries;
}

std::string Repeat(const std::string& unit, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += unit;
  return text;
}

// A UTF-16LE file with its byte-order mark, from UTF-16 code units.
std::string Utf16File(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace

std::vector<IniCase> TrickyCases() {
  const std::string long_value = Repeat("0123456789", 300);
  return {
      {"Blanks", " \t[ \vsec \t]\t \r\n \v key \t= \t value \t\r\n\tin ner = a \t b\v\r\n",
       Pairs({"sec"}, {"key", "in ner", "inner"})},
      {"Quotes",
       "[q]\r\na = \"  a b  \" \r\nb=\"\"abc\"\"\r\nc=\"abc'\r\nd=a\"b\"\r\ne=\"\r\nf=''\r\n"
       "g='x'\r\nh=\" \"\r\ni=\"a=b\"\r\nj='\"'\r\n",
       Pairs({"q"}, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"})},
      {"LetterCase", "[SeCtIoN]\r\nKeY=1\r\n[other]\r\nk=2\r\n",
       Pairs({"section", "SECTION", "SeCtIoN", "OTHER"}, {"key", "KEY", "k", "K"})},
      {"DuplicateSections",
       "[s]\r\n[s]\r\nk=v\r\n[t]\r\nk=1\r\n[T]\r\nk=2\r\nj=3\r\n[u]\r\nk=4\r\n",
       Pairs({"s", "t", "u"}, {"k", "j"})},
      {"DuplicateKeys", "[s]\r\nk=1\r\nK=2\r\nk=3\r\nj=\r\nj=4\r\n", Pairs({"s"}, {"k", "j"})},
      {"Comments", ";[s]\r\n[s]\r\n;k=x\r\nk=y\r\n  ; note=1\r\nm=v ; note\r\n#h=x\r\n;\r\n",
       Pairs({"s"}, {"k", "m", "#h", "note", "h"})},
      {"HeaderFollowedByText", "[s]k=x\r\n[t] junk=1\r\nk=v\r\n[[u]\r\nk=w\r\n[v]\r\nx]\r\nk=z\r\n",
       Pairs({"s", "t", "[u", "u", "v"}, {"k", "junk", "x]", "x"})},
      {"LinesWithoutEquals", "[s]\r\nalone\r\nj=1\r\n  \r\nalso alone \r\n",
       Pairs({"s"}, {"alone", "j", "also alone"})},
      {"EmptyValues", "[s]\r\nempty=\r\nblank=  \t\r\nquoted=\"\"\r\n",
       Pairs({"s"}, {"empty", "blank", "quoted", "missing"})},
      {"EqualsInValue", "[s]\r\nk = a=b = c\r\n==x\r\n", Pairs({"s"}, {"k", ""})},
      {"LineEnds", "[lf]\nk=1\n[cr]\rk=2\r[mixed]\r\n\r\rk=3\n\n\r\nj=4\r\r\n[last]\r\nk=5",
       Pairs({"lf", "cr", "mixed", "last"}, {"k", "j"})},
      {"EmptyFile", "", Pairs({"s"}, {"k"})},
      {"Defaults", "[s]\r\nk=v\r\n",
       Pairs({"s", "none"}, {"k", "none"},
             {"", "dflt", "dflt   ", "d \t", "d\t ", "a b", Repeat("D", 2100)})},
      {"Lengths",
       "[s]\r\n2046=" + long_value.substr(0, 2046) + "\r\n2047=" + long_value.substr(0, 2047) +
           "\r\n2048=" + long_value.substr(0, 2048) + "\r\n3000=" + long_value + "\r\nquoted=\"" +
           long_value + "\"\r\nquoted2046=\"" + long_value.substr(0, 2046) +
           "\"\r\nblanks=   " + long_value.substr(0, 2050) + "   \r\n",
       Pairs({"s"}, {"2046", "2047", "2048", "3000", "quoted", "quoted2046", "blanks"})},
      // ソ 83 5C, 表 95 5C, ポ 83 7C, ゾ 83 5D: second bytes that are "\", "|" and "]".
      {"SecondBytes",
       "[\x83\x5C\x95\x5C]\r\n\x83\x7C=\x83\x5C\x95\x5C\x83\x7C\r\n[\x83\x5D]\r\nk=\x83\x5D\r\n"
       "[a\x83\x5D\x83\x5D]\r\n\x83\x5D=\"\x83\x7C \"\r\n",
       Pairs({"\x83\x5C\x95\x5C", "\x83\x5D", "a\x83\x5D\x83\x5D", "\x83"},
             {"\x83\x7C", "k", "\x83\x5D", "|"})},
      {"Utf16Ascii", Utf16File(u"[s]\r\n k = v \r\n\"q\"=\"w\"\r\n"), Pairs({"s"}, {"k", "\"q\""})},
      // ア 83 41 and ヂ 83 61 differ only in a second byte that is an ASCII letter.
      {"SecondBytesThatAreLetters", "[\x83\x41]\r\n\x83\x41=1\r\nk=2\r\n[x\x83\x61]\r\nk=3\r\n",
       Pairs({"\x83\x41", "\x83\x61", "x\x83\x41", "x\x83\x61"}, {"\x83\x41", "\x83\x61", "k"}),
       true},
      // 表 95 5C; あ 82 A0 ends in A0; 日本語 in UTF-16.
      {"Utf16Japanese", Utf16File(u"[\u8868]\r\n\u65E5\u672C=\u8A9E \u3042\r\n"),
       Pairs({"\x95\x5C"}, {"\x93\xFA\x96\x7B"}), true},
      {"TrailingNoBreakByte", "[\x82\xA0]\r\n\x82\xA0=\x82\xA0\r\n",
       Pairs({"\x82\xA0"}, {"\x82\xA0"}), true},
  };
}

namespace {

class CaseGenerator {
 public:
  CaseGenerator(std::uint32_t seed, AnsiCodePage code_page)
      : random_(seed), japanese_(code_page == AnsiCodePage::k932) {
    const std::vector<std::string> name_chars = NameChars();
    for (int i = 0; i < 6; ++i) sections_.push_back(Name(name_chars));
    for (int i = 0; i < 8; ++i) keys_.push_back(Name(name_chars));
    for (int i = 0; i < 2; ++i) loose_.push_back("loose" + Name(name_chars));
  }

  IniCase Make(std::uint32_t seed) {
    std::string text;
    if (Chance(20)) text += "before=header" + LineEnd();
    const int sections = 3 + static_cast<int>(Pick(10));
    for (int s = 0; s < sections; ++s) {
      text += Blanks() + "[" + Blanks() + VaryCase(OneOf(sections_)) + Blanks() + "]";
      if (Chance(10)) text += Blanks() + "after header";
      text += LineEnd();
      const int lines = static_cast<int>(Pick(16));
      for (int l = 0; l < lines; ++l) text += Line() + LineEnd();
    }
    if (Chance(30)) text += Line();  // the last line without a line end

    IniCase c{"generated " + std::to_string(seed), text, {}, false};
    std::vector<std::string> asked_sections = sections_, asked_keys = keys_;
    asked_sections.push_back("missing");
    asked_keys.insert(asked_keys.end(), loose_.begin(), loose_.end());
    asked_keys.push_back("missing");
    for (const std::string& section : asked_sections) {
      for (const std::string& key : asked_keys) {
        c.queries.push_back({VaryCase(section), VaryCase(key), Default()});
      }
    }
    return c;
  }

 private:
  std::size_t Pick(std::size_t n) { return random_() % n; }
  bool Chance(unsigned percent) { return Pick(100) < percent; }
  const std::string& OneOf(const std::vector<std::string>& items) {
    return items[Pick(items.size())];
  }

  // ソ 83 5C, 表 95 5C, ポ 83 7C, ゾ 83 5D, 漢 8A BF, ｱ B1; under 932 also ア 83 41, ヂ 83 61
  // and あ 82 A0.
  std::vector<std::string> NameChars() const {
    std::vector<std::string> chars = {
        "a", "b", "c",        "X",        "Y",        "Z",        "0",        "7",   "_",
        "-", ".", "\x83\x5C", "\x95\x5C", "\x83\x7C", "\x83\x5D", "\x8A\xBF", "\xB1"};
    if (japanese_) chars.insert(chars.end(), {"\x83\x41", "\x83\x61", "\x82\xA0"});
    return chars;
  }

  // One to four characters, now and then with a blank between two of them (never at an end:
  // blanks around a name asked for are outside the common ground, see the report of the test).
  std::string Name(const std::vector<std::string>& chars) {
    const std::size_t length = 1 + Pick(4);
    const std::size_t blank_before = length > 1 && Chance(15) ? 1 + Pick(length - 1) : 0;
    std::string name;
    for (std::size_t i = 0; i < length; ++i) {
      if (i == blank_before && i > 0) name += ' ';
      name += OneOf(chars);
    }
    return name;
  }

  std::string VaryCase(std::string name) {
    if (Chance(50)) return name;
    for (std::size_t i = 0; i < name.size(); ++i) {
      const auto byte = static_cast<unsigned char>(name[i]);
      if (byte == 0xB1) continue;  // ｱ, the one single byte above 7F in the pool
      if (byte >= 0x81) {
        ++i;  // the second byte of a two-byte character is no letter of its own
        continue;
      }
      if (Chance(50)) continue;
      if (byte >= 'a' && byte <= 'z')
        name[i] = static_cast<char>(byte - 32);
      else if (byte >= 'A' && byte <= 'Z')
        name[i] = static_cast<char>(byte + 32);
    }
    return name;
  }

  std::string Blanks() {
    static const std::vector<std::string> blanks = {" ", "\t", "\v", "  \t", " \v "};
    return Chance(70) ? "" : OneOf(blanks);
  }

  std::string LineEnd() {
    static const std::vector<std::string> ends = {"\r\n", "\r\n", "\r\n", "\n", "\r", "\r\n\r\n"};
    return OneOf(ends);
  }

  std::string Line() {
    switch (Pick(12)) {
      case 0:
        return Blanks() + ";" + Value(20);
      case 1:
        return Blanks();
      case 2:
        return Blanks() + VaryCase(OneOf(loose_)) + Blanks();
      default:
        return Blanks() + VaryCase(OneOf(keys_)) + Blanks() + "=" + Blanks() + Value(0) + Blanks();
    }
  }

  std::string ValueChar() {
    static const std::vector<std::string> chars = {
        "a",        "Z",        "9",        " ",        "\t",   "\v",  "\"", "'",
        "=",        ";",        "[",        "]",        "#",    "\\",  "|",  "\x83\x5C",
        "\x95\x5C", "\x83\x7C", "\x83\x5D", "\x8A\xBF", "\xB1", "\xDD"};
    static const std::vector<std::string> japanese = {"\x83\x41", "\x83\x61", "\x82\xA0"};
    return japanese_ && Chance(15) ? OneOf(japanese) : OneOf(chars);
  }

  // A value: short mostly, sometimes around or over the 2047-byte limit; now and then in quotes.
  std::string Value(std::size_t short_limit) {
    std::string value;
    if (short_limit == 0 && Chance(8)) {
      // Starts with no blank, so that trimming does not move byte 2047.
      value = "x";
      const std::size_t length = 2040 + Pick(3) * Pick(500);
      while (value.size() < length) {
        std::string c = ValueChar();
        // Under 932, Wine cuts a two-byte character at byte 2047 differently from Windows.
        if (japanese_ && value.size() < 2047 && value.size() + c.size() > 2047) c = "x";
        value += c;
      }
    } else {
      const std::size_t length = Pick(short_limit == 0 ? 20 : short_limit);
      for (std::size_t i = 0; i < length; ++i) value += ValueChar();
    }
    if (Chance(15)) {
      // Wine drops one byte too many from a quoted value of exactly 2047 bytes.
      if (value.size() == 2047) value += 'x';
      const char quote = Chance(50) ? '"' : '\'';
      value = quote + value + quote;
    }
    return value;
  }

  std::string Default() {
    static const std::vector<std::string> defaults = {
        "", "", "dflt", "dflt   ", "d \t", "a b", "\x8A\xBF\x83\x5C", std::string(2100, 'D')};
    return OneOf(defaults);
  }

  std::mt19937 random_;
  const bool japanese_;
  std::vector<std::string> sections_;
  std::vector<std::string> keys_;
  std::vector<std::string> loose_;  // appear only without "="
};

}  // namespace

IniCase GeneratedCase(std::uint32_t seed, AnsiCodePage code_page) {
  return CaseGenerator(seed, code_page).Make(seed);
}

}  // namespace pem::testing
