#include "SelectFolderDialog.h"

#include <exception>

#include "FolderDialogUnit.h"
#include "application.h"
#include "file_checks.h"
#include "folder_dialog_rules.h"
#include "win32_text.h"

namespace pem {
namespace {

constexpr int kDefaultWidth = 307;
constexpr int kDefaultHeight = 352;

// The first owner up the chain that has a window: a form, or the application.
gui::TComponent* FindOwnerWindow(const gui::TComponent& component) {
  for (gui::TComponent* owner = component.Owner(); owner; owner = owner->Owner()) {
    if (dynamic_cast<gui::TForm*>(owner) || dynamic_cast<gui::TApplication*>(owner)) return owner;
  }
  return nullptr;
}

OuterBounds OuterBoundsOf(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  return {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}

ScreenLimits PrimaryScreenLimits() {
  RECT work_area{};
  const bool have_work_area = SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_area, 0);
  return {GetSystemMetrics(SM_CXSCREEN),
          have_work_area ? static_cast<int>(work_area.bottom) : GetSystemMetrics(SM_CYSCREEN)};
}

void DetachHandlers(TFolderDialogForm& form) {
  form.OnCloseQuery.Reset();
  form.OnClose.Reset();
  form.OnShow.Reset();
  form.FolderTree.OnChange.Reset();
  form.FolderTree.OnExpanding.Reset();
  form.FolderTree.OnExpanded.Reset();
  form.FolderTree.OnCollapsing.Reset();
  form.FolderTree.OnCollapsed.Reset();
}

// The root name that the folder tree resolves for a root; `custom` is used unchanged for
// rfCustom.
std::string TreeRootName(TRootFolder root, const std::string& custom) {
  switch (root) {
    case TRootFolder::rfDesktop:
      return "rfDesktop";
    case TRootFolder::rfStartMenu:
      return "rfStartMenu";
    case TRootFolder::rfMyComputer:
      return "rfMyComputer";
    case TRootFolder::rfMyDocuments:
      return "rfPersonal";
    case TRootFolder::rfNetwork:
      return "rfNetwork";
    case TRootFolder::rfAppData:
      return "rfAppData";
    case TRootFolder::rfFavorites:
      return "rfFavorites";
    case TRootFolder::rfPrograms:
      return "rfPrograms";
    case TRootFolder::rfRecent:
      return "rfRecent";
    case TRootFolder::rfSendTo:
      return "rfSendTo";
    case TRootFolder::rfStartup:
      return "rfStartup";
    case TRootFolder::rfCommonDesktop:
      return "rfCommonDesktopDirectory";
    case TRootFolder::rfCommonPrograms:
      return "rfCommonPrograms";
    case TRootFolder::rfCommonStartMenu:
      return "rfCommonStartMenu";
    case TRootFolder::rfCommonStartup:
      return "rfCommonStartup";
    case TRootFolder::rfCustom:
      break;
  }
  return custom;
}

}  // namespace

// The window of one Execute, referenced by the component while it exists; destroyed by its
// owner on every path, with the component's handlers detached first.
class TSelectFolderDialog::Showing {
 public:
  Showing(TSelectFolderDialog& dialog, gui::TComponent& holder)
      : dialog_(dialog), holder_(holder), form_(holder.Create<TFolderDialogForm>()) {
    dialog_.form_ = &form_;
  }
  Showing(const Showing&) = delete;
  Showing& operator=(const Showing&) = delete;
  ~Showing() {
    dialog_.form_ = nullptr;
    DetachHandlers(form_);
    holder_.DestroyComponent(form_);
  }

  TFolderDialogForm& form() const { return form_; }

