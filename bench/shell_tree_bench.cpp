// Times the shell tree on one big folder, alternately with its baselines in one process: opening
// it against the bare listing, against a bare tree view with the same labels, and against the
// listing followed by a bare tree that also looks as the shell tree does (lines, buttons, the
// shell's folder icons), the least that any such tree could take; a screenful from its middle,
// SelectedPath of a folder there and closing the tree against fixed limits. Prints the medians and
// their ratios.
// Usage: bench_shell_tree FOLDER MIDDLE-FOLDER ROUNDS
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "application.h"
#include "bench_form.h"
#include "shell_tree_view.h"
#include "win32_text.h"

namespace {

using Clock = std::chrono::steady_clock;

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

enum class Look { labels, shell };

// The same labels in a bare tree view of the platform: one insertion each, one repaint. With
// the shell's look, each row also has the lines, a button and the system's folder icons.
double BareTree(pem::gui::TForm& form, const std::vector<std::wstring>& labels, Look look) {
  const auto start = Clock::now();
  const DWORD lines = look == Look::shell ? TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS : 0;
  const HWND tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                    WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | lines, 0, 0, 320, 480,
                                    form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
  TVINSERTSTRUCTW insert{};
  insert.item.mask = TVIF_TEXT | TVIF_CHILDREN;
  if (look == Look::shell) {
    SHFILEINFOW folder{};
    const auto images =
        SHGetFileInfoW(L"C:\\", 0, &folder, sizeof(folder), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, static_cast<LPARAM>(images));
    insert.item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.iImage = insert.item.iSelectedImage = folder.iIcon;
  }
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.pszText = const_cast<wchar_t*>(L"root");
  const auto root = reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  insert.hParent = root;
  for (const std::wstring& label : labels) {
    insert.item.pszText = const_cast<wchar_t*>(label.c_str());
    insert.item.cChildren = 1;
    SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
  }
  SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
  SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  const double seconds = Seconds(start);
  DestroyWindow(tree);
  return seconds;
}

struct TreeTimes {
  double open;    // the root set to the folder, to the end of the repaint
  double scroll;  // the rows of the folder's middle brought on screen and painted
  double select;  // SelectedPath of the middle folder
  double close;   // the form destroyed with every node and item
};

// A shown tree whose root becomes the folder: the root node expands, listing and sorting it.
TreeTimes TreeRound(pem::gui::TApplication& application, const std::string& folder,
                    const std::string& middle, std::size_t& count) {
  pem::bench::BenchForm* form =
      &pem::bench::CreateBenchForm(application, L"TShellTreeBenchForm", 320, 480);
  auto& tree =
      form->Create<pem::shell::TShellTreeView>(*form, pem::gui::ControlLayout{0, 0, 320, 480, ""});
  tree.FinishLoading();
  form->Show();
  TreeTimes times{};
  auto start = Clock::now();
  tree.SetRoot(folder);
  UpdateWindow(tree.Handle());
  times.open = Seconds(start);
  std::vector<pem::gui::TTreeNode*> children;
  for (auto* node = tree.GetFirstNode()->GetFirstChild(); node; node = node->GetNextSibling())
    children.push_back(node);
  count = children.size();
  if (!children.empty()) {
    start = Clock::now();
    tree.SetTopItem(*children[children.size() / 2]);
    UpdateWindow(tree.Handle());
    times.scroll = Seconds(start);
  }
  start = Clock::now();
  tree.SetSelectedPath(middle);
  times.select = Seconds(start);
  if (tree.SelectedPath() != middle) std::fprintf(stderr, "not selected: %s\n", middle.c_str());
  start = Clock::now();
  application.DestroyComponent(*form);
  times.close = Seconds(start);
  return times;
}

// The labels that the folder's listing shows, for the bare tree.
std::vector<std::wstring> Labels(const std::wstring& folder) {
  pem::AbsoluteIdList list;
  pem::shell::ParsePath(folder, list);
  const auto item = pem::shell::ItemFromAbsoluteId(list.get());
  pem::ComPtr<IEnumIDList> enumerator;
  item->BoundFolder()->EnumObjects(nullptr, SHCONTF_FOLDERS, enumerator.put());
  std::vector<std::wstring> labels;
  for (pem::ChildIdList child; enumerator->Next(1, child.put(), nullptr) == S_OK;)
    labels.push_back(
        pem::shell::WideDisplayNameOf(item->BoundFolder(), child.get(), SHGDN_INFOLDER));
  return labels;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

void Report(const char* what, double value, const char* baseline_name, double baseline,
            const char* target) {
  std::printf("%-32s %.3f s  %-31s %.3f s  ratio %.2f  (%s)\n", what, value, baseline_name,
              baseline, value / baseline, target);
}

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_shell_tree FOLDER MIDDLE-FOLDER ROUNDS\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::string middle = argv[2];
  const int rounds = std::max(1, std::atoi(argv[3]));
  pem::shell::ShellControlsModule module;
  pem::gui::TApplication application;
  application.Initialize();
  pem::bench::BenchForm* bare_form =
      &pem::bench::CreateBenchForm(application, L"TBareTreeBenchForm", 320, 480);
  bare_form->Show();
  const std::vector<std::wstring> labels = Labels(pem::WidenCp932(folder));
  std::vector<double> bare, bare_tree, least, open, scroll, select, close;
  std::size_t listed = 0, shown = 0;
  for (int round = 0; round < rounds; ++round) {
    bare.push_back(BareListing(pem::WidenCp932(folder), listed));
    bare_tree.push_back(BareTree(*bare_form, labels, Look::labels));
    least.push_back(bare.back() + BareTree(*bare_form, labels, Look::shell));
    const TreeTimes times = TreeRound(application, folder, middle, shown);
    open.push_back(times.open);
    scroll.push_back(times.scroll);
    select.push_back(times.select);
    close.push_back(times.close);
  }
  if (listed != shown || listed == 0) {
    std::fprintf(stderr, "the tree shows %zu nodes, the shell lists %zu\n", shown, listed);
    return 2;
  }
  std::printf("folders: %zu, rounds: %d, medians of wall-clock time\n", listed, rounds);
  Report("open the folder", Median(open), "bare EnumObjects pass", Median(bare), "target <= 3");
  Report("open the folder", Median(open), "bare tree, same labels", Median(bare_tree),
         "target <= 1.5");
  // No tree can open the folder faster than the shell lists it (all of it inside EnumObjects,
  // before the first child comes) and a bare tree of the same look shows it.
  Report("open the folder", Median(open), "listing + bare shell-look tree", Median(least),
         "the least possible is 1");
  Report("a screenful from the middle", Median(scroll), "fixed 0.1 s", 0.1, "target <= 1");
  Report("SelectedPath among the siblings", Median(select), "fixed 0.2 s", 0.2, "target <= 1");
  Report("close, every node released", Median(close), "fixed 0.2 s", 0.2, "target <= 1");
  return 0;
}
