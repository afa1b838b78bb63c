#include "dictionary.h"

#include <algorithm>
#include <array>

#include "temp_dir.h"

namespace pem::testing {
namespace {

// Characters that names and texts are drawn from: plain ASCII, the eleven characters that a file
// name cannot hold, two-byte characters whose second byte is "\", "]", "|" or an ASCII letter,
// full-width letters (one of them is what guards a device name) and half-width katakana.
const std::vector<Char>& Alphabet() {
  static const std::vector<Char> alphabet = [] {
    std::vector<Char> chars;
    for (const char c : std::string("abcnoxzABCNOXZ0129 .-_!()=[]'#")) {
      chars.push_back({std::string(1, c), std::string(1, c)});
    }
    const std::vector<Char> others = {
        {"\\", "\\"},       {"/", "/"},         {":", ":"},         {",", ","},
        {";", ";"},         {"*", "*"},         {"?", "?"},         {"\"", "\""},
        {"<", "<"},         {">", ">"},         {"|", "|"},         {"\x83\x5C", "ソ"},
        {"\x95\x5C", "表"}, {"\x8F\x5C", "十"}, {"\x94\x5C", "能"}, {"\x83\x7C", "ポ"},
        {"\x83\x5D", "ゾ"}, {"\x83\x41", "ア"}, {"\x83\x61", "ヂ"}, {"\x82\xA0", "あ"},
        {"\x8A\xBF", "漢"}, {"\x8E\x9A", "字"}, {"\x81\x5B", "ー"}, {"\x82\x60", "Ａ"},
        {"\x82\x81", "ａ"}, {"\x82\x62", "Ｃ"}, {"\x82\x83", "ｃ"}, {"\x82\x6E", "Ｏ"},
        {"\x82\x8F", "ｏ"}, {"\x81\x5E", "／"}, {"\x81\x48", "？"}, {"\x81\x8F", "￥"},
        {"\x81\x62", "｜"}, {"\x81\x44", "．"}, {"\xB1", "ｱ"},      {"\xDD", "ﾝ"},
    };
    chars.insert(chars.end(), others.begin(), others.end());
    return chars;
  }();
  return alphabet;
}

// Replacements that a user may also type directly, so that two titles collide after the eleven
// characters are replaced.
const std::vector<std::pair<Char, Char>>& FullWidthTwins() {
  static const std::vector<std::pair<Char, Char>> twins = {
      {{"/", "/"}, {"\x81\x5E", "／"}},
      {{"?", "?"}, {"\x81\x48", "？"}},
      {{"\\", "\\"}, {"\x81\x8F", "￥"}},
      {{"|", "|"}, {"\x81\x62", "｜"}},
  };
  return twins;
}

constexpr std::array<const char*, 18> kDeviceNames = {
    "con",  "CON", "Con", "prn",     "aux",     "NUL",  "com1", "COM9", "lpt1",
    "LPT2", "LPT", "com", "con.txt", "nul.x.y", "aux ", "CON ", "Lpt3", "coM4",
};

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : random_(seed) {}

  Dictionary Make(std::uint32_t seed) {
    Dictionary dictionary;
    dictionary.has_dicdata = seed % 11 != 4;
    dictionary.has_expdata = seed % 11 != 7;
    const int count = 3 + static_cast<int>(Pick(6));
    for (int i = 0; i < count; ++i) dictionary.categories.push_back(MakeCategory(dictionary));
    const int stray = static_cast<int>(Pick(3));
    for (int i = 0; i < stray; ++i) dictionary.categories.push_back(MakeCategory(dictionary));
    // Now and then the count names one category more than the file has.
    dictionary.category_count = GoodCount(Chance(15) ? count + 1 : count);
    return dictionary;
  }

 private:
  std::size_t Pick(std::size_t n) { return random_() % n; }
  bool Chance(unsigned percent) { return Pick(100) < percent; }
  template <typename T>
  const T& OneOf(const std::vector<T>& items) {
    return items[Pick(items.size())];
  }

