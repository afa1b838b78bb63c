// The application with its main window, started as PemConv.exe starts it but on a thread of its
// own, so that the test's thread can act as the user.
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <future>
#include <thread>

namespace pem::testing {

struct MainWindowHandles {
  HWND application = nullptr;
  HWND form = nullptr;
  HWND group_box1 = nullptr;
  HWND edit1 = nullptr;
  HWND button1 = nullptr;
  HWND button2 = nullptr;
  HWND button3 = nullptr;
  HWND label1 = nullptr;
  HWND label2 = nullptr;
  HWND edit2 = nullptr;
  HWND button4 = nullptr;
  HWND label3 = nullptr;
  HWND progress_bar1 = nullptr;
};

class RunningApp {
 public:
  // Starts the application and waits until its main window is active with the focus in it.
  RunningApp();
  RunningApp(const RunningApp&) = delete;
  RunningApp& operator=(const RunningApp&) = delete;
  // Closes the main window if it is still open and waits for the application to end.
  ~RunningApp();

  const MainWindowHandles& Windows() const { return windows_; }
  DWORD Thread() const { return thread_id_; }
  // True once the message loop has ended and the application object is gone.
  bool Ended() const { return ended_; }
  bool WaitForEnd();
  // The start-up measurements that only the application's thread can take.
  int MeasuredTextHeight() const { return text_height_; }

 private:
  void Main(std::promise<void>& started);

  MainWindowHandles windows_;
  DWORD thread_id_ = 0;
  int text_height_ = 0;
  std::atomic<bool> ended_{false};
  std::thread thread_;
};

}  // namespace pem::testing
