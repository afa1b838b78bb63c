#include "pem2txt.h"

#include <algorithm>
#include <chrono>

#include "conversion_run.h"
#include "cp932.h"
#include "cp932_convert.h"
#include "version.h"

namespace pem {
namespace {

constexpr char kUsage[] =
    "Usage: pem2txt [options] INSTALL_DIR OUTPUT_DIR\n"
    "Converts the dictionary of the text-dictionary tool installed in INSTALL_DIR (pmridata.ini,\n"
    "dicdata.ini and expdata.ini, beside pemri*.exe) into one .txt file per entry, in one folder\n"
    "per category below OUTPUT_DIR, which must exist.\n"
    "\n"
    "Options:\n"
    "  -q, --quiet    print nothing but errors\n"
    "  -h, --help     show this help and exit\n"
    "  -V, --version  show the version and exit\n"
    "\n"
    "Exit status: 0 when the conversion succeeded, 1 when it ended with an error,\n"
    "2 for bad usage or a folder that failed its check.\n";

struct Options {
  bool quiet = false;
  bool help = false;
  bool version = false;
  std::vector<std::string> operands;
  std::string error;
};

Options ParseOptions(const std::vector<std::string>& args) {
  Options options;
  bool operands_only = false;
  for (const std::string& arg : args) {
    if (operands_only || arg.size() < 2 || arg[0] != '-') {
      options.operands.push_back(arg);
    } else if (arg == "--") {
      operands_only = true;
    } else if (arg == "-q" || arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (arg == "-V" || arg == "--version") {
      options.version = true;
    } else {
      options.error = "unknown option: " + arg;
    }
  }
  if (options.error.empty() && !options.help && !options.version && options.operands.size() != 2) {
    options.error = "expected INSTALL_DIR and OUTPUT_DIR";
  }
  return options;
}

// Redraws one status line on a terminal: categories done of all, entries written.
class ProgressLine : public ProgressIndicator {
 public:
  ProgressLine(Console& console, bool enabled) : console_(console), enabled_(enabled) {}

  void SetMin(int value) override { min_ = value; }
  void SetMax(int value) override { max_ = value; }
  void SetPosition(int value) override {
    position_ = value;
    Draw(true);
  }
  void StepIt() override {
    ++position_;
    Draw(true);
  }
  void SetVisible(bool visible) override {
    if (!visible && width_ > 0) {
      std::string blank(width_ + 2, ' ');
      blank.front() = blank.back() = '\r';
      console_.Write(Stream::kErr, blank);
    }
    visible_ = visible;
    Draw(true);
  }
  void EntryWritten() {
    ++entries_;
    Draw(false);
  }

 private:
  void Draw(bool now) {
    if (!enabled_ || !visible_) return;
    const auto time = std::chrono::steady_clock::now();
    if (!now && time - last_ < std::chrono::milliseconds(100)) return;
    last_ = time;
    const int total = max_ - min_ + 1;
    const int done = std::min(position_ - min_, total);
    constexpr int kWidth = 30;
    const int filled = total > 0 ? done * kWidth / total : 0;
    std::string line = "\r[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] " +
                       std::to_string(done) + "/" + std::to_string(total) + " categories, " +
                       std::to_string(entries_) + " entries";
    // Plain blanks rather than terminal escapes, which not every Windows console takes.
    const std::size_t width = line.size() - 1;
    if (width < width_) line += std::string(width_ - width, ' ');
    width_ = std::max(width_, width);
    console_.Write(Stream::kErr, line);
  }

  Console& console_;
  const bool enabled_;
  bool visible_ = false;
  std::size_t width_ = 0;  // of the widest line drawn, without its "\r"
  int min_ = 0, max_ = 0, position_ = 0;
  long long entries_ = 0;
  std::chrono::steady_clock::time_point last_{};
};

class CommandLineHost : public ConversionHost {
 public:
  CommandLineHost(Console& console, bool quiet, std::string install, std::string out)
      : console_(console),
        quiet_(quiet),
        install_(std::move(install)),
        out_(std::move(out)),
        progress_(console, !quiet && console.IsTerminal(Stream::kErr)) {}

  std::string InstallFolderText() override { return install_; }
  std::string OutputFolderText() override { return out_; }
  void SetControlsEnabled(bool) override {}
  void ApplicationMessageBox(const std::string& text, const std::string&, BoxKind kind) override {
    if (kind == BoxKind::kError) {
      console_.Write(Stream::kErr, "pem2txt: " + Cp932ToUtf8(text) + "\n");
    } else if (!quiet_) {
      console_.Write(Stream::kOut, Cp932ToUtf8(text) + "\n");
    }
  }
  void ShowExceptionBox(const Exception& error) override {
    if (dynamic_cast<const EAbort*>(&error)) return;
    console_.Write(Stream::kErr,
                   "pem2txt: " + Cp932ToUtf8(WithFinalPeriod(error.Message())) + "\n");
  }
  ProgressIndicator& Progress() override { return progress_; }
  void EntryWritten(const std::string&) override { progress_.EntryWritten(); }

 private:
  Console& console_;
  const bool quiet_;
  const std::string install_;
  const std::string out_;
  ProgressLine progress_;
};

// The installation folder as a prefix: a separator is added unless the text ends with one.
std::string InstallPrefix(std::string folder) {
  if (!EndsWithChar(folder, '\\') && !EndsWithChar(folder, '/')) folder += '\\';
  return folder;
}

}  // namespace

int Pem2Txt(const std::vector<std::string>& args, Console& console, FileSystem& file_system) {
  const Options options = ParseOptions(args);
  if (!options.error.empty()) {
    console.Write(Stream::kErr, "pem2txt: " + options.error + "\n" + kUsage);
    return kExitBadUsage;
  }
  if (options.help) {
    console.Write(Stream::kOut, kUsage);
    return kExitSuccess;
  }
  if (options.version) {
    console.Write(Stream::kOut, "pem2txt " PEMCONV_VERSION_TEXT "\n");
    return kExitSuccess;
  }
  std::string install, out;
  if (!Utf8ToCp932(options.operands[0], install, true) ||
      !Utf8ToCp932(options.operands[1], out, true)) {
    console.Write(Stream::kErr, "pem2txt: folder names must be representable in code page 932\n");
    return kExitBadUsage;
  }
  CommandLineHost host(console, options.quiet, InstallPrefix(install), out);
  switch (RunConversion(host, file_system)) {
    case RunOutcome::kCompleted:
      return kExitSuccess;
    case RunOutcome::kFailed:
      return kExitRunFailed;
    default:
      return kExitBadUsage;
  }
}

}  // namespace pem
