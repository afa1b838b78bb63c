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

// Control: left, top, width, height, text, tab order (in design pixels).
const ControlLayout kTopPanel{0, 0, kClientWidth, 33, "", 0};
const ControlLayout kMessageLabel{8, 10, 0, 12, ""};
const ControlLayout kBottomPanel{0, kClientHeight - 41, kClientWidth, 41, "", 1};
const ControlLayout kOkButton{
    kClientWidth - 103 - kButtonWidth, 8, kButtonWidth, 25, msg::kFolderDialogOk, 0};
const ControlLayout kCancelButton{kClientWidth - 7 - kButtonWidth, 8, kButtonWidth, 25,
                                  msg::kFolderDialogCancel,        1};
const ControlLayout kFolderTree{0, 33, kClientWidth, kClientHeight - 33 - 41, "", 2};

constexpr gui::TAnchors kTopRight{.left = false, .top = true, .right = true, .bottom = false};

template <typename Control>
Control& Aligned(Control& control, gui::TAlign align) {
  control.SetAlign(align);
  return control;
}

template <typename Control>
Control& Anchored(Control& control, gui::TAnchors anchors) {
  control.SetAnchors(anchors);
  return control;
}

gui::TButton& Closing(gui::TButton& button, gui::TModalResult result) {
  button.SetModalResult(result);
  button.SetCancel(result == gui::mrCancel);
  return button;
}

shell::TShellTreeView& Configured(shell::TShellTreeView& tree) {
  tree.SetAlign(gui::TAlign::alClient);
  tree.SetObjectTypes({shell::TShellObjectType::otFolders});
  tree.SetRoot("rfDesktop");
  tree.SetUseShellImages(true);
  tree.SetAutoRefresh(false);
  tree.SetAutoContextMenus(false);
  tree.SetRightClickSelect(true);
  tree.SetShowLines(false);
  tree.SetShowRoot(false);
  tree.SetIndent(19);
  tree.FinishLoading();
  return tree;
}

}  // namespace

TFolderDialogForm::TFolderDialogForm(gui::TComponent& owner)
    : TForm(owner, kFolderDialogForm),
      TopPanel(
          Aligned(Create<gui::TPanel>(*this, kTopPanel, gui::TBevel::bvNone), gui::TAlign::alTop)),
      MessageLabel(Create<gui::TLabel>(TopPanel, kMessageLabel)),
      BottomPanel(Aligned(Create<gui::TPanel>(*this, kBottomPanel, gui::TBevel::bvNone),
                          gui::TAlign::alBottom)),
      OkButton(
          Closing(Anchored(Create<gui::TButton>(BottomPanel, kOkButton), kTopRight), gui::mrOk)),
      CancelButton(Closing(Anchored(Create<gui::TButton>(BottomPanel, kCancelButton), kTopRight),
                           gui::mrCancel)),
      FolderTree(Configured(Create<shell::TShellTreeView>(*this, kFolderTree))) {}

}  // namespace pem
