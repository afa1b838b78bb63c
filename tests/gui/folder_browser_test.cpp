// The output-folder browser: where it opens, what it writes back, and its modality.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <functional>
#include <ostream>

#include "app_driver.h"
#include "message_recorder.h"
#include "quiet_folder.h"
#include "temp_dir.h"
#include "tree_probe.h"
#include "ui_probe.h"

namespace pem::testing {
namespace {

// A folder with a sub-folder and a file, in a quiet place (see quiet_folder.h).
struct Folders {
  Folders() {
    chosen = quiet.Folder(L"保存先");
    child = quiet.Folder(L"保存先/child");
    quiet.Folder(L"保存先/café");
    WriteBytes(chosen / "file.txt", "");
  }

  QuietFolder quiet;
  std::filesystem::path chosen;
  std::filesystem::path child;
};

struct BrowserSeen {
  HWND browser = nullptr;
  HWND tree = nullptr;
  bool title_shown = false;
  HWND owner = nullptr;
  bool form_enabled = true;
  UINT error_mode = 0;
};

BrowserSeen OpenBrowser(const RunningApp& app) {
  BrowserSeen seen;
  Click(app.Windows().button4);
  if (!WaitUntil([&] { return (seen.browser = FindDialog(app.Thread())) != nullptr; })) return seen;
  WaitUntil([&] { return (seen.tree = FindTree(seen.browser)) != nullptr; });
  seen.title_shown = FindChildByText(seen.browser, L"保存先フォルダの選択") != nullptr;
  seen.owner = GetWindow(seen.browser, GW_OWNER);
  seen.form_enabled = IsWindowEnabled(app.Windows().form) != FALSE;
  seen.error_mode = GetErrorMode();
  return seen;
}

void CloseBrowser(const BrowserSeen& seen, int button) {
  PostMessageW(GetDlgItem(seen.browser, button), BM_CLICK, 0, 0);
  WaitUntil([&] { return !IsWindow(seen.browser); });
}

void Cancel(const BrowserSeen& seen) {
  CloseBrowser(seen, IDCANCEL);
}
void Confirm(const BrowserSeen& seen) {
  CloseBrowser(seen, IDOK);
}

bool ShowsSelected(const BrowserSeen& seen, const wchar_t* name) {
  return seen.tree && WaitUntil([&] { return SelectedText(seen.tree) == name; }, 3000ms);
}

struct BrowseCase {
  const char* name;
  std::function<std::wstring(const Folders&)> edit2;   // the text before the browse
  const wchar_t* selected;                             // the folder selected at the opening
  std::function<void(const BrowserSeen&)> act;         // what the user does in the browser
  std::function<std::wstring(const Folders&)> result;  // the text afterwards
};
void PrintTo(const BrowseCase& c, std::ostream* out) {
  *out << c.name;
}

class FolderBrowser : public ::testing::TestWithParam<BrowseCase> {};

TEST_P(FolderBrowser, OpensAtEdit2AndWritesTheChoiceBack) {
  const BrowseCase& c = GetParam();
  Folders folders;
  RunningApp app;
  const MainWindowHandles& w = app.Windows();
  const UINT error_mode = GetErrorMode();
  const std::wstring before = c.edit2(folders);
  SetWindowTextW(w.edit2, before.c_str());
  MessageRecorder recorder(app.Thread(), {});

  BrowserSeen seen = OpenBrowser(app);
  // Wine's browser now and then fails to select a folder that exists (its item-id lists carry
  // folder times); the request itself is checked below, the selection gets a few tries.
  for (int retry = 0; c.selected && retry < 3 && !ShowsSelected(seen, c.selected); ++retry) {
    Cancel(seen);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(w.form) != FALSE; }));
    seen = OpenBrowser(app);
  }
  ASSERT_NE(seen.tree, nullptr);
  EXPECT_TRUE(seen.title_shown);
  EXPECT_EQ(seen.owner, w.application);
  EXPECT_FALSE(seen.form_enabled);
  EXPECT_EQ(seen.error_mode, static_cast<UINT>(SEM_FAILCRITICALERRORS));
  if (c.selected) {
    EXPECT_EQ(SelectedText(seen.tree), c.selected);
  }
  c.act(seen);
  // Answered once the click handler has returned to the message loop, Edit2 written.
  SendMessageW(w.form, WM_NULL, 0, 0);

  EXPECT_TRUE(WaitUntil([&] { return WindowText(w.edit2) == c.result(folders); }))
      << "Edit2: " << WindowText(w.edit2);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(w.form) != FALSE; }));
  EXPECT_EQ(GetErrorMode(), error_mode);
  for (const RecordedMessage& request : recorder.Messages()) {
    EXPECT_EQ(request.message, static_cast<UINT>(BFFM_SETSELECTIONW));
    EXPECT_TRUE(c.selected) << "no selection is requested for a folder that does not exist";
    EXPECT_EQ(request.path, before);
  }
}

std::wstring Chosen(const Folders& f) {
  return f.chosen.wstring();
}
std::wstring Cafe(const Folders& f) {
  return (f.chosen / L"café").wstring();
}
std::wstring Empty(const Folders&) {
  return L"";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FolderBrowser,
    ::testing::Values(BrowseCase{"CancelKeepsAnExistingFolder", Chosen, L"保存先", Cancel, Chosen},
                      BrowseCase{"OkOnTheSameFolderKeepsIt", Chosen, L"保存先", Confirm, Chosen},
                      BrowseCase{"OkOnAnotherFolderWritesItsPath", Chosen, L"保存先",
                                 [](const BrowserSeen& seen) {
                                   ASSERT_TRUE(SelectChild(seen.tree, L"child"));
                                   Confirm(seen);
                                 },
                                 [](const Folders& f) { return f.child.wstring(); }},
                      // Folders that code page 932 cannot name are kept as they are.
                      BrowseCase{"OkOnAFolderCodePage932CannotNameWritesItsPath", Chosen, L"保存先",
                                 [](const BrowserSeen& seen) {
                                   ASSERT_TRUE(SelectChild(seen.tree, L"café"));
                                   Confirm(seen);
                                 },
                                 Cafe},
                      BrowseCase{"CancelKeepsAFolderCodePage932CannotName", Cafe, L"café", Cancel,
                                 Cafe},
                      BrowseCase{"TrailingSeparatorCountsAsExisting",
                                 [](const Folders& f) { return Chosen(f) + L"\\"; }, L"保存先",
                                 Cancel, [](const Folders& f) { return Chosen(f) + L"\\"; }},
                      BrowseCase{"CancelOnEmptyStaysEmpty", Empty, nullptr, Cancel, Empty},
                      BrowseCase{"CancelEmptiesAMissingFolder",
                                 [](const Folders& f) { return Chosen(f) + L"\\missing"; }, nullptr,
                                 Cancel, Empty},
                      BrowseCase{"CancelEmptiesAFilePath",
                                 [](const Folders& f) { return (f.chosen / "file.txt").wstring(); },
                                 nullptr, Cancel, Empty}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pem::testing
