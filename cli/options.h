// The command line of pem2txt.
#pragma once

#include <string>
#include <vector>

namespace pem {

struct Options {
  bool quiet = false;
  bool help = false;
  bool version = false;
  bool utf8_texts = false;  // --encoding=utf-8: entry files in UTF-8, not code page 932
  std::vector<std::string> operands;
  std::string error;  // what is wrong with the command line; empty when nothing is
};

// Reads the arguments (without the program name): long options, short options alone or combined
// ("-qV"), "--" before operands that begin with "-", and "-" alone as an operand.
Options ParseOptions(const std::vector<std::string>& args);

// The whole help text.
extern const char kUsage[];

}  // namespace pem
