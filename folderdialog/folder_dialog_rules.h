// The select-folder dialog's rules that need no window: the folder it opens at, the path text it
// gives back, its title and its place over its owner. Texts are code page 932; a "\" counts only
// where it is a character of its own, never the trail byte of a two-byte character.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace pem {

// The text with "\" appended unless it already ends in one; an empty text gives "\" alone.
std::string WithFinalBackslash(std::string_view path);

// The nearest folder at or above `path` for which `folder_exists` holds, found by dropping the
// last element (keeping the "\" before it) while the text is no folder; the first two bytes and
// the last byte are never taken for the cut. Empty when no such folder is found.
std::string NearestExistingFolder(std::string path,
                                  const std::function<bool(const std::string&)>& folder_exists);

// The window title for an executable's full file name: the name without its folder (up to the
// last "\" or ":") and without its extension (from its last "."); a name without "." stays whole.
std::string TitleFromExecutable(std::string_view file_name);

struct OuterBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct ScreenLimits {
  int width = 0;        // the primary screen's width
  int work_bottom = 0;  // the bottom edge of the work area, or the screen's height without one
};

struct TopLeft {
  int left = 0;
  int top = 0;
  bool operator==(const TopLeft&) const = default;
};

// Where a window of `width` x `height` goes when centred over its owner (halves truncated): moved
// back inside the screen's width and above the work area's bottom, and never left of or above 0.
TopLeft CentreOverOwner(const OuterBounds& owner, int width, int height,
                        const ScreenLimits& screen);

}  // namespace pem
