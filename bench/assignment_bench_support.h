// What the manual and automatic assignment benchmarks share: a session on a copy of the system
// folder with the palette open on the sample project and its first row ticked, on a drawing the
// benchmark builds, the command pressed from the palette on the root segment, and the check that
// the measured run really reached the far end of the drawing.
#pragma once

#include <benchmark/benchmark.h>

#include <windows.h>

#include <acutads.h>
#include <dbmain.h>

#include <cwchar>
#include <functional>
#include <memory>
#include <string>

#include <malloc.h>
#include "tools/harnex_session.h"

#include "host/session/session.h"
#include "tools/drawing_builder.h"
#include "tools/system_folder.h"

namespace assignment_bench {

struct Tree {
  std::unique_ptr<tools::SystemFolderCopy> folder;
  std::unique_ptr<host::Session> session;
  AcDbObjectId root;    // the segment the command picks
  AcDbObjectId last;    // an element the run writes last, or among the last
  std::wstring script;  // presses the command's button and picks `root`
};

// Starts `tree`'s session on the drawing `draw` makes (which sets root and last), with the
// palette open on the sample project's trunk pattern and its first row (trunk number 1L-1)
// ticked; the script presses palette button `button`. `undo_steps` as the host's setting (0:
// no undo recorded). False when anything fails.
inline bool Start(Tree& tree, std::function<void(AcDbDatabase*)> draw, int button,
                  int undo_steps = host::Session::Options{}.undo_steps) {
  std::string error;
  tree.folder = tools::SystemFolderCopy::Create("", &error);
  if (tree.folder == nullptr) return false;
  if (!tree.folder->RememberProject(L"サンプルビル", L"受変電から分電盤")) return false;

  host::Session::Options options = tools::HarnexSessionOptions();
  options.config_path = tree.folder->config_path();
  options.drawing = std::move(draw);
  options.undo_steps = undo_steps;
  tree.session = std::make_unique<host::Session>(options);
  if (!tree.session->Start()) return false;
  if (tree.session->RunScript(L"command RQ_HARNEX\nclick 238\n") != 0) return false;
  wchar_t handle[32];
  std::swprintf(handle, 32, L"%llX", static_cast<unsigned long long>(tools::HandleOf(tree.root)));
  // Appended piece by piece: g++ 12 at -O3 misreads a literal followed by a temporary string as
  // overlapping copies (-Wrestrict).
  tree.script = L"click ";
  tree.script += std::to_wstring(button);
  tree.script += L"\npick ";
  tree.script += handle;
  tree.script += L"\n";
  return true;
}

// The session of the tree measured last; released by Main before the program ends, while the
// stand-ins it uses still exist.
inline std::unique_ptr<Tree>& Current() {
  static std::unique_ptr<Tree> tree;
  return tree;
}

// The tree of `elements` elements that `make` builds, made once per size (one session at a
// time); null when it could not be made.
inline Tree* TreeOf(int elements, std::unique_ptr<Tree> (*make)(int)) {
  static int size = 0;
  static std::unique_ptr<Tree> (*made_by)(int) = nullptr;
  if (Current() == nullptr || size != elements || made_by != make) {
    Current().reset();
    Current() = make(elements);
    size = elements;
    made_by = make;
  }
  return Current().get();
}

// The first row's trunk number written to `tree.last`, and the command's closing message.
inline bool Reached(Tree& tree) {
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

// The measured loop: the command run on the tree of state.range(0) elements, once per
// iteration; an error instead of a time when the run stops or does not reach `last`.
inline void Measure(benchmark::State& state, std::unique_ptr<Tree> (*make)(int)) {
  Tree* tree = TreeOf(static_cast<int>(state.range(0)), make);
  if (tree == nullptr) {
    state.SkipWithError("the tree session did not start");
    return;
  }
  // One run untimed first: the process's heap then has grown to what a run needs, whichever
  // benchmark ran before (without it, the one run second in a process measured up to a fifth
  // faster on the heap the first had grown).
  tree->session->ClearTranscript();
  if (tree->session->RunScript(tree->script) != 0) state.SkipWithError("the session stopped");
  size_t heap_growth = 0;
  for (auto _ : state) {
    tree->session->ClearTranscript();
    const size_t before = mallinfo2().uordblks;
    if (tree->session->RunScript(tree->script) != 0) state.SkipWithError("the session stopped");
    heap_growth = mallinfo2().uordblks - before;
  }
  // What one run leaves on the heap: with undo on, mostly the step it recorded.
  state.counters["heap_kept_KiB"] = static_cast<double>(heap_growth) / 1024.0;
  if (!Reached(*tree)) state.SkipWithError("the trace did not reach the last branch");
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The benchmark program's main: runs the benchmarks, then releases the session before the
// stand-ins' statics go.
inline int Main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  Current().reset();
  benchmark::Shutdown();
  return 0;
}

}  // namespace assignment_bench
