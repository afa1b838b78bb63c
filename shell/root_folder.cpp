#include "root_folder.h"

#include <array>

#include "cp932.h"
#include "errors.h"
#include "id_lists.h"
#include "shell_messages.h"
#include "win32_text.h"

namespace pem::shell {
namespace {

struct RootFolderEntry {
  std::string_view name;
  int csidl;
};

// In the order of TRootFolder.
constexpr std::array<RootFolderEntry, 23> kRootFolders{{
    {"rfDesktop", CSIDL_DESKTOP},
    {"rfMyComputer", CSIDL_DRIVES},
    {"rfNetwork", CSIDL_NETWORK},
    {"rfRecycleBin", CSIDL_BITBUCKET},
    {"rfAppData", CSIDL_APPDATA},
    {"rfCommonDesktopDirectory", CSIDL_COMMON_DESKTOPDIRECTORY},
    {"rfCommonPrograms", CSIDL_COMMON_PROGRAMS},
    {"rfCommonStartMenu", CSIDL_COMMON_STARTMENU},
    {"rfCommonStartup", CSIDL_COMMON_STARTUP},
    {"rfControlPanel", CSIDL_CONTROLS},
    {"rfDesktopDirectory", CSIDL_DESKTOPDIRECTORY},
    {"rfFavorites", CSIDL_FAVORITES},
    {"rfFonts", CSIDL_FONTS},
    {"rfInternet", CSIDL_INTERNET},
    {"rfPersonal", CSIDL_PERSONAL},
    {"rfPrinters", CSIDL_PRINTERS},
    {"rfPrintHood", CSIDL_PRINTHOOD},
    {"rfPrograms", CSIDL_PROGRAMS},
    {"rfRecent", CSIDL_RECENT},
    {"rfSendTo", CSIDL_SENDTO},
    {"rfStartMenu", CSIDL_STARTMENU},
    {"rfStartup", CSIDL_STARTUP},
    {"rfTemplates", CSIDL_TEMPLATES},
}};

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The status of locating the root: a special folder, or the text parsed as a path.
HRESULT LocateRoot(TRoot& root_text, AbsoluteIdList& list) {
  if (const auto folder = RootFolderFromName(root_text))
    return SHGetSpecialFolderLocation(nullptr, RootFolderCsidl(*folder), list.put());
  if (root_text.empty()) return S_FALSE;
  if (root_text.back() == ':') root_text += '\\';
  return ParsePath(WidenCp932(root_text), list);
}

}  // namespace

std::string_view RootFolderName(TRootFolder folder) {
  return kRootFolders[static_cast<std::size_t>(folder)].name;
}

int RootFolderCsidl(TRootFolder folder) {
  return kRootFolders[static_cast<std::size_t>(folder)].csidl;
}

std::optional<TRootFolder> RootFolderFromName(std::string_view text) {
  for (std::size_t index = 0; index < kRootFolders.size(); ++index) {
    if (SameTextIgnoringCase(kRootFolders[index].name, text))
      return static_cast<TRootFolder>(index);
  }
  return std::nullopt;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t pos = 0; pos < a.size();) {
    // The trail byte of a two-byte character is no letter of its own.
    const std::size_t length = CharLength(a, pos);
    if (length == 2) {
      if (a.substr(pos, 2) != b.substr(pos, 2)) return false;
    } else if (AsciiLower(a[pos]) != AsciiLower(b[pos])) {
      return false;
    }
    pos += length;
  }
  return true;
}

std::string PathErrorMessage(const std::string& text) {
  return msg::kPathErrorPrefix + text + msg::kPathErrorSuffix;
}

void ResolveRoot(std::unique_ptr<TShellFolder>& root_item, const TRoot& previous_text,
                 TRoot& root_text) {
  AbsoluteIdList list;
  if (LocateRoot(root_text, list) != S_OK || !list) {
    const std::string message = PathErrorMessage(root_text);
    root_text = previous_text;
    throw Exception(message);
  }
  root_item = ItemFromAbsoluteId(list.get());
}

}  // namespace pem::shell
