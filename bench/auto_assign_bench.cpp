// Automatic assignment on a generated route network: RQ_HARNEX_AUTOSET run from the palette's
// button on the terminal segment at the root of a network of 1,000, 10,000, 50,000 and 100,000
// route elements in one route group, with 100 loads and 5 hatched panels. Goal: at most 1 s at
// 100,000, growing no faster than N log N. Counter peak_rss_MiB: the process's peak resident size;
// heap_kept_KiB: what one run leaves on the heap (the undo step it recorded). The variant
// WithoutUndo runs with the host's undo off, so that the two give the cost of recording.
//
// The network is a comb: the terminal segment, then a trunk of segments with a tee every second
// element and a branch of eight segments up from each tee. 100 branches, evenly spread, end in a
// load whose part number matches the first palette row; 5 of the tees at the base of a loaded
// branch are hatched panels, so their loads stop at the panel and the panel collects names.
#include <sys/resource.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "assignment_bench_support.h"

namespace {

using assignment_bench::Tree;

constexpr double kPitch = 20.0;  // trunk length of one tee and the segment after it
constexpr int kBranch = 8;       // segments up from each tee
constexpr int kUnit = 2 + kBranch;
constexpr int kLoads = 100;
constexpr int kPanels = 5;

// The network of `elements` route elements (rounded up to whole tees with their branches), the
// palette's first row ticked; `last` is the top segment of the last loaded branch without a
// panel.
std::unique_ptr<Tree> MakeTree(int elements, int undo_steps) {
  auto tree = std::make_unique<Tree>();
  Tree* t = tree.get();
  const auto draw = [t, elements](AcDbDatabase* db) {
    tools::DrawingBuilder b(db);
    b.DefineSegment(L"RT10", 10);
    b.DefineTee(L"RB_T5", 5);
    b.DefineTee(L"RBT5", 5, /*hatched=*/true);
    b.DefinePart(L"LOAD", 4);
    std::vector<AcDbObjectId> members;
    t->root = b.AddRouteElement(L"RT10", {-10, 0});
    members.push_back(t->root);
    const int units = (elements + kUnit - 1) / kUnit;
    const int every = std::max(1, units / kLoads);
    int panels = 0;
    for (int unit = 0; static_cast<int>(members.size()) < elements; ++unit) {
      const double cx = 5 + kPitch * unit;
      const bool loaded = unit % every == every - 1 && unit / every < kLoads;
      const bool panel = loaded && panels < kPanels && (unit / every) % (kLoads / kPanels) == 0;
      if (panel) ++panels;
      members.push_back(b.AddRouteElement(panel ? L"RBT5" : L"RB_T5", {cx, 0}));
      members.push_back(b.AddRouteElement(L"RT10", {cx + 5, 0}));
      for (int j = 0; j < kBranch; ++j) {
        const AcDbObjectId id = b.AddRouteElement(L"RT10", {cx, 5 + 10.0 * j, 90});
        if (loaded && !panel) t->last = id;
        members.push_back(id);
      }
      if (loaded) members.push_back(b.AddPart(L"LOAD", {cx, 5 + 10.0 * kBranch}, L"L-1, P-1"));
    }
    b.AddGroup(L"TREE", members);
  };
  if (!assignment_bench::Start(*tree, draw, 387, undo_steps)) return nullptr;  // 自動付与
  return tree;
}

std::unique_ptr<Tree> MakeTreeWithUndo(int elements) {
  return MakeTree(elements, 50);
}
std::unique_ptr<Tree> MakeTreeWithoutUndo(int elements) {
  return MakeTree(elements, 0);
}

void BM_AutoAssignNetwork(benchmark::State& state) {
  assignment_bench::Measure(state, MakeTreeWithUndo);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MiB"] = usage.ru_maxrss / 1024.0;
}
BENCHMARK(BM_AutoAssignNetwork)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN)
    ->Iterations(2);

// The same at 10,000 with undo off: what recording the step costs (goal: at most 20 % more).
void BM_AutoAssignNetworkWithoutUndo(benchmark::State& state) {
  assignment_bench::Measure(state, MakeTreeWithoutUndo);
}
BENCHMARK(BM_AutoAssignNetworkWithoutUndo)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
  return assignment_bench::Main(argc, argv);
}
