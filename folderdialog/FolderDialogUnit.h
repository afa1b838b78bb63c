// The select-folder dialog's window: a message line, the folder tree and OK and Cancel. It has no
// behaviour of its own; the dialog component attaches it for every showing.
#pragma once

#include "button.h"
#include "form.h"
#include "label.h"
#include "panel.h"
#include "shell_tree_view.h"

namespace pem {

class TFolderDialogForm : public gui::TForm {
 public:
  explicit TFolderDialogForm(gui::TComponent& owner);

  gui::TPanel& TopPanel;
  gui::TLabel& MessageLabel;
  gui::TPanel& BottomPanel;
  gui::TButton& OkButton;
  gui::TButton& CancelButton;
  shell::TShellTreeView& FolderTree;
};

}  // namespace pem
