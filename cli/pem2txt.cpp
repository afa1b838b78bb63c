#include "pem2txt.h"

#include "cli_messages.h"
#include "conversion_run.h"
#include "cp932.h"
#include "cp932_convert.h"
#include "folder_operands.h"
#include "interruption.h"
#include "messages.h"
#include "options.h"
#include "path_error.h"
#include "progress_line.h"
#include "source_check.h"
#include "system_error.h"
#include "utf8_texts.h"
#include "version.h"

namespace pem {
namespace {

// Ends the run between two entries, or between two categories, once a stop has been asked for.
void StopIfInterrupted() {
  if (InterruptionSignal() != 0) throw EAbort();
}

class StoppableProgress : public ProgressLine {
 public:
  using ProgressLine::ProgressLine;
  void StepIt() override {
    ProgressLine::StepIt();
    StopIfInterrupted();
  }
};

// Why a folder failed its check, for the line after the program's own text.
std::string FolderReason(FileSystem& file_system, const std::string& folder, bool install) {
  if (folder.empty()) return "no folder given";
  if (file_system.FolderExists(folder)) return install ? "no pemri*.exe in it" : "";
  return file_system.StampOf(folder) ? "not a folder" : "not found";
}

class CommandLineHost : public ConversionHost {
 public:
  CommandLineHost(Console& console, bool quiet, const FolderOperands& folders,
                  FileSystem& file_system)
      : console_(console),
        quiet_(quiet),
        folders_(folders),
        file_system_(file_system),
        progress_(console, !quiet && console.IsTerminal(Stream::kErr)) {}

  std::string InstallFolderText() override { return folders_.InstallText(); }
  std::string OutputFolderText() override { return folders_.OutText(); }
  // Called with false once both folders have passed their checks, as the run begins.
  void SetControlsEnabled(bool enabled) override {
    if (!enabled && !quiet_) WarnAboutSources();
  }
  void ApplicationMessageBox(const std::string& text, const std::string&, BoxKind kind) override {
    if (kind == BoxKind::kError) {
      Error(folders_.Printable(text) + FolderDetail(text));
    } else if (!quiet_ && InterruptionSignal() == 0) {
      console_.Write(Stream::kOut, folders_.Printable(text) + "\n");
    }
  }
  void ShowExceptionBox(const Exception& error) override {
    if (dynamic_cast<const EAbort*>(&error)) return;
    std::string line = folders_.Printable(WithFinalPeriod(error.Message()));
    if (const auto* io = dynamic_cast<const EInOutError*>(&error)) {
      const std::string description = SystemErrorDescription(io->ErrorCode());
      if (!description.empty()) line += ": " + description;
    }
    if (const auto* at = dynamic_cast<const EInOutErrorAt*>(&error)) {
      line += ": " + folders_.Printable(at->Path());
    }
    Error(line);
  }
  ProgressIndicator& Progress() override { return progress_; }
  void EntryWritten(const std::string& path) override {
    progress_.EntryWritten();
    last_written_ = path;
    StopIfInterrupted();
  }

  void Warn(const SourceWarning& warning) {
    if (quiet_) return;
    progress_.Wipe();
    Error("warning: " + folders_.Printable(folders_.InstallText() + warning.file) + ": " +
          warning.reason);
  }

  // Once per run: entry texts that had bytes with no Unicode form, written as U+FFFD.
  void WarnReplaced(const std::string& first, std::size_t files) {
    if (quiet_) return;
    progress_.Wipe();
    Error("warning: " + folders_.Printable(first) +
          ": bytes with no Unicode form written as U+FFFD (" + std::to_string(files) +
          (files == 1 ? " entry file" : " entry files") + " in all)");
  }

  // The line that says where a stopped run stopped.
  void ReportInterruption(int signal) {
    std::string line = std::string("stopped by ") + SignalName(signal) + " after " +
                       std::to_string(progress_.Entries()) + " entry files and " +
                       std::to_string(progress_.Position()) + " of " +
                       std::to_string(progress_.Total()) + " categories";
    if (!last_written_.empty()) {
      line +=
          "; every file written is complete, the last one is " + folders_.Printable(last_written_);
    }
    Error(line);
  }

 private:
  void Error(const std::string& utf8) { console_.Write(Stream::kErr, "pem2txt: " + utf8 + "\n"); }

  std::string FolderDetail(const std::string& text) {
    std::string given, reason;
    if (text == msg::kToolNotFound) {
      given = folders_.InstallGiven();
      reason = FolderReason(file_system_, folders_.BareInstallText(), true);
    } else if (text == msg::kBadOutputFolder) {
      given = folders_.OutGiven();
      reason = FolderReason(file_system_, folders_.OutText(), false);
    } else {
      return {};
    }
    if (given.empty()) return ": " + reason;
    return ": " + given + (reason.empty() ? "" : ": " + reason);
  }

  void WarnAboutSources() {
    for (const SourceWarning& warning : CheckSources(file_system_, folders_.InstallText())) {
      Warn(warning);
    }
  }

  Console& console_;
  const bool quiet_;
  const FolderOperands& folders_;
  FileSystem& file_system_;
  StoppableProgress progress_;
  std::string last_written_;
};

int RunPem2Txt(const std::vector<std::string>& args, Console& console, FileSystem& file_system) {
  const Options options = ParseOptions(args);
  if (!options.error.empty()) {
    console.Write(Stream::kErr,
                  "pem2txt: " + options.error + "\nTry 'pem2txt --help' for more information.\n");
    return kExitBadUsage;
  }
  if (options.help) {
    console.Write(Stream::kOut, kUsage);
    return kExitSuccess;
  }
  if (options.version) {
    console.Write(Stream::kOut, "pem2txt " PEMCONV_VERSION_TEXT "\n");
    return kExitSuccess;
  }
  FolderOperands folders;
  if (!folders.Prepare(options.operands[0], options.operands[1], file_system)) {
    console.Write(Stream::kErr, "pem2txt: " + Cp932ToUtf8(cli_msg::kFolderNotCp932) + ": " +
                                    folders.Refused() + "\n");
    return kExitBadUsage;
  }
  const InterruptionWatch watch;
  CommandLineHost host(console, options.quiet, folders, file_system);
  SourceReadWatch watched(file_system, folders.InstallText(),
                          [&host](const SourceWarning& warning) { host.Warn(warning); });
  FileSystem& run_files = options.quiet ? file_system : watched;
  Utf8Texts utf8(run_files);
  const RunOutcome outcome = RunConversion(host, options.utf8_texts ? utf8 : run_files);
  if (utf8.Replaced() > 0) host.WarnReplaced(utf8.FirstReplaced(), utf8.Replaced());
  if (const int signal = InterruptionSignal()) {
    host.ReportInterruption(signal);
    return kExitInterrupted + signal;
  }
  switch (outcome) {
    case RunOutcome::kCompleted:
      return kExitSuccess;
    case RunOutcome::kFailed:
      return kExitRunFailed;
    default:
      return kExitBadUsage;
  }
}

}  // namespace

int Pem2Txt(const std::vector<std::string>& args, Console& console, FileSystem& file_system) {
  const int status = RunPem2Txt(args, console, file_system);
  if (!console.Failed(Stream::kOut)) return status;
  console.Write(Stream::kErr, "pem2txt: cannot write to standard output\n");
  return status == kExitSuccess ? kExitRunFailed : status;
}

}  // namespace pem
