// Blocks of the shell's task allocator that are still outstanding, counted from the first call
// on: a difference between two readings is what the code in between kept.
#pragma once

namespace pem::testing {

long OutstandingTaskBlocks();

}  // namespace pem::testing
