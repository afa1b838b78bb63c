// The requests to stop that pem2txt honours between two entries: SIGINT, SIGTERM and SIGHUP on
// POSIX, Ctrl-C and Ctrl-Break on a Windows console. The handlers only note the request, so that
// the entry being written is finished before the run stops.
#pragma once

namespace pem {

// Installs the handlers for its lifetime and restores the previous ones after.
class InterruptionWatch {
 public:
  InterruptionWatch();
  InterruptionWatch(const InterruptionWatch&) = delete;
  InterruptionWatch& operator=(const InterruptionWatch&) = delete;
  ~InterruptionWatch();
};

// The number of the signal (on Windows: SIGINT) that asked to stop; 0 while none has.
int InterruptionSignal();

// A short description of the signal ("SIGTERM").
const char* SignalName(int signal);

// Ends the process as the signal would have ended it had it not been caught; where that cannot
// be, returns, and the caller exits with 128 + the signal number.
void RaiseAgain(int signal);

}  // namespace pem
