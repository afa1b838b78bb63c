// The file system on POSIX: paths are converted from code page 932 to UTF-8, and a single-byte
// "\" separates components as on Windows. Error codes are given in Windows numbering so that the
// messages are the same on every platform.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "cp932.h"
#include "cp932_convert.h"
#include "filesystem.h"
#include "posix_path.h"

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

 private:
  int fd_;
};

class DirectoryStream {
 public:
  explicit DirectoryStream(const std::string& path) : dir_(::opendir(path.c_str())) {}
  DirectoryStream(const DirectoryStream&) = delete;
  DirectoryStream& operator=(const DirectoryStream&) = delete;
  ~DirectoryStream() {
    if (dir_ != nullptr) ::closedir(dir_);
  }
  DIR* get() const { return dir_; }

 private:
  DIR* dir_;
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

std::int64_t Nanoseconds(const struct stat& info) {
#if defined(__APPLE__)
  return info.st_mtimespec.tv_sec * 1000000000LL + info.st_mtimespec.tv_nsec;
#else
  return info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
#endif
}

bool IsDirectory(const std::string& folder, const dirent& entry) {
#ifdef DT_DIR
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return entry.d_type == DT_DIR;
#endif
  struct stat info;
  const std::string path = folder + "/" + entry.d_name;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
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

 private:
  FileDescriptor fd_;
};

class PosixFileSystem : public FileSystem {
 public:
  bool FileMatchExists(const std::string& path) override {
    const std::string native = NativePath(path);
    const std::size_t slash = native.rfind('/');
    const std::string pattern = slash == std::string::npos ? native : native.substr(slash + 1);
    if (pattern.find_first_of("*?") == std::string::npos) {
      struct stat info;
      return !native.empty() && ::stat(native.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
    }
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : native.substr(0, slash);
    DirectoryStream dir(folder);
    if (dir.get() == nullptr) return false;
    while (const dirent* entry = ::readdir(dir.get())) {
      if (WildcardMatch(pattern, entry->d_name)) return !IsDirectory(folder, *entry);
    }
    return false;
  }

  bool FolderExists(const std::string& path) override {
    struct stat info;
    return !path.empty() && ::stat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  std::uint32_t CreateFolder(const std::string& path) override {
    return ::mkdir(NativePath(path).c_str(), 0777) == 0 ? 0 : WindowsErrorCode(errno);
  }

  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override {
    const int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixOutputFile>(fd);
  }

  std::unique_ptr<OutputFile> CreateNewOutputFile(const std::string& path, bool& exists) override {
    const int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    // A folder of that name is no file: the name stays chosen and the entry fails, as it does
    // where the name is probed first. So does a dangling link, which a probe would follow.
    exists = fd < 0 && errno == EEXIST && FileMatchExists(path);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixOutputFile>(fd);
  }

  std::optional<FileStamp> StampOf(const std::string& path) override {
    struct stat info;
    if (::stat(NativePath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    return FileStamp{static_cast<std::uint64_t>(info.st_size), Nanoseconds(info)};
  }

  std::optional<std::string> ReadWholeFile(const std::string& path, FileStamp& stamp) override {
    FileDescriptor fd(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
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
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static PosixFileSystem file_system;
  return file_system;
}

}  // namespace pem
