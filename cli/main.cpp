#include <string>
#include <vector>

#include "interruption.h"
#include "pem2txt.h"

#ifdef _WIN32
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, arg.data(), size, nullptr, nullptr);
    args.push_back(std::move(arg));
  }
  return pem::Pem2Txt(args, pem::StandardConsole());
}
#else
int main(int argc, char** argv) {
  const int status =
      pem::Pem2Txt(std::vector<std::string>(argv + 1, argv + argc), pem::StandardConsole());
  // A run stopped by a signal ends as that signal ends a process, so that a shell sees it.
  if (const int signal = pem::InterruptionSignal(); signal != 0 && status == 128 + signal) {
    pem::RaiseAgain(signal);
  }
  return status;
}
#endif
