#include "folder_dialog_rules.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "cp932.h"

namespace pem {
namespace {

// The 0-based index of the last single-byte character out of `chars` that starts at an index in
// [first, last], if any. The text is read from its first byte, so that trail bytes are skipped.
std::optional<std::size_t> LastOf(std::string_view text, std::string_view chars, std::size_t first,
                                  std::size_t last) {
  std::optional<std::size_t> found;
  for (std::size_t pos = 0; pos < text.size() && pos <= last; pos += CharLength(text, pos)) {
    const bool single = CharLength(text, pos) == 1;
    if (single && pos >= first && chars.find(text[pos]) != std::string_view::npos) found = pos;
  }
  return found;
}

// Moves a window edge back so that the window ends at `limit` when it would pass it, and never
// before 0: a window larger than the screen keeps its top-left corner, and so its caption, on it.
int Clamp(std::int64_t position, int size, int limit) {
  if (position + size > limit) position = std::int64_t{limit} - size;
  return static_cast<int>(std::max<std::int64_t>(position, 0));
}

}  // namespace

std::string WithFinalBackslash(std::string_view path) {
  std::string result(path);
  if (!EndsWithChar(result, '\\')) result += '\\';
  return result;
}

std::string NearestExistingFolder(std::string path,
                                  const std::function<bool(const std::string&)>& folder_exists) {
  while (!path.empty() && !folder_exists(path)) {
    // Shorter than four bytes there is nothing left to cut: "C:\" stays as it is or goes.
    const auto cut = path.size() < 4 ? std::nullopt : LastOf(path, "\\", 2, path.size() - 2);
    path = cut ? path.substr(0, *cut + 1) : std::string();
  }
  return path;
}

std::string TitleFromExecutable(std::string_view file_name) {
  const auto folder_end = LastOf(file_name, "\\:", 0, file_name.size());
  std::string_view name = folder_end ? file_name.substr(*folder_end + 1) : file_name;
  const auto dot = LastOf(name, ".", 0, name.size());
  if (dot) name = name.substr(0, *dot);
  return std::string(name);
}

TopLeft CentreOverOwner(const OuterBounds& owner, int width, int height,
                        const ScreenLimits& screen) {
  const std::int64_t left = std::int64_t{owner.left} + owner.width / 2 - width / 2;
  const std::int64_t top = std::int64_t{owner.top} + owner.height / 2 - height / 2;
  return {Clamp(left, width, screen.width), Clamp(top, height, screen.work_bottom)};
}

}  // namespace pem
