// A throw-away folder tree for whole runs: a source folder with the tool's executable and an
// output folder, nested one level below the sandbox's root so that a name that climbs out of the
// output folder lands where a snapshot of the root sees it.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pem::harden {

class Sandbox {
 public:
  Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;
  ~Sandbox();

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Source() const { return root_ / "box" / "src"; }
  std::filesystem::path Output() const { return root_ / "box" / "out"; }
  // The folder texts as the conversion takes them: code page 932, the source with a final "\".
  std::string SourceText() const;
  std::string OutputText() const;

  void WriteSource(std::string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path root_;
};

// The native path of a code page 932 path text in which "\" separates components.
std::filesystem::path NativeOf(std::string_view cp932);
// The code page 932 text of a native path.
std::string TextOf(const std::filesystem::path& path);

void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);

// The UTF-8 text of a path with "/" between components.
std::string Utf8Of(const std::filesystem::path& path);

// Every file and folder below a root, by relative path as Utf8Of gives it: a file's bytes, none for
// a folder.
using Tree = std::map<std::string, std::optional<std::string>>;
Tree Snapshot(const std::filesystem::path& root);

// The relative paths that are new, changed or gone between two snapshots and do not lie below
// `inside` (a relative path as Utf8Of gives it).
std::vector<std::string> ChangesOutside(const Tree& before, const Tree& after,
                                        std::string_view inside);

}  // namespace pem::harden
