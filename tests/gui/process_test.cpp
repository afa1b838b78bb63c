// PemConv.exe itself, started as a program: renamed, it carries its new name as the title of
// its task-bar entry and of its error box, while the window caption stays.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "dictionary_fixture.h"
#include "temp_dir.h"
#include "ui_probe.h"
#include "win32_owners.h"

namespace pem::testing {
namespace {

// The built executable; a path of the build machine is reached through Wine's drive Z:.
std::filesystem::path BuiltExecutable() {
  std::wstring path = std::filesystem::path(PEMCONV_EXE).wstring();
  if (!path.empty() && (path[0] == L'/' || path[0] == L'\\')) path = L"Z:" + path;
  return path;
}

HWND FindTopLevel(DWORD process, const wchar_t* class_name) {
  return FindTopLevelWindow([&](HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == process && ClassName(window) == class_name;
  });
}

// The program, ended when the test leaves it running.
class Program {
 public:
  explicit Program(const std::filesystem::path& executable) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + executable.wstring() + L"\"";
    if (!CreateProcessW(executable.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
      throw std::runtime_error("cannot start " + executable.string());
    process_.reset(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    id_ = info.dwProcessId;
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.get(), 1);
  }
  DWORD Id() const { return id_; }
  bool Ended(DWORD milliseconds) const {
    return WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
  }
  DWORD ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
  }

 private:
  UniqueKernelHandle process_;
  DWORD id_ = 0;
};

TEST(Program, RenamedToConvertShowsTheTitleConvertInItsErrorBox) {
  DictionaryFixture fixture("[ItemData]\r\nCount=1\r\n0=Blocked\r\n", "", "");
  WriteBytes(fixture.Out() / "Blocked", "");
  TempDir folder;
  const std::filesystem::path renamed = folder.path() / "CONVERT.EXE";
  std::filesystem::copy_file(BuiltExecutable(), renamed);
  Program program(renamed);

  HWND form = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (form = FindTopLevel(program.Id(), L"TForm1")) != nullptr; },
                        30000ms));
  const DWORD thread = GetWindowThreadProcessId(form, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(form) != FALSE; }));
  EXPECT_EQ(WindowText(form), L"ぺむりこコンバータ");
  EXPECT_EQ(WindowText(FindTopLevel(program.Id(), L"TApplication")), L"Convert");

  const HWND edit1 = FindChildByText(form, L"C:\\Program Files\\pemuriko\\");
  ASSERT_NE(edit1, nullptr);
  const HWND edit2 = FindWindowExW(GetParent(edit1), edit1, L"Edit", nullptr);
  ASSERT_NE(edit2, nullptr);
  SetWindowTextW(edit1, fixture.InstallText().c_str());
  SetWindowTextW(edit2, fixture.OutText().c_str());
  Click(FindChildByText(form, L"&OK"));

  EXPECT_EQ(AnswerMessageBox(thread, form).text, L"終了しました");
  const MessageBoxSeen error = AnswerMessageBox(thread, form);
  EXPECT_EQ(error.text, L"I/O エラー (183)");
  EXPECT_EQ(error.caption, L"Convert");

  Click(FindChildByText(form, L"&Cancel"));
  EXPECT_TRUE(program.Ended(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
}

}  // namespace
}  // namespace pem::testing
