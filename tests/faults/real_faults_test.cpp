// Real obstacles on the platform's own file system (under Wine for the Windows build): a file
// where a category folder should go, a folder where an entry file should go, an output path that
// runs through a file. Each stops the run with its own message and leaves earlier output and
// everything outside the output folder as it was.
#include <gtest/gtest.h>

#include "dictionary.h"
#include "recording_host.h"
#include "temp_dir.h"

namespace pem::harden {
namespace {

using pem::testing::Sjis;

const Dictionary& ThreeCategories() {
  static const Dictionary dictionary{
      {{"first", {{"a", "one"}}}, {"blocked", {{"b", "two"}}}, {"third", {{"c", "three"}}}}};
  return dictionary;
}

struct ObstacleCase {
  const char* name;
  void (*place)(const Sandbox&);
  std::string (*error)(const Sandbox&);  // the error after the finishing stage
  Tree kept;                             // the output folder afterwards, the obstacle included
};

void PrintTo(const ObstacleCase& c, std::ostream* os) {
  *os << c.name;
}

const ObstacleCase kObstacles[] = {
    {"file_in_the_way_of_a_category",
     [](const Sandbox& s) { WriteFile(s.Output() / "blocked", "mine"); },
     [](const Sandbox&) { return Sjis("I/O エラー (183)"); },
     {{"first", std::nullopt}, {"first/a.txt", "one\r\n"}, {"blocked", "mine"}}},
    {"folder_in_the_way_of_an_entry",
     [](const Sandbox& s) {
       std::filesystem::create_directories(s.Output() / "blocked" / "b.txt");
     },
     [](const Sandbox& s) {
       return Sjis("ファイル ") + s.OutputText() + "\\blocked\\b.txt" + Sjis(" を作成できません");
     },
     {{"first", std::nullopt},
      {"first/a.txt", "one\r\n"},
      {"blocked", std::nullopt},
      {"blocked/b.txt", std::nullopt}}},
};

class ObstacleTest : public ::testing::TestWithParam<ObstacleCase> {};

TEST_P(ObstacleTest, StopsTheRunWithItsMessageAfterTheFinishingStage) {
  const ObstacleCase& c = GetParam();
  Sandbox sandbox;
  ThreeCategories().WriteTo(sandbox.Source());
  c.place(sandbox);
  const Tree before = Snapshot(sandbox.Root());
  RecordingHost host(sandbox.SourceText(), sandbox.OutputText());

  EXPECT_EQ(RunConversion(host), RunOutcome::kFailed);

  EXPECT_EQ(host.FinishingStage(), ExpectedFinishingStage(c.error(sandbox)));
  EXPECT_EQ(Snapshot(sandbox.Output()), c.kept);
  EXPECT_EQ(ChangesOutside(before, Snapshot(sandbox.Root()), "box/out"),
            std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Obstacles, ObstacleTest, ::testing::ValuesIn(kObstacles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ObstacleTest, AnOutputPathThroughAFileFailsTheCheckAndTouchesNothing) {
  Sandbox sandbox;
  ThreeCategories().WriteTo(sandbox.Source());
  WriteFile(sandbox.Output() / "file", "mine");
  const Tree before = Snapshot(sandbox.Root());
  RecordingHost host(sandbox.SourceText(), sandbox.OutputText() + "\\file\\sub");

  EXPECT_EQ(RunConversion(host), RunOutcome::kBadOutputFolder);

  EXPECT_EQ(host.Events(),
            std::vector<std::string>{"box Error error " + Sjis("保存先フォルダが異常です")});
  EXPECT_EQ(Snapshot(sandbox.Root()), before);
}

}  // namespace
}  // namespace pem::harden
