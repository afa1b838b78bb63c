// What a program of the shell controls has around it: OLE and the desktop item, and the
// application object whose window owns what the tree opens.
#include <gtest/gtest.h>

#include <optional>

#include "application.h"
#include "shell_folder.h"

namespace pem::testing {
namespace {

class ShellEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    module_.emplace();
    application_.emplace();
    application_->Initialize();
  }
  void TearDown() override {
    application_.reset();
    module_.reset();
  }

 private:
  std::optional<shell::ShellControlsModule> module_;
  std::optional<gui::TApplication> application_;
};

// GoogleTest owns the environments registered with it.
[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace
}  // namespace pem::testing
