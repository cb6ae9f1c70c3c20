// Automatic assignment on a generated route network: RQ_HARNEX_AUTOSET run from the palette's
// button on the terminal segment at the root of a network of 1,000, 10,000 and 50,000 route
// elements in one route group, with 100 loads and 5 hatched panels. Goal: at most 1 s at 10,000,
// growing no faster than N log N. Counter peak_rss_MiB: the process's peak resident size.
//
// The network is a comb: the terminal segment, then a trunk of segments with a tee every second
// element and a branch of eight segments up from each tee. 100 branches, evenly spread, end in a
// load whose part number matches the first palette row; 5 of the tees at the base of a loaded
// branch are hatched panels, so their loads stop at the panel and the panel collects names.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <windows.h>

#include <acutads.h>
#include <dbmain.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "host/drawing_builder.h"
#include "host/session.h"
#include "host/system_folder.h"
#include "text_encoding.h"

namespace {

constexpr double kPitch = 20.0;  // trunk length of one tee and the segment after it
constexpr int kBranch = 8;       // segments up from each tee
constexpr int kUnit = 2 + kBranch;
constexpr int kLoads = 100;
constexpr int kPanels = 5;

struct Tree {
  std::unique_ptr<host::SystemFolderCopy> folder;
  std::unique_ptr<host::Session> session;
  AcDbObjectId root;
  AcDbObjectId last;  // the top segment of the last loaded branch without a panel
  std::wstring script;
};

// A session with the palette open on the sample project and its first row ticked, on a tree of
// `elements` route elements (rounded up to whole tees with their branches).
std::unique_ptr<Tree> MakeTree(int elements) {
  auto tree = std::make_unique<Tree>();
  std::string error;
  tree->folder = host::SystemFolderCopy::Create("", &error);
  if (tree->folder == nullptr) return nullptr;
  std::wstring last_project =
      platform::Utf8ToWide(tree->folder->system_folder() + "/プロジェクト/LastProj.ini");
  std::replace(last_project.begin(), last_project.end(), L'/', L'\\');
  WritePrivateProfileStringW(L"KORMAN_CABLIX", L"NAME", L"サンプルビル", last_project.c_str());
  WritePrivateProfileStringW(L"KORMAN_CABLIX", L"PATTERN", L"受変電から分電盤",
                             last_project.c_str());
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, last_project.c_str());

  host::Session::Options options;
  options.config_path = tree->folder->config_path();
  Tree* t = tree.get();
  options.drawing = [t, elements](AcDbDatabase* db) {
    host::DrawingBuilder b(db);
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
  tree->session = std::make_unique<host::Session>(options);
  if (!tree->session->Start()) return nullptr;
  if (tree->session->RunScript(L"command RQ_HARNEX\nclick 238\n") != 0) return nullptr;
  wchar_t handle[32];
  std::swprintf(handle, 32, L"%llX", static_cast<unsigned long long>(host::HandleOf(tree->root)));
  tree->script = std::wstring(L"click 387\npick ") + handle + L"\n";
  return tree;
}

// The session of the tree measured last; released before the program ends, while the
// stand-ins it uses still exist.
std::unique_ptr<Tree> tree;

Tree* TheTree(int elements) {
  static int size = 0;
  if (tree == nullptr || size != elements) {
    tree.reset();  // one session at a time
    tree = MakeTree(elements);
    size = elements;
  }
  return tree.get();
}

// The first row's trunk number written to the last load's branch, and the closing message.
bool Reached(Tree& tree) {
  AcDbObject* object = nullptr;
  if (acdbOpenObject(object, tree.last, AcDb::kForRead) != Acad::eOk) return false;
  resbuf* chain = object->xData(L"RQ_ATTR");
  object->close();
  bool found = false;
  for (const resbuf* rb = chain; rb != nullptr; rb = rb->rbnext) {
    if (rb->restype == 1000 && std::wstring(rb->resval.rstring) == L"S004|1L-1|2|1|55|0|")
      found = true;
  }
  acutRelRb(chain);
  return found && tree.session->transcript().find(L"設定が終了しました。\n") != std::wstring::npos;
}

void BM_AutoAssignNetwork(benchmark::State& state) {
  Tree* tree = TheTree(static_cast<int>(state.range(0)));
  if (tree == nullptr) {
    state.SkipWithError("the tree session did not start");
    return;
  }
  for (auto _ : state) {
    tree->session->ClearTranscript();
    if (tree->session->RunScript(tree->script) != 0) state.SkipWithError("the session stopped");
  }
  if (!Reached(*tree)) state.SkipWithError("the trace did not reach the last branch");
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MiB"] = usage.ru_maxrss / 1024.0;
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AutoAssignNetwork)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN)
    ->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  tree.reset();
  benchmark::Shutdown();
  return 0;
}
