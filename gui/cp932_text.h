// Text typed or chosen by the user, as code page 932. A character that has no code page 932 form
// becomes "?", never a look-alike: a look-alike ("e" for "é") would quietly name another file
// or folder, while "?" names none.
#pragma once

#include <string>
#include <string_view>

namespace pem::gui {

std::string UserTextToCp932(std::wstring_view text);

// True, with the converted text, when every character has a code page 932 form.
bool ExactCp932(std::wstring_view text, std::string& narrow);

}  // namespace pem::gui
