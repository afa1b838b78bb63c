#include "FolderDialogUnit.h"

#include "folder_dialog_messages.h"

namespace pem {
namespace {

using gui::ControlLayout;

// The design size only places the controls; the dialog always gives the window its own size.
constexpr int kClientWidth = 291;
constexpr int kClientHeight = 313;
constexpr int kButtonWidth = 89;

const gui::FormLayout kFolderDialogForm{
    .window_class = L"TFolderDialogForm",
    .caption = msg::kFolderDialogDesignCaption,
    .client_width = kClientWidth,
    .client_height = kClientHeight,
    .border_style = gui::TBorderStyle::bsSizeable,
    .border_icons = {.system_menu = true, .minimize = false, .maximize = false},
    // Created at the system's default place, which the placement rules keep or replace.
    .position = gui::TPosition::poDefaultPosOnly,
    .font = {.name = msg::kFolderDialogFontName, .height = -12, .charset = SHIFTJIS_CHARSET},
};

constexpr gui::TAnchors kTopRight{.left = false, .top = true, .right = true, .bottom = false};

// In design pixels; the panels take the full width at their edges, the tree the rest, and the
// buttons keep their distance to the right edge.
const ControlLayout kTopPanel{
    .height = 33, .text = "", .tab_order = 0, .align = gui::TAlign::alTop};
const ControlLayout kMessageLabel{.left = 8, .top = 10, .height = 12, .text = ""};
const ControlLayout kBottomPanel{
    .height = 41, .text = "", .tab_order = 1, .align = gui::TAlign::alBottom};
const ControlLayout kOkButton{.left = kClientWidth - 103 - kButtonWidth,
                              .top = 8,
                              .width = kButtonWidth,
                              .height = 25,
                              .text = msg::kFolderDialogOk,
                              .tab_order = 0,
                              .anchors = kTopRight};
const ControlLayout kCancelButton{.left = kClientWidth - 7 - kButtonWidth,
                                  .top = 8,
                                  .width = kButtonWidth,
                                  .height = 25,
                                  .text = msg::kFolderDialogCancel,
                                  .tab_order = 1,
                                  .anchors = kTopRight};
const ControlLayout kFolderTree{.text = "", .tab_order = 2, .align = gui::TAlign::alClient};

gui::TButton& Closing(gui::TButton& button, gui::TModalResult result) {
  button.SetModalResult(result);
  button.SetCancel(result == gui::mrCancel);
  return button;
}

shell::TShellTreeView& Configured(shell::TShellTreeView& tree) {
  tree.SetObjectTypes({.folders = true, .non_folders = false, .hidden = false});
  tree.SetRoot("rfDesktop");
  tree.SetUseShellImages(true);
  tree.SetAutoRefresh(false);
  tree.SetAutoContextMenus(false);
  tree.SetRightClickSelect(true);
  tree.SetShowLines(false);
  tree.SetShowRoot(false);
  tree.SetIndent(tree.ParentForm()->ScaleForScreen(19));
  tree.FinishLoading();
  return tree;
}

}  // namespace

TFolderDialogForm::TFolderDialogForm(gui::TComponent& owner)
    : TForm(owner, kFolderDialogForm),
      TopPanel(Create<gui::TPanel>(*this, kTopPanel, gui::TBevel::bvNone)),
      MessageLabel(Create<gui::TLabel>(TopPanel, kMessageLabel)),
      BottomPanel(Create<gui::TPanel>(*this, kBottomPanel, gui::TBevel::bvNone)),
      OkButton(Closing(Create<gui::TButton>(BottomPanel, kOkButton), gui::mrOk)),
      CancelButton(Closing(Create<gui::TButton>(BottomPanel, kCancelButton), gui::mrCancel)),
      FolderTree(Configured(Create<shell::TShellTreeView>(*this, kFolderTree))) {}

}  // namespace pem
