#include "recording_host.h"

#include <algorithm>

#include "messages.h"

namespace pem::harden {

RecordingHost::RecordingHost(std::string install, std::string out)
    : install_(std::move(install)), out_(std::move(out)) {}

void RecordingHost::SetControlsEnabled(bool enabled) {
  Log(enabled ? "enable" : "disable");
}

void RecordingHost::ApplicationMessageBox(const std::string& text, const std::string& caption,
                                          BoxKind kind) {
  Log("box " + caption + " " + (kind == BoxKind::kError ? "error" : "information") + " " + text);
}

void RecordingHost::ShowExceptionBox(const Exception& error) {
  error_ = error.Message();
  Log("error " + error.Message());
}

void RecordingHost::SetMin(int value) {
  Log("min " + std::to_string(value));
}

void RecordingHost::SetMax(int value) {
  Log("max " + std::to_string(value));
}

void RecordingHost::SetPosition(int value) {
  Log("position " + std::to_string(value));
}

std::vector<std::string> RecordingHost::FinishingStage() const {
  const auto hide = std::find(events_.rbegin(), events_.rend(), "hide");
  if (hide == events_.rend()) return {};
  return {std::prev(hide.base()), events_.end()};
}

std::vector<std::string> ExpectedFinishingStage(const std::optional<std::string>& error) {
  std::vector<std::string> events = {
      "hide", "enable",
      std::string("box ") + msg::kFinishedCaption + " " + "information" + " " + msg::kFinished};
  if (error) events.push_back("error " + *error);
  return events;
}

}  // namespace pem::harden
