// Paths and name patterns on POSIX file systems.
#pragma once

#include <string>
#include <string_view>

namespace pem {

// The UTF-8 path for a code page 932 path; each single-byte "\" becomes "/".
std::string NativePath(std::string_view path);

// Matches a UTF-8 name against a pattern with * (any run) and ? (one character), ignoring the
// case of ASCII letters, as a Windows file search does.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace pem
