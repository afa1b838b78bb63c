#include "dialog_bench.h"

#include <gtest/gtest.h>

#include <thread>

#include "tree_probe.h"
#include "ui_probe.h"

namespace pem::testing {
namespace {

gui::FormLayout MainLayout() {
  gui::FormLayout layout;
  layout.window_class = L"TDialogBenchMain";
  layout.client_width = 300;
  layout.client_height = 200;
  layout.border_style = gui::TBorderStyle::bsDialog;
  layout.position = gui::TPosition::poScreenCenter;
  layout.visible = true;
  return layout;
}

bool FocusIsIn(HWND window, DWORD thread) {
  const HWND focus = FocusOf(thread);
  return focus && (focus == window || IsChild(window, focus));
}

}  // namespace

DialogBench::DialogBench() {
  application_.Initialize();
  application_.CreateForm<TestForm>(main_, MainLayout());
  dialog_ = &main_->Create<TSelectFolderDialog>();
}

HWND FindDialogForm(DWORD thread) {
  return FindThreadWindow(thread,
                          [](HWND window) { return ClassName(window) == L"TFolderDialogForm"; });
}

DialogWindows WaitForDialog(DWORD thread) {
  HWND form = nullptr;
  const bool shown = WaitUntil([&] {
    form = FindDialogForm(thread);
    return form && IsWindowVisible(form) && IsWindowEnabled(form) && FocusIsIn(form, thread);
  });
  if (!shown) return {};
  return {form, FindTree(form), FindChildByText(form, L"OK(&O)"),
          FindChildByText(form, L"キャンセル(&C)"),
          FindChildWindow(form, [](HWND child) { return ClassName(child) == L"TLabel"; })};
}

bool DialogBench::Execute(const std::function<void(const DialogWindows&)>& user) {
  const DWORD thread = GetCurrentThreadId();
  std::thread acting([&] {
    const DialogWindows windows = WaitForDialog(thread);
    if (!windows.form) {
      ADD_FAILURE() << "the dialog did not show";
      return;
    }
    user(windows);
    if (!WaitUntil([&] { return !IsWindow(windows.form); })) {
      ADD_FAILURE() << "the dialog stayed open";
      // A modal loop that never ends cannot be joined; the process goes with it.
      TerminateProcess(GetCurrentProcess(), 3);
    }
  });
  struct Join {
    std::thread& thread;
    ~Join() { thread.join(); }
  } join{acting};
  return dialog_->Execute();
}

}  // namespace pem::testing
