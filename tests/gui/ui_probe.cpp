#include "ui_probe.h"

#include <thread>
#include <vector>

#include "win32_owners.h"

namespace pem::testing {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

int ScreenDpi() {
  const WindowDc screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

int AtScreenDpi(int pixels) {
  return MulDiv(pixels, ScreenDpi(), 96);
}

std::wstring WindowText(HWND window) {
  // Asked of the window itself: GetWindowText cannot read an edit of another process.
  const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

RECT RectInParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  if (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right, rect.bottom};
}

HWND FocusOf(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

namespace {

struct Search {
  const std::function<bool(HWND)>& match;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  if (!search.match(window)) return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

HWND FindThreadWindow(DWORD thread, const std::function<bool(HWND)>& match) {
  Search search{match};
  EnumThreadWindows(thread, MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChildWindow(HWND parent, const std::function<bool(HWND)>& match) {
  Search search{match};
  EnumChildWindows(parent, MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindTopLevelWindow(const std::function<bool(HWND)>& match) {
  Search search{match};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindDialog(DWORD thread) {
  return FindThreadWindow(thread, [](HWND window) {
    return IsWindowVisible(window) && ClassName(window) == L"#32770";
  });
}

HWND FindChildByText(HWND parent, const std::wstring& text) {
  return FindChildWindow(parent, [&](HWND window) { return WindowText(window) == text; });
}

namespace {

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

HWND FindIconStatic(HWND box) {
  return FindChildWindow(box, [](HWND window) {
    return ClassName(window) == L"Static" &&
           (GetWindowLongW(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
  });
}

}  // namespace

void PressKey(WORD key, std::initializer_list<WORD> modifiers) {
  std::vector<INPUT> inputs;
  for (const WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, false));
  inputs.push_back(KeyInput(key, false));
  inputs.push_back(KeyInput(key, true));
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
    inputs.push_back(KeyInput(*it, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
  for (const wchar_t character : text) {
    const SHORT key = VkKeyScanW(character);
    if (HIBYTE(key) & 1)
      PressKey(LOBYTE(key), {VK_SHIFT});
    else
      PressKey(LOBYTE(key));
  }
}

void Click(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
}

MessageBoxSeen AnswerMessageBox(DWORD thread, HWND form, int button) {
  MessageBoxSeen seen;
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = FindDialog(thread)) != nullptr; })) return seen;
  const HWND pressed = GetDlgItem(box, button);
  WaitUntil([&] { return IsWindowVisible(pressed) != FALSE; });
  seen.text = WindowText(GetDlgItem(box, 0xFFFF));
  seen.caption = WindowText(box);
  if (const HWND icon = FindIconStatic(box))
    seen.icon = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
  seen.owner = GetWindow(box, GW_OWNER);
  seen.form_enabled = IsWindowEnabled(form) != FALSE;
  PostMessageW(pressed, BM_CLICK, 0, 0);
  WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); });
  return seen;
}

HICON ErrorIcon() {
  return LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_HAND));
}

HICON InformationIcon() {
  return LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_ASTERISK));
}

}  // namespace pem::testing
