// The trunk-number check and the colour recovery over 100,000 route elements. Goal: at most
// 0.3 s each.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "tools/harnex_session.h"
#include "attributes/colour_recovery.h"
#include "attributes/trunk_check.h"
#include "tools/drawing_builder.h"
#include "host/session/session.h"

namespace {

constexpr int kElements = 100000;

// A session without add-ins on kElements route elements in a row: every element still lacks its
// trunk number except one in four, so three in four are marked by each check.
struct LargeDrawing {
  std::unique_ptr<host::Session> session;

  LargeDrawing() {
    host::Session::Options options = tools::HarnexSessionOptions();
    tools::SkipAtStart(&options, tools::kHostModuleName);
    tools::SkipAtStart(&options, tools::kAddinModuleName);
    options.drawing = [](AcDbDatabase* db) {
      tools::DrawingBuilder b(db);
      b.DefineSegment(L"RT1", 10);
      for (int i = 0; i < kElements; ++i) {
        const AcDbObjectId id = b.AddRouteElement(L"RT1", {i * 10.0, 0});
        if (i % 4 == 0) {
          b.SetStrings(
              id, L"RQ_ATTR",
              {L"S501||2|1|55|0|", L"S004|T-1|2|1|55|0|", L"S3B9||2|1|55|0|", L"S002||2|1|55|0|"});
        }
      }
    };
    session = std::make_unique<host::Session>(options);
    session->Start();
  }
};

LargeDrawing& TheDrawing() {
  static LargeDrawing drawing;
  return drawing;
}

// The check alone; the recovery that undoes it between rounds is not timed.
void BM_TrunkCheck(benchmark::State& state) {
  TheDrawing();
  for (auto _ : state) {
    RunCheck(1, CheckLocking::kCommand);
    state.PauseTiming();
    RecoverColours();
    TheDrawing().session->ClearTranscript();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_TrunkCheck)->Unit(benchmark::kMillisecond);

// The recovery of a fully marked drawing; the check that marks it again is not timed.
void BM_ColourRecovery(benchmark::State& state) {
  TheDrawing();
  for (auto _ : state) {
    state.PauseTiming();
    RunCheck(1, CheckLocking::kCommand);
    TheDrawing().session->ClearTranscript();
    state.ResumeTiming();
    RecoverColours();
  }
  state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_ColourRecovery)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
