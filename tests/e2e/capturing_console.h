// A console that keeps what pem2txt writes, so that a test can read it byte for byte.
#pragma once

#include <string>
#include <string_view>

#include "console.h"

namespace pem::testing {

class CapturingConsole : public Console {
 public:
  explicit CapturingConsole(bool terminal) : terminal_(terminal) {}

  void Write(Stream stream, std::string_view utf8) override {
    (stream == Stream::kOut ? out : err).append(utf8);
  }
  bool IsTerminal(Stream) override { return terminal_; }

  std::string out;
  std::string err;

 private:
  const bool terminal_;
};

}  // namespace pem::testing
