// What a user does and sees, from the test's thread: reading windows, waiting for them, typing
// and answering message boxes.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>

namespace pem::testing {

using namespace std::chrono_literals;

// Polls until the condition holds; false when it did not within the time.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10000ms);

// The screen's dots per inch, and pixels meant at 96 dots per inch on it.
int ScreenDpi();
int AtScreenDpi(int pixels);

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// The window's rectangle in its parent's client coordinates (the screen for a top-level one).
RECT RectInParent(HWND window);
SIZE ClientSize(HWND window);

// The first window that `match` accepts: among the thread's top-level windows, among the
// descendants of `parent`, or among all top-level windows.
HWND FindThreadWindow(DWORD thread, const std::function<bool(HWND)>& match);
HWND FindChildWindow(HWND parent, const std::function<bool(HWND)>& match);
HWND FindTopLevelWindow(const std::function<bool(HWND)>& match);

// The window of the thread that has the keyboard focus.
HWND FocusOf(DWORD thread);
// The first visible dialog (#32770) of the thread, or null.
HWND FindDialog(DWORD thread);
// The child of `parent` whose text is `text`, or null.
HWND FindChildByText(HWND parent, const std::wstring& text);

// Keys pressed and released in order, with the modifiers held around them.
void PressKey(WORD key, std::initializer_list<WORD> modifiers = {});
// Types the characters of the text (letters, digits) one key at a time.
void TypeText(const std::wstring& text);
// A button clicked as a mouse click would (press and release over it).
void Click(HWND button);

struct MessageBoxSeen {
  std::wstring text;
  std::wstring caption;
  HICON icon = nullptr;
  HWND owner = nullptr;
  bool form_enabled = true;
};

// Waits for a message box of the thread, reads it and presses the button (OK, or Yes, No...);
// then waits until it is gone. Returns an empty `caption` when no box came.
MessageBoxSeen AnswerMessageBox(DWORD thread, HWND form, int button = IDOK);

// The system's icons that message boxes show.
HICON ErrorIcon();
HICON InformationIcon();

}  // namespace pem::testing
