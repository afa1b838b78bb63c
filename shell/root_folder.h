// Root folders: the special folders a root text may name, and how a root text becomes the item
// a tree starts from.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "shell_folder.h"

namespace pem::shell {

enum class TRootFolder {
  rfDesktop,
  rfMyComputer,
  rfNetwork,
  rfRecycleBin,
  rfAppData,
  rfCommonDesktopDirectory,
  rfCommonPrograms,
  rfCommonStartMenu,
  rfCommonStartup,
  rfControlPanel,
  rfDesktopDirectory,
  rfFavorites,
  rfFonts,
  rfInternet,
  rfPersonal,
  rfPrinters,
  rfPrintHood,
  rfPrograms,
  rfRecent,
  rfSendTo,
  rfStartMenu,
  rfStartup,
  rfTemplates,
};

// A root text: a root-folder name ("rfDesktop") or a path, in code page 932.
using TRoot = std::string;

// The name of a root folder, as a root text spells it.
std::string_view RootFolderName(TRootFolder folder);
// The root folder that a text names, letter case aside; none for any other text.
std::optional<TRootFolder> RootFolderFromName(std::string_view text);
// The special-folder constant of a root folder.
int RootFolderCsidl(TRootFolder folder);

// True when the texts differ at most in the case of their ASCII letters.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

// Resolves `root_text` to a new item that replaces `root_item`. A drive text ending in ":" gets
// its "\" in `root_text` itself. When the text names nothing, raises Exception with the path
// error message; `root_text` is then `previous_text` again and `root_item` is untouched.
void ResolveRoot(std::unique_ptr<TShellFolder>& root_item, const TRoot& previous_text,
                 TRoot& root_text);

// The path error message for a text.
std::string PathErrorMessage(const std::string& text);

}  // namespace pem::shell
