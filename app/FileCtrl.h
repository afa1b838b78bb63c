// The platform's folder browser, opened at a given folder and modal to the whole application.
#pragma once

#include <string>

namespace pem {

// Shows the shell's folder browser with `title` above its tree, the folder named by `directory`
// selected. True when the user confirmed a file-system folder, whose full path is then in
// `directory`. A `directory` that names no existing folder is emptied before anything is shown,
// also when the result is false.
bool BrowseForDirectory(const std::string& title, std::string& directory);

}  // namespace pem
