// Code page 932 text at the Windows API boundary, independent of the system's ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace pem {

std::wstring WidenCp932(std::string_view text);
std::string NarrowCp932(std::wstring_view text);

}  // namespace pem
