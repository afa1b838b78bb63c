// The long-path form of Windows paths, in which only the file system's own limit (255
// characters per name) applies, not the 260 characters of the old path functions.
#pragma once

#include <string>
#include <string_view>

namespace pem {

// The path made full (against the current folder) and normalised as the old path functions
// normalise it ("/" becomes "\", runs of separators and "." and ".." components are resolved),
// then prefixed: C:\x becomes \\?\C:\x and \\server\share\x becomes \\?\UNC\server\share\x. A
// path that is already in that form, a device path (\\.\) and "" are returned unchanged.
std::wstring LongPathForm(std::wstring_view path);

}  // namespace pem
