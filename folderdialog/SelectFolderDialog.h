// The select-folder dialog: a component that shows a modal window with a tree of the shell's
// folders and gives back the folder the user chose. Every call of Execute builds the window
// afresh and destroys it before returning; between calls the component holds only its settings.
#pragma once

#include <string>

#include "component.h"
#include "event.h"
#include "tree_node.h"

namespace pem {
namespace gui {
class TWinControl;
}

class TFolderDialogForm;

// The tree's root; the shell controls have a longer enumeration of their own.
enum class TRootFolder {
  rfDesktop,
  rfStartMenu,
  rfMyComputer,
  rfMyDocuments,
  rfNetwork,
  rfAppData,
  rfFavorites,
  rfPrograms,
  rfRecent,
  rfSendTo,
  rfStartup,
  rfCommonDesktop,
  rfCommonPrograms,
  rfCommonStartMenu,
  rfCommonStartup,
  rfCustom,
};
enum class TDefaultButton { btNone, btCancel, btOk };
enum class TDialogSize { dsCustom, dsDefault };
enum class TFocusedControl { fcDefaultButton, fcTreeView };
enum class TDialogPosition { dpCustom, dpDesktopCenter, dpOwnerCenter, dpScreenCenter, dpDefault };

// `Selected` is the folder selected in the tree at the time of the event, with a final "\" ("\"
// alone when none is), not necessarily the folder of the node.
using TCloseQueryEvent = gui::Event<gui::TObject&, bool&>;
using TFolderTreeEvent = gui::Event<gui::TObject&, gui::TTreeNode*, const std::string&>;
using TUpdateNodeEvent = gui::Event<gui::TObject&, gui::TTreeNode*, const std::string&, bool&>;

class TSelectFolderDialog : public gui::TComponent {
 public:
  TSelectFolderDialog() = default;
  explicit TSelectFolderDialog(gui::TComponent& owner) : TComponent(&owner) {}

  // Shows the window modally. True only when it was closed with OK and the tree gave a path for
  // the selected folder; Path then holds it with a final "\". False otherwise, with Path as it
  // was; also false, showing nothing, while this component's window is already showing.
  bool Execute();

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  const std::string& CustomRootFolder() const { return custom_root_folder_; }
  void SetCustomRootFolder(const std::string& folder) { custom_root_folder_ = folder; }
  // The focus never goes to a default button that does not exist: btNone moves it to the tree.
  TDefaultButton DefaultButton() const { return default_button_; }
  void SetDefaultButton(TDefaultButton button);
  // The window's outer size (dsCustom) and place (dpCustom), in pixels at 96 dots per inch; at
  // another display scale they are scaled as the window's layout is.
  TDialogSize DialogSize() const { return dialog_size_; }
  void SetDialogSize(TDialogSize size) { dialog_size_ = size; }
  int DialogHeight() const { return dialog_height_; }
  void SetDialogHeight(int height) { dialog_height_ = height; }
  int DialogLeft() const { return dialog_left_; }
  void SetDialogLeft(int left) { dialog_left_ = left; }
  int DialogTop() const { return dialog_top_; }
  void SetDialogTop(int top) { dialog_top_ = top; }
  int DialogWidth() const { return dialog_width_; }
  void SetDialogWidth(int width) { dialog_width_ = width; }
  // fcDefaultButton without a default button makes OK the default button.
  TFocusedControl FocusedControl() const { return focused_control_; }
  void SetFocusedControl(TFocusedControl control);
  const std::string& Path() const { return path_; }
  void SetPath(const std::string& path) { path_ = path; }
  TDialogPosition Position() const { return position_; }
  void SetPosition(TDialogPosition position) { position_ = position; }
  TRootFolder Root() const { return root_; }
  void SetRoot(TRootFolder root) { root_ = root; }
  bool Sizeable() const { return sizeable_; }
  void SetSizeable(bool sizeable) { sizeable_ = sizeable; }
  const std::string& Text() const { return text_; }
  // Also changes the message line at once while the window shows.
  void SetText(const std::string& text);

  TCloseQueryEvent OnCanClose;
  gui::TNotifyEvent OnClose;
  TFolderTreeEvent OnCollapsed;
  TUpdateNodeEvent OnCollapsing;
  TFolderTreeEvent OnExpanded;
  TUpdateNodeEvent OnExpanding;
  TFolderTreeEvent OnSelect;
  gui::TNotifyEvent OnShow;

 protected:
  // Each raises its event with this component as the sender.
  virtual void DoCollapsed(gui::TTreeNode* node, const std::string& selected);
  virtual void DoCollapsing(gui::TTreeNode* node, const std::string& selected, bool& allow);
  virtual void DoSelect(gui::TTreeNode* node, const std::string& selected);
  virtual void DoExpanded(gui::TTreeNode* node, const std::string& selected);
  virtual void DoExpanding(gui::TTreeNode* node, const std::string& selected, bool& allow);
  virtual void DoCanClose(bool& can_close);
  virtual void DoClose();
  virtual void DoShow();

 private:
  class Showing;

  void PrepareWindow(TFolderDialogForm& form, gui::TComponent* owner_window);
  void PlaceWindow(TFolderDialogForm& form, gui::TComponent* owner_window) const;
  void SelectInitialFolder(TFolderDialogForm& form) const;
  void AttachHandlers(TFolderDialogForm& form);
  gui::TWinControl* FocusTarget(TFolderDialogForm& form) const;
  std::string SelectedText() const;

  std::string caption_;
  std::string custom_root_folder_;
  TDefaultButton default_button_ = TDefaultButton::btNone;
  TDialogSize dialog_size_ = TDialogSize::dsDefault;
  int dialog_height_ = 352;
  int dialog_left_ = 0;
  int dialog_top_ = 0;
  int dialog_width_ = 307;
  TFocusedControl focused_control_ = TFocusedControl::fcTreeView;
  std::string path_;
  TDialogPosition position_ = TDialogPosition::dpScreenCenter;
  TRootFolder root_ = TRootFolder::rfDesktop;
  bool sizeable_ = true;
  std::string text_;
  // The window, only while Execute runs.
  TFolderDialogForm* form_ = nullptr;
};

}  // namespace pem
