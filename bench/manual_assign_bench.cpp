// Manual assignment on a large route tree: RQ_HARNEX_MANUALSET run from the palette's button
// on a segment at the root of a tree of 1,000, 10,000 and 50,000 route elements in one route
// group, every element reached and written with one palette row. Goal: under 0.5 s at 10,000,
// growing no faster than N log N.
//
// The tree is a comb: a trunk of segments with a tee every second element and a branch of
// eight segments up from each tee, so a trace goes deep along the trunk and into every branch.
#include <memory>
#include <vector>

#include "assignment_bench_support.h"

namespace {

using assignment_bench::Tree;

constexpr double kPitch = 20.0;  // trunk length of one tee and the segment after it
constexpr int kBranch = 8;       // segments up from each tee

// The comb of `elements` route elements (rounded up to whole tees with their branches), the
// palette's first row ticked.
std::unique_ptr<Tree> MakeTree(int elements) {
  auto tree = std::make_unique<Tree>();
  Tree* t = tree.get();
  const auto draw = [t, elements](AcDbDatabase* db) {
    tools::DrawingBuilder b(db);
    b.DefineSegment(L"RT10", 10);
    b.DefineTee(L"RB_T5", 5);
    std::vector<AcDbObjectId> members;
    t->root = b.AddRouteElement(L"RT10", {-10, 0});
    members.push_back(t->root);
    for (int unit = 0; static_cast<int>(members.size()) < elements; ++unit) {
      const double cx = 5 + kPitch * unit;
      members.push_back(b.AddRouteElement(L"RB_T5", {cx, 0}));
      members.push_back(b.AddRouteElement(L"RT10", {cx + 5, 0}));
      for (int j = 0; j < kBranch; ++j) {
        t->last = b.AddRouteElement(L"RT10", {cx, 5 + 10.0 * j, 90});
        members.push_back(t->last);
      }
    }
    b.AddGroup(L"TREE", members);
  };
  if (!assignment_bench::Start(*tree, draw, 336)) return nullptr;  // 個別付与
  return tree;
}

void BM_ManualAssignTree(benchmark::State& state) {
  assignment_bench::Measure(state, MakeTree);
}
BENCHMARK(BM_ManualAssignTree)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN)
    ->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
  return assignment_bench::Main(argc, argv);
}
