// Connection and group questions on route networks of 1,000, 10,000 and 100,000 route elements,
// as a trace asks them: RootComn_GetConnectBlock7 with the whole network as one list,
// RootComn_GetConnectBlock5 with one route group, and RootComn_GetRootGroups.
//
// The drawing: rows of 100 straight segments end to end, each row one route group (so 100,000
// elements lie in 1,000 groups), made with the drawing builder as the route tools draw them.
//
// Benchmarks, each with the element count as argument:
//   BM_ConnectBlock7   one query with the same list of every element, at a random joint, after
//                      a first query with that list;
//   BM_ConnectBlock5   one query with the group holding the element, after a first query with
//                      each group;
//   BM_ConnectBlock7Walk, BM_ConnectBlock5Walk
//                      the same questions in the order a trace asks them: each element at its
//                      far end, then its neighbour there, row after row. The random order is
//                      the worst case (every question reads memory far from the last one's);
//                      the walk is what a trace costs;
// Random questions go through every element with a neighbour once, in a shuffled order, before
// any comes again: a short cycle of elements would keep its few cache lines warm and measure a
// network of that cycle's size instead.
//   BM_FullWalk        one walk: every element asked once at each of its two connection points,
//                      with the same list (the points are read before the clock starts);
//   BM_GetRootGroups   the route groups of a random element.
// The list is read through a const reference, as a trace that does not change it reads it: a
// non-const element access could change the list, and gives it a new identity.
// Counter peak_rss_MiB: the process's peak resident size after the run (the drawings of the
// smaller sizes made before are gone by then, but the peak stays).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <acdocman.h>
#include <dbmain.h>

#include <RootComn.h>
#include <VuRida.h>
#include "tools/drawing_builder.h"

namespace {

constexpr int kPerGroup = 100;
constexpr double kLength = 10.0;

double PeakRssMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// One drawing of `count` elements; the one of the size asked last is kept.
struct Network {
  int count = 0;
  std::unique_ptr<AcDbDatabase> db;
  AcDbObjectIdArray elements;
  std::vector<AcDbObjectId> groups;  // the group of element i is groups[i / kPerGroup]
  // The elements with a neighbour at their far end, as a trace walks them and shuffled.
  std::vector<int> walked, shuffled;

  explicit Network(int n) : count(n), db(std::make_unique<AcDbDatabase>(true, false)) {
    platform::acad::OpenDocument(db.get(), L"route_bench.dwg");
    tools::DrawingBuilder b(db.get());
    b.DefineSegment(L"RT10", kLength);
    for (int row = 0; row * kPerGroup < n && !b.failed(); ++row) {
      const double y = row * 2 * kLength;
      const auto run = b.AddStraightRun(L"RT10", 0, y, kPerGroup * kLength, y, kPerGroup);
      for (const AcDbObjectId& id : run) elements.append(id);
      groups.push_back(b.AddGroup(L"ROUTE" + std::to_wstring(row + 1), run));
    }
    if (b.failed()) {
      std::fprintf(stderr, "the drawing cannot be made: %ls\n", b.error().c_str());
      std::abort();
    }
    for (int i = 0; i < n; ++i) {
      if (i % kPerGroup != kPerGroup - 1 && i + 1 < n) walked.push_back(i);
    }
    shuffled = walked;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(27));
  }
  ~Network() { platform::acad::CloseDocument(); }

  // The joint at the far end of element i (the start of element i + 1 in its row).
  AcGePoint3d EndOf(int i) const {
    return AcGePoint3d((i % kPerGroup + 1) * kLength, (i / kPerGroup) * 2 * kLength, 0);
  }
};

// The drawing kept between benchmarks. main closes it before the host's own statics go: closing
// a document after them crashed the process at exit.
std::unique_ptr<Network> network;

Network& NetworkOf(int n) {
  if (!network || network->count != n) {
    network.reset();
    network = std::make_unique<Network>(n);
  }
  return *network;
}

using Order = std::vector<int> Network::*;

