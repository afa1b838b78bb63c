// The main window as the user finds it at start-up, and the ways to end the application.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "app_driver.h"
#include "ui_probe.h"

namespace pem::testing {
namespace {

struct Placement {
  const char* name;
  HWND MainWindowHandles::*window;
  HWND MainWindowHandles::*parent;
  RECT rect;  // design pixels: left, top, right, bottom
  const wchar_t* text;
  bool visible;
};

// Labels 1 and 2 size themselves to their text; their width is checked separately.
const Placement kPlacements[] = {
    {"GroupBox1",
     &MainWindowHandles::group_box1,
     &MainWindowHandles::form,
     {2, 0, 321, 153},
     L"",
     true},
    {"Label3",
     &MainWindowHandles::label3,
     &MainWindowHandles::group_box1,
     {32, 16, 273, 43},
     L"「ぺむりこ」の辞書データファイルを1アイテム1ファイルに変換します。",
     true},
    {"Edit1",
     &MainWindowHandles::edit1,
     &MainWindowHandles::group_box1,
     {28, 70, 277, 90},
     L"C:\\Program Files\\pemuriko\\",
     true},
    {"Button1",
     &MainWindowHandles::button1,
     &MainWindowHandles::group_box1,
     {278, 70, 298, 90},
     L"...",
     true},
    {"Edit2",
     &MainWindowHandles::edit2,
     &MainWindowHandles::group_box1,
     {28, 118, 277, 138},
     L"",
     true},
    {"Button4",
     &MainWindowHandles::button4,
     &MainWindowHandles::group_box1,
     {278, 118, 298, 138},
     L"...",
     true},
    {"Button2",
     &MainWindowHandles::button2,
     &MainWindowHandles::form,
     {166, 156, 241, 181},
     L"&OK",
     true},
    {"Button3",
     &MainWindowHandles::button3,
     &MainWindowHandles::form,
     {244, 156, 319, 181},
     L"&Cancel",
     true},
    {"ProgressBar1",
     &MainWindowHandles::progress_bar1,
     &MainWindowHandles::form,
     {4, 160, 163, 176},
     L"",
     false},
};

int Scaled(int design, int text_height) {
  return MulDiv(design, text_height, 12);
}

TEST(MainWindow, StartsWithTheLayoutCentredAndTheInstallFolderSelected) {
  RunningApp app;
  const MainWindowHandles& w = app.Windows();
  const int height = app.MeasuredTextHeight();

  EXPECT_EQ(WindowText(w.form), L"ぺむりこコンバータ");
  EXPECT_EQ(ClassName(w.form), L"TForm1");
  const SIZE client = ClientSize(w.form);
  EXPECT_EQ(client.cx, Scaled(324, height));
  EXPECT_EQ(client.cy, Scaled(183, height));

  const LONG style = GetWindowLongW(w.form, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(GetWindowLongW(w.form, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_EQ(GetWindow(w.form, GW_OWNER), w.application);

  RECT outer{};
  GetWindowRect(w.form, &outer);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXVIRTUALSCREEN) - (outer.right - outer.left)) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYVIRTUALSCREEN) - (outer.bottom - outer.top)) / 2);

  for (const Placement& placement : kPlacements) {
    SCOPED_TRACE(placement.name);
    const HWND window = w.*placement.window;
    EXPECT_EQ(GetParent(window), w.*placement.parent);
    const RECT rect = RectInParent(window);
    EXPECT_EQ(rect.left, Scaled(placement.rect.left, height));
    EXPECT_EQ(rect.top, Scaled(placement.rect.top, height));
    EXPECT_EQ(rect.right, Scaled(placement.rect.right, height));
    EXPECT_EQ(rect.bottom, Scaled(placement.rect.bottom, height));
    EXPECT_EQ(WindowText(window), placement.text);
    EXPECT_EQ(IsWindowVisible(window) != FALSE, placement.visible);
    EXPECT_TRUE(IsWindowEnabled(window));
  }
  for (const HWND label : {w.label1, w.label2}) {
    const RECT rect = RectInParent(label);
    EXPECT_EQ(rect.left, Scaled(28, height));
    EXPECT_EQ(rect.bottom - rect.top, height);
    EXPECT_GT(rect.right - rect.left, 50);
  }
  EXPECT_EQ(WindowText(w.label1), L"ぺむりこ　インストールフォルダ(&P)");
  EXPECT_EQ(WindowText(w.label2), L"保存先フォルダ(&S)");

  EXPECT_EQ(FocusOf(app.Thread()), w.edit1);
  DWORD start = 1;
  DWORD end = 0;
  SendMessageW(w.edit1, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, wcslen(L"C:\\Program Files\\pemuriko\\"));

  EXPECT_EQ(SendMessageW(w.progress_bar1, PBM_GETRANGE, TRUE, 0), 0);
  EXPECT_EQ(SendMessageW(w.progress_bar1, PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_EQ(SendMessageW(w.progress_bar1, PBM_GETSTEP, 0, 0), 1);

  // The task bar shows the application window, titled after the executable.
  EXPECT_EQ(WindowText(w.application), L"gui_test");
  EXPECT_TRUE(IsWindowVisible(w.application));
}

TEST(MainWindow, UsesItsJapaneseFontEverywhere) {
  RunningApp app;
  const MainWindowHandles& w = app.Windows();
  for (const HWND window : {w.form, w.edit1, w.button2, w.edit2}) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(font.lfHeight, AtScreenDpi(-12));
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
  }
}

struct EndingCase {
  const char* name;
  std::function<void(const MainWindowHandles&)> act;
};
void PrintTo(const EndingCase& c, std::ostream* out) {
  *out << c.name;
}

class MainWindowEnds : public ::testing::TestWithParam<EndingCase> {};

TEST_P(MainWindowEnds, EndsTheApplication) {
  RunningApp app;
  GetParam().act(app.Windows());
  EXPECT_TRUE(app.WaitForEnd());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, MainWindowEnds,
    ::testing::Values(
        EndingCase{"CancelButton", [](const MainWindowHandles& w) { Click(w.button3); }},
        EndingCase{
            "CloseBox",
            [](const MainWindowHandles& w) { PostMessageW(w.form, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        EndingCase{"AltF4", [](const MainWindowHandles&) { PressKey(VK_F4, {VK_MENU}); }},
        EndingCase{"AltC", [](const MainWindowHandles&) { PressKey('C', {VK_MENU}); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MainWindow, EscapeClosesNothing) {
  RunningApp app;
  PressKey(VK_ESCAPE);
  // Input is handled in order: once Tab has moved the focus, Esc has been handled too.
  PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(app.Thread()) == app.Windows().button1; }));
  EXPECT_FALSE(app.Ended());
  EXPECT_TRUE(IsWindowVisible(app.Windows().form));
  EXPECT_EQ(FindDialog(app.Thread()), nullptr);
}

}  // namespace
}  // namespace pem::testing
