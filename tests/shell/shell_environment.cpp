// What a program of the shell controls has around it: OLE and the desktop item.
#include <gtest/gtest.h>

#include <optional>

#include "shell_folder.h"

namespace pem::testing {
namespace {

class ShellEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { module_.emplace(); }
  void TearDown() override { module_.reset(); }

 private:
  std::optional<shell::ShellControlsModule> module_;
};

// GoogleTest owns the environments registered with it.
[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace
}  // namespace pem::testing
