// The shell's own context menu for an item: shown at a point, its chosen command run by the
// shell unless the hook takes it over.
#pragma once

#include <windows.h>

#include <string>

#include "shell_folder.h"

namespace pem::shell {

// Consulted around a command chosen from a shell context menu. Verbs are as the shell names
// them ("open", "rename", "delete", "paste").
class IShellMenuCommandHook {
 public:
  // Before the shell runs the command; setting `handled` keeps the shell from running it.
  virtual void BeforeCommand(const std::string& verb, bool& handled) = 0;
  // After the shell ran the command.
  virtual void AfterCommand(const std::string& verb, bool succeeded) = 0;

 protected:
  ~IShellMenuCommandHook() = default;
};

// Shows the item's context menu at a screen position, owned by `owner`, and runs the command
// chosen. Shows nothing when the item's folder offers no menu.
void ShowShellContextMenu(const TShellFolder& item, HWND owner, POINT position,
                          IShellMenuCommandHook& hook);

// While a shell menu is shown, the menu messages of its owner go to the menu: true, with the
// message's result, when one was shown to take it.
bool ForwardShellMenuMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

}  // namespace pem::shell
