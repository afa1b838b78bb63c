// Records, on the application's thread, the messages that change the state of chosen windows
// (enabling, showing, progress range, position and steps), with what the user saw at each step,
// and every folder browser's request to select a folder by its path.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

namespace pem::testing {

struct RecordedMessage {
  HWND window;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  bool watched_all_disabled;  // every watched window except the last was disabled
  bool last_visible;          // the last watched window was visible
  std::wstring path;          // the path of a selection request
};

class MessageRecorder {
 public:
  MessageRecorder(DWORD thread, std::vector<HWND> watched);
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;
  ~MessageRecorder();

  std::vector<RecordedMessage> Messages();

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam);
  void Record(const CWPSTRUCT& call);

  std::vector<HWND> watched_;
  std::mutex mutex_;
  std::vector<RecordedMessage> messages_;
  HHOOK hook_;
};

}  // namespace pem::testing
