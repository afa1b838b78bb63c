// Conversion between code page 932 and Unicode, with the mappings of the Windows code page.
// Used at the platform boundary on POSIX and for INI files stored as UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace pem {

// Every byte sequence converts; an unassigned two-byte code or a lone lead byte at the end
// becomes U+30FB (katakana middle dot), as the Windows conversion does.
std::u16string Cp932ToUtf16(std::string_view text);
std::string Cp932ToUtf8(std::string_view text);

// Characters that code page 932 cannot hold become "?" unless `exact` is set, in which case the
// conversion fails and gives false. Unpaired surrogates and malformed UTF-8 count as unmappable.
bool Utf16ToCp932(std::u16string_view text, std::string& out, bool exact = false);
bool Utf8ToCp932(std::string_view text, std::string& out, bool exact = false);

}  // namespace pem
