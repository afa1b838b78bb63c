// A whole run over three fuzzed INI files into a fresh output folder. After each run nothing
// outside the output folder has changed, no entry file was written twice, and every entry file
// lies in its category's folder and holds exactly the bytes of its entry's text.
// Input: PMRIDATA, separator, DICDATA, separator, EXPDATA.
#include <set>

#include "conversion_run.h"
#include "dictionary.h"
#include "faulty_file_system.h"
#include "fuzz_support.h"
#include "ini_reader.h"
#include "naming.h"
#include "recording_host.h"
#include "sandbox.h"

namespace pem::fuzz {
namespace {

using harden::NativeOf;

// Hostile counts ask for billions of folders and files: past this many file-system calls every
// creation fails, and the run must end with that error.
constexpr long long kCallBudget = 400;

void CheckEntries(const harden::Sandbox& sandbox, const harden::RecordingHost& host) {
  const std::vector<std::string>& written = host.Written();
  Require(std::set<std::string>(written.begin(), written.end()).size() == written.size(),
          "no entry file is written twice");
  const IniReader categories(sandbox.SourceText() + "pmridata.ini");
  const IniReader texts(sandbox.SourceText() + "dicdata.ini");
  std::size_t next = 0;
  const int count = categories.ReadNumber("ItemData", "Count", 0);
  for (int i = 0; i < count && next < written.size(); ++i) {
    const std::string section = "DicData" + std::to_string(i);
    // The empty name puts the entries into the output folder itself.
    const std::string name = CategoryFolderName(categories.ReadCategoryName(i));
    const std::filesystem::path folder =
        NativeOf(sandbox.OutputText() + (name.empty() ? "" : "\\" + name));
    const int entries = texts.ReadNumber(section, "Count", 0);
    for (int j = 0; j < entries && next < written.size(); ++j, ++next) {
      const std::filesystem::path file = NativeOf(written[next]);
      std::error_code error;
      Require(std::filesystem::equivalent(file.parent_path(), folder, error),
              "an entry file lies in its category's folder");
      Require(harden::ReadFile(file) ==
                  harden::EntryFileBytes(texts.ReadText(section, std::to_string(j), "")),
              "an entry file holds its text and CR LF");
    }
  }
  Require(next == written.size(), "every written file belongs to an entry");
}

}  // namespace
}  // namespace pem::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pem;
  using namespace pem::fuzz;
  const std::vector<std::string_view> parts = SplitInput(AsText(data, size), 3);
  const harden::Sandbox sandbox;
  sandbox.WriteSource("pmridata.ini", parts[0]);
  sandbox.WriteSource("dicdata.ini", parts[1]);
  sandbox.WriteSource("expdata.ini", parts[2]);
  const harden::Tree before = harden::Snapshot(sandbox.Root());
  harden::FaultPlan plan;
  plan.call_budget = kCallBudget;
  harden::FaultyFileSystem file_system(plan);
  harden::RecordingHost host(sandbox.SourceText(), sandbox.OutputText());

  const RunOutcome outcome = RunConversion(host, file_system);

  Require(outcome == RunOutcome::kCompleted || outcome == RunOutcome::kFailed,
          "the folder checks pass");
  Require(host.FinishingStage() == harden::ExpectedFinishingStage(host.Error()),
          "the finishing stage runs in full, any error after it");
  Require(harden::ChangesOutside(before, harden::Snapshot(sandbox.Root()), "box/out").empty(),
          "nothing outside the output folder changes");
  CheckEntries(sandbox, host);
  return 0;
}
