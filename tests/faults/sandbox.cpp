#include "sandbox.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <climits>
#endif

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "cp932.h"
#include "cp932_convert.h"
#include "unique_folder.h"

namespace pem::harden {

Sandbox::Sandbox()
    : root_(pem::testing::MakeUniqueFolder(std::filesystem::temp_directory_path(),
                                           "pemconv-harden-")) {
  std::filesystem::create_directories(Source());
  std::filesystem::create_directories(Output());
  WriteFile(Source() / "pemri.exe", "");
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string Sandbox::SourceText() const {
  return TextOf(Source()) + "\\";
}

std::string Sandbox::OutputText() const {
  return TextOf(Output());
}

void Sandbox::WriteSource(std::string_view name, std::string_view bytes) const {
  WriteFile(Source() / std::string(name), bytes);
}

std::filesystem::path NativeOf(std::string_view cp932) {
  return std::filesystem::path(Cp932ToUtf16(ReplaceChar(cp932, '\\', "/")));
}

std::string TextOf(const std::filesystem::path& path) {
  std::string text;
  Utf16ToCp932(path.u16string(), text, true);
  return text;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

#ifndef _WIN32
// Opens a file by walking its folders one at a time, so that a path longer than the system
// takes whole (PATH_MAX) is still reached, as the conversion reaches it.
int OpenByComponents(const std::filesystem::path& path) {
  int folder = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (auto it = std::next(path.begin()); it != path.end() && folder >= 0; ++it) {
    const bool last = std::next(it) == path.end();
    const int next = ::openat(folder, it->c_str(), O_RDONLY | O_CLOEXEC | (last ? 0 : O_DIRECTORY));
    ::close(folder);
    folder = next;
  }
  return folder;
}
#endif

std::string ReadFile(const std::filesystem::path& path) {
#ifndef _WIN32
  if (path.native().size() >= PATH_MAX && path.is_absolute()) {
    const int fd = OpenByComponents(path);
    std::string contents;
    char buffer[4096];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
      contents.append(buffer, n);
    if (fd >= 0) ::close(fd);
    return contents;
  }
#endif
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

namespace {

// Windows enumerates no folder whose path is longer than MAX_PATH allows (Wine, asked anyway,
// lists some other folder): the snapshot records such a folder but does not look inside.
bool Enumerable(const std::filesystem::path& folder) {
#ifdef _WIN32
  return std::filesystem::absolute(folder).native().size() < 248;
#else
  (void)folder;
  return true;
#endif
}

}  // namespace

Tree Snapshot(const std::filesystem::path& root) {
  Tree tree;
  namespace fs = std::filesystem;
  for (auto it =
           fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied);
       it != fs::recursive_directory_iterator(); ++it) {
    const std::string name = Utf8Of(it->path().lexically_relative(root));
    if (it->is_directory()) {
      tree[name] = std::nullopt;
      if (!Enumerable(it->path())) it.disable_recursion_pending();
    } else {
      tree[name] = ReadFile(it->path());
    }
  }
  return tree;
}

std::vector<std::string> ChangesOutside(const Tree& before, const Tree& after,
                                        std::string_view inside) {
  const std::string prefix = std::string(inside) + "/";
  const auto outside = [&](const std::string& name) {
    return name != inside && name.compare(0, prefix.size(), prefix) != 0;
  };
  std::vector<std::string> changes;
  for (const auto& [name, contents] : after) {
    const auto old = before.find(name);
    if (outside(name) && (old == before.end() || old->second != contents)) changes.push_back(name);
  }
  for (const auto& [name, contents] : before) {
    if (outside(name) && !after.contains(name)) changes.push_back(name);
  }
  return changes;
}

}  // namespace pem::harden