template <Order kOrder>
void ConnectBlock7(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Network& net = NetworkOf(n);
  AcDbObjectIdArray blocks;
  int count = 0;
  size_t step = 0;
  const std::vector<int>& order = net.*kOrder;
  // The first question with a list may prepare for the later ones; a trace asks many.
  RootComn_GetConnectBlock7(net.elements, net.elements[0], net.EndOf(0), blocks, count, 0, 3);
  for (auto _ : state) {
    const int i = order[step];
    step = step + 1 < order.size() ? step + 1 : 0;
    RootComn_GetConnectBlock7(net.elements, net.elements[i], net.EndOf(i), blocks, count, 0, 3);
    if (count != 1 || blocks[0] != net.elements[i + 1]) {
      state.SkipWithError("the next segment was not found");
      break;
    }
  }
  state.counters["peak_rss_MiB"] = PeakRssMiB();
}

template <Order kOrder>
void ConnectBlock5(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Network& net = NetworkOf(n);
  AcDbObjectIdArray blocks;
  int count = 0;
  size_t step = 0;
  const std::vector<int>& order = net.*kOrder;
  // A trace asks with the same few groups many times: each is asked once before.
  for (size_t g = 0; g < net.groups.size(); ++g) {
    const int first = static_cast<int>(g) * kPerGroup;
    RootComn_GetConnectBlock5(net.groups[g], net.elements[first], net.EndOf(first), blocks, count,
                              0, 3);
  }
  for (auto _ : state) {
    const int i = order[step];
    step = step + 1 < order.size() ? step + 1 : 0;
    RootComn_GetConnectBlock5(net.groups[i / kPerGroup], net.elements[i], net.EndOf(i), blocks,
                              count, 0, 3);
    if (count != 1 || blocks[0] != net.elements[i + 1]) {
      state.SkipWithError("the next segment was not found");
      break;
    }
  }
  state.counters["peak_rss_MiB"] = PeakRssMiB();
}

void BM_ConnectBlock7(benchmark::State& state) {
  ConnectBlock7<&Network::shuffled>(state);
}
BENCHMARK(BM_ConnectBlock7)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
void BM_ConnectBlock7Walk(benchmark::State& state) {
  ConnectBlock7<&Network::walked>(state);
}
BENCHMARK(BM_ConnectBlock7Walk)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_ConnectBlock5(benchmark::State& state) {
  ConnectBlock5<&Network::shuffled>(state);
}
BENCHMARK(BM_ConnectBlock5)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
void BM_ConnectBlock5Walk(benchmark::State& state) {
  ConnectBlock5<&Network::walked>(state);
}
BENCHMARK(BM_ConnectBlock5Walk)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_FullWalk(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Network& net = NetworkOf(n);
  std::vector<AcGePoint3dArray> points(n);
  for (int i = 0; i < n; ++i)
    VuRida_GetConnectPoint(net.elements[i], points[i], RQCONECT_LAYER, nullptr);
  AcDbObjectIdArray blocks;
  int count = 0;
  long long answered = 0;
  for (auto _ : state) {
    answered = 0;
    for (int i = 0; i < n; ++i) {
      for (const AcGePoint3d& p : points[i]) {
        RootComn_GetConnectBlock7(net.elements, net.elements[i], p, blocks, count, 0, 3);
        answered += count;
      }
    }
  }
  // Each row of k elements has k - 1 joints, each answered from both sides.
  if (answered != 2LL * (n - n / kPerGroup)) state.SkipWithError("a joint was not answered");
  state.counters["peak_rss_MiB"] = PeakRssMiB();
}
BENCHMARK(BM_FullWalk)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_GetRootGroups(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Network& net = NetworkOf(n);
  AcDbObjectIdArray groups;
  CStringArray names;
  CUIntArray sizes;
  int count = 0;
  size_t step = 0;
  for (auto _ : state) {
    const int i = net.shuffled[step];
    step = step + 1 < net.shuffled.size() ? step + 1 : 0;
    RootComn_GetRootGroups(net.elements[i], count, groups, names, sizes, 3, 0);
    if (count != 1 || groups[0] != net.groups[i / kPerGroup]) {
      state.SkipWithError("the element's group was not found");
      break;
    }
  }
  state.counters["peak_rss_MiB"] = PeakRssMiB();
}
BENCHMARK(BM_GetRootGroups)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  network.reset();
  return 0;
}
