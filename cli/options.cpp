#include "options.h"

namespace pem {
namespace {

// Applies one short option letter; false for a letter that is no option.
bool ApplyShort(char letter, Options& options) {
  switch (letter) {
    case 'q':
      options.quiet = true;
      return true;
    case 'h':
      options.help = true;
      return true;
    case 'V':
      options.version = true;
      return true;
    default:
      return false;
  }
}

void ApplyOption(const std::string& arg, Options& options) {
  if (arg == "--quiet") {
    options.quiet = true;
  } else if (arg == "--help") {
    options.help = true;
  } else if (arg == "--version") {
    options.version = true;
  } else if (arg == "--encoding=cp932" || arg == "--encoding=utf-8") {
    options.utf8_texts = arg.ends_with("utf-8");
  } else if (arg.starts_with("--encoding")) {
    options.error = "bad encoding: " + arg + " (--encoding=cp932 or --encoding=utf-8)";
  } else if (arg.starts_with("--")) {
    options.error = "unknown option: " + arg;
  } else {
    for (std::size_t i = 1; i < arg.size() && options.error.empty(); ++i) {
      if (!ApplyShort(arg[i], options)) {
        options.error = "unknown option: -" + std::string(1, arg[i]);
      }
    }
  }
}

}  // namespace

const char kUsage[] =
    "Usage: pem2txt [options] INSTALL_DIR OUTPUT_DIR\n"
    "Converts the dictionary of the text-dictionary tool installed in INSTALL_DIR (pmridata.ini,\n"
    "dicdata.ini and expdata.ini, beside pemri*.exe) into one .txt file per entry, in one folder\n"
    "per category below OUTPUT_DIR, which must exist.\n"
    "\n"
    "Options:\n"
    "  --encoding=cp932|utf-8\n"
    "                 the entry files' text: code page 932 as the tool keeps it (the default),\n"
    "                 or UTF-8, CR LF kept; bytes with no Unicode form become U+FFFD (with a\n"
    "                 warning)\n"
    "  -q, --quiet    print nothing but errors (no warnings, no progress)\n"
    "  -h, --help     show this help and exit\n"
    "  -V, --version  show the version and exit\n"
    "\n"
    "Exit status: 0 when the conversion succeeded (warnings included), 1 when it ended with an\n"
    "error, 2 for bad usage or a folder that failed its check, 128 + N when signal N stopped it.\n";

Options ParseOptions(const std::vector<std::string>& args) {
  Options options;
  bool operands_only = false;
  for (const std::string& arg : args) {
    if (operands_only || arg.size() < 2 || arg[0] != '-') {
      options.operands.push_back(arg);
    } else if (arg == "--") {
      operands_only = true;
    } else {
      ApplyOption(arg, options);
    }
    if (!options.error.empty()) return options;
  }
  if (!options.help && !options.version && options.operands.size() != 2) {
    options.error = "expected INSTALL_DIR and OUTPUT_DIR";
  }
  return options;
}

}  // namespace pem
