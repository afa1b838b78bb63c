// The main window: the two folder fields with their browse buttons, OK and Cancel, the
// description and the progress bar. It is the host of the conversion.
#pragma once

#include <optional>

#include "button.h"
#include "conversion_run.h"
#include "edit.h"
#include "form.h"
#include "group_box.h"
#include "label.h"
#include "progress_bar.h"
#include "progress_indicator.h"
#include "run_folders.h"
#include "run_pump.h"

namespace pem {

class TForm1 : public gui::TForm, public ConversionHost {
 public:
  // `reference` is set to the form before its construction runs.
  TForm1(gui::TComponent& owner, TForm1*& reference);
  ~TForm1() override;

  gui::TGroupBox& GroupBox1;
  gui::TEdit& Edit1;
  gui::TButton& Button1;
  gui::TButton& Button2;
  gui::TButton& Button3;
  gui::TLabel& Label1;
  gui::TLabel& Label2;
  gui::TEdit& Edit2;
  gui::TButton& Button4;
  gui::TLabel& Label3;
  gui::TProgressBar& ProgressBar1;

  void Button1Click(gui::TObject& sender);
  void Button3Click(gui::TObject& sender);
  void Button2Click(gui::TObject& sender);
  void Button4Click(gui::TObject& sender);

  // Enables or disables every direct child control of the main window.
  void SetControlsEnabled(bool enabled) override;

  std::string InstallFolderText() override;
  std::string OutputFolderText() override;
  void ApplicationMessageBox(const std::string& text, const std::string& caption,
                             BoxKind kind) override;
  // The general error display; an EAbort is dropped.
  void ShowExceptionBox(const Exception& error) override;
  ProgressIndicator& Progress() override { return progress_; }
  void BetweenEntries() override {
    if (run_) run_->BetweenEntries();
  }

 private:
  // While a run is under way no other action starts, and a close asked for waits for its end.
  void FormCloseQuery(gui::TObject& sender, bool& can_close);

  ProgressBarIndicator progress_;
  RunFolders folders_;                 // of the run under way
  std::optional<RunMessagePump> run_;  // while a conversion runs
  bool close_asked_ = false;
};

// The main window, once created.
extern TForm1* Form1;

}  // namespace pem
