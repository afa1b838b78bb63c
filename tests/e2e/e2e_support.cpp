#include "e2e_support.h"

#include <chrono>
#include <sstream>

#include "capturing_console.h"
#include "pem2txt.h"

namespace pem::testing {
namespace {

std::string Utf8Of(const std::u8string& text) {
  return std::string(text.begin(), text.end());
}

// File contents are code page 932: show printable ASCII as it is and every other byte in hex,
// and only the start of a long file.
std::string Printable(const std::optional<std::string>& bytes) {
  if (!bytes) return "(folder)";
  constexpr std::size_t kShown = 64;
  std::ostringstream text;
  text << bytes->size() << " bytes \"";
  for (std::size_t i = 0; i < bytes->size() && i < kShown; ++i) {
    const auto byte = static_cast<unsigned char>((*bytes)[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      text << static_cast<char>(byte);
    } else {
      static constexpr char kDigits[] = "0123456789ABCDEF";
      text << "\\x" << kDigits[byte >> 4] << kDigits[byte & 15];
    }
  }
  text << (bytes->size() > kShown ? "\"..." : "\"");
  return text.str();
}

}  // namespace

Tree ReadTree(const fs::path& root) {
  Tree tree;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    const std::string name = Utf8Of(entry.path().lexically_relative(root).generic_u8string());
    if (entry.is_directory()) {
      tree[name] = std::nullopt;
    } else {
      tree[name] = ReadBytes(entry.path());
    }
  }
  return tree;
}

std::string TreeDifferences(const Tree& expected, const Tree& actual) {
  std::ostringstream text;
  for (const auto& [name, contents] : expected) {
    const auto found = actual.find(name);
    if (found == actual.end()) {
      text << "missing: " << name << " " << Printable(contents) << "\n";
    } else if (found->second != contents) {
      text << "differs: " << name << "\n  expected " << Printable(contents) << "\n  actual   "
           << Printable(found->second) << "\n";
    }
  }
  for (const auto& [name, contents] : actual) {
    if (!expected.contains(name))
      text << "unexpected: " << name << " " << Printable(contents) << "\n";
  }
  return text.str();
}

std::string Utf8Arg(const fs::path& path) {
  return Utf8Of(path.u8string());
}

std::string NativeSeparator() {
  return std::string(1, static_cast<char>(fs::path::preferred_separator));
}

fs::path SourcePath(const std::string& relative) {
  std::string root = PEMCONV_SOURCE_DIR;
#ifdef _WIN32
  // Under Wine the source tree is a Linux path; Wine shows the Linux root as drive Z:.
  if (root.starts_with('/')) root = "Z:" + root;
#endif
  return fs::path(root) / relative;
}

Tree SampleGolden() {
  return ReadTree(SourcePath("tests/golden/pemuriko"));
}

RunResult RunPem2Txt(const std::vector<std::string>& args, bool terminal) {
  CapturingConsole console(terminal);
  RunResult result;
  result.status = Pem2Txt(args, console, PlatformFileSystem());
  result.out = std::move(console.out);
  result.err = std::move(console.err);
  return result;
}

SourceSnapshot::SourceSnapshot(const fs::path& install) {
  const auto past = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  for (const char* name : {"pmridata.ini", "dicdata.ini", "expdata.ini"}) {
    File file{install / name, std::nullopt, {}};
    if (fs::is_regular_file(file.path)) {
      fs::last_write_time(file.path, past);
      file.bytes = ReadBytes(file.path);
      file.modified = fs::last_write_time(file.path);
    }
    files_.push_back(std::move(file));
  }
}

void SourceSnapshot::ExpectUnchanged() const {
  for (const File& file : files_) {
    const std::string name = Utf8Arg(file.path.filename());
    if (!file.bytes) {
      EXPECT_FALSE(fs::is_regular_file(file.path)) << name << " appeared";
      continue;
    }
    ASSERT_TRUE(fs::exists(file.path)) << name << " vanished";
    EXPECT_TRUE(ReadBytes(file.path) == *file.bytes) << name << " changed its bytes";
    EXPECT_TRUE(fs::last_write_time(file.path) == file.modified)
        << name << " changed its modification time";
  }
}

E2eTest::E2eTest() : install_(temp_.path() / "install"), out_(temp_.path() / "out") {
  fs::create_directories(install_);
  fs::create_directories(out_);
}

void E2eTest::UseSample() {
  fs::copy(SourcePath("samples/pemuriko"), install_, fs::copy_options::recursive);
}

RunResult E2eTest::Run(const std::vector<std::string>& args, bool terminal) {
  if (!sources_) sources_.emplace(install_);
  RunResult result = RunPem2Txt(args, terminal);
  sources_->ExpectUnchanged();
  return result;
}

RunResult E2eTest::Convert(const std::vector<std::string>& options, bool terminal) {
  std::vector<std::string> args = options;
  args.push_back(Utf8Arg(install_));
  args.push_back(Utf8Arg(out_));
  return Run(args, terminal);
}

}  // namespace pem::testing
