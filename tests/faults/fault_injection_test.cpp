// Faults injected through the file-system interface: every folder-creation error code, a file
// that cannot be created and a short write, each at chosen places in a run. After each the error
// has its own text and comes after the complete finishing stage, everything written before the
// fault is intact and nothing after it exists.
#include <gtest/gtest.h>

#include "dictionary.h"
#include "faulty_file_system.h"
#include "recording_host.h"
#include "temp_dir.h"

namespace pem::harden {
namespace {

using pem::testing::Sjis;

constexpr int kCategories = 3;
constexpr int kEntries = 3;  // per category

const Dictionary& SmallDictionary() {
  static const Dictionary dictionary = [] {
    Dictionary d;
    const std::string names[kCategories] = {"alpha", Sjis("ベータ"), "gamma"};
    for (int i = 0; i < kCategories; ++i) {
      Category category{names[i], {}};
      for (int j = 0; j < kEntries; ++j) {
        const std::string text = Sjis("本文 ") + std::to_string(i) + "-" + std::to_string(j);
        category.entries.push_back({"t" + std::to_string(j), text});
      }
      d.categories.push_back(std::move(category));
    }
    return d;
  }();
  return dictionary;
}

// Entries are numbered across categories in the order the run writes them.
const Category& CategoryOf(int entry) {
  return SmallDictionary().categories[entry / kEntries];
}
const Entry& EntryAt(int entry) {
  return CategoryOf(entry).entries[entry % kEntries];
}

struct FaultCase {
  std::string name;
  FaultPlan plan;
  std::string error;   // "%s" stands for the full path of the entry at `entries_before`
  int entries_before;  // entry files written in full before the fault
  int folders;         // category folders that exist after the run
  std::optional<std::size_t> partial;  // bytes of the failing entry's file that stay on disk
};

void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.name;
}

std::vector<FaultCase> FolderFaults() {
  const struct {
    std::uint32_t code;
    const char* text;
  } codes[] = {
      {2, "ファイルが見つかりません"},
      {3, "不正なファイル名です"},
      {4, "オープンしたファイルが多すぎます"},
      {5, "ファイルへのアクセスが拒否されました"},
      {100, "ファイルの末尾以降を読み込みました"},
      {101, "ディスクがいっぱいです"},
      {106, "入力値が数値ではありません"},
      {123, "I/O エラー (123)"},
      {183, "I/O エラー (183)"},
      {0x20000011, "I/O エラー (536870929)"},
  };
  std::vector<FaultCase> cases;
  for (const auto& c : codes) {
    FaultPlan plan;
    plan.failing_folder = 1;
    plan.folder_error = c.code;
    cases.push_back({"folder_code_" + std::to_string(c.code), plan, Sjis(c.text), kEntries, 1, {}});
  }
  for (int folder : {0, 2}) {
    FaultPlan plan;
    plan.failing_folder = folder;
    plan.folder_error = 5;
    cases.push_back({"folder_" + std::to_string(folder) + "_denied",
                     plan,
                     Sjis("ファイルへのアクセスが拒否されました"),
                     folder * kEntries,
                     folder,
                     {}});
  }
  return cases;
}

std::vector<FaultCase> FileFaults() {
  std::vector<FaultCase> cases;
  for (int entry : {0, 4, 8}) {
    const int folders = entry / kEntries + 1;
    FaultPlan create;
    create.failing_file = entry;
    cases.push_back({"create_" + std::to_string(entry),
                     create,
                     Sjis("ファイル ") + "%s" + Sjis(" を作成できません"),
                     entry,
                     folders,
                     {}});
    for (std::size_t bytes : {std::size_t{0}, std::size_t{3}}) {
      FaultPlan write;
      write.short_write = entry;
      write.short_write_bytes = bytes;
      cases.push_back({"write_" + std::to_string(entry) + "_keeps_" + std::to_string(bytes), write,
                       Sjis("ストリームへの書き込みエラー"), entry, folders, bytes});
    }
    FaultPlan close;
    close.failing_close = entry;
    cases.push_back({"close_" + std::to_string(entry), close, Sjis("ストリームへの書き込みエラー"),
                     entry, folders, EntryFileBytes(EntryAt(entry).text).size()});
  }
  return cases;
}

class FaultInjectionTest : public ::testing::TestWithParam<FaultCase> {
 protected:
  std::string EntryPath(int entry) const {
    return sandbox_.OutputText() + "\\" + CategoryOf(entry).name + "\\" + EntryAt(entry).title +
           ".txt";
  }

  Tree ExpectedTree() const {
    const FaultCase& c = GetParam();
    Tree tree;
    for (int i = 0; i < c.folders; ++i) {
      tree[Utf8Of(NativeOf(SmallDictionary().categories[i].name))] = std::nullopt;
    }
    const auto file = [&](int entry) {
      return Utf8Of(NativeOf(CategoryOf(entry).name + "\\" + EntryAt(entry).title + ".txt"));
    };
    for (int entry = 0; entry < c.entries_before; ++entry) {
      tree[file(entry)] = EntryFileBytes(EntryAt(entry).text);
    }
    if (c.partial) {
      tree[file(c.entries_before)] =
          EntryFileBytes(EntryAt(c.entries_before).text).substr(0, *c.partial);
    }
    return tree;
  }

  Sandbox sandbox_;
};

TEST_P(FaultInjectionTest, ReportsTheFaultAfterTheFinishingStageAndKeepsWhatWasWritten) {
  const FaultCase& c = GetParam();
  SmallDictionary().WriteTo(sandbox_.Source());
  FaultyFileSystem file_system(c.plan);
  RecordingHost host(sandbox_.SourceText(), sandbox_.OutputText());

  EXPECT_EQ(RunConversion(host, file_system), RunOutcome::kFailed);

  std::string error = c.error;
  if (const std::size_t at = error.find("%s"); at != std::string::npos) {
    error.replace(at, 2, EntryPath(c.entries_before));
  }
  EXPECT_EQ(host.Error(), error);
  EXPECT_EQ(host.FinishingStage(), ExpectedFinishingStage(error));
  EXPECT_EQ(std::count(host.Events().begin(), host.Events().end(), "step"),
            c.entries_before / kEntries);
  EXPECT_EQ(host.Written().size(), static_cast<std::size_t>(c.entries_before));
  EXPECT_EQ(Snapshot(sandbox_.Output()), ExpectedTree());
}

INSTANTIATE_TEST_SUITE_P(FolderCreation, FaultInjectionTest, ::testing::ValuesIn(FolderFaults()),
                         [](const auto& info) { return info.param.name; });
INSTANTIATE_TEST_SUITE_P(EntryFiles, FaultInjectionTest, ::testing::ValuesIn(FileFaults()),
                         [](const auto& info) { return info.param.name; });

TEST(FaultInjectionBudgetTest, AHugeCountEndsInBoundedTimeOnceCreationsAreRefused) {
  Sandbox sandbox;
  sandbox.WriteSource("pmridata.ini", "[ItemData]\r\nCount=2147483647\r\n");
  sandbox.WriteSource("dicdata.ini", "[DicData0]\r\nCount=2147483647\r\n");
  FaultPlan plan;
  plan.call_budget = 200;
  FaultyFileSystem file_system(plan);
  RecordingHost host(sandbox.SourceText(), sandbox.OutputText());
  EXPECT_EQ(RunConversion(host, file_system), RunOutcome::kFailed);
  EXPECT_TRUE(file_system.BudgetSpent());
  EXPECT_EQ(host.FinishingStage().size(), 4u);
}

}  // namespace
}  // namespace pem::harden
