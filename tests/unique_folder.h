// Folders that no other test, process or thread can be given, however many run at once.
#pragma once

#include <filesystem>
#include <string_view>

namespace pem::testing {

// Creates and returns a new folder named `prefix` and a random suffix inside `parent` (made if
// missing). The name is taken by creating the folder, so two callers never share one, even
// on a machine whose clock reads the same for both.
std::filesystem::path MakeUniqueFolder(const std::filesystem::path& parent,
                                       std::string_view prefix);

}  // namespace pem::testing
