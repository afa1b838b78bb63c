#include "change_notifier.h"

#include "application.h"

namespace pem::shell {

TShellChangeNotifier::TShellChangeNotifier(const std::wstring& folder,
                                           std::function<void()> on_change)
    : target_(std::make_shared<Target>()),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      change_(FindFirstChangeNotificationW(
          folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME)) {
  target_->on_change = std::move(on_change);
  if (stop_ && change_) thread_ = std::thread([this, change = change_.get()] { Watch(change); });
}

TShellChangeNotifier::~TShellChangeNotifier() {
  if (!thread_.joinable()) return;
  SetEvent(stop_.get());
  thread_.join();
}

void TShellChangeNotifier::Watch(HANDLE change) const {
  const HANDLE handles[] = {stop_.get(), change};
  while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
    HandOver();
    if (!FindNextChangeNotification(change)) return;
  }
}

void TShellChangeNotifier::HandOver() const {
  if (target_->pending.exchange(true)) return;
  // The notifier may be gone when the user-interface thread comes to the run.
  gui::Application().Post([weak = std::weak_ptr<Target>(target_)] {
    const std::shared_ptr<Target> target = weak.lock();
    if (!target) return;
    target->pending = false;
    target->on_change();
  });
}

}  // namespace pem::shell
