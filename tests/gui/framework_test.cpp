// The framework under the windows: titles, scaling, modality, ownership, events, wrapping, and
// the error display for errors that leave a handler.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "application.h"
#include "button.h"
#include "component.h"
#include "event.h"
#include "form.h"
#include "screen_scale.h"
#include "text_layout.h"
#include "thread_windows.h"
#include "ui_probe.h"
#include "win32_owners.h"

namespace pem::testing {
namespace {

using namespace pem::gui;

TEST(ApplicationTitle, IsTheFileNameCutAtItsFirstDotWithTheRestInLowerCase) {
  const struct {
    const wchar_t* path;
    const wchar_t* title;
  } cases[] = {
      {L"C:\\tools\\CONVERT.EXE", L"Convert"},         {L"C:\\tools\\Dict.Tool.exe", L"Dict"},
      {L"C:\\dotted.folder\\PemConv.exe", L"Pemconv"}, {L"pemconv.exe", L"pemconv"},
      {L"C:\\x\\NOEXTENSION", L"Noextension"},         {L"C:\\x\\ＡＢＣ.exe", L"ＡＢＣ"},
  };
  for (const auto& c : cases) EXPECT_EQ(ApplicationTitleFromPath(c.path), c.title) << c.path;
}

TEST(ScreenScale, FollowsTheMeasuredTextHeightEdgeByEdge) {
  EXPECT_EQ(FontHeightForDpi(-12, 96), -12);
  EXPECT_EQ(FontHeightForDpi(-12, 120), -15);
  EXPECT_EQ(FontHeightForDpi(-12, 144), -18);

  const ScreenScale same(12);
  const RECT unchanged = same.ApplyToEdges(28, 70, 249, 20);
  EXPECT_EQ(unchanged.left, 28);
  EXPECT_EQ(unchanged.right, 277);
  // At 13/12 the width follows from the rounded edges: 3 -> 3, 8 -> 9 (8.67).
  const ScreenScale larger(13);
  const RECT scaled = larger.ApplyToEdges(3, 0, 5, 12);
  EXPECT_EQ(scaled.left, 3);
  EXPECT_EQ(scaled.right, 9);
  EXPECT_EQ(scaled.bottom, 13);
  EXPECT_EQ(ScreenScale(15).Apply(324), 405);
}

UniqueWindow TopLevel(bool visible, bool enabled) {
  UniqueWindow window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | (visible ? WS_VISIBLE : 0), 0,
                                      0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  EnableWindow(window.get(), enabled);
  return window;
}

TEST(ThreadWindows, DisablesOnlyVisibleEnabledOnesAndEnablesThemAgain) {
  UniqueWindow first = TopLevel(true, true);
  UniqueWindow hidden = TopLevel(false, true);
  UniqueWindow disabled = TopLevel(true, false);
  UniqueWindow spared = TopLevel(true, true);
  UniqueWindow last = TopLevel(true, true);

  DisabledWindowList list = DisableThreadWindows(spared.get());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_FALSE(IsWindowEnabled(first.get()));
  EXPECT_FALSE(IsWindowEnabled(last.get()));
  EXPECT_TRUE(IsWindowEnabled(hidden.get()));
  EXPECT_TRUE(IsWindowEnabled(spared.get()));

  // A nested use sees nothing left to disable but the spared window.
  {
    ThreadWindowsDisabled nested(nullptr);
    EXPECT_FALSE(IsWindowEnabled(spared.get()));
  }
  EXPECT_TRUE(IsWindowEnabled(spared.get()));

  last.reset();  // a window that went away meanwhile is skipped
  EnableThreadWindows(list);
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(IsWindowEnabled(first.get()));
  EXPECT_FALSE(IsWindowEnabled(disabled.get()));
}

class Tracked : public TComponent {
 public:
  Tracked(TComponent& owner, std::vector<int>& log, int id)
      : TComponent(&owner), log_(log), id_(id) {}
  ~Tracked() override { log_.push_back(id_); }

