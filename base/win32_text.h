// Code page 932 text at the Windows API boundary, independent of the system's ANSI code page, and
// UTF-8, in which portable code carries paths that code page 932 cannot hold.
#pragma once

#include <string>
#include <string_view>

namespace pem {

// Every byte sequence converts.
std::wstring WidenCp932(std::string_view text);

// A character that has no code page 932 form becomes "?", never a look-alike: a look-alike ("e"
// for "é") would quietly name another file or folder, while "?" names none.
std::string NarrowCp932(std::wstring_view text);

// True, with the converted text in `narrow`, when every character has a code page 932 form;
// otherwise false and `narrow` untouched.
bool ExactCp932(std::wstring_view text, std::string& narrow);

// An unpaired surrogate becomes U+FFFD, in either direction.
std::wstring WidenUtf8(std::string_view text);
std::string NarrowUtf8(std::wstring_view text);

}  // namespace pem