  Text RandomText(std::size_t min, std::size_t max) {
    Text text;
    const std::size_t length = min + Pick(max - min + 1);
    for (std::size_t i = 0; i < length; ++i) text.push_back(OneOf(Alphabet()));
    return text;
  }

  static Text SwapCase(Text text) {
    for (Char& c : text) {
      if (c.sjis.size() != 1) continue;
      char& byte = c.sjis[0];
      if (byte >= 'a' && byte <= 'z')
        byte = static_cast<char>(byte - 'a' + 'A');
      else if (byte >= 'A' && byte <= 'Z')
        byte = static_cast<char>(byte - 'A' + 'a');
      else
        continue;
      c.utf8 = c.sjis;
    }
    return text;
  }

  // The same text with the characters that get replaced typed as their replacements instead.
  Text WithTwins(Text text) {
    bool changed = false;
    for (Char& c : text) {
      for (const auto& [plain, twin] : FullWidthTwins()) {
        if (c == plain) {
          c = twin;
          changed = true;
        }
      }
    }
    if (!changed) {
      const auto& [plain, twin] = OneOf(FullWidthTwins());
      const std::size_t at = Pick(text.size() + 1);
      text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), twin);
    }
    return text;
  }

  // A name of the kinds that trip up naming: repeats, case twins, replaced characters, device
  // names, dots, empty and missing ones, numbered ones, trail bytes 5C and 7C.
  std::optional<Text> AwkwardName(const std::vector<Text>& earlier) {
    const bool any = !earlier.empty();
    switch (Pick(12)) {
      case 0:
        if (any) return OneOf(earlier);
        break;
      case 1:
        if (any) {
          Text text = OneOf(earlier);
          const Text digits = Ascii(std::to_string(Pick(3) == 0 ? 10 + Pick(3) : 1 + Pick(3)));
          text.insert(text.end(), digits.begin(), digits.end());
          return text;
        }
        break;
      case 2:
        if (any) return SwapCase(OneOf(earlier));
        break;
      case 3:
        if (any) return WithTwins(OneOf(earlier));
        break;
      case 4:
        return Ascii(kDeviceNames[Pick(kDeviceNames.size())]);
      case 5:
        return Text{};
      case 6:
        return std::nullopt;
      case 7:
        return Ascii(std::string(1 + Pick(3), '.'));
      case 8:
        return Text{OneOf(Alphabet()), {"\x83\x5C", "ソ"}, {"\x83\x7C", "ポ"}, {"\x95\x5C", "表"}};
      case 9: {
        Text text = RandomText(1, 5);
        const Text digits = Ascii(std::to_string(Pick(20)));
        text.insert(text.end(), digits.begin(), digits.end());
        return text;
      }
      case 10:
        return Text{{"\x82\x62", "Ｃ"}, {"O", "O"}, {"N", "N"}};
      default:
        break;
    }
    return RandomText(1, 8);
  }

  // A folder name must not end in a dot or a blank (Windows drops them, POSIX keeps them) and
  // must not look like an entry file of the unnamed category, whose files share the output folder.
  static Text FolderSafe(Text name) {
    const std::string utf8 = Utf8Of(name);
    const bool dots_only = !utf8.empty() && utf8.find_first_not_of('.') == std::string::npos;
    std::string lower = utf8;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    if (!dots_only && !name.empty() &&
        (name.back().sjis == "." || name.back().sjis == " " || lower.ends_with(".txt"))) {
      name.push_back({"x", "x"});
    }
    return name;
  }

  Category MakeCategory(const Dictionary& dictionary) {
    std::vector<Text> earlier;
    for (const Category& c : dictionary.categories) {
      if (c.name) earlier.push_back(*c.name);
    }
    Category category;
    category.name = Chance(40) ? RandomText(1, 10) : AwkwardName(earlier);
    if (category.name) category.name = FolderSafe(*category.name);

    const int entries = static_cast<int>(Pick(9));
    std::vector<Text> titles;
    for (int j = 0; j < entries; ++j) {
      Entry entry;
      entry.title = Chance(35) ? RandomText(1, 12) : AwkwardName(titles);
      if (entry.title) titles.push_back(*entry.title);
      entry.text = EntryText();
      category.entries.push_back(std::move(entry));
    }
    switch (Pick(10)) {
      case 0:
        break;  // no Count key: no entries
      case 1:
        category.count = BadCount();
        break;
      case 2:
        category.count = GoodCount(entries + 1 + static_cast<int>(Pick(2)));
        break;
      case 3:
        category.count = GoodCount(std::max(0, entries - 1 - static_cast<int>(Pick(2))));
        break;
      default:
        category.count = GoodCount(entries);
    }
    return category;
  }

  std::optional<std::string> EntryText() {
    switch (Pick(10)) {
      case 0:
        return std::nullopt;
      case 1:
        return std::string();
      case 2:
      case 3: {
        // Around the 2047-byte limit, often cut inside a two-byte character.
        const std::size_t target = 2040 + Pick(3) * Pick(600);
        std::string text;
        while (text.size() < target) text += OneOf(Alphabet()).sjis;
        return text;
      }
      default: {
        std::string text = SjisOf(RandomText(1, 30));
        if (Chance(20)) text.insert(Pick(text.size() + 1), "\t");
        return text;
      }
    }
  }

  Count GoodCount(int n) {
    char hex[16];
    switch (Pick(8)) {
      case 0:
        return {"+" + std::to_string(n), n};
      case 1:
        return {"00" + std::to_string(n), n};
      case 2:
        std::snprintf(hex, sizeof hex, "0x%X", n);
        return {hex, n};
      case 3:
        std::snprintf(hex, sizeof hex, "0X%x", n);
        return {hex, n};
      case 4:
        std::snprintf(hex, sizeof hex, "$%x", n);
        return {hex, n};
      case 5:
        // A sign in front of a hexadecimal number has no effect.
        std::snprintf(hex, sizeof hex, "-0x%X", n);
        return {hex, n};
      default:
        return {std::to_string(n), n};
    }
  }

  Count BadCount() {
    static const std::vector<Count> bad = {
        {"-1", -1}, {"-3", -3}, {"abc", 0}, {"1e1", 0},        {"3.0", 0},
        {"0x", 0},  {"", 0},    {"+-2", 0}, {"2147483648", 0},
    };
    return OneOf(bad);
  }

  Random random_;
};

