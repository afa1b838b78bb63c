// The main window from the keyboard: the tab order, the accelerators with and without Alt, and
// Enter and Esc without a default or cancel button.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <ostream>

#include "app_driver.h"
#include "ui_probe.h"

namespace pem::testing {
namespace {

HWND MainWindowHandles::*const kTabCycle[] = {
    &MainWindowHandles::button1, &MainWindowHandles::edit2,   &MainWindowHandles::button4,
    &MainWindowHandles::button2, &MainWindowHandles::button3, &MainWindowHandles::edit1,
};

TEST(Keyboard, TabCyclesThroughTheControlsAndShiftTabBack) {
  RunningApp app;
  const MainWindowHandles& w = app.Windows();
  SetWindowTextW(w.edit2, L"C:\\out");
  for (HWND MainWindowHandles::*next : kTabCycle) {
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(app.Thread()) == w.*next; }))
        << "focus on " << FocusOf(app.Thread());
    if (w.*next == w.edit2) {
      DWORD start = 1;
      DWORD end = 0;
      SendMessageW(w.edit2, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
      EXPECT_EQ(start, 0u);
      EXPECT_EQ(end, 6u) << "an edit entered by Tab selects its text";
    }
  }
  for (int index = 4; index >= -1; --index) {
    const HWND expected = index >= 0 ? w.*kTabCycle[index] : w.edit1;
    PressKey(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(app.Thread()) == expected; }));
  }
}

// Tabs from Edit1 until the focus is on the control at that position of the cycle.
void TabTo(const RunningApp& app, int tabs) {
  for (int tab = 0; tab < tabs; ++tab) {
    PressKey(VK_TAB);
    const HWND expected = app.Windows().*kTabCycle[tab];
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(app.Thread()) == expected; }));
  }
}

struct AcceleratorCase {
  const char* name;
  int tabs;  // Tab presses from Edit1 before the key
  WORD key;
  bool alt;
  HWND MainWindowHandles::*focus;  // where the focus goes
};
void PrintTo(const AcceleratorCase& c, std::ostream* out) {
  *out << c.name;
}

class Accelerator : public ::testing::TestWithParam<AcceleratorCase> {};

TEST_P(Accelerator, MovesTheFocus) {
  const AcceleratorCase& c = GetParam();
  RunningApp app;
  const MainWindowHandles& w = app.Windows();
  TabTo(app, c.tabs);
  const std::wstring edit1_before = WindowText(w.edit1);
  if (c.alt)
    PressKey(c.key, {VK_MENU});
  else
    PressKey(c.key);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(app.Thread()) == w.*c.focus; }));
  EXPECT_EQ(WindowText(w.edit1), edit1_before);
  EXPECT_EQ(FindDialog(app.Thread()), nullptr) << "a label's accelerator clicks nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Accelerator,
    ::testing::Values(AcceleratorCase{"AltPFromEdit", 0, 'P', true, &MainWindowHandles::button1},
                      AcceleratorCase{"AltSFromEdit", 0, 'S', true, &MainWindowHandles::button4},
                      AcceleratorCase{"AltPFromButton", 5, 'P', true, &MainWindowHandles::button1},
                      AcceleratorCase{"SFromButton", 1, 'S', false, &MainWindowHandles::button4},
                      AcceleratorCase{"PFromButton", 3, 'P', false, &MainWindowHandles::button1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Keyboard, PlainLettersAreTypedIntoAnEdit) {
  RunningApp app;
  const MainWindowHandles& w = app.Windows();
  TypeText(L"pso");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(w.edit1) == L"pso"; }));
  EXPECT_EQ(FocusOf(app.Thread()), w.edit1);
  EXPECT_EQ(FindDialog(app.Thread()), nullptr);
}

struct ClickingKey {
  const char* name;
  int tabs;  // Tab presses from Edit1 before the key
  WORD key;
  bool alt;
};
void PrintTo(const ClickingKey& c, std::ostream* out) {
  *out << c.name;
}

class KeyClicksOk : public ::testing::TestWithParam<ClickingKey> {};

// OK with the default (missing) installation folder answers with the installation check's box.
TEST_P(KeyClicksOk, StartsTheRun) {
  const ClickingKey& c = GetParam();
  RunningApp app;
  const MainWindowHandles& w = app.Windows();
  TabTo(app, c.tabs);
  if (c.alt)
    PressKey(c.key, {VK_MENU});
  else
    PressKey(c.key);
  const MessageBoxSeen box = AnswerMessageBox(app.Thread(), w.form);
  EXPECT_EQ(box.caption, L"error");
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyClicksOk,
                         ::testing::Values(ClickingKey{"AltOFromEdit", 0, 'O', true},
                                           ClickingKey{"OFromButton", 1, 'O', false},
                                           ClickingKey{"EnterOnOk", 4, VK_RETURN, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Keyboard, EnterInAnEditClicksNothing) {
  RunningApp app;
  const MainWindowHandles& w = app.Windows();
  PressKey(VK_RETURN);
  PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(app.Thread()) == w.button1; }));
  EXPECT_EQ(FindDialog(app.Thread()), nullptr) << "no default button";
}

TEST(Keyboard, CFromAButtonEndsTheApplication) {
  RunningApp app;
  TabTo(app, 1);
  PressKey('C');
  EXPECT_TRUE(app.WaitForEnd());
}

}  // namespace
}  // namespace pem::testing
