// Huge and damaged source files, converted by pem2txt in a child process: no crash, no hang, and
// a peak resident size under three times the size of the three INI files plus 16 MiB. These take
// minutes and hundreds of megabytes of disk, so they run only with PEMCONV_SLOW_TESTS=1.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <sstream>
#include <thread>

#include "dictionary.h"

extern char** environ;

namespace pem::harden {
namespace {

constexpr auto kTimeLimit = std::chrono::seconds(300);

struct Pem2TxtRun {
  int status = -1;    // the exit status, or -1 when it did not exit normally
  long peak_kib = 0;  // peak resident size
  double seconds = 0;
  bool timed_out = false;
};

// Runs pem2txt under pemconv_peak_memory, in a process group of its own so that a run that
// hangs can be ended whole.
Pem2TxtRun RunPem2Txt(const Sandbox& sandbox) {
  const std::string result = (sandbox.Root() / "peak").string();
  const std::string source = sandbox.Source().string();
  const std::string out = sandbox.Output().string();
  std::vector<std::string> args = {PEMCONV_PEAK_MEMORY, result, PEMCONV_PEM2TXT, "-q", source, out};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  Pem2TxtRun run;
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) return run;
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() - start > kTimeLimit && !run.timed_out) {
      run.timed_out = true;
      kill(-child, SIGKILL);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::istringstream(ReadFile(result)) >> run.status >> run.peak_kib;
  return run;
}

class HugeInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("PEMCONV_SLOW_TESTS") == nullptr) {
      GTEST_SKIP() << "huge inputs run only with PEMCONV_SLOW_TESTS=1 (tools/test-all.sh slow)";
    }
  }

  void Write(const char* name, const std::string& bytes) {
    sandbox_.WriteSource(name, bytes);
    source_bytes_ += bytes.size();
  }

  // Runs pem2txt and checks that it ended in time, with the expected status, within the bound.
  void Convert(int expected_status) {
    const Pem2TxtRun run = RunPem2Txt(sandbox_);
    const long bound_kib = static_cast<long>(3 * source_bytes_ / 1024) + 16 * 1024;
    RecordProperty("source_bytes", std::to_string(source_bytes_));
    RecordProperty("peak_kib", std::to_string(run.peak_kib));
    std::printf("  %zu source bytes: %.1f s, peak %ld KiB (bound %ld KiB)\n", source_bytes_,
                run.seconds, run.peak_kib, bound_kib);
    EXPECT_FALSE(run.timed_out) << "pem2txt still ran after " << kTimeLimit.count() << " s";
    EXPECT_EQ(run.status, expected_status);
    EXPECT_LT(run.peak_kib, bound_kib);
  }

  std::string Output(const std::string& relative) const {
    return ReadFile(sandbox_.Output() / relative);
  }

  Sandbox sandbox_;
  std::size_t source_bytes_ = 0;
};

std::string Garbage(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

std::string Text(int category, int key) {
  std::string text = "text of " + std::to_string(category) + "/" + std::to_string(key) + " ";
  text.resize(95, 'x');
  return text;
}

// A thousand sections of a thousand keys each (100 MB): keys listed from the highest down, so
// that the three read from each section are its last.
TEST_F(HugeInputTest, AHundredMegabytesWithAMillionKeys) {
  std::string categories = "[ItemData]\r\nCount=1000\r\n";
  std::string texts, titles;
  texts.reserve(105 << 20);
  for (int i = 0; i < 1000; ++i) {
    categories += std::to_string(i) + "=c" + std::to_string(i) + "\r\n";
    texts += "[DicData" + std::to_string(i) + "]\r\nCount=3\r\n";
    for (int j = 999; j >= 0; --j) texts += std::to_string(j) + "=" + Text(i, j) + "\r\n";
    titles += "[DicExpData" + std::to_string(i) + "]\r\n0=t0\r\n1=t1\r\n2=t2\r\n";
  }
  Write("pmridata.ini", categories);
  Write("dicdata.ini", texts);
  Write("expdata.ini", titles);
  Convert(0);
  for (int i = 0; i < 1000; ++i) {
    for (int j = 0; j < 3; ++j) {
      const std::string file = "c" + std::to_string(i) + "/t" + std::to_string(j) + ".txt";
      ASSERT_EQ(Output(file), Text(i, j) + "\r\n") << file;
    }
  }
}

TEST_F(HugeInputTest, ASingleLineOfTenMegabytes) {
  const std::string line(10 << 20, 'a');
  Write("pmridata.ini", "[ItemData]\r\nCount=1\r\n0=c\r\n");
  Write("dicdata.ini",
        "[" + line + "\r\n" + line + "\r\n[DicData0]\r\nCount=2\r\n0=" + line + "\r\n1=short\r\n");
  Write("expdata.ini", "[DicExpData0]\r\n0=t0\r\n1=t1\r\n");
  Convert(0);
  EXPECT_EQ(Output("c/t0.txt"), std::string(2047, 'a') + "\r\n");
  EXPECT_EQ(Output("c/t1.txt"), "short\r\n");
}

// Ten megabytes of random bytes (NULs and lone lead bytes among them) before a small dictionary,
// and a file whose last byte is a lead byte.
TEST_F(HugeInputTest, TenMegabytesOfBinaryGarbage) {
  const Dictionary dictionary = GeneratedDictionary(4, 5);
  Write("pmridata.ini", Garbage(10 << 20, 1) + "\r\n" + dictionary.CategoriesIni());
  Write("dicdata.ini", Garbage(10 << 20, 2) + "\r\n" + dictionary.TextsIni() + "9=x\x81");
  Write("expdata.ini", Garbage(10 << 20, 3) + "\r\n" + dictionary.TitlesIni() + "\x81");
  Convert(0);
  Sandbox clean;
  dictionary.WriteTo(clean.Source());
  clean.WriteSource("pemri.exe", "");
  const Pem2TxtRun reference = RunPem2Txt(clean);
  ASSERT_EQ(reference.status, 0);
  EXPECT_EQ(Snapshot(sandbox_.Output()), Snapshot(clean.Output()));
}

// A UTF-16 file is converted to code page 932 in memory before it is parsed.
TEST_F(HugeInputTest, FiftyMegabytesOfUtf16) {
  std::string ascii = "[DicData0]\r\nCount=2\r\n";
  for (int j = 499999; j >= 0; --j) {
    ascii += std::to_string(j) + "=" + Text(0, j).substr(0, 40) + "\r\n";
  }
  std::string utf16 = "\xFF\xFE";
  utf16.reserve(ascii.size() * 2 + 2);
  for (char c : ascii) utf16 += std::string{c, '\0'};
  Write("pmridata.ini", "[ItemData]\r\nCount=1\r\n0=c\r\n");
  Write("dicdata.ini", utf16);
  Write("expdata.ini", "[DicExpData0]\r\n0=t0\r\n1=t1\r\n");
  Convert(0);
  EXPECT_EQ(Output("c/t1.txt"), Text(0, 1).substr(0, 40) + "\r\n");
}

}  // namespace
}  // namespace pem::harden
