// How messages reach the framework's windows: a failure in creation fails the creation, work
// posted from another thread runs on the user-interface thread, menu messages reach the control
// that serves the menu, and a destroyed form leaves no window or font behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <ostream>
#include <thread>
#include <vector>

#include "application.h"
#include "button.h"
#include "edit.h"
#include "form.h"
#include "label.h"
#include "panel.h"
#include "test_form.h"
#include "ui_probe.h"

namespace pem::testing {
namespace {

using namespace pem::gui;

const FormLayout kPlainLayout{
    .window_class = L"TMessagesTestForm", .client_width = 200, .client_height = 120};

// A window of the framework's own whose handler of one creation message fails.
class FailingWindow : public TWinControl {
 public:
  FailingWindow(TComponent& owner, TWinControl& parent, UINT failing)
      : TWinControl(owner, &parent), failing_(failing) {
    CreateOwnWindow({L"TFailingWindow", WS_CHILD | WS_VISIBLE, 0}, parent.Handle(),
                    RECT{0, 0, 20, 20}, L"");
  }

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == failing_) throw Exception("refused");
    return TWinControl::WndProc(message, wparam, lparam);
  }

 private:
  UINT failing_;
};

TEST(CreationFailure, EndsTheCreationWithTheHandlersErrorAndLeavesNoWindow) {
  TApplication application;
  TestForm* form = nullptr;
  application.CreateForm<TestForm>(form, kPlainLayout);
  const DWORD thread = GetCurrentThreadId();
  for (const UINT message : {UINT{WM_NCCREATE}, UINT{WM_CREATE}}) {
    std::atomic<bool> done = false;
    // An error box would stop this thread: another one answers it, so that the test fails.
    bool box_shown = false;
    std::thread watcher([&] {
      WaitUntil([&] { return done || FindDialog(thread); }, 5000ms);
      if (FindDialog(thread)) box_shown = !AnswerMessageBox(thread, nullptr).caption.empty();
    });
    std::string error;
    try {
      form->Create<FailingWindow>(*form, message);
    } catch (const Exception& failure) {
      error = failure.Message();
    }
    done = true;
    watcher.join();
    EXPECT_EQ(error, "refused") << message;
    EXPECT_FALSE(box_shown) << message << ": the creator reports the error, no box";
    EXPECT_EQ(FindWindowExW(form->Handle(), nullptr, L"TFailingWindow", nullptr), nullptr);
    EXPECT_TRUE(form->Controls().empty());
    EXPECT_EQ(form->ComponentCount(), 0u);
  }
}

TEST(PostedWork, RunsOnTheUserInterfaceThreadInTheOrderPosted) {
  TApplication application;
  const DWORD ui_thread = GetCurrentThreadId();
  std::vector<int> order;
  std::vector<DWORD> threads;
  std::thread other([&] {
    for (int step = 1; step <= 3; ++step) {
      application.Post([&, step] {
        order.push_back(step);
        threads.push_back(GetCurrentThreadId());
      });
    }
    application.Post([&] { application.Terminate(); });
  });
  application.Run();
  other.join();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(threads, (std::vector<DWORD>(3, ui_thread)));
}

// Serves menu messages; answers each with its own number.
class MenuServer : public TPanel {
 public:
  using TPanel::TPanel;
  bool MenuMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    seen.push_back(message);
    result = static_cast<LRESULT>(message);
    return true;
  }
  std::vector<UINT> seen;
};

TEST(MenuMessages, ReachTheControlFromItsOwnWindowAndFromItsFormWhenAsked) {
  TApplication application;
  TestForm* form = nullptr;
  application.CreateForm<TestForm>(form, kPlainLayout);
  MenuServer& server = form->Create<MenuServer>(*form, ControlLayout{.width = 20, .height = 20});
  DRAWITEMSTRUCT menu_item{};
  menu_item.CtlType = ODT_MENU;
  DRAWITEMSTRUCT button_item{};
  button_item.CtlType = ODT_BUTTON;
  MEASUREITEMSTRUCT menu_measure{};
  menu_measure.CtlType = ODT_MENU;
  const struct {
    const char* name;
    UINT message;
    LPARAM lparam;
    bool menu;  // a menu message, which the server answers
  } cases[] = {
      {"InitMenuPopup", WM_INITMENUPOPUP, 0, true},
      {"MenuChar", WM_MENUCHAR, 0, true},
      {"DrawMenuItem", WM_DRAWITEM, reinterpret_cast<LPARAM>(&menu_item), true},
      {"MeasureMenuItem", WM_MEASUREITEM, reinterpret_cast<LPARAM>(&menu_measure), true},
      {"DrawButton", WM_DRAWITEM, reinterpret_cast<LPARAM>(&button_item), false},
  };
  for (const auto& c : cases) {
    const LRESULT answer = static_cast<LRESULT>(c.message);
    server.seen.clear();
    EXPECT_EQ(SendMessageW(server.Handle(), c.message, 0, c.lparam) == answer, c.menu) << c.name;
    EXPECT_EQ(SendMessageW(form->Handle(), c.message, 0, c.lparam) == answer, false)
        << c.name << ": the form keeps its menu messages until asked";
    form->ReceiveMenuMessages(server, true);
    EXPECT_EQ(SendMessageW(form->Handle(), c.message, 0, c.lparam) == answer, c.menu) << c.name;
    form->ReceiveMenuMessages(server, false);
    EXPECT_EQ(server.seen.size(), c.menu ? 2u : 0u) << c.name;
  }
}

// The thread's windows and all their descendants.
std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  const auto collect = [&](HWND window) {
    windows.push_back(window);
    return false;
  };
  FindThreadWindow(GetCurrentThreadId(), [&](HWND window) {
    collect(window);
    return FindChildWindow(window, collect) != nullptr;
  });
  return windows;
}

TEST(FormDestruction, LeavesNoWindowAndNoFontBehind) {
  TApplication application;
  TestForm* main = nullptr;
  application.CreateForm<TestForm>(main, kPlainLayout);
  const std::vector<HWND> before = ThreadWindows();

  TestForm* form = nullptr;
  application.CreateForm<TestForm>(form, kPlainLayout);
  TPanel& panel = form->Create<TPanel>(*form, ControlLayout{.height = 40, .align = TAlign::alTop});
  form->Create<TButton>(panel, ControlLayout{.left = 4, .top = 4, .width = 60, .height = 25});
  form->Create<TEdit>(*form, ControlLayout{.align = TAlign::alClient});
  form->Create<TLabel>(panel, ControlLayout{.left = 70, .top = 8, .text = "label"});
  form->Show();
  const HFONT font = form->Font();
  std::vector<HWND> created;
  for (const HWND window : ThreadWindows()) {
    if (std::find(before.begin(), before.end(), window) == before.end()) created.push_back(window);
  }
  ASSERT_EQ(created.size(), 5u);

  application.DestroyComponent(*form);
  EXPECT_EQ(ThreadWindows().size(), before.size());
  for (const HWND window : created) EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(GetObjectType(font), 0u) << "the form's font is deleted";
}

}  // namespace
}  // namespace pem::testing
