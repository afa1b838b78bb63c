// A conversion of several seconds started from the main window: all through it the window answers
// what is sent to it and repaints what was covered, while no click or key has any effect, during
// the run or after it.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "app_driver.h"
#include "dictionary_fixture.h"
#include "mouse_input.h"
#include "table_row.h"
#include "ui_probe.h"

namespace pem::testing {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCategories = 6;
constexpr int kEntries = 700;  // per category: several seconds under Wine
constexpr auto kLongestRun = 60s;

// The three INI files of kCategories categories of kEntries entries each.
DictionaryFixture LongDictionary() {
  std::string categories = "[ItemData]\r\nCount=" + std::to_string(kCategories) + "\r\n";
  std::string texts, titles;
  for (int c = 0; c < kCategories; ++c) {
    const std::string n = std::to_string(c);
    categories += n + "=c" + n + "\r\n";
    texts += "[DicData" + n + "]\r\nCount=" + std::to_string(kEntries) + "\r\n";
    titles += "[DicExpData" + n + "]\r\n";
    for (int e = 0; e < kEntries; ++e) {
      texts += std::to_string(e) + "=text\r\n";
      titles += std::to_string(e) + "=t" + std::to_string(e) + "\r\n";
    }
  }
  return DictionaryFixture(categories, texts, titles);
}

// Types both folders and clicks OK; true once the run shows its progress.
bool StartRun(const RunningApp& app, const DictionaryFixture& fixture) {
  const MainWindowHandles& w = app.Windows();
  SetWindowTextW(w.edit1, fixture.InstallText().c_str());
  SetWindowTextW(w.edit2, fixture.OutText().c_str());
  Click(w.button2);
  return WaitUntil([&] { return IsWindowVisible(w.progress_bar1) != FALSE; });
}

POINT CentreOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// True while the run has not reached its last category, and so cannot end within the next moment.
bool WellInsideTheRun(const RunningApp& app) {
  return SendMessageW(app.Windows().progress_bar1, PBM_GETPOS, 0, 0) < kCategories - 1 &&
         !FindDialog(app.Thread());
}

// How long the window takes to answer a message sent to it.
Clock::duration ReplyTime(HWND window) {
  const auto start = Clock::now();
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
  return Clock::now() - start;
}

constexpr COLORREF kCover = RGB(255, 0, 255);

// Covers the window with a window of the test's own, painted in kCover, and takes it away again.
void CoverAndUncover(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const HWND cover =
      CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP | WS_VISIBLE,
                      rect.left - 4, rect.top - 4, rect.right - rect.left + 8,
                      rect.bottom - rect.top + 8, nullptr, nullptr, nullptr, nullptr);
  const HDC dc = GetDC(cover);
  const HBRUSH brush = CreateSolidBrush(kCover);
  const RECT all{0, 0, rect.right - rect.left + 8, rect.bottom - rect.top + 8};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  ReleaseDC(cover, dc);
  GdiFlush();
  Sleep(50);
  DestroyWindow(cover);
}

bool ShowsCover(HWND window) {
  const POINT centre = CentreOf(window);
  const HDC screen = GetDC(nullptr);
  const COLORREF seen = GetPixel(screen, centre.x, centre.y);
  ReleaseDC(nullptr, screen);
  return seen == kCover;
}

// What a user or another program does during the run.
struct Input : Row {
  std::function<void(const MainWindowHandles&)> send;
};

const Input kInputs[] = {
    {{"AltF4"}, [](const MainWindowHandles&) { PressKey(VK_F4, {VK_MENU}); }},
    {{"Escape"}, [](const MainWindowHandles&) { PressKey(VK_ESCAPE); }},
    {{"AltC"}, [](const MainWindowHandles&) { PressKey('C', {VK_MENU}); }},
    {{"AltO"}, [](const MainWindowHandles&) { PressKey('O', {VK_MENU}); }},
    {{"MouseOnCancel"}, [](const MainWindowHandles& w) { ClickAt(CentreOf(w.button3)); }},
    {{"MouseOnEdit2"}, [](const MainWindowHandles& w) { ClickAt(CentreOf(w.edit2)); }},
    {{"TypedX"}, [](const MainWindowHandles&) { TypeText(L"x"); }},
    {{"PostedClickOnCancel"}, [](const MainWindowHandles& w) { Click(w.button3); }},
    {{"PostedClickOnOk"}, [](const MainWindowHandles& w) { Click(w.button2); }},
    {{"PostedCharInEdit1"},
     [](const MainWindowHandles& w) { PostMessageW(w.edit1, WM_CHAR, 'x', 0); }},
};

