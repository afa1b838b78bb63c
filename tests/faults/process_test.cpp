// pem2txt as a real process: stopped by real signals in the middle of a run, and writing its
// standard output to a full device.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "dictionary.h"
#include "sandbox.h"

namespace pem::harden {
namespace {

namespace fs = std::filesystem;

// One run of pem2txt with standard output sent to a file and standard error kept.
class Pem2TxtProcess {
 public:
  Pem2TxtProcess(const std::vector<std::string>& args, const std::string& out_file) {
    int err[2];
    if (::pipe(err) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      const int out = ::open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(out, STDOUT_FILENO);
      ::dup2(err[1], STDERR_FILENO);
      ::close(err[0]);
      std::vector<char*> argv{const_cast<char*>(PEMCONV_PEM2TXT)};
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      ::execv(PEMCONV_PEM2TXT, argv.data());
      ::_exit(127);
    }
    ::close(err[1]);
    err_ = err[0];
  }
  ~Pem2TxtProcess() {
    if (pid_ > 0 && status_ < 0) Wait();
  }

  pid_t Pid() const { return pid_; }

  // Waits for the end; gives the wait status.
  int Wait() {
    char buffer[4096];
    for (ssize_t n; (n = ::read(err_, buffer, sizeof buffer)) > 0;) {
      err_text_.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(err_);
    ::waitpid(pid_, &status_, 0);
    return status_;
  }
  const std::string& Err() const { return err_text_; }

 private:
  pid_t pid_ = -1;
  int err_ = -1;
  int status_ = -1;
  std::string err_text_;
};

std::size_t FileCount(const fs::path& root) {
  std::size_t files = 0;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, error);
       it != fs::recursive_directory_iterator(); it.increment(error)) {
    files += it->is_regular_file(error);
  }
  return files;
}

struct SignalCase {
  const char* name;
  int signal;
};

void PrintTo(const SignalCase& c, std::ostream* os) {
  *os << c.name;
}

class InterruptionTest : public ::testing::TestWithParam<SignalCase> {
 protected:
  static void SetUpTestSuite() {
    sandbox_.emplace();
    WriteFile(sandbox_->Source() / "pemri.exe", "");
    GeneratedDictionary(24, 300).WriteTo(sandbox_->Source());
    Pem2TxtProcess full({"-q", sandbox_->Source().string(), sandbox_->Output().string()},
                        "/dev/null");
    ASSERT_EQ(full.Wait(), 0) << full.Err();
    reference_ = Snapshot(sandbox_->Output());
    fs::remove_all(sandbox_->Output());
  }
  static void TearDownTestSuite() {
    reference_.clear();
    sandbox_.reset();
  }

  static inline std::optional<Sandbox> sandbox_;
  static inline Tree reference_;
};

// The signal comes once a good number of entry files exist. The run ends as that signal ends a
// process, says where it stopped, and every file it wrote is whole: the same bytes as in an
// uninterrupted run.
TEST_P(InterruptionTest, StopsBetweenEntriesAndSaysWhere) {
  const fs::path out = sandbox_->Root() / GetParam().name;
  fs::create_directory(out);
  const fs::path stdout_file = sandbox_->Root() / (std::string(GetParam().name) + ".out");
  Pem2TxtProcess run({sandbox_->Source().string(), out.string()}, stdout_file.string());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (FileCount(out) < 300 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_EQ(::kill(run.Pid(), GetParam().signal), 0);
  const int status = run.Wait();

  ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status << ": " << run.Err();
  EXPECT_EQ(WTERMSIG(status), GetParam().signal);
  EXPECT_EQ(ReadFile(stdout_file), "");  // no "finished" line for a run that did not finish
  const Tree written = Snapshot(out);
  std::size_t files = 0;
  for (const auto& [name, bytes] : written) {
    ASSERT_TRUE(reference_.contains(name)) << name;
    EXPECT_EQ(bytes, reference_.at(name)) << name;
    files += bytes.has_value();
  }
  EXPECT_LT(files, 24u * 300u);
  const std::string stopped = "pem2txt: stopped by " + std::string(GetParam().name) + " after " +
                              std::to_string(files) + " entry files and ";
  EXPECT_TRUE(run.Err().starts_with(stopped)) << run.Err();
  EXPECT_NE(run.Err().find("; every file written is complete, the last one is "), std::string::npos)
      << run.Err();
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptionTest,
                         ::testing::Values(SignalCase{"SIGINT", SIGINT},
                                           SignalCase{"SIGTERM", SIGTERM},
                                           SignalCase{"SIGHUP", SIGHUP}),
                         [](const auto& info) { return std::string(info.param.name); });

// What pem2txt has to say cannot be written: the exit status says so.
TEST(FullOutputTest, AFailedWriteOnStandardOutputIsAnError) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  Sandbox sandbox;
  Dictionary{{{"cat", {{"t", "text"}}}}}.WriteTo(sandbox.Source());
  WriteFile(sandbox.Source() / "pemri.exe", "");
  const std::vector<std::string> help{"--help"}, version{"-V"},
      finished_line{sandbox.Source().string(), sandbox.Output().string()};
  for (const auto& args : {help, version, finished_line}) {
    Pem2TxtProcess run(args, "/dev/full");
    const int status = run.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << args[0] << ": " << status;
    EXPECT_EQ(WEXITSTATUS(status), 1) << args[0];
    EXPECT_EQ(run.Err(), "pem2txt: cannot write to standard output\n") << args[0];
  }
}

}  // namespace
}  // namespace pem::harden
