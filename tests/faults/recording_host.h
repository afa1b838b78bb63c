// A conversion host that records, in order, everything the run shows and does, so that tests can
// check the finishing stage and where the error comes in it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "conversion_run.h"

namespace pem::harden {

class RecordingHost : public ConversionHost, private ProgressIndicator {
 public:
  RecordingHost(std::string install, std::string out);

  std::string InstallFolderText() override { return install_; }
  std::string OutputFolderText() override { return out_; }
  void SetControlsEnabled(bool enabled) override;
  void ApplicationMessageBox(const std::string& text, const std::string& caption,
                             BoxKind kind) override;
  void ShowExceptionBox(const Exception& error) override;
  ProgressIndicator& Progress() override { return *this; }
  void EntryWritten(const std::string& path) override { written_.push_back(path); }

  // "disable", "min 0", "max 2", "position 0", "show", "step", "hide", "enable",
  // "box <caption> error|information <text>", "error <text>".
  const std::vector<std::string>& Events() const { return events_; }
  // The full path of every entry file, in the order the run wrote them.
  const std::vector<std::string>& Written() const { return written_; }
  // The text of the error that ended the run, if one did.
  std::optional<std::string> Error() const { return error_; }
  // The events from the hiding of the indicator on: the finishing stage and what follows it.
  std::vector<std::string> FinishingStage() const;

 private:
  void SetMin(int value) override;
  void SetMax(int value) override;
  void SetPosition(int value) override;
  void StepIt() override { Log("step"); }
  void SetVisible(bool visible) override { Log(visible ? "show" : "hide"); }
  void Log(std::string event) { events_.push_back(std::move(event)); }

  std::string install_;
  std::string out_;
  std::vector<std::string> events_;
  std::vector<std::string> written_;
  std::optional<std::string> error_;
};

// The events of a finishing stage after a run that ended with `error` (none: without an error).
std::vector<std::string> ExpectedFinishingStage(const std::optional<std::string>& error);

}  // namespace pem::harden
