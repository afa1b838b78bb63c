#include "app_driver.h"

#include <gtest/gtest.h>

#include "UMain.h"
#include "application.h"
#include "screen_scale.h"
#include "ui_probe.h"

namespace pem::testing {

RunningApp::RunningApp() {
  std::promise<void> started;
  std::future<void> ready = started.get_future();
  thread_ = std::thread([this, &started] { Main(started); });
  if (ready.wait_for(30s) != std::future_status::ready) {
    ADD_FAILURE() << "the application did not start";
    TerminateProcess(GetCurrentProcess(), 3);
  }
  try {
    ready.get();
  } catch (...) {
    thread_.join();
    throw;
  }
  if (!WaitUntil([&] { return FocusOf(thread_id_) == windows_.edit1; }))
    ADD_FAILURE() << "the main window did not take the focus";
}

void RunningApp::Main(std::promise<void>& started) {
  try {
    thread_id_ = GetCurrentThreadId();
    gui::TApplication application;
    application.Initialize();
    application.CreateForm(Form1);
    const TForm1& form = *Form1;
    windows_ = {application.Handle(),      form.Handle(),         form.GroupBox1.Handle(),
                form.Edit1.Handle(),       form.Button1.Handle(), form.Button2.Handle(),
                form.Button3.Handle(),     form.Label1.Handle(),  form.Label2.Handle(),
                form.Edit2.Handle(),       form.Button4.Handle(), form.Label3.Handle(),
                form.ProgressBar1.Handle()};
    text_height_ = gui::MeasureTextHeight(form.Font());
    started.set_value();
    application.Run();
  } catch (...) {
    try {
      started.set_exception(std::current_exception());
    } catch (const std::future_error&) {
      ADD_FAILURE() << "the application failed while running";
    }
  }
  ended_ = true;
}

bool RunningApp::WaitForEnd() {
  return WaitUntil([&] { return ended_.load(); });
}

RunningApp::~RunningApp() {
  if (!ended_) PostMessageW(windows_.form, WM_CLOSE, 0, 0);
  if (!WaitForEnd()) {
    ADD_FAILURE() << "the application did not end";
    // A hung user-interface thread cannot be joined; the process goes with it.
    TerminateProcess(GetCurrentProcess(), 3);
  }
  thread_.join();
}

}  // namespace pem::testing
