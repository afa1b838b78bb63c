// An event: one handler bound to its receiver, or none; raising an unset event does nothing.
#pragma once

#include <functional>
#include <utility>

namespace pem::gui {

template <typename... Args>
class Event {
 public:
  template <typename Receiver, typename Base>
  void Bind(Receiver& receiver, void (Base::*handler)(Args...)) {
    handler_ = [&receiver, handler](Args... args) { (receiver.*handler)(args...); };
  }
  void Bind(std::function<void(Args...)> handler) { handler_ = std::move(handler); }
  void Reset() { handler_ = nullptr; }
  explicit operator bool() const { return static_cast<bool>(handler_); }

  void operator()(Args... args) const {
    if (handler_) handler_(args...);
  }

 private:
  std::function<void(Args...)> handler_;
};

// Raises an event whose last argument lets its handler refuse; true unless the handler refused.
template <typename... Args, typename... Given>
bool Allowed(const Event<Args...>& event, Given&&... given) {
  bool allow = true;
  event(std::forward<Given>(given)..., allow);
  return allow;
}

class TObject;
using TNotifyEvent = Event<TObject&>;

}  // namespace pem::gui
