// Times messages to a framework tree view against messages to a bare tree view of the platform,
// alternately in one process and on one form; prints the medians and their ratio.
// Usage: bench_message_path [MESSAGES] [ROUNDS]   defaults 100000 and 5
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "application.h"
#include "bench_form.h"
#include "tree_view.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kNodes = 100;

HWND BareTree(HWND parent) {
  const HWND tree =
      CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS,
                      320, 0, 320, 480, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (int node = 0; node < kNodes; ++node) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(L"node");
    SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
  }
  return tree;
}

// The questions a tree's user asks most: the first node, a node's state, its neighbour, the count.
double SendMessages(HWND tree, int messages) {
  const auto root = static_cast<LPARAM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  const auto start = Clock::now();
  for (int message = 0; message < messages; message += 4) {
    SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    SendMessageW(tree, TVM_GETITEMSTATE, static_cast<WPARAM>(root), TVIS_EXPANDED);
    SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, root);
    SendMessageW(tree, TVM_GETCOUNT, 0, 0);
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int messages = argc > 1 ? std::max(4, std::atoi(argv[1])) : 100000;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  pem::gui::TApplication application;
  application.Initialize();
  pem::bench::BenchForm* form =
      &pem::bench::CreateBenchForm(application, L"TMessagePathBenchForm", 640, 480);
  auto& framework =
      form->Create<pem::gui::TCustomTreeView>(*form, pem::gui::ControlLayout{0, 0, 320, 480, ""});
  for (int node = 0; node < kNodes; ++node) framework.AddChild(nullptr, L"node");
  const HWND bare = BareTree(form->Handle());
  form->Show();

  std::vector<double> framework_times, bare_times;
  for (int round = 0; round < rounds; ++round) {
    framework_times.push_back(SendMessages(framework.Handle(), messages));
    bare_times.push_back(SendMessages(bare, messages));
  }
  const double framework_median = Median(framework_times);
  const double bare_median = Median(bare_times);
  const double per_message = 1e6 / messages;
  std::printf("messages: %d per tree, rounds: %d\n", messages, rounds);
  std::printf("bare tree view:      %.3f s (median), %.2f us a message\n", bare_median,
              bare_median * per_message);
  std::printf("framework tree view: %.3f s (median), %.2f us a message\n", framework_median,
              framework_median * per_message);
  std::printf("ratio framework / bare: %.2f\n", framework_median / bare_median);
  DestroyWindow(bare);
  application.DestroyComponent(*form);
  return 0;
}
