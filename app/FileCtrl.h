// The platform's folder browser, opened at a given folder and modal to the whole application. The
// folder is the platform's own text, so that a folder that code page 932 cannot name is kept.
#pragma once

#include <string>

namespace pem {

// Shows the shell's folder browser with `title` above its tree, the folder named by `directory`
// selected. True when the user confirmed a file-system folder, whose full path is then in
// `directory`. A `directory` that names no existing folder is emptied before anything is shown,
// also when the result is false.
bool BrowseForDirectory(const std::string& title, std::wstring& directory);

}  // namespace pem
