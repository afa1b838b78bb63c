// Owners of the user interface's handles, COM objects and shell memory: move-only, released
// exactly once, never copied.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>

#include <utility>

namespace pem::gui {

// A handle closed by `Close` unless it is null.
template <typename Handle, BOOL(WINAPI* Close)(Handle)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle release() { return std::exchange(handle_, nullptr); }
  void reset(Handle handle = nullptr) {
    if (handle_) Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

inline BOOL WINAPI DeleteGdiObject(HGDIOBJ object) {
  return DeleteObject(object);
}
template <typename Object>
inline BOOL WINAPI DeleteTypedGdiObject(Object object) {
  return DeleteGdiObject(object);
}

using UniqueWindow = UniqueHandle<HWND, DestroyWindow>;
using UniqueFont = UniqueHandle<HFONT, DeleteTypedGdiObject<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteTypedGdiObject<HBRUSH>>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteTypedGdiObject<HBITMAP>>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueHook = UniqueHandle<HHOOK, UnhookWindowsHookEx>;
using UniqueMemoryDc = UniqueHandle<HDC, DeleteDC>;

// A device context borrowed from a window with GetDC, handed back on destruction.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context until the end of the scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint / EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { BeginPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(window_, &paint_); }
  HDC dc() const { return paint_.hdc; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
};

// COM for the calling thread, single-threaded apartment; uninitialised only when it succeeded.
class ComInitialization {
 public:
  ComInitialization() : result_(CoInitialize(nullptr)) {}
  ComInitialization(const ComInitialization&) = delete;
  ComInitialization& operator=(const ComInitialization&) = delete;
  ~ComInitialization() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

// The process's error mode, changed for the scope and then restored.
class ErrorModeScope {
 public:
  explicit ErrorModeScope(UINT mode) : previous_(SetErrorMode(mode)) {}
  ErrorModeScope(const ErrorModeScope&) = delete;
  ErrorModeScope& operator=(const ErrorModeScope&) = delete;
  ~ErrorModeScope() { SetErrorMode(previous_); }

 private:
  UINT previous_;
};

// A counted reference to a COM object.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
    if (pointer_) pointer_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~ComPtr() {
    if (pointer_) pointer_->Release();
  }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For a call that hands out a new reference; releases the current one first.
  Interface** put() {
    *this = ComPtr();
    return &pointer_;
  }

 private:
  Interface* pointer_ = nullptr;
};

// A block of memory that the shell handed out (or that was taken from its allocator), freed
// with that allocator.
template <typename T>
class ShellMemory {
 public:
  explicit ShellMemory(ComPtr<IMalloc> allocator, T* pointer = nullptr)
      : allocator_(std::move(allocator)), pointer_(pointer) {}
  ShellMemory(ShellMemory&& other) noexcept
      : allocator_(std::move(other.allocator_)), pointer_(std::exchange(other.pointer_, nullptr)) {}
  ShellMemory(const ShellMemory&) = delete;
  ShellMemory& operator=(const ShellMemory&) = delete;
  ShellMemory& operator=(ShellMemory&&) = delete;
  ~ShellMemory() { reset(); }

  T* get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  void reset(T* pointer = nullptr) {
    if (pointer_) allocator_->Free(pointer_);
    pointer_ = pointer;
  }

 private:
  ComPtr<IMalloc> allocator_;
  T* pointer_;
};

}  // namespace pem::gui
