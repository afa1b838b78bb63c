// Times the shell tree expanding one folder against the bare listing of that folder by the
// shell, alternately in one process; prints the medians and their ratio.
// Usage: bench_shell_tree FOLDER ROUNDS
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "application.h"
#include "form.h"
#include "shell_tree_view.h"
#include "win32_text.h"

namespace {

using Clock = std::chrono::steady_clock;

struct BenchForm : pem::gui::TForm {
  BenchForm(pem::gui::TComponent& owner, BenchForm*& self, const pem::gui::FormLayout& layout)
      : TForm((self = this, owner), layout) {}
};

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// EnumObjects over the folder, every child fetched and freed.
double BareListing(const std::wstring& folder, std::size_t& count) {
  const auto start = Clock::now();
  pem::AbsoluteIdList list;
  pem::shell::ParsePath(folder, list);
  const auto item = pem::shell::ItemFromAbsoluteId(list.get());
  pem::ComPtr<IEnumIDList> enumerator;
  item->BoundFolder()->EnumObjects(nullptr, SHCONTF_FOLDERS, enumerator.put());
  count = 0;
  for (pem::ChildIdList child; enumerator->Next(1, child.put(), nullptr) == S_OK;) ++count;
  return Seconds(start);
}

// A shown tree whose root is the folder: the root node expands, listing and sorting it.
double TreeExpansion(pem::gui::TApplication& application, const std::string& folder,
                     std::size_t& count) {
  pem::gui::FormLayout layout;
  layout.window_class = L"TShellTreeBenchForm";
  layout.client_width = 320;
  layout.client_height = 480;
  BenchForm* form = nullptr;
  application.CreateForm<BenchForm>(form, layout);
  auto& tree =
      form->Create<pem::shell::TShellTreeView>(*form, pem::gui::ControlLayout{0, 0, 320, 480, ""});
  tree.FinishLoading();
  form->Show();
  const auto start = Clock::now();
  tree.SetRoot(folder);
  UpdateWindow(tree.Handle());
  const double seconds = Seconds(start);
  count = 0;
  for (auto* node = tree.GetFirstNode()->GetFirstChild(); node; node = node->GetNextSibling())
    ++count;
  application.DestroyComponent(*form);
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_shell_tree FOLDER ROUNDS\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int rounds = std::max(1, std::atoi(argv[2]));
  pem::shell::ShellControlsModule module;
  pem::gui::TApplication application;
  application.Initialize();
  std::vector<double> bare, tree;
  std::size_t listed = 0, shown = 0;
  for (int round = 0; round < rounds; ++round) {
    bare.push_back(BareListing(pem::WidenCp932(folder), listed));
    tree.push_back(TreeExpansion(application, folder, shown));
  }
  if (listed != shown || listed == 0) {
    std::fprintf(stderr, "the tree shows %zu nodes, the shell lists %zu\n", shown, listed);
    return 2;
  }
  const double bare_median = Median(bare);
  const double tree_median = Median(tree);
  std::printf("folders: %zu, rounds: %d\n", listed, rounds);
  std::printf("bare EnumObjects pass: %.3f s (median)\n", bare_median);
  std::printf("tree expansion:        %.3f s (median)\n", tree_median);
  std::printf("ratio tree / bare:     %.1f\n", tree_median / bare_median);
  return 0;
}
