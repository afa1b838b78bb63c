// Owners of kernel handles: move-only, closed exactly once.
#pragma once

#include <windows.h>

#include <utility>

namespace pem {

template <typename Traits>
class UniqueWin32Handle {
 public:
  UniqueWin32Handle() = default;
  explicit UniqueWin32Handle(HANDLE handle) : handle_(handle) {}
  UniqueWin32Handle(UniqueWin32Handle&& other) noexcept : handle_(other.release()) {}
  UniqueWin32Handle& operator=(UniqueWin32Handle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueWin32Handle(const UniqueWin32Handle&) = delete;
  UniqueWin32Handle& operator=(const UniqueWin32Handle&) = delete;
  ~UniqueWin32Handle() { reset(); }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  void reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    if (valid()) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

struct FileHandleTraits {
  static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct FindHandleTraits {
  static void Close(HANDLE handle) { FindClose(handle); }
};

using UniqueFileHandle = UniqueWin32Handle<FileHandleTraits>;
using UniqueFindHandle = UniqueWin32Handle<FindHandleTraits>;

}  // namespace pem
