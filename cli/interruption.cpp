#include "interruption.h"

#include <atomic>
#include <csignal>

#ifdef _WIN32
#include <windows.h>
#endif

namespace pem {
namespace {

std::atomic<int> requested{0};

#ifdef _WIN32
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  requested.store(SIGINT);
  return TRUE;
}
#else
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous[sizeof kSignals / sizeof kSignals[0]];

extern "C" void OnSignal(int signal) {
  requested.store(signal);
}
#endif

}  // namespace

#ifdef _WIN32
InterruptionWatch::InterruptionWatch() {
  requested.store(0);
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

InterruptionWatch::~InterruptionWatch() {
  SetConsoleCtrlHandler(OnConsoleControl, FALSE);
}

const char* SignalName(int) {
  return "Ctrl-C";
}

void RaiseAgain(int) {}
#else
InterruptionWatch::InterruptionWatch() {
  requested.store(0);
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // Restarted calls: a write into an entry file is never cut short by the request.
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) {
    sigaction(kSignals[i], &action, &previous[i]);
  }
}

InterruptionWatch::~InterruptionWatch() {
  for (std::size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) {
    sigaction(kSignals[i], &previous[i], nullptr);
  }
}

const char* SignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "a signal";
  }
}

void RaiseAgain(int signal) {
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}
#endif

int InterruptionSignal() {
  return requested.load();
}

}  // namespace pem
