// The file system on Windows: the wide API with paths converted from code page 932, so that names
// are the same whatever the system's ANSI code page is.
#include <windows.h>

#include "filesystem.h"
#include "win32_owners.h"
#include "win32_text.h"

namespace pem {
namespace {

std::int64_t Ticks(const FILETIME& time) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(time.dwHighDateTime) << 32 |
                                   time.dwLowDateTime);
}

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(UniqueFileHandle file) : file_(std::move(file)) {}
  std::size_t Write(std::string_view data) override {
    DWORD written = 0;
    if (!WriteFile(file_.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr)) {
      return 0;
    }
    return written;
  }

 private:
  UniqueFileHandle file_;
};

class Win32FileSystem : public FileSystem {
 public:
  bool FileMatchExists(const std::string& path) override {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW(WidenCp932(path).c_str(), &data));
    return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  bool FolderExists(const std::string& path) override {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(WidenCp932(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  std::uint32_t CreateFolder(const std::string& path) override {
    return CreateDirectoryW(WidenCp932(path).c_str(), nullptr) ? 0 : GetLastError();
  }

  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override {
    UniqueFileHandle file(CreateFileW(WidenCp932(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    return std::make_unique<Win32OutputFile>(std::move(file));
  }

  std::optional<FileStamp> StampOf(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(WidenCp932(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      return {};
    }
    return FileStamp{static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow,
                     Ticks(data.ftLastWriteTime)};
  }

  std::optional<std::string> ReadWholeFile(const std::string& path, FileStamp& stamp) override {
    UniqueFileHandle file(CreateFileW(WidenCp932(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      return {};
    }
    stamp = {static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow,
             Ticks(info.ftLastWriteTime)};
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(stamp.size));
    char buffer[1 << 16];
    for (;;) {
      DWORD read = 0;
      if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return {};
      if (read == 0) break;
      bytes.append(buffer, read);
    }
    return bytes;
  }
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static Win32FileSystem file_system;
  return file_system;
}

}  // namespace pem
