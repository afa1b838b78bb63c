// Whole runs in a child process with the identity of an unprivileged user, for faults that need
// permission bits to hold: root ignores them, and the tests run as root here and in CI.
#pragma once

#include <string>
#include <vector>

#include "conversion_run.h"

namespace pem::harden {

struct ChildRun {
  std::string skip;     // why the run could not be made; empty when it was
  std::string failure;  // how the child ended abnormally; empty when it reported
  RunOutcome outcome = RunOutcome::kFailed;
  std::vector<std::string> events;   // as RecordingHost records them
  std::vector<std::string> written;  // full paths of the entry files
};

// Runs the conversion of `install` into `out` in a forked child that, when this process is
// root, first becomes user and group 65534 (nobody) with no supplementary groups.
ChildRun RunUnprivileged(const std::string& install, const std::string& out);

}  // namespace pem::harden
