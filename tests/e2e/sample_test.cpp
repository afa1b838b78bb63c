// The bundled sample converted and compared, name for name and byte for byte, with the golden
// tree checked in beside the tests.
#include "e2e_support.h"

namespace pem::testing {
namespace {

class SampleTest : public E2eTest {
 protected:
  void SetUp() override { UseSample(); }
};

TEST_F(SampleTest, MatchesTheGoldenTree) {
  const RunResult run = Convert();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kFinishedLine);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(TreeDifferences(SampleGolden(), ReadTree(Out())), "");
}

struct SeparatorCase {
  const char* name;
  std::string install_suffix;
  std::string out_suffix;
};

void PrintTo(const SeparatorCase& c, std::ostream* os) {
  *os << c.name;
}

class SampleSeparatorTest : public SampleTest,
                            public ::testing::WithParamInterface<SeparatorCase> {};

// The installation folder is a prefix for the tool's file names and the output folder gets a
// separator before every name; either may be typed with or without a trailing separator.
TEST_P(SampleSeparatorTest, GivesTheSameTree) {
  const RunResult run =
      Run({Utf8Arg(Install()) + GetParam().install_suffix, Utf8Arg(Out()) + GetParam().out_suffix});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kFinishedLine);
  EXPECT_EQ(TreeDifferences(SampleGolden(), ReadTree(Out())), "");
}

INSTANTIATE_TEST_SUITE_P(Folders, SampleSeparatorTest,
                         ::testing::Values(SeparatorCase{"Neither", "", ""},
                                           SeparatorCase{"InstallNative", NativeSeparator(), ""},
                                           SeparatorCase{"OutNative", "", NativeSeparator()},
                                           SeparatorCase{"BothNative", NativeSeparator(),
                                                         NativeSeparator()},
                                           SeparatorCase{"BothBackslash", "\\", "\\"},
                                           SeparatorCase{"BothSlash", "/", "/"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pem::testing
