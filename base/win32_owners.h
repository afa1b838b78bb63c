// Owners of handles, COM objects and shell memory: move-only, released exactly once, never
// copied. Borrowed handles have types of their own, which release nothing.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <utility>

#include "errors.h"

namespace pem {

// The value a handle type uses for "no handle".
struct NullIsEmpty {
  template <typename Handle>
  static Handle Value() {
    return nullptr;
  }
};
// Kernel calls that report failure with INVALID_HANDLE_VALUE rather than null.
struct InvalidIsEmpty {
  template <typename Handle>
  static Handle Value() {
    return INVALID_HANDLE_VALUE;
  }
};

// A handle closed by `Close` unless it is the empty value.
template <typename Handle, auto Close, typename Empty = NullIsEmpty>
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
  explicit operator bool() const { return handle_ != EmptyValue(); }
  Handle release() { return std::exchange(handle_, EmptyValue()); }
  void reset(Handle handle = EmptyValue()) {
    const Handle previous = std::exchange(handle_, handle);
    if (previous != EmptyValue()) Close(previous);
  }

 private:
  static Handle EmptyValue() { return Empty::template Value<Handle>(); }

  Handle handle_ = EmptyValue();
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
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageList_Destroy>;

// Processes, threads and events.
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandle>;
using UniqueFileHandle = UniqueHandle<HANDLE, CloseHandle, InvalidIsEmpty>;
using UniqueFindHandle = UniqueHandle<HANDLE, FindClose, InvalidIsEmpty>;
using UniqueChangeNotification = UniqueHandle<HANDLE, FindCloseChangeNotification, InvalidIsEmpty>;

// An image list that belongs to someone else (the system image list): never destroyed.
class ImageListRef {
 public:
  ImageListRef() = default;
  explicit ImageListRef(HIMAGELIST list) : list_(list) {}
  HIMAGELIST get() const { return list_; }
  explicit operator bool() const { return list_ != nullptr; }

 private:
  HIMAGELIST list_ = nullptr;
};

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

// A window that does not repaint during the scope; afterwards it repaints as a whole.
class RedrawSuspension {
 public:
  explicit RedrawSuspension(HWND window) : window_(window) {
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
  RedrawSuspension(const RedrawSuspension&) = delete;
  RedrawSuspension& operator=(const RedrawSuspension&) = delete;
  ~RedrawSuspension() {
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }

 private:
  HWND window_;
};

// The hourglass for the scope; the cursor shown before comes back.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  ~WaitCursor() { SetCursor(previous_); }

 private:
  HCURSOR previous_;
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

// OLE for the calling thread; uninitialised only when it succeeded.
class OleInitialization {
 public:
  OleInitialization() : result_(OleInitialize(nullptr)) {}
  OleInitialization(const OleInitialization&) = delete;
  OleInitialization& operator=(const OleInitialization&) = delete;
  ~OleInitialization() {
    if (SUCCEEDED(result_)) OleUninitialize();
  }
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

// A counted reference to a COM object. Moving hands the reference on; a second reference is
// taken only on request (Share, Borrow), so every AddRef is visible where it happens.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(ComPtr&& other) noexcept : pointer_(other.release()) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }

  // A new reference to an object the caller does not own.
  static ComPtr Borrow(Interface* pointer) {
    if (pointer) pointer->AddRef();
    return ComPtr(pointer);
  }
  // Takes over a reference the caller owns.
  static ComPtr Adopt(Interface* pointer) { return ComPtr(pointer); }

  ComPtr Share() const { return Borrow(pointer_); }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For a call that hands out a new reference; releases the current one first.
  Interface** put() {
    reset();
    return &pointer_;
  }
  Interface* release() { return std::exchange(pointer_, nullptr); }
  void reset(Interface* pointer = nullptr) {
    Interface* previous = std::exchange(pointer_, pointer);
    if (previous) previous->Release();
  }

  // The same object seen through another interface.
  template <typename Other>
  HRESULT Query(ComPtr<Other>& out) const {
    if (!pointer_) return E_POINTER;
    return pointer_->QueryInterface(__uuidof(Other), reinterpret_cast<void**>(out.put()));
  }
  // Empty when the object does not offer `Other`.
  template <typename Other>
  ComPtr<Other> Query() const {
    ComPtr<Other> out;
    if (FAILED(Query(out))) out.reset();
    return out;
  }

 private:
  explicit ComPtr(Interface* pointer) : pointer_(pointer) {}

  Interface* pointer_ = nullptr;
};

// The shell's task allocator; obtaining it must succeed.
inline ComPtr<IMalloc> ShellAllocator() {
  ComPtr<IMalloc> allocator;
  const HRESULT status = SHGetMalloc(allocator.put());
  if (FAILED(status)) throw EOleSysError(status);
  if (!allocator) throw EOleSysError(E_POINTER);
  return allocator;
}

// A block handed out by the shell (or taken from its allocator), freed with that allocator.
// `Kind` keeps blocks of the same type but different meaning apart.
template <typename T, typename Kind = void>
class ShellOwned {
 public:
  // Throws EOleSysError when the task allocator cannot be obtained.
  ShellOwned() : allocator_(ShellAllocator()) {}
  explicit ShellOwned(T* pointer) : ShellOwned() { pointer_ = pointer; }
  ShellOwned(ShellOwned&& other) noexcept
      : allocator_(other.allocator_.Share()), pointer_(other.release()) {}
  ShellOwned& operator=(ShellOwned&& other) noexcept {
    if (this != &other) {
      reset();
      allocator_ = other.allocator_.Share();
      pointer_ = other.release();
    }
    return *this;
  }
  ShellOwned(const ShellOwned&) = delete;
  ShellOwned& operator=(const ShellOwned&) = delete;
  ~ShellOwned() { reset(); }

  T* get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For a call that hands out a new block; frees the current one first.
  T** put() {
    reset();
    return &pointer_;
  }
  T* release() { return std::exchange(pointer_, nullptr); }
  void reset(T* pointer = nullptr) {
    T* previous = std::exchange(pointer_, pointer);
    if (previous) allocator_->Free(previous);
  }

 private:
  ComPtr<IMalloc> allocator_;
  T* pointer_ = nullptr;
};

struct AbsoluteKind;
struct ChildKind;

template <typename T>
using ShellMemory = ShellOwned<T>;
// An item-id list relative to the desktop.
using AbsoluteIdList = ShellOwned<ITEMIDLIST, AbsoluteKind>;
// An item-id list relative to some folder (one element or more).
using ChildIdList = ShellOwned<ITEMIDLIST, ChildKind>;

}  // namespace pem
