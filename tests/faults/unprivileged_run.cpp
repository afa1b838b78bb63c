#include "unprivileged_run.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "recording_host.h"

namespace pem::harden {
namespace {

constexpr uid_t kNobody = 65534;

class Pipe {
 public:
  Pipe() {
    if (::pipe(fds_) != 0) fds_[0] = fds_[1] = -1;
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  bool valid() const { return fds_[0] >= 0; }
  int read_end() const { return fds_[0]; }
  int write_end() const { return fds_[1]; }
  void CloseRead() { Close(fds_[0]); }
  void CloseWrite() { Close(fds_[1]); }

 private:
  static void Close(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
  int fds_[2];
};

// The child's report: length-prefixed texts, which may hold any byte.
void Put(std::string& out, const std::string& text) {
  out += std::to_string(text.size()) + ":" + text;
}

void PutList(std::string& out, const std::vector<std::string>& texts) {
  Put(out, std::to_string(texts.size()));
  for (const std::string& text : texts) Put(out, text);
}

std::string Take(std::string_view& in) {
  const std::size_t colon = in.find(':');
  if (colon == std::string_view::npos) return {};
  const std::size_t length = std::stoul(std::string(in.substr(0, colon)));
  std::string text(in.substr(colon + 1, length));
  in.remove_prefix(std::min(in.size(), colon + 1 + length));
  return text;
}

std::vector<std::string> TakeList(std::string_view& in) {
  std::vector<std::string> texts(std::stoul(Take(in)));
  for (std::string& text : texts) text = Take(in);
  return texts;
}

std::string DropPrivileges() {
  if (::geteuid() != 0) return {};
  if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
    return std::string("cannot become an unprivileged user: ") + std::strerror(errno);
  }
  return {};
}

std::string ChildReport(const std::string& install, const std::string& out) {
  std::string report;
  std::string skip = DropPrivileges();
  if (skip.empty() && !PlatformFileSystem().FolderExists(out)) {
    skip = "the unprivileged user cannot reach the output folder " + out +
           " (is the temporary folder open to every user?)";
  }
  Put(report, skip);
  if (!skip.empty()) return report;
  RecordingHost host(install, out);
  Put(report, std::to_string(static_cast<int>(RunConversion(host))));
  PutList(report, host.Events());
  PutList(report, host.Written());
  return report;
}

[[noreturn]] void RunChild(Pipe& pipe, const std::string& install, const std::string& out) {
  pipe.CloseRead();
  const std::string report = ChildReport(install, out);
  std::size_t done = 0;
  while (done < report.size()) {
    const ssize_t n = ::write(pipe.write_end(), report.data() + done, report.size() - done);
    if (n <= 0) ::_exit(1);
    done += static_cast<std::size_t>(n);
  }
  ::_exit(0);
}

}  // namespace

ChildRun RunUnprivileged(const std::string& install, const std::string& out) {
  ChildRun run;
  Pipe pipe;
  const pid_t child = pipe.valid() ? ::fork() : -1;
  if (child < 0) {
    run.skip = "cannot start a child process";
    return run;
  }
  if (child == 0) RunChild(pipe, install, out);
  pipe.CloseWrite();
  std::string report;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipe.read_end(), buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    report.append(buffer, static_cast<std::size_t>(n));
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    run.failure = "the child run ended abnormally (status " + std::to_string(status) + ")";
    return run;
  }
  std::string_view in = report;
  run.skip = Take(in);
  if (!run.skip.empty()) return run;
  run.outcome = static_cast<RunOutcome>(std::stoi(Take(in)));
  run.events = TakeList(in);
  run.written = TakeList(in);
  return run;
}

}  // namespace pem::harden