TEST(LongRun, AnswersAndRepaintsAllThroughAndTakesNoInput) {
  const DictionaryFixture fixture = LongDictionary();
  RunningApp app;
  const MainWindowHandles& w = app.Windows();
  const auto start = Clock::now();
  ASSERT_TRUE(StartRun(app, fixture));

  Clock::duration slowest{};
  std::size_t sent = 0;
  int uncovered = 0, repainted = 0;
  while (!FindDialog(app.Thread()) && Clock::now() - start < kLongestRun) {
    slowest = std::max(slowest, ReplyTime(w.form));
    if (!WellInsideTheRun(app)) continue;
    if (sent < std::size(kInputs)) {
      kInputs[sent++].send(w);
    } else if (uncovered < 3) {
      CoverAndUncover(w.progress_bar1);
      ++uncovered;
      if (WaitUntil([&] { return !ShowsCover(w.progress_bar1); }, 500ms)) ++repainted;
    }
    Sleep(20);
  }

  const MessageBoxSeen box = AnswerMessageBox(app.Thread(), w.form);
  EXPECT_EQ(box.text, L"終了しました");
  EXPECT_LT(slowest, 500ms);
  // Its length in seconds is no measure (under 2 s to over 15 s with the machine's load): the
  // run was long enough when every input and every cover came before its last category.
  EXPECT_EQ(sent, std::size(kInputs)) << "the run ended before every input was sent";
  EXPECT_EQ(uncovered, 3);
  EXPECT_EQ(repainted, uncovered);
  // Nothing that came during the run acts after it: no second run, no close, no typed text.
  Sleep(500);
  EXPECT_EQ(FindDialog(app.Thread()), nullptr);
  EXPECT_FALSE(app.Ended());
  EXPECT_EQ(WindowText(w.edit1), fixture.InstallText());
  EXPECT_EQ(WindowText(w.edit2), fixture.OutText());
  EXPECT_FALSE(std::filesystem::exists(fixture.Out() / "c0" / "t01.txt"));
}

// A close that another program or the system asks for during the run comes once the run is
// over; the end of the session, which would end the process between entries, is refused then.
TEST(LongRun, CloseAskedDuringTheRunClosesTheWindowAfterIt) {
  const struct {
    const char* what;
    UINT message;
    LPARAM lparam;
  } cases[] = {{"close", WM_CLOSE, 0},
               {"sign-out", WM_QUERYENDSESSION, static_cast<LPARAM>(ENDSESSION_LOGOFF)}};
  for (const auto& c : cases) {
    const DictionaryFixture fixture = LongDictionary();
    RunningApp app;
    const MainWindowHandles& w = app.Windows();
    ASSERT_TRUE(StartRun(app, fixture)) << c.what;

    EXPECT_EQ(SendMessageW(w.form, c.message, 0, c.lparam), 0) << c.what;
    EXPECT_TRUE(WellInsideTheRun(app)) << c.what;
    EXPECT_FALSE(app.Ended()) << c.what;
    // The run takes several seconds alone and several times that on a loaded machine.
    EXPECT_TRUE(WaitUntil([&] { return FindDialog(app.Thread()) != nullptr; }, kLongestRun));
    EXPECT_EQ(AnswerMessageBox(app.Thread(), w.form).text, L"終了しました") << c.what;
    EXPECT_TRUE(app.WaitForEnd()) << c.what;
    const std::string last = "t" + std::to_string(kEntries - 1) + ".txt";
    EXPECT_TRUE(
        std::filesystem::exists(fixture.Out() / ("c" + std::to_string(kCategories - 1)) / last))
        << c.what;
  }
}

}  // namespace
}  // namespace pem::testing