 private:
  TSelectFolderDialog& dialog_;
  gui::TComponent& holder_;
  TFolderDialogForm& form_;
};

bool TSelectFolderDialog::Execute() {
  if (form_) return false;
  gui::TComponent* owner_window = FindOwnerWindow(*this);
  // Without an owner that has a window, the component holds its window itself.
  const Showing showing(*this, owner_window ? *owner_window : *this);
  TFolderDialogForm& form = showing.form();
  PrepareWindow(form, owner_window);
  if (form.ShowModal() != gui::mrOk) return false;
  const std::string selected = form.FolderTree.SelectedPath();
  if (selected.empty()) return false;
  path_ = WithFinalBackslash(selected);
  return true;
}

void TSelectFolderDialog::PrepareWindow(TFolderDialogForm& form, gui::TComponent* owner_window) {
  // Sizes and places are meant at 96 dots per inch and follow the display scale, so that the
  // window at 150 % is the window at 100 % made larger, with its controls in the same proportion.
  const bool custom_size = dialog_size_ == TDialogSize::dsCustom;
  form.SetWidth(form.ScaleForScreen(custom_size ? dialog_width_ : kDefaultWidth));
  form.SetHeight(form.ScaleForScreen(custom_size ? dialog_height_ : kDefaultHeight));
  PlaceWindow(form, owner_window);
  form.SetText(caption_.empty() ? TitleFromExecutable(NarrowCp932(gui::ExecutableFileName()))
                                : caption_);
  form.SetBorderStyle(sizeable_ ? gui::TBorderStyle::bsSizeable : gui::TBorderStyle::bsDialog);
  form.MessageLabel.SetText(text_);
  form.FolderTree.SetRoot(TreeRootName(root_, custom_root_folder_));
  SelectInitialFolder(form);
  form.FolderTree.SetHideSelection(false);
  form.OkButton.SetDefault(default_button_ == TDefaultButton::btOk);
  form.CancelButton.SetDefault(default_button_ == TDefaultButton::btCancel);
  form.SetActiveControl(FocusTarget(form));
  AttachHandlers(form);
}

void TSelectFolderDialog::PlaceWindow(TFolderDialogForm& form,
                                      gui::TComponent* owner_window) const {
  switch (position_) {
    case TDialogPosition::dpCustom:
      form.SetPosition(gui::TPosition::poDesigned);
      form.SetLeft(form.ScaleForScreen(dialog_left_));
      form.SetTop(form.ScaleForScreen(dialog_top_));
      return;
    case TDialogPosition::dpDesktopCenter:
      form.SetPosition(gui::TPosition::poDesktopCenter);
      return;
    case TDialogPosition::dpOwnerCenter:
      // The application object has no bounds to centre over: as without an owner.
      if (const auto* owner_form = dynamic_cast<gui::TForm*>(owner_window)) {
        const OuterBounds own = OuterBoundsOf(form.Handle());
        const TopLeft place = CentreOverOwner(OuterBoundsOf(owner_form->Handle()), own.width,
                                              own.height, PrimaryScreenLimits());
        form.SetPosition(gui::TPosition::poDesigned);
        form.SetLeft(place.left);
        form.SetTop(place.top);
        return;
      }
      form.SetPosition(gui::TPosition::poScreenCenter);
      return;
    case TDialogPosition::dpScreenCenter:
      form.SetPosition(gui::TPosition::poScreenCenter);
      return;
    case TDialogPosition::dpDefault:
      form.SetPosition(gui::TPosition::poDefaultPosOnly);
      return;
  }
}

void TSelectFolderDialog::SelectInitialFolder(TFolderDialogForm& form) const {
  const std::string folder =
      NearestExistingFolder(path_, [](const std::string& text) { return FolderExists(text); });
  if (!folder.empty())
    form.FolderTree.SetSelectedPath(folder);
  else
    form.FolderTree.SetSelected(form.FolderTree.GetFirstNode());
}

gui::TWinControl* TSelectFolderDialog::FocusTarget(TFolderDialogForm& form) const {
  if (focused_control_ == TFocusedControl::fcTreeView) return &form.FolderTree;
  switch (default_button_) {
    case TDefaultButton::btCancel:
      return &form.CancelButton;
    case TDefaultButton::btOk:
      return &form.OkButton;
    case TDefaultButton::btNone:
      break;
  }
  return nullptr;
}

std::string TSelectFolderDialog::SelectedText() const {
  return WithFinalBackslash(form_ ? form_->FolderTree.SelectedPath() : std::string());
}

void TSelectFolderDialog::AttachHandlers(TFolderDialogForm& form) {
  form.OnCloseQuery.Bind([this](gui::TObject&, bool& can_close) { DoCanClose(can_close); });
  form.OnClose.Bind([this](gui::TObject&, gui::TCloseAction& action) {
    // Execute destroys the window; closing only hides it.
    action = gui::TCloseAction::caHide;
    DoClose();
  });
  form.OnShow.Bind([this, &form](gui::TObject&) {
    if (gui::TWinControl* target = FocusTarget(form)) target->SetFocus();
    // Raised while the window is being shown: a failing handler leaves it open, as the others do.
    try {
      DoShow();
    } catch (...) {
      gui::Application().HandleException(std::current_exception());
    }
  });
  auto& tree = form.FolderTree;
  tree.OnChange.Bind(
      [this](gui::TObject&, gui::TTreeNode* node) { DoSelect(node, SelectedText()); });
  tree.OnExpanding.Bind([this](gui::TObject&, gui::TTreeNode& node, bool& allow) {
    DoExpanding(&node, SelectedText(), allow);
  });
  tree.OnExpanded.Bind(
      [this](gui::TObject&, gui::TTreeNode& node) { DoExpanded(&node, SelectedText()); });
  tree.OnCollapsing.Bind([this](gui::TObject&, gui::TTreeNode& node, bool& allow) {
    DoCollapsing(&node, SelectedText(), allow);
  });
  tree.OnCollapsed.Bind(
      [this](gui::TObject&, gui::TTreeNode& node) { DoCollapsed(&node, SelectedText()); });
}

void TSelectFolderDialog::SetDefaultButton(TDefaultButton button) {
  default_button_ = button;
  if (button == TDefaultButton::btNone) focused_control_ = TFocusedControl::fcTreeView;
}

void TSelectFolderDialog::SetFocusedControl(TFocusedControl control) {
  focused_control_ = control;
  if (control == TFocusedControl::fcDefaultButton && default_button_ == TDefaultButton::btNone)
    default_button_ = TDefaultButton::btOk;
}

void TSelectFolderDialog::SetText(const std::string& text) {
  text_ = text;
  if (form_) form_->MessageLabel.SetText(text);
}

void TSelectFolderDialog::DoCollapsed(gui::TTreeNode* node, const std::string& selected) {
  OnCollapsed(*this, node, selected);
}

void TSelectFolderDialog::DoCollapsing(gui::TTreeNode* node, const std::string& selected,
                                       bool& allow) {
  OnCollapsing(*this, node, selected, allow);
}

void TSelectFolderDialog::DoSelect(gui::TTreeNode* node, const std::string& selected) {
  OnSelect(*this, node, selected);
}

void TSelectFolderDialog::DoExpanded(gui::TTreeNode* node, const std::string& selected) {
  OnExpanded(*this, node, selected);
}

void TSelectFolderDialog::DoExpanding(gui::TTreeNode* node, const std::string& selected,
                                      bool& allow) {
  OnExpanding(*this, node, selected, allow);
}

void TSelectFolderDialog::DoCanClose(bool& can_close) {
  OnCanClose(*this, can_close);
}

void TSelectFolderDialog::DoClose() {
  OnClose(*this);
}

void TSelectFolderDialog::DoShow() {
  OnShow(*this);
}

}  // namespace pem