// --- Writing ---

struct IniSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> keys;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// A value as written: in quotes when blanks or quotes at its ends would otherwise be lost.
std::string Quoted(const std::string& value) {
  if (value.empty()) return value;
  const char front = value.front(), back = value.back();
  const bool needs = IsBlank(front) || IsBlank(back) || front == '"' || front == '\'' ||
                     back == '"' || back == '\'';
  return needs ? "\"" + value + "\"" : value;
}

class IniWriter {
 public:
  explicit IniWriter(Random& random) : random_(random) {
    const std::size_t kind = Pick(10);
    line_end_ = kind < 7 ? "\r\n" : kind < 9 ? "\n" : "\r";
  }

  std::string Write(std::vector<IniSection> sections) {
    std::string text;
    if (Chance(30)) text += "Count=99" + line_end_;  // belongs to no section
    std::vector<IniSection> duplicates;
    for (std::size_t i = sections.size(); i > 1; --i) std::swap(sections[i - 1], sections[Pick(i)]);
    for (IniSection& section : sections) {
      if (Chance(20)) text += "; " + section.name + line_end_;
      text += Header(section.name);
      for (std::size_t i = section.keys.size(); i > 1; --i) {
        std::swap(section.keys[i - 1], section.keys[Pick(i)]);
      }
      for (const auto& [key, value] : section.keys) {
        text += Pad() + VaryCase(key) + Pad() + "=" + Pad() + Quoted(value) + Pad() + line_end_;
        if (Chance(10)) text += line_end_;
      }
      if (!section.keys.empty() && Chance(15)) {
        text += section.keys.front().first + "=later duplicate" + line_end_;
      }
      if (Chance(15)) duplicates.push_back(section);
    }
    for (IniSection& section : duplicates) {
      text += Header(section.name);
      for (const auto& entry : section.keys) text += entry.first + "=duplicate section" + line_end_;
    }
    return text;
  }

