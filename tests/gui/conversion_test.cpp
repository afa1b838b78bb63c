// Conversions started from the main window: the checks with their boxes, a whole run with its
// progress, and runs that end with an error.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <ostream>

#include "app_driver.h"
#include "dictionary_fixture.h"
#include "message_recorder.h"
#include "ui_probe.h"

namespace pem::testing {
namespace {

constexpr char kCategories[] = "[ItemData]\r\nCount=3\r\n0=カテゴリ\r\n1=Cat/B\r\n2=Empty\r\n";
constexpr char kTexts[] =
    "[DicData0]\r\nCount=2\r\n0=text zero\r\n1=テキスト\r\n"
    "[DicData1]\r\nCount=1\r\n0=hello\r\n";
constexpr char kTitles[] = "[DicExpData0]\r\n0=title0\r\n1=タイトル\r\n[DicExpData1]\r\n0=t\r\n";

std::vector<HWND> DirectChildren(const MainWindowHandles& w) {
  return {w.group_box1, w.button2, w.button3, w.progress_bar1};
}

void StartRun(const MainWindowHandles& w, const std::wstring& install, const std::wstring& out) {
  SetWindowTextW(w.edit1, install.c_str());
  SetWindowTextW(w.edit2, out.c_str());
  Click(w.button2);
}

bool Idle(const MainWindowHandles& w) {
  for (const HWND window : DirectChildren(w)) {
    if (!IsWindowEnabled(window)) return false;
  }
  return IsWindowEnabled(w.form) && !IsWindowVisible(w.progress_bar1);
}

std::vector<RecordedMessage> Only(const std::vector<RecordedMessage>& messages, UINT message) {
  std::vector<RecordedMessage> selected;
  for (const RecordedMessage& recorded : messages) {
    if (recorded.message == message) selected.push_back(recorded);
  }
  return selected;
}

struct FailedCheck {
  const char* name;
  bool install_has_tool;
  std::function<std::wstring(const DictionaryFixture&)> out;
  const wchar_t* text;
  const wchar_t* caption;
};
void PrintTo(const FailedCheck& c, std::ostream* out) {
  *out << c.name;
}

class FailedCheckTest : public ::testing::TestWithParam<FailedCheck> {};

TEST_P(FailedCheckTest, ShowsItsBoxAndChangesNothing) {
  const FailedCheck& check = GetParam();
  DictionaryFixture fixture(kCategories, kTexts, kTitles);
  if (!check.install_has_tool) std::filesystem::remove(fixture.Install() / "pemri.exe");
  RunningApp app;
  const MainWindowHandles& w = app.Windows();
  MessageRecorder recorder(app.Thread(), DirectChildren(w));

  StartRun(w, fixture.InstallText(), check.out(fixture));
  const MessageBoxSeen box = AnswerMessageBox(app.Thread(), w.form);

  EXPECT_EQ(box.text, check.text);
  EXPECT_EQ(box.caption, check.caption);
  EXPECT_EQ(box.icon, ErrorIcon());
  EXPECT_EQ(box.owner, w.application);
  EXPECT_FALSE(box.form_enabled);
  EXPECT_TRUE(WaitUntil([&] { return Idle(w); }));
  EXPECT_TRUE(recorder.Messages().empty()) << "no control was disabled or changed";
  EXPECT_FALSE(std::filesystem::exists(fixture.Out() / L"カテゴリ")) << "nothing was written";
  EXPECT_FALSE(app.Ended());
}

constexpr wchar_t kToolNotFound[] =
    L"指定されたフォルダ内で「ぺむりこ」の実行ファイルが確認できませんでした";
constexpr wchar_t kBadOutputFolder[] = L"保存先フォルダが異常です";

INSTANTIATE_TEST_SUITE_P(
    Checks, FailedCheckTest,
    ::testing::Values(
        FailedCheck{"NoToolExecutable", false,
                    [](const DictionaryFixture& f) { return f.OutText(); }, kToolNotFound,
                    L"error"},
        FailedCheck{"EmptyOutputFolder", true, [](const DictionaryFixture&) { return L""; },
                    kBadOutputFolder, L"Error"},
        FailedCheck{"MissingOutputFolder", true,
                    [](const DictionaryFixture& f) { return f.OutText() + L"\\missing"; },
                    kBadOutputFolder, L"Error"},
        FailedCheck{"OutputFolderIsAFile", true,
                    [](const DictionaryFixture& f) { return f.InstallText() + L"pemri.exe"; },
                    kBadOutputFolder, L"Error"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Conversion, RunsWithDisabledControlsAndProgressThenReportsTheEnd) {
  DictionaryFixture fixture(kCategories, kTexts, kTitles);
  RunningApp app;
  const MainWindowHandles& w = app.Windows();
  MessageRecorder recorder(app.Thread(), DirectChildren(w));

  StartRun(w, fixture.InstallText(), fixture.OutText());
  const MessageBoxSeen box = AnswerMessageBox(app.Thread(), w.form);
  const std::vector<RecordedMessage> messages = recorder.Messages();

  EXPECT_EQ(box.text, L"終了しました");
  EXPECT_EQ(box.caption, L"Infomation");
  EXPECT_EQ(box.icon, InformationIcon());
  EXPECT_EQ(box.owner, w.application);
  EXPECT_FALSE(box.form_enabled);

  const auto enables = Only(messages, WM_ENABLE);
  ASSERT_EQ(enables.size(), 8u);
  const std::vector<HWND> children = DirectChildren(w);
  for (std::size_t index = 0; index < 4; ++index) {
    EXPECT_EQ(enables[index].window, children[index]);
    EXPECT_EQ(enables[index].wparam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(enables[index + 4].window, children[index]);
    EXPECT_EQ(enables[index + 4].wparam, static_cast<WPARAM>(TRUE));
  }
  const auto ranges = Only(messages, PBM_SETRANGE32);
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(ranges[0].wparam, 0u);
  EXPECT_EQ(ranges[0].lparam, 2);
  const auto positions = Only(messages, PBM_SETPOS);
  ASSERT_EQ(positions.size(), 1u);
  EXPECT_EQ(positions[0].wparam, 0u);
  const auto steps = Only(messages, PBM_STEPIT);
  ASSERT_EQ(steps.size(), 3u);
  for (const RecordedMessage& step : steps) {
    EXPECT_TRUE(step.watched_all_disabled);
    EXPECT_TRUE(step.last_visible);
  }
  const auto shows = Only(messages, WM_SHOWWINDOW);
  ASSERT_EQ(shows.size(), 2u);
  EXPECT_EQ(shows[0].wparam, static_cast<WPARAM>(TRUE));
  EXPECT_EQ(shows[1].wparam, static_cast<WPARAM>(FALSE));
  // Hidden and enabled again before the box came up.
  EXPECT_EQ(messages.back().message, WM_ENABLE);

  EXPECT_TRUE(WaitUntil([&] { return Idle(w); }));
  EXPECT_EQ(ReadAsUtf8(fixture.Out() / L"カテゴリ" / "title0.txt"), "text zero\r\n");
  EXPECT_EQ(ReadAsUtf8(fixture.Out() / L"カテゴリ" / L"タイトル.txt"), "テキスト\r\n");
  EXPECT_EQ(ReadAsUtf8(fixture.Out() / L"Cat／B" / "t.txt"), "hello\r\n");
  EXPECT_TRUE(std::filesystem::is_directory(fixture.Out() / "Empty"));
  EXPECT_FALSE(app.Ended());
}

// Folders that code page 932 cannot name, typed as they are: the run reads and writes below them,
// and not below the folder of a look-alike name.
struct FolderRun {
  const char* name;
  const wchar_t* install;  // below the fixture's output folder; null: the fixture's own
  const wchar_t* out;      // below the fixture's output folder
};
void PrintTo(const FolderRun& c, std::ostream* out) {
  *out << c.name;
}

class FolderRunTest : public ::testing::TestWithParam<FolderRun> {};

TEST_P(FolderRunTest, ConvertsBelowTheFoldersAsTyped) {
  const FolderRun& run = GetParam();
  DictionaryFixture fixture(kCategories, kTexts, kTitles);
  std::filesystem::path install = fixture.Install();
  if (run.install) {
    install = fixture.Out() / run.install;
    std::filesystem::create_directories(install.parent_path());
    std::filesystem::copy(fixture.Install(), install);
  }
  const std::filesystem::path out = fixture.Out() / run.out;
  std::filesystem::create_directories(out);
  std::filesystem::create_directories(fixture.Out() / "cafe");
  RunningApp app;
  const MainWindowHandles& w = app.Windows();

  StartRun(w, install.wstring() + L"\\", out.wstring());
  const MessageBoxSeen box = AnswerMessageBox(app.Thread(), w.form);

  EXPECT_EQ(box.text, L"終了しました");
  EXPECT_TRUE(WaitUntil([&] { return Idle(w); }));
  EXPECT_EQ(ReadAsUtf8(out / L"カテゴリ" / L"タイトル.txt"), "テキスト\r\n");
  EXPECT_EQ(ReadAsUtf8(out / L"Cat／B" / "t.txt"), "hello\r\n");
  EXPECT_TRUE(std::filesystem::is_empty(fixture.Out() / "cafe"));
}

INSTANTIATE_TEST_SUITE_P(Folders, FolderRunTest,
                         ::testing::Values(FolderRun{"OutputBesideItsLookAlike", nullptr, L"café"},
                                           FolderRun{"BothBelowProfilesOfSuchNames", L"José\\tool",
                                                     L"Zoë\\out"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FailedRun {
  const char* name;
  // Puts something in the way of the run into its output folder.
  std::function<void(const std::filesystem::path&)> obstruct;
  std::function<std::wstring(const std::wstring&)> error;
  const wchar_t* out = nullptr;  // below the fixture's output folder; null: that folder itself
};
void PrintTo(const FailedRun& c, std::ostream* out) {
  *out << c.name;
}

void BlockEntryFile(const std::filesystem::path& out) {
  std::filesystem::create_directories(out / L"Cat／B" / "t.txt");
}
std::wstring EntryFileError(const std::wstring& out) {
  return L"ファイル " + out + L"\\Cat／B\\t.txt を作成できません.";
}

class FailedRunTest : public ::testing::TestWithParam<FailedRun> {};

TEST_P(FailedRunTest, ReportsTheEndThenTheErrorUnderTheTitle) {
  const FailedRun& run = GetParam();
  DictionaryFixture fixture(kCategories, kTexts, kTitles);
  const std::filesystem::path out = run.out ? fixture.Out() / run.out : fixture.Out();
  std::filesystem::create_directories(out);
  run.obstruct(out);
  RunningApp app;
  const MainWindowHandles& w = app.Windows();

  StartRun(w, fixture.InstallText(), out.wstring());
  const MessageBoxSeen end = AnswerMessageBox(app.Thread(), w.form);
  const MessageBoxSeen error = AnswerMessageBox(app.Thread(), w.form);

  EXPECT_EQ(end.text, L"終了しました");
  EXPECT_EQ(end.caption, L"Infomation");
  EXPECT_EQ(error.text, run.error(out.wstring()));
  EXPECT_EQ(error.caption, L"gui_test");
  EXPECT_EQ(error.icon, ErrorIcon());
  EXPECT_EQ(error.owner, w.application);
  EXPECT_FALSE(error.form_enabled);
  EXPECT_TRUE(WaitUntil([&] { return Idle(w); }));
  EXPECT_FALSE(app.Ended());
  // What was written before the error stays.
  EXPECT_TRUE(std::filesystem::exists(out / L"カテゴリ" / "title0.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FailedRunTest,
    ::testing::Values(
        // The message ends in ")": no period is added.
        FailedRun{"CategoryFolderBlockedByAFile",
                  [](const std::filesystem::path& out) { WriteBytes(out / L"Cat／B", ""); },
                  [](const std::wstring&) { return std::wstring(L"I/O エラー (183)"); }},
        // The message ends in a double-byte character: a period is added.
        FailedRun{"EntryFileBlockedByAFolder", BlockEntryFile, EntryFileError},
        // The box names the folder as typed, not by the "?" that code page 932 has for it.
        FailedRun{"EntryFileBlockedBelowAFolderCodePage932CannotName", BlockEntryFile,
                  EntryFileError, L"Zoë"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pem::testing
