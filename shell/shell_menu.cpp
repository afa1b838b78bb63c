#include "shell_menu.h"

#include <array>

namespace pem::shell {
namespace {

constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;

// The menu being shown; its owner's menu messages draw and measure its items.
ComPtr<IContextMenu2> shown_menu;

class ShownMenu {
 public:
  explicit ShownMenu(ComPtr<IContextMenu2> menu) { shown_menu = std::move(menu); }
  ShownMenu(const ShownMenu&) = delete;
  ShownMenu& operator=(const ShownMenu&) = delete;
  ~ShownMenu() { shown_menu.reset(); }
};

ComPtr<IContextMenu> MenuOf(const TShellFolder& item, HWND owner) {
  ComPtr<IContextMenu> menu;
  const ComPtr<IShellFolder> folder = item.ParentFolder();
  if (!folder) return menu;
  const ITEMIDLIST* items[] = {item.LocalId()};
  if (folder->GetUIObjectOf(owner, 1, items, IID_IContextMenu, nullptr,
                            reinterpret_cast<void**>(menu.put())) != S_OK)
    menu.reset();
  return menu;
}

std::string VerbOf(IContextMenu& menu, UINT command) {
  std::array<char, 256> verb{};
  menu.GetCommandString(command - kFirstCommand, GCS_VERBA, nullptr, verb.data(), verb.size());
  verb.back() = '\0';
  return verb.data();
}

}  // namespace

void ShowShellContextMenu(const TShellFolder& item, HWND owner, POINT position,
                          IShellMenuCommandHook& hook) {
  const ComPtr<IContextMenu> menu = MenuOf(item, owner);
  if (!menu) return;
  const UniqueMenu popup(CreatePopupMenu());
  if (!popup) return;
  if (FAILED(menu->QueryContextMenu(popup.get(), 0, kFirstCommand, kLastCommand,
                                    CMF_EXPLORE | CMF_CANRENAME)))
    return;
  UINT command;
  {
    const ShownMenu shown(menu.Query<IContextMenu2>());
    command = static_cast<UINT>(TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                               position.x, position.y, 0, owner, nullptr));
  }
  if (command < kFirstCommand) return;
  const std::string verb = VerbOf(*menu.get(), command);
  bool handled = false;
  hook.BeforeCommand(verb, handled);
  if (handled) return;
  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof(info);
  info.hwnd = owner;
  info.lpVerb = MAKEINTRESOURCEA(command - kFirstCommand);
  info.nShow = SW_SHOWNORMAL;
  const HRESULT status = menu->InvokeCommand(&info);
  hook.AfterCommand(verb, status == S_OK);
}

bool ForwardShellMenuMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (!shown_menu) return false;
  // Only a menu that gives results can say which item a typed character chooses.
  if (const ComPtr<IContextMenu3> answering = shown_menu.Query<IContextMenu3>();
      answering && SUCCEEDED(answering->HandleMenuMsg2(message, wparam, lparam, &result)))
    return true;
  shown_menu->HandleMenuMsg(message, wparam, lparam);
  result = message == WM_DRAWITEM || message == WM_MEASUREITEM ? TRUE : 0;
  return true;
}

}  // namespace pem::shell