 private:
  std::size_t Pick(std::size_t n) { return random_() % n; }
  bool Chance(unsigned percent) { return Pick(100) < percent; }

  std::string Pad() {
    static const std::array<const char*, 4> pads = {"", " ", "\t", " \t "};
    return Chance(70) ? "" : pads[Pick(pads.size())];
  }

  std::string VaryCase(std::string name) {
    if (Chance(60)) return name;
    for (char& c : name) {
      if (Chance(50)) continue;
      if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 32);
      else if (c >= 'A' && c <= 'Z')
        c = static_cast<char>(c + 32);
    }
    return name;
  }

  std::string Header(const std::string& name) {
    std::string header = Pad() + "[" + Pad() + VaryCase(name) + Pad() + "]";
    if (Chance(10)) header += " ; trailing note";
    return header + line_end_;
  }

  Random& random_;
  std::string line_end_;
};

}  // namespace

Text Ascii(const std::string& text) {
  Text chars;
  for (const char c : text) chars.push_back({std::string(1, c), std::string(1, c)});
  return chars;
}

std::string SjisOf(const Text& text) {
  std::string bytes;
  for (const Char& c : text) bytes += c.sjis;
  return bytes;
}

std::string Utf8Of(const Text& text) {
  std::string utf8;
  for (const Char& c : text) utf8 += c.utf8;
  return utf8;
}

Dictionary GenerateDictionary(std::uint32_t seed) {
  return Generator(seed).Make(seed);
}

void WriteDictionary(const Dictionary& dictionary, const std::filesystem::path& install,
                     Random& random) {
  static const std::array<const char*, 3> tools = {"pemri.exe", "pemrico.exe", "PemRi32.EXE"};
  WriteBytes(install / tools[random() % tools.size()], "");

  IniSection items{"ItemData", {}};
  if (dictionary.category_count) items.keys.emplace_back("Count", dictionary.category_count->text);
  std::vector<IniSection> texts, titles;
  for (std::size_t i = 0; i < dictionary.categories.size(); ++i) {
    const Category& category = dictionary.categories[i];
    const std::string index = std::to_string(i);
    if (category.name) items.keys.emplace_back(index, SjisOf(*category.name));
    IniSection text_section{"DicData" + index, {}};
    IniSection title_section{"DicExpData" + index, {}};
    if (category.count) text_section.keys.emplace_back("Count", category.count->text);
    if (random() % 5 == 0) title_section.keys.emplace_back("Count", "0");  // never read
    for (std::size_t j = 0; j < category.entries.size(); ++j) {
      const Entry& entry = category.entries[j];
      if (entry.text) text_section.keys.emplace_back(std::to_string(j), *entry.text);
      if (entry.title) title_section.keys.emplace_back(std::to_string(j), SjisOf(*entry.title));
    }
    texts.push_back(std::move(text_section));
    titles.push_back(std::move(title_section));
  }
  texts.push_back({"Other", {{"Count", "5"}, {"0", "not a category"}}});

  WriteBytes(install / "pmridata.ini", IniWriter(random).Write({items}));
  if (dictionary.has_dicdata) WriteBytes(install / "dicdata.ini", IniWriter(random).Write(texts));
  if (dictionary.has_expdata) WriteBytes(install / "expdata.ini", IniWriter(random).Write(titles));
}

}  // namespace pem::testing
