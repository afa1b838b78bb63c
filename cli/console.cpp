#include "console.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace pem {
namespace {

// Writes through the C streams, and remembers a stream on which a write failed.
class StreamConsole : public Console {
 public:
  bool Failed(Stream stream) override { return failed_[Index(stream)]; }

 protected:
  static int Index(Stream stream) { return stream == Stream::kOut ? 0 : 1; }
  void WriteFile(Stream stream, std::string_view utf8) {
    std::FILE* file = stream == Stream::kOut ? stdout : stderr;
    const bool written = std::fwrite(utf8.data(), 1, utf8.size(), file) == utf8.size();
    if (std::fflush(file) != 0 || !written) failed_[Index(stream)] = true;
  }

  bool failed_[2] = {false, false};
};

#ifdef _WIN32
class StdConsole : public StreamConsole {
 public:
  void Write(Stream stream, std::string_view utf8) override {
    if (utf8.empty()) return;
    const HANDLE handle = Handle(stream);
    DWORD mode = 0;
    if (!GetConsoleMode(handle, &mode)) return WriteFile(stream, utf8);
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    DWORD written = 0;
    if (!WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)) {
      failed_[Index(stream)] = true;
    }
  }
  bool IsTerminal(Stream stream) override {
    DWORD mode = 0;
    return GetConsoleMode(Handle(stream), &mode) != 0;
  }

 private:
  static HANDLE Handle(Stream stream) {
    return GetStdHandle(stream == Stream::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  }
};
#else
class StdConsole : public StreamConsole {
 public:
  void Write(Stream stream, std::string_view utf8) override { WriteFile(stream, utf8); }
  bool IsTerminal(Stream stream) override {
    return ::isatty(stream == Stream::kOut ? STDOUT_FILENO : STDERR_FILENO) != 0;
  }
};
#endif

}  // namespace

Console& StandardConsole() {
  static StdConsole console;
  return console;
}

}  // namespace pem
