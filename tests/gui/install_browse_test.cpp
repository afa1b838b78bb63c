// Button1: the installation folder chosen in the select-folder dialog, accepted only when the
// tool's executable is there.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "app_driver.h"
#include "dialog_bench.h"
#include "table_row.h"
#include "temp_dir.h"
#include "tree_probe.h"
#include "ui_probe.h"
#include "unique_folder.h"

namespace pem::testing {
namespace {

// Folders on the desktop, which the dialog lists right below its root: one with the tool, one
// without, one whose first match for the tool's pattern is a folder, and one with the tool whose
// name the dialog's code page 932 path cannot hold.
class DesktopFolders {
 public:
  DesktopFolders() {
    wchar_t desktop[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
    root_ = MakeUniqueFolder(desktop, "pemconv-");
    name = root_.filename().wstring();
    std::filesystem::create_directories(root_ / "tool");
    WriteBytes(root_ / "tool" / "pemri.exe", "");
    std::filesystem::create_directories(root_ / "empty");
    std::filesystem::create_directories(root_ / "decoy" / "pemri0.exe");
    WriteBytes(root_ / "decoy" / "pemri1.exe", "");
    std::filesystem::create_directories(root_ / L"café");
    WriteBytes(root_ / L"café" / "pemri.exe", "");
  }
  DesktopFolders(const DesktopFolders&) = delete;
  DesktopFolders& operator=(const DesktopFolders&) = delete;
  ~DesktopFolders() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  std::wstring Slashed(const wchar_t* folder) const { return (root_ / folder).wstring() + L"\\"; }

  std::wstring name;

 private:
  std::filesystem::path root_;
};

struct BrowseCase : Row {
  const wchar_t* folder;  // the folder confirmed; null: the dialog is cancelled
  bool error_box;
};

class InstallFolderBrowse : public ::testing::TestWithParam<BrowseCase> {};

TEST_P(InstallFolderBrowse, FillsEdit1OnlyWithAFolderHoldingTheTool) {
  const BrowseCase& c = GetParam();
  const DesktopFolders folders;
  RunningApp app;
  const MainWindowHandles& w = app.Windows();
  // What is typed in Edit1 does not move where the dialog starts.
  const std::wstring typed = folders.Slashed(L"tool");
  SetWindowTextW(w.edit1, typed.c_str());

  Click(w.button1);
  const DialogWindows dialog = WaitForDialog(app.Thread());
  ASSERT_NE(dialog.form, nullptr);
  const HTREEITEM root = RootItem(dialog.tree);
  EXPECT_EQ(Selected(dialog.tree), root);
  EXPECT_FALSE(IsWindowEnabled(w.form));
  if (c.folder) {
    const HTREEITEM fixture = ChildNamed(dialog.tree, root, folders.name);
    ASSERT_NE(fixture, nullptr);
    Select(dialog.tree, fixture);
    ASSERT_TRUE(SelectChild(dialog.tree, c.folder));
    Click(dialog.ok);
  } else {
    Click(dialog.cancel);
  }
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog.form); }));

  if (c.error_box) {
    const MessageBoxSeen box = AnswerMessageBox(app.Thread(), w.form);
    EXPECT_EQ(box.text, L"指定されたフォルダ内で「ぺむりこ」の実行ファイルが確認できませんでした");
    EXPECT_EQ(box.caption, L"error");
    EXPECT_EQ(box.icon, ErrorIcon());
  } else {
    EXPECT_FALSE(WaitUntil([&] { return FindDialog(app.Thread()) != nullptr; }, 500ms));
  }
  const std::wstring expected = c.folder && !c.error_box ? folders.Slashed(c.folder) : typed;
  EXPECT_TRUE(WaitUntil([&] { return WindowText(w.edit1) == expected; }))
      << "Edit1: " << WindowText(w.edit1);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(w.form) != FALSE; }));
}

INSTANTIATE_TEST_SUITE_P(Folders, InstallFolderBrowse,
                         ::testing::Values(BrowseCase{"FolderWithTheTool", L"tool", false},
                                           BrowseCase{"FolderWithoutTheTool", L"empty", true},
                                           BrowseCase{"FirstMatchIsAFolder", L"decoy", true},
                                           BrowseCase{"FolderCodePage932CannotName", L"café", true},
                                           BrowseCase{"Cancelled", nullptr, false}),
                         RowName);

}  // namespace
}  // namespace pem::testing
