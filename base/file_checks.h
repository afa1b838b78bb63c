// The two file tests that every layer asks: does a file match a pattern, does a folder exist.
// They take code page 932 path texts, in which a single-byte "\" separates components, or the
// platform's own paths.
#pragma once

#include <string>
#include <string_view>

namespace pem {

// A path as the platform's file functions take it: UTF-16 on Windows, bytes on POSIX.
#ifdef _WIN32
using SystemPath = std::wstring;
#else
using SystemPath = std::string;
#endif

// The platform's path for a code page 932 path text; on Windows in its long-path form.
SystemPath SystemPathOf(std::string_view path);

// True when the first entry that a search for `path` reports exists and is not a folder. The
// last component may hold the wildcards * and ?; a plain path tests for a file.
bool FileMatchExistsAt(const SystemPath& path);
// True when `path` names an existing folder; "" gives false, a trailing separator is allowed.
bool FolderExistsAt(const SystemPath& path);

inline bool FileMatchExists(std::string_view path) {
  return FileMatchExistsAt(SystemPathOf(path));
}
inline bool FolderExists(std::string_view path) {
  return FolderExistsAt(SystemPathOf(path));
}

}  // namespace pem
