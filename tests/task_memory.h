// The shell's task allocator, watched for the whole test process: blocks still outstanding, and
// the blocks freed while a watch is in place.
#pragma once

#include <functional>

namespace pem::testing {

// Counted from the first call on: a difference between two readings is what the code in between
// kept.
long OutstandingTaskBlocks();

// Calls `on_free` for every block of the task allocator freed while it exists.
class TaskFreeWatch {
 public:
  explicit TaskFreeWatch(std::function<void(void*)> on_free);
  TaskFreeWatch(const TaskFreeWatch&) = delete;
  TaskFreeWatch& operator=(const TaskFreeWatch&) = delete;
  ~TaskFreeWatch();
};

}  // namespace pem::testing
