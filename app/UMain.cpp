#include "UMain.h"

#include <utility>

#include "FileCtrl.h"
#include "SelectFolderDialog.h"
#include "app_messages.h"
#include "application.h"
#include "file_checks.h"
#include "messages.h"
#include "win32_text.h"

namespace pem {

TForm1* Form1 = nullptr;

namespace {

using gui::ControlLayout;
using gui::TComponent;

const gui::FormLayout kForm1{
    .window_class = L"TForm1",
    .caption = msg::kMainCaption,
    .client_width = 324,
    .client_height = 183,
    .border_style = gui::TBorderStyle::bsDialog,
    .border_icons = {.system_menu = true, .minimize = false, .maximize = false},
    .position = gui::TPosition::poDesktopCenter,
    .font = {.name = msg::kMainFontName, .height = -12, .charset = SHIFTJIS_CHARSET},
    .visible = true,
};

// Control              left  top  width height  text                          tab order
const ControlLayout kGroupBox1{2, 0, 319, 153, "", 0};
const ControlLayout kLabel3{32, 16, 241, 27, msg::kDescription};
const ControlLayout kLabel1{28, 56, 0, 12, msg::kInstallFolderLabel};
const ControlLayout kEdit1{28, 70, 249, 20, msg::kDefaultInstallFolder, 0};
const ControlLayout kButton1{278, 70, 20, 20, msg::kBrowseButton, 1};
const ControlLayout kLabel2{28, 104, 0, 12, msg::kOutputFolderLabel};
const ControlLayout kEdit2{28, 118, 249, 20, "", 2};
const ControlLayout kButton4{278, 118, 20, 20, msg::kBrowseButton, 3};
const ControlLayout kButton2{166, 156, 75, 25, msg::kOkButton, 1};
const ControlLayout kButton3{244, 156, 75, 25, msg::kCancelButton, 2};
const ControlLayout kProgressBar1{4, 160, 159, 16, "", 3, false};

// Destroys a component that a handler created, on every way out of the handler.
class DestroyOnExit {
 public:
  DestroyOnExit(TComponent& owner, TComponent& component) : owner_(owner), component_(component) {}
  DestroyOnExit(const DestroyOnExit&) = delete;
  DestroyOnExit& operator=(const DestroyOnExit&) = delete;
  ~DestroyOnExit() { owner_.DestroyComponent(component_); }

 private:
  TComponent& owner_;
  TComponent& component_;
};

TComponent& SetReference(TComponent& owner, TForm1*& reference, TForm1* form) {
  reference = form;
  return owner;
}

}  // namespace

TForm1::TForm1(TComponent& owner, TForm1*& reference)
    : TForm(SetReference(owner, reference, this), kForm1),
      GroupBox1(Create<gui::TGroupBox>(*this, kGroupBox1)),
      Edit1(Create<gui::TEdit>(GroupBox1, kEdit1)),
      Button1(Create<gui::TButton>(GroupBox1, kButton1)),
      Button2(Create<gui::TButton>(*this, kButton2)),
      Button3(Create<gui::TButton>(*this, kButton3)),
      Label1(Create<gui::TLabel>(GroupBox1, kLabel1)),
      Label2(Create<gui::TLabel>(GroupBox1, kLabel2)),
      Edit2(Create<gui::TEdit>(GroupBox1, kEdit2)),
      Button4(Create<gui::TButton>(GroupBox1, kButton4)),
      Label3(Create<gui::TLabel>(GroupBox1, kLabel3,
                                 gui::LabelOptions{.auto_size = false, .word_wrap = true})),
      ProgressBar1(Create<gui::TProgressBar>(*this, kProgressBar1)),
      progress_(ProgressBar1) {
  Label1.SetFocusControl(&Button1);
  Label2.SetFocusControl(&Button4);
  Button1.OnClick.Bind(*this, &TForm1::Button1Click);
  Button2.OnClick.Bind(*this, &TForm1::Button2Click);
  Button3.OnClick.Bind(*this, &TForm1::Button3Click);
  Button4.OnClick.Bind(*this, &TForm1::Button4Click);
  OnCloseQuery.Bind(*this, &TForm1::FormCloseQuery);
}

TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::Button3Click(gui::TObject&) {
  Close();
}

// The folders are used as typed, also where code page 932 cannot name them: the run's own file
// system maps their texts to them. The window keeps answering during the run, so a click sent to
// a button from outside can reach a handler then; it does nothing.
void TForm1::Button2Click(gui::TObject&) {
  if (run_) return;
  const std::unique_ptr<FileSystem> file_system = NewPlatformFileSystem();
  if (!folders_.Prepare(NarrowUtf8(Edit1.WideText()), NarrowUtf8(Edit2.WideText()), *file_system)) {
    ApplicationMessageBox(msg::kBadOutputFolder, msg::kBadOutputFolderCaption, BoxKind::kError);
    return;
  }
  run_.emplace();
  try {
    RunConversion(*this, *file_system);
  } catch (...) {
    run_.reset();
    close_asked_ = false;
    throw;
  }
  run_.reset();
  if (std::exchange(close_asked_, false)) Close();
}

void TForm1::FormCloseQuery(gui::TObject&, bool& can_close) {
  if (!run_) return;
  close_asked_ = true;
  can_close = false;
}

// The dialog starts at its root, not at the folder typed in Edit1, and the folder it gives
// back ends with "\", ready for the tool's file names.
void TForm1::Button1Click(gui::TObject&) {
  if (run_) return;
  TSelectFolderDialog& dialog = Create<TSelectFolderDialog>();
  const DestroyOnExit destroy(*this, dialog);
  if (!dialog.Execute()) return;
  if (FileMatchExists(dialog.Path() + kToolExecutablePattern))
    Edit1.SetText(dialog.Path());
  else
    ApplicationMessageBox(msg::kToolNotFound, msg::kToolNotFoundCaption, BoxKind::kError);
}

void TForm1::Button4Click(gui::TObject&) {
  if (run_) return;
  std::wstring directory = Edit2.WideText();
  BrowseForDirectory(msg::kOutputFolderBrowseTitle, directory);
  Edit2.SetWideText(directory);
}

void TForm1::SetControlsEnabled(bool enabled) {
  // What was clicked or typed while they were disabled goes before anything can take it.
  if (enabled && run_) run_->DropInput();
  for (gui::TWinControl* control : Controls()) control->SetEnabled(enabled);
}

std::string TForm1::InstallFolderText() {
  return folders_.Install().text;
}

std::string TForm1::OutputFolderText() {
  return folders_.Out().text;
}

void TForm1::ApplicationMessageBox(const std::string& text, const std::string& caption,
                                   BoxKind kind) {
  gui::ApplicationMessageBox(text, caption,
                             kind == BoxKind::kError ? MB_ICONERROR : MB_ICONINFORMATION);
}

// An error of the run names its folders by the texts it knows them by; the box names each as it
// was typed, also where code page 932 lacks its characters.
void TForm1::ShowExceptionBox(const Exception& error) {
  if (dynamic_cast<const EAbort*>(&error)) return;
  gui::Application().ShowError(WidenUtf8(folders_.Printable(WithFinalPeriod(error.Message()))));
}

}  // namespace pem