 private:
  std::vector<int>& log_;
  int id_;
};

TEST(Component, AnOwnerDestroysWhatItOwnsNewestFirst) {
  std::vector<int> log;
  {
    TComponent owner;
    Tracked& first = owner.Create<Tracked>(log, 1);
    Tracked& second = first.Create<Tracked>(log, 2);
    owner.Create<Tracked>(log, 3);
    EXPECT_EQ(second.Owner(), &first);
    EXPECT_EQ(owner.ComponentCount(), 2u);
    owner.Create<Tracked>(log, 4);
    owner.DestroyComponent(owner.Component(2));
    EXPECT_EQ(log, std::vector<int>{4});
  }
  EXPECT_EQ(log, (std::vector<int>{4, 3, 1, 2}));
}

struct Receiver {
  int calls = 0;
  void Handle(TObject&) { ++calls; }
};

TEST(Event, AnUnsetEventIsSkippedABoundOneReachesItsReceiver) {
  TComponent sender;
  TNotifyEvent event;
  EXPECT_FALSE(event);
  event(sender);
  Receiver receiver;
  event.Bind(receiver, &Receiver::Handle);
  event(sender);
  event(sender);
  EXPECT_EQ(receiver.calls, 2);
  event.Reset();
  event(sender);
  EXPECT_EQ(receiver.calls, 2);
}

TEST(TextLayout, WrapsJapaneseBetweenCharactersAndEnglishAtBlanks) {
  LOGFONTW wanted{};
  wanted.lfHeight = -12;
  wanted.lfCharSet = SHIFTJIS_CHARSET;
  wcscpy(wanted.lfFaceName, L"ＭＳ Ｐゴシック");
  UniqueFont font(CreateFontIndirectW(&wanted));
  WindowDc screen(nullptr);
  SelectedObject selected(screen.get(), font.get());
  const std::wstring japanese =
      L"「ぺむりこ」の辞書データファイルを1アイテム1ファイルに変換します。";

  const std::vector<std::wstring> lines = WrapLines(screen.get(), japanese, 120);
  ASSERT_GE(lines.size(), 2u);
  std::wstring joined;
  for (const std::wstring& line : lines) {
    SIZE size{};
    GetTextExtentPoint32W(screen.get(), line.c_str(), static_cast<int>(line.size()), &size);
    EXPECT_LE(size.cx, 120) << "line too wide";
    EXPECT_NE(line.front(), L'。') << "a line never starts with a full stop";
    joined += line;
  }
  EXPECT_EQ(joined, japanese);

  const std::vector<std::wstring> words = WrapLines(screen.get(), L"one two three four", 40);
  for (const std::wstring& line : words) EXPECT_NE(line.back(), L' ');
  EXPECT_GE(words.size(), 2u);
}

// A form whose buttons fail in their own ways, on the test's thread; another thread answers.
struct ErrorCase {
  const char* name;
  std::function<void()> fail;
  const wchar_t* shown;  // the box's text; null: no box
};
void PrintTo(const ErrorCase& c, std::ostream* out) {
  *out << c.name;
}

class HandlerError : public ::testing::TestWithParam<ErrorCase> {};

// A click as the button reports it to its form. A posted BM_CLICK takes the focus and the
// capture, and a window activated at that moment (a closing one of the test before) can take
// them back so that the click is lost.
void Clicked(const TButton& button) {
  const HWND handle = button.Handle();
  PostMessageW(GetParent(handle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle), BN_CLICKED),
               reinterpret_cast<LPARAM>(handle));
}

TEST_P(HandlerError, IsShownUnderTheTitleAndTheApplicationGoesOn) {
  TApplication application;
  TForm* form = nullptr;
  FormLayout layout;
  layout.window_class = L"TErrorTestForm";
  layout.client_width = 200;
  layout.client_height = 100;
  layout.visible = true;
  struct TestForm : TForm {
    TestForm(TComponent& owner, TestForm*& self, const FormLayout& layout)
        : TForm((self = this, owner), layout) {}
  };
  TestForm* test_form = nullptr;
  application.CreateForm<TestForm>(test_form, layout);
  form = test_form;
  TButton& failing = form->Create<TButton>(*form, ControlLayout{10, 10, 80, 25, "fail"});
  TButton& marker = form->Create<TButton>(*form, ControlLayout{100, 10, 80, 25, "marker"});
  failing.OnClick.Bind([&](TObject&) { GetParam().fail(); });
  marker.OnClick.Bind([&](TObject&) { ApplicationMessageBox("marker", "marker", MB_OK); });

  const DWORD thread = GetCurrentThreadId();
  const HWND window = form->Handle();
  MessageBoxSeen error, after;
  std::thread user([&] {
    Clicked(failing);
    if (GetParam().shown) error = AnswerMessageBox(thread, window);
    // Without an error box, the marker's box is the first one to come.
    Clicked(marker);
    after = AnswerMessageBox(thread, window);
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  application.Run();
  user.join();

  if (GetParam().shown) {
    EXPECT_EQ(error.text, GetParam().shown);
    EXPECT_EQ(error.caption, L"gui_test");
    EXPECT_EQ(error.icon, ErrorIcon());
  }
  EXPECT_EQ(after.caption, L"marker");
}

INSTANTIATE_TEST_SUITE_P(
    Errors, HandlerError,
    ::testing::Values(
        ErrorCase{"Letter", [] { throw Exception("failed"); }, L"failed."},
        ErrorCase{"Period", [] { throw Exception("failed."); }, L"failed."},
        ErrorCase{"Bracket", [] { throw Exception("code (5)"); }, L"code (5)"},
        ErrorCase{"DoubleByte", [] { throw Exception("\x8e\xb8\x94\x73"); }, L"失敗."},
        ErrorCase{"StandardError", [] { throw std::runtime_error("plain"); }, L"plain."},
        ErrorCase{"Abort", [] { throw EAbort(); }, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pem::testing

namespace pem::testing {
namespace {

using namespace pem::gui;

struct PlainForm : TForm {
  PlainForm(TComponent& owner, PlainForm*& self, const FormLayout& layout)
      : TForm((self = this, owner), layout) {}
};

FormLayout PlainLayout(const wchar_t* window_class, bool visible) {
  FormLayout layout;
  layout.window_class = window_class;
  layout.client_width = 240;
  layout.client_height = 120;
  layout.border_style = TBorderStyle::bsDialog;
  layout.position = TPosition::poScreenCenter;
  layout.visible = visible;
  return layout;
}

struct ModalCase {
  const char* name;
  // What the user does in the modal window (on another thread), with its OK button.
  std::function<void(HWND window, HWND ok)> act;
  TModalResult result;
  int close_queries;         // how often the close query refuses before it agrees
  bool query_fails = false;  // it refuses by raising an error rather than by its answer
};
void PrintTo(const ModalCase& c, std::ostream* out) {
  *out << c.name;
}

class ModalForm : public ::testing::TestWithParam<ModalCase> {};

// A window of another program, shown over the others without taking the activation, on a thread
// of its own: the window that the system activates when the active one goes and the windows of
// this thread are disabled.
class OtherProgramWindow {
 public:
  OtherProgramWindow()
      : thread_([this] {
          UniqueWindow window(CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 0, 0, 200, 100,
                                              nullptr, nullptr, nullptr, nullptr));
          ShowWindow(window.get(), SW_SHOWNOACTIVATE);
          handle_ = window.get();
          MSG message{};
          while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        }) {
    WaitUntil([&] { return handle_ != nullptr; });
  }
  ~OtherProgramWindow() {
    PostThreadMessageW(GetWindowThreadProcessId(handle_, nullptr), WM_QUIT, 0, 0);
    thread_.join();
  }

 private:
  std::atomic<HWND> handle_{nullptr};
  std::thread thread_;
};

TEST_P(ModalForm, EndsWithItsResultWhileTheOtherWindowsWait) {
  const ModalCase& c = GetParam();
  TApplication application;
  PlainForm* main = nullptr;
  application.CreateForm<PlainForm>(main, PlainLayout(L"TModalTestMain", true));
  PlainForm* dialog = nullptr;
  application.CreateForm<PlainForm>(dialog, PlainLayout(L"TModalTestDialog", false));
  TButton& ok = dialog->Create<TButton>(*dialog, ControlLayout{10, 80, 80, 25, "&OK", 0});
  TButton& cancel = dialog->Create<TButton>(*dialog, ControlLayout{100, 80, 80, 25, "&Cancel", 1});
  ok.SetModalResult(mrOk);
  ok.SetDefault(true);
  cancel.SetModalResult(mrCancel);
  cancel.SetCancel(true);
  int refusals = c.close_queries;
  dialog->OnCloseQuery.Bind([&](TObject&, bool& can_close) {
    can_close = refusals-- <= 0;
    if (!can_close && c.query_fails) throw Exception("not yet");
  });

  const HWND window = dialog->Handle();
  const HWND main_window = main->Handle();
  bool main_disabled = false;
  std::thread user([&] {
    WaitUntil([&] { return FocusOf(GetWindowThreadProcessId(window, nullptr)) == ok.Handle(); });
    main_disabled = !IsWindowEnabled(main_window);
    for (int attempt = 0; attempt <= c.close_queries; ++attempt) c.act(window, ok.Handle());
  });
  dialog->SetActiveControl(&ok);
  const OtherProgramWindow other;
  const TModalResult result = dialog->ShowModal();
  user.join();

  EXPECT_EQ(result, c.result);
  EXPECT_EQ(GetForegroundWindow(), main_window) << "the window of before is active again";
  EXPECT_TRUE(main_disabled);
  EXPECT_TRUE(IsWindowEnabled(main_window));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(refusals, -1) << "the close query was asked once per attempt";
}

INSTANTIATE_TEST_SUITE_P(
    Endings, ModalForm,
    ::testing::Values(
        ModalCase{"OkButton", [](HWND, HWND ok) { Click(ok); }, mrOk, 0},
        ModalCase{"EnterOnTheDefaultButton", [](HWND, HWND) { PressKey(VK_RETURN); }, mrOk, 0},
        ModalCase{"EscapeOnTheCancelButton", [](HWND, HWND) { PressKey(VK_ESCAPE); }, mrCancel, 0},
        ModalCase{"CloseBox",
                  [](HWND window, HWND) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); },
                  mrCancel, 0},
        ModalCase{"RefusedOnceThenOk",
                  [](HWND window, HWND ok) {
                    Click(ok);
                    // The refusal leaves the window up; the next click comes after it.
                    WaitUntil([&] { return IsWindowVisible(window) != FALSE; });
                  },
                  mrOk, 1},
        ModalCase{"CloseQueryFailsOnceThenOk",
                  [](HWND window, HWND ok) {
                    Click(ok);
                    // The error is shown; the window stays up with no result pending.
                    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
                    WaitUntil([&] { return FindDialog(thread) || !IsWindowVisible(window); });
                    if (FindDialog(thread)) AnswerMessageBox(thread, window);
                  },
                  mrOk, 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The task bar's button belongs to the application's window: restored from there, the program
// takes the keyboard in the form that had it.
TEST(Application, RestoredFromTheTaskBarGivesTheKeyboardBackToTheForm) {
  TApplication application;
  PlainForm* main = nullptr;
  application.CreateForm<PlainForm>(main, PlainLayout(L"TRestoreTestMain", true));
  TButton& button = main->Create<TButton>(*main, ControlLayout{10, 10, 80, 25, "&OK", 0});
  main->SetActiveControl(&button);
  const DWORD thread = GetCurrentThreadId();
  const HWND application_window = application.Handle();
  HWND focus = nullptr;
  std::thread user([&] {
    WaitUntil([&] { return FocusOf(thread) == button.Handle(); });
    SendMessageW(application_window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    SendMessageW(application_window, WM_SYSCOMMAND, SC_RESTORE, 0);
    WaitUntil([&] { return FocusOf(thread) == button.Handle(); }, 2000ms);
    focus = FocusOf(thread);
    PostMessageW(main->Handle(), WM_CLOSE, 0, 0);
  });
  application.Run();
  user.join();
  EXPECT_EQ(focus, button.Handle());
}

}  // namespace
}  // namespace pem::testing
