// Watches one folder for files and folders being added, removed or renamed (not in its
// sub-folders) on a thread of its own, and runs a handler on the user-interface thread after
// each change. Changes that arrive while a run is still pending are served by that run.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "win32_owners.h"

namespace pem::shell {

class TShellChangeNotifier {
 public:
  // Starts watching `folder`; a folder that cannot be watched reports nothing.
  TShellChangeNotifier(const std::wstring& folder, std::function<void()> on_change);
  TShellChangeNotifier(const TShellChangeNotifier&) = delete;
  TShellChangeNotifier& operator=(const TShellChangeNotifier&) = delete;
  // Stops the thread and waits for it; a handler run already handed over is dropped.
  ~TShellChangeNotifier();

 private:
  struct Target {
    std::function<void()> on_change;
    std::atomic<bool> pending{false};
  };

  void Watch(HANDLE change) const;
  void HandOver() const;

  std::shared_ptr<Target> target_;
  UniqueKernelHandle stop_;
  UniqueChangeNotification change_;
  std::thread thread_;
};

}  // namespace pem::shell
