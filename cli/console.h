// Where pem2txt writes: standard output and standard error, in UTF-8.
#pragma once

#include <string_view>

namespace pem {

enum class Stream { kOut, kErr };

class Console {
 public:
  virtual ~Console() = default;
  virtual void Write(Stream stream, std::string_view utf8) = 0;
  virtual bool IsTerminal(Stream stream) = 0;
  // True once a write on the stream has failed (a full disk, a closed pipe).
  virtual bool Failed(Stream stream) {
    (void)stream;
    return false;
  }
};

// The process's own standard streams; on a Windows console the text is written as UTF-16.
Console& StandardConsole();

}  // namespace pem
