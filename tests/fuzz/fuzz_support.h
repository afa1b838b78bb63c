// What every fuzz target shares: the entry point that libFuzzer (or the replay driver) calls,
// the split of one input into parts, and the check that stops at a broken invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace pem::fuzz {

// Separates the parts of one input (the files of a run, a file and its queries); no INI file
// that the tool writes holds it. It is in the dictionary, so mutations keep or add it.
inline constexpr std::string_view kPartSeparator = "\x1e\x1e";

// The first `count` parts of an input; missing parts are empty, the last takes the rest.
std::vector<std::string_view> SplitInput(std::string_view data, std::size_t count);

// Aborts with a message when an invariant is broken, so that the fuzzer keeps the input.
void Require(bool condition, const char* what);

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace pem::fuzz
