// The file system on Windows: the wide API with paths converted from code page 932, so that names
// are the same whatever the system's ANSI code page is, and handed to the system in their
// long-path form, so that only the file system's own limit on names applies.
#include <windows.h>

#include <utility>
#include <vector>

#include "cp932.h"
#include "file_checks.h"
#include "filesystem.h"
#include "system_error.h"
#include "win32_long_path.h"
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
  bool Close() override { return CloseHandle(file_.release()) != FALSE; }

 private:
  UniqueFileHandle file_;
};

class Win32FileSystem : public FileSystem {
 public:
  bool FileMatchExists(const std::string& path) override { return FileMatchExistsAt(System(path)); }

  bool FolderExists(const std::string& path) override { return FolderExistsAt(System(path)); }

  std::uint32_t CreateFolder(const std::string& path) override {
    return CreateDirectoryW(System(path).c_str(), nullptr) ? 0 : GetLastError();
  }

  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override {
    UniqueFileHandle file(CreateFileW(System(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    return std::make_unique<Win32OutputFile>(std::move(file));
  }

  // One call that checks and creates, so that a file which appears between a search and the
  // creation is never emptied.
  std::unique_ptr<OutputFile> CreateNewOutputFile(const std::string& path, bool& exists) override {
    const std::wstring wide = System(path);
    UniqueFileHandle file(CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD error = static_cast<bool>(file) ? ERROR_SUCCESS : GetLastError();
    // A folder of that name is no file: the name stays chosen and the entry fails, as it does
    // where the name is searched for first.
    exists = (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
              error == ERROR_ACCESS_DENIED) &&
             FileMatchExists(path);
    if (!static_cast<bool>(file)) return nullptr;
    return std::make_unique<Win32OutputFile>(std::move(file));
  }

  // `native` is the folder's path in UTF-8, as it was typed or given.
  bool MapFolder(const std::string& text, const std::string& native) override {
    std::string folder_text = text;
    while (folder_text.size() > 1 && EndsWithChar(folder_text, '\\')) folder_text.pop_back();
    std::wstring folder = WidenUtf8(native);
    while (folder.size() > 1 && folder.back() == L'\\') folder.pop_back();
    for (auto& mapped : folders_) {
      if (mapped.first == folder_text) {
        mapped.second = std::move(folder);
        return true;
      }
    }
    folders_.emplace_back(std::move(folder_text), std::move(folder));
    return true;
  }

  std::optional<FileStamp> StampOf(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(System(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      return {};
    }
    return FileStamp{static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow,
                     Ticks(data.ftLastWriteTime)};
  }

  std::optional<std::string> ReadWholeFile(const std::string& path, FileStamp& stamp) override {
    UniqueFileHandle file(CreateFileW(System(path).c_str(), GENERIC_READ,
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

 private:
  // The system's path: a mapped folder at the start (the longest one) is replaced by its own
  // path, the rest converted from code page 932.
  std::wstring System(const std::string& path) const {
    const std::pair<std::string, std::wstring>* best = nullptr;
    for (const auto& folder : folders_) {
      const std::string& text = folder.first;
      if (!path.starts_with(text) || (best != nullptr && best->first.size() >= text.size())) {
        continue;
      }
      // A drive's root keeps its final separator.
      if (path.size() == text.size() || path[text.size()] == '\\' || EndsWithChar(text, '\\'))
        best = &folder;
    }
    if (best == nullptr) return SystemPathOf(path);
    return LongPathForm(best->second +
                        WidenCp932(std::string_view(path).substr(best->first.size())));
  }

  std::vector<std::pair<std::string, std::wstring>> folders_;  // code page 932 text, own path
};

}  // namespace

std::string SystemErrorDescription(std::uint32_t code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  const std::unique_ptr<wchar_t, decltype(&LocalFree)> owner(text, &LocalFree);
  std::wstring wide(text != nullptr ? text : L"", length);
  while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L'.' ||
                           wide.back() == L' ')) {
    wide.pop_back();
  }
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

FileSystem& PlatformFileSystem() {
  static Win32FileSystem file_system;
  return file_system;
}

std::unique_ptr<FileSystem> NewPlatformFileSystem() {
  return std::make_unique<Win32FileSystem>();
}

}  // namespace pem
