// Seeded random dictionaries full of awkward names, converted twice into the same output folder
// and compared with what the model of the naming rules expects.
#include "dictionary.h"
#include "e2e_support.h"
#include "oracle.h"

namespace pem::testing {
namespace {

constexpr char kLeftHere[] = "left here\r\n";

class GeneratedDictionaryTest : public E2eTest,
                                public ::testing::WithParamInterface<std::uint32_t> {
 protected:
  // Files that a user left in the output folder: the run must step around them and keep them.
  void PlantExistingFiles(const Dictionary& dictionary, OutputModel& model) {
    const Category& category = dictionary.categories.front();
    const Text folder = OutputModel::FolderName(category.name.value_or(Text{}));
    const fs::path folder_path = Out() / fs::path(AsU8(Utf8Of(folder)));
    fs::create_directories(folder_path);
    const Text extension = Ascii(".txt");
    for (std::size_t j = 0; j < category.entries.size(); ++j) {
      const Text title = category.entries[j].title.value_or(Text{});
      Text name = OutputModel::StemName(title, static_cast<int>(j % 2));
      name.insert(name.end(), extension.begin(), extension.end());
      if (model.AddExistingFile(folder, name, kLeftHere)) {
        WriteBytes(folder_path / fs::path(AsU8(Utf8Of(name))), kLeftHere);
      }
    }
  }

  // Standard error holds warnings only, among them one for each file the dictionary goes
  // without (texts of arbitrary bytes may add one that a file is not code page 932 text).
  void ExpectOnlyWarnings(const Dictionary& dictionary, const std::string& err) const {
    for (std::size_t at = 0; at < err.size(); at = err.find('\n', at) + 1) {
      EXPECT_TRUE(err.compare(at, 18, "pem2txt: warning: ") == 0) << err;
    }
    for (const auto& [has, name] : {std::pair{dictionary.has_dicdata, "dicdata.ini"},
                                    std::pair{dictionary.has_expdata, "expdata.ini"}}) {
      const std::string missing = Utf8Arg(Install() / name) + ": not found";
      EXPECT_EQ(err.find(missing) != std::string::npos, !has) << err;
    }
  }

  static std::u8string AsU8(const std::string& utf8) {
    return std::u8string(utf8.begin(), utf8.end());
  }
};

TEST_P(GeneratedDictionaryTest, WritesEveryNameAndByteOnEachRun) {
  const std::uint32_t seed = GetParam();
  const Dictionary dictionary = GenerateDictionary(seed);
  Random random(seed * 7919u);
  WriteDictionary(dictionary, Install(), random);

  OutputModel model(FileSystemFoldsCase());
  if (seed % 3 == 0) PlantExistingFiles(dictionary, model);
  for (int run = 1; run <= 2; ++run) {
    const RunResult result = Convert();
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, kFinishedLine);
    ExpectOnlyWarnings(dictionary, result.err);
    model.Convert(dictionary);
    EXPECT_EQ(TreeDifferences(model.Expected(), ReadTree(Out())), "")
        << "seed " << seed << ", run " << run;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, GeneratedDictionaryTest, ::testing::Range(1u, 41u));

}  // namespace
}  // namespace pem::testing
