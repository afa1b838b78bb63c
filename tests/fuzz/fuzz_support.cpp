#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

namespace pem::fuzz {

std::vector<std::string_view> SplitInput(std::string_view data, std::size_t count) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < count) {
    const std::size_t at = data.find(kPartSeparator);
    if (at == std::string_view::npos) break;
    parts.push_back(data.substr(0, at));
    data.remove_prefix(at + kPartSeparator.size());
  }
  parts.push_back(data);
  parts.resize(count);
  return parts;
}

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken invariant: %s\n", what);
  std::abort();
}

}  // namespace pem::fuzz
