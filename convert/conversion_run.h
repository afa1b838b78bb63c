// One conversion of the dictionary tool's data into text files, driven by a host (the main
// window, or the command line) that supplies the folder texts and shows what happens.
#pragma once

#include <string>

#include "file_errors.h"
#include "filesystem.h"

namespace pem {

// The kind of message box: it chooses the box's icon, or where a console writes the text.
enum class BoxKind { kError, kInformation };

// What the installation folder must hold: ぺむりこ's executable.
inline constexpr char kToolExecutablePattern[] = "pemri*.exe";

// The progress indicator of the host: one step per category.
class ProgressIndicator {
 public:
  virtual ~ProgressIndicator() = default;
  virtual void SetMin(int value) = 0;
  virtual void SetMax(int value) = 0;
  virtual void SetPosition(int value) = 0;
  virtual void StepIt() = 0;
  virtual void SetVisible(bool visible) = 0;
};

class ConversionHost {
 public:
  virtual ~ConversionHost() = default;
  // The installation folder text: a prefix to which the tool's file names are appended.
  virtual std::string InstallFolderText() = 0;
  // The output folder text: a "\" is inserted between it and every name below it.
  virtual std::string OutputFolderText() = 0;
  virtual void SetControlsEnabled(bool enabled) = 0;
  // Shows a message with an OK button and waits until it is closed.
  virtual void ApplicationMessageBox(const std::string& text, const std::string& caption,
                                     BoxKind kind) = 0;
  // The general error display, for an error that ended the run.
  virtual void ShowExceptionBox(const Exception& error) = 0;
  virtual ProgressIndicator& Progress() = 0;
  // Called after each entry file is written, with its full path.
  virtual void EntryWritten(const std::string& path) { (void)path; }
  // Called after each entry and each category while the run works, so that a host with a window
  // can keep it painted and answering the system; nothing done here may change the run. Called
  // often: a host that does something costly here looks at a clock first.
  virtual void BetweenEntries() {}
};

enum class RunOutcome {
  kToolNotFound,     // the installation check failed; nothing happened
  kBadOutputFolder,  // the output check failed; nothing happened
  kCompleted,        // every category converted
  kFailed,           // an error ended the run after the finishing stage
};

// Runs one conversion from start to end: checks both folders, writes one folder per category
// and one file per entry, then the finishing stage (indicator hidden, controls enabled,
// "終了しました"), and then the error that ended the run, if any, through ShowExceptionBox.
RunOutcome RunConversion(ConversionHost& host, FileSystem& file_system = PlatformFileSystem());

}  // namespace pem
