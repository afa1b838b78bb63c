#include "cp932_convert.h"

#include <array>
#include <cstdint>
#include <memory>

#include "cp932.h"
#include "cp932_table.h"

namespace pem {
namespace {

constexpr char16_t kUnmappable = 0x30FB;

char16_t SingleByteUnit(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xA1 && byte <= 0xDF) return static_cast<char16_t>(0xFF61 + (byte - 0xA1));
  if (byte == 0x80) return 0x0080;
  if (byte == 0xA0) return 0xF8F0;
  return static_cast<char16_t>(0xF8F1 + (byte - 0xFD));  // FD-FF
}

int LeadIndex(unsigned char lead) {
  return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
}

char16_t DoubleByteUnit(unsigned char lead, unsigned char trail) {
  if (trail < 0x40 || trail > 0xFC) return 0;
  return cp932_table::kDoubleByte[LeadIndex(lead)][trail - 0x40];
}

// Unicode to code page 932: the code as lead << 8 | trail, or the single byte; 0 for none.
// Where several codes give one character, the Windows code page prefers the JIS and NEC rows,
// then the IBM extensions FA-FC, and the NEC-selected copies in ED-EE last.
class ReverseTable {
 public:
  ReverseTable() {
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
      if (byte < 0x81 || byte > 0x9F) {
        if (byte < 0xE0 || byte > 0xFC) Set(SingleByteUnit(static_cast<unsigned char>(byte)), byte);
      }
    }
    for (int lead = 0x81; lead <= 0x9F; ++lead) AddLead(lead);
    for (int lead = 0xE0; lead <= 0xEC; ++lead) AddLead(lead);
    for (int lead = 0xFA; lead <= 0xFC; ++lead) AddLead(lead);
    for (int lead = 0xED; lead <= 0xF9; ++lead) AddLead(lead);
  }
  std::uint16_t operator[](char16_t unit) const { return codes_[unit]; }

 private:
  void Set(char16_t unit, int code) {
    if (unit != 0 && codes_[unit] == 0) codes_[unit] = static_cast<std::uint16_t>(code);
  }
  void AddLead(int lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      Set(DoubleByteUnit(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)),
          lead << 8 | trail);
    }
  }
  std::array<std::uint16_t, 0x10000> codes_{};
};

const ReverseTable& Reverse() {
  static const auto table = std::make_unique<ReverseTable>();
  return *table;
}

bool AppendUnit(char32_t code_point, std::string& out, bool exact) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
    return true;
  }
  const std::uint16_t code =
      code_point < 0x10000 ? Reverse()[static_cast<char16_t>(code_point)] : 0;
  if (code == 0) {
    out += '?';
    return !exact;
  }
  if (code > 0xFF) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
  return true;
}

// Writes the UTF-8 form of a code point below 0x10000 at `out`; gives the number of bytes (1-3).
std::size_t EncodeUtf8(char32_t cp, char* out) {
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | (cp >> 6));
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  out[0] = static_cast<char>(0xE0 | (cp >> 12));
  out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  out[2] = static_cast<char>(0x80 | (cp & 0x3F));
  return 3;
}

// Decodes one UTF-8 sequence at pos; a malformed one consumes one byte and gives kMalformed.
constexpr char32_t kMalformed = 0xFFFFFFFF;

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  const auto first = static_cast<unsigned char>(text[pos]);
  std::size_t extra = 0;
  if (first < 0x80) {
    ++pos;
    return first;
  }
  if (first >= 0xC2 && first < 0xE0) {
    extra = 1;
  } else if (first >= 0xE0 && first < 0xF0) {
    extra = 2;
  } else if (first >= 0xF0 && first < 0xF5) {
    extra = 3;
  }
  if (extra == 0 || text.size() - pos <= extra) {
    ++pos;
    return kMalformed;
  }
  char32_t cp = first & (0x3F >> extra);
  for (std::size_t i = 1; i <= extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kMalformed;
    }
    cp = cp << 6 | (next & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kMalformed;
  }
  pos += extra + 1;
  return cp;
}

// Calls `sink` with the UTF-16 unit of every character of the text, in order.
template <typename Sink>
void DecodeCp932(std::string_view text, Sink sink) {
  for (std::size_t pos = 0; pos < text.size();) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (!IsLeadByte(byte)) {
      sink(SingleByteUnit(byte));
      ++pos;
    } else if (pos + 1 < text.size()) {
      const char16_t unit = DoubleByteUnit(byte, static_cast<unsigned char>(text[pos + 1]));
      sink(unit != 0 ? unit : kUnmappable);
      pos += 2;
    } else {
      sink(kUnmappable);
      ++pos;
    }
  }
}

}  // namespace

std::u16string Cp932ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  DecodeCp932(text, [&out](char16_t unit) { out += unit; });
  return out;
}

std::string Cp932ToUtf8(std::string_view text) {
  // No byte gives more than three bytes of UTF-8 (a half-width katakana byte gives three).
  std::string out(text.size() * 3, '\0');
  std::size_t size = 0;
  DecodeCp932(text, [&out, &size](char16_t unit) { size += EncodeUtf8(unit, out.data() + size); });
  out.resize(size);
  return out;
}

bool Utf16ToCp932(std::u16string_view text, std::string& out, bool exact) {
  out.clear();
  bool ok = true;
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    char32_t cp = text[pos];
    if (cp >= 0xD800 && cp <= 0xDBFF && pos + 1 < text.size() && text[pos + 1] >= 0xDC00 &&
        text[pos + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[pos + 1] - 0xDC00);
      ++pos;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kMalformed;
    }
    ok = AppendUnit(cp, out, exact) && ok;
    if (!ok && exact) return false;
  }
  return ok;
}

bool Utf8ToCp932(std::string_view text, std::string& out, bool exact) {
  out.clear();
  bool ok = true;
  for (std::size_t pos = 0; pos < text.size();) {
    ok = AppendUnit(DecodeUtf8(text, pos), out, exact) && ok;
    if (!ok && exact) return false;
  }
  return ok;
}

}  // namespace pem
