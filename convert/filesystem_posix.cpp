// The file system on POSIX: paths are converted from code page 932 to UTF-8, and a single-byte
// "\" separates components as on Windows. Error codes are given in Windows numbering so that the
// messages are the same on every platform.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "cp932.h"
#include "cp932_convert.h"
#include "file_checks.h"
#include "filesystem.h"
#include "posix_path.h"
#include "system_error.h"

namespace pem {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Linux releases the descriptor even when close is interrupted, so that is no failure.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0 || errno == EINTR; }

 private:
  int fd_;
};

std::uint32_t WindowsErrorCode(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return 3;  // ERROR_PATH_NOT_FOUND
    case EACCES:
    case EPERM:
      return 5;  // ERROR_ACCESS_DENIED
    case EMFILE:
    case ENFILE:
      return 4;  // ERROR_TOO_MANY_OPEN_FILES
    case EROFS:
      return 19;  // ERROR_WRITE_PROTECT
    case ENOSPC:
    case EDQUOT:
      return 112;  // ERROR_DISK_FULL
    case EINVAL:
    case EILSEQ:
      return 123;  // ERROR_INVALID_NAME
    case EEXIST:
      return 183;  // ERROR_ALREADY_EXISTS
    case ENAMETOOLONG:
      return 206;  // ERROR_FILENAME_EXCED_RANGE
    case ELOOP:
      return 1921;  // ERROR_CANT_RESOLVE_FILENAME
    case EIO:
      return 1117;  // ERROR_IO_DEVICE
    default:
      return 0x20000000u | static_cast<std::uint32_t>(error);  // application-defined range
  }
}

// The error number that WindowsErrorCode turns into `code`; the first one where several do.
int PosixError(std::uint32_t code) {
  if (code & 0x20000000u) return static_cast<int>(code & ~0x20000000u);
  for (const int error :
       {ENOENT, EACCES, EMFILE, EROFS, ENOSPC, EINVAL, EEXIST, ENAMETOOLONG, ELOOP, EIO}) {
    if (WindowsErrorCode(error) == code) return error;
  }
  return 0;
}

std::int64_t Nanoseconds(const struct stat& info) {
#if defined(__APPLE__)
  return info.st_mtimespec.tv_sec * 1000000000LL + info.st_mtimespec.tv_nsec;
#else
  return info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
#endif
}

class PosixOutputFile : public OutputFile {
 public:
  explicit PosixOutputFile(int fd) : fd_(fd) {}
  std::size_t Write(std::string_view data) override {
    std::size_t written = 0;
    while (written < data.size()) {
      const ssize_t n = ::write(fd_.get(), data.data() + written, data.size() - written);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      written += static_cast<std::size_t>(n);
    }
    return written;
  }
  bool Close() override { return fd_.Close(); }

 private:
  FileDescriptor fd_;
};

// A file `name` in `folder` exists and is no folder (a link is followed, as a search does).
bool IsFileAt(int folder, const char* name) {
  struct stat info;
  return ::fstatat(folder, name, &info, 0) == 0 && !S_ISDIR(info.st_mode);
}

// A category folder held open, so that each entry file is created by its name alone rather
// than by a whole path that the system would walk again.
class PosixOutputFolder : public OutputFolder {
 public:
  explicit PosixOutputFolder(int fd) : fd_(fd) {}
  std::unique_ptr<OutputFile> CreateNewFile(const std::string& name, bool& exists) override {
    const std::string native = NativePath(name);
    const int fd =
        ::openat(fd_.get(), native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    // A folder of that name is no file: the name stays chosen and the entry fails, as it does
    // where the name is probed first. So does a dangling link, which a probe would follow.
    exists = fd < 0 && errno == EEXIST && IsFileAt(fd_.get(), native.c_str());
    if (fd < 0) return nullptr;
    return std::make_unique<PosixOutputFile>(fd);
  }

 private:
  FileDescriptor fd_;
};

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x >= 'A' && x <= 'Z' ? x - 'A' + 'a' : x) ==
                  (y >= 'A' && y <= 'Z' ? y - 'A' + 'a' : y);
         });
}

// The path of the file that Windows would open for `native`: the name itself when it exists,
// otherwise the first name in its folder (by byte order) that differs only in the letter case
// of ASCII letters, as the data's own platform does not tell them apart.
std::string FoundIgnoringCase(const std::string& native) {
  struct stat info;
  if (::lstat(native.c_str(), &info) == 0 || errno != ENOENT) return native;
  const std::size_t slash = native.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : native.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
  DirectoryStream dir(folder);
  if (dir.get() == nullptr) return native;
  std::string found;
  while (const dirent* entry = ::readdir(dir.get())) {
    if (SameIgnoringAsciiCase(entry->d_name, name) && (found.empty() || entry->d_name < found)) {
      found = entry->d_name;
    }
  }
  if (found.empty()) return native;
  return slash == std::string::npos ? found : folder + found;
}

class PosixFileSystem : public FileSystem {
 public:
  bool FileMatchExists(const std::string& path) override { return FileMatchExistsAt(Native(path)); }

  bool FolderExists(const std::string& path) override { return FolderExistsAt(Native(path)); }

  std::uint32_t CreateFolder(const std::string& path) override {
    return ::mkdir(Native(path).c_str(), 0777) == 0 ? 0 : WindowsErrorCode(errno);
  }

  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override {
    const int fd = ::open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixOutputFile>(fd);
  }

  std::unique_ptr<OutputFile> CreateNewOutputFile(const std::string& path, bool& exists) override {
    const int fd = ::open(Native(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    // A folder of that name is no file: the name stays chosen and the entry fails, as it does
    // where the name is probed first. So does a dangling link, which a probe would follow.
    exists = fd < 0 && errno == EEXIST && FileMatchExists(path);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixOutputFile>(fd);
  }

  std::unique_ptr<OutputFolder> OpenOutputFolder(const std::string& path) override {
    const int fd = ::open(Native(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return FileSystem::OpenOutputFolder(path);
    return std::make_unique<PosixOutputFolder>(fd);
  }

  std::size_t NameByteLimit(const std::string& folder) override {
    const long limit = ::pathconf(Native(folder).c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : kNameMax;
  }

  bool MapFolder(const std::string& text, const std::string& native) override {
    std::string folder_text = text;
    while (folder_text.size() > 1 &&
           (EndsWithChar(folder_text, '\\') || folder_text.back() == '/')) {
      folder_text.pop_back();
    }
    // A "\\" separates folders in the texts, and so it does in the folder given.
    std::string folder_native = native;
    std::replace(folder_native.begin(), folder_native.end(), '\\', '/');
    while (folder_native.size() > 1 && folder_native.back() == '/') folder_native.pop_back();
    for (auto& folder : folders_) {
      if (folder.first == folder_text) {
        folder.second = std::move(folder_native);
        return true;
      }
    }
    folders_.emplace_back(std::move(folder_text), std::move(folder_native));
    return true;
  }

  std::optional<FileStamp> StampOf(const std::string& path) override {
    struct stat info;
    if (::stat(FoundIgnoringCase(Native(path)).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
      return {};
    }
    return FileStamp{static_cast<std::uint64_t>(info.st_size), Nanoseconds(info)};
  }

  std::optional<std::string> ReadWholeFile(const std::string& path, FileStamp& stamp) override {
    FileDescriptor fd(::open(FoundIgnoringCase(Native(path)).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info;
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    stamp = {static_cast<std::uint64_t>(info.st_size), Nanoseconds(info)};
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    // What comes after the size that fstat gave (a file that grew) goes through a small buffer:
    // growing `bytes` to look for the end would copy the whole file.
    char beyond[4096];
    for (;;) {
      const bool full = done == bytes.size();
      const ssize_t n = full ? ::read(fd.get(), beyond, sizeof beyond)
                             : ::read(fd.get(), bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return {};
      if (n == 0) break;
      if (full) bytes.append(beyond, static_cast<std::size_t>(n));
      done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
  }

 private:
  static constexpr std::size_t kNameMax = 255;

  // The native path: a mapped folder at the start (the longest one) is replaced by its own
  // bytes, and the rest is converted from code page 932.
  std::string Native(const std::string& path) const {
    const std::pair<std::string, std::string>* best = nullptr;
    for (const auto& folder : folders_) {
      const std::string& text = folder.first;
      if (!path.starts_with(text) || (best != nullptr && best->first.size() >= text.size())) {
        continue;
      }
      // The root "/" is the one text that keeps its final separator.
      const bool boundary = path.size() == text.size() || path[text.size()] == '\\' ||
                            path[text.size()] == '/' || text == "/";
      if (boundary) best = &folder;
    }
    if (best == nullptr) return NativePath(path);
    return best->second + NativePath(std::string_view(path).substr(best->first.size()));
  }

  std::vector<std::pair<std::string, std::string>> folders_;  // code page 932 text, native
};

}  // namespace

std::string SystemErrorDescription(std::uint32_t code) {
  const int error = PosixError(code);
  return error != 0 ? std::strerror(error) : std::string();
}

FileSystem& PlatformFileSystem() {
  static PosixFileSystem file_system;
  return file_system;
}

std::unique_ptr<FileSystem> NewPlatformFileSystem() {
  return std::make_unique<PosixFileSystem>();
}

}  // namespace pem
