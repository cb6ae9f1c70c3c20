// Drawing files of a large floor: loading and saving a DXF drawing of 100,000 route elements
// (block references with "ETAT"/"S001" attributes and "RQ_LINK"/"RQ_ATTR" XData, as the route
// tools leave them), with the time per file, the entities per second and the memory they take.
//
// Counters: entities/s; peak_rss_MiB, the process's peak resident size after the run (the
// drawing made for the benchmark, its text and a loaded copy included); held_MiB, the memory one
// loaded drawing holds (allocated with it loaded minus without).
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <string>

#include <acdocman.h>
#include <dbmain.h>

#include "host/drawing_builder.h"
#include "host/dxf_reader.h"
#include "host/dxf_writer.h"

namespace {

constexpr int kRows = 100;
constexpr int kPerRow = 1000;
constexpr int kElements = kRows * kPerRow;
constexpr double kLength = 1000;

// The drawing made once: rows of straight runs of segments, in one route group per row.
struct LargeDrawing {
  std::string dxf;
  std::unique_ptr<AcDbDatabase> loaded;  // the file read back, for the save benchmark

  LargeDrawing() {
    {
      // The builder works on the current document's drawing, as the route tools do.
      AcDbDatabase db(true, false);
      platform::acad::OpenDocument(&db, L"dxf_bench.dwg");
      host::DrawingBuilder b(&db);
      b.DefineSegment(L"RT1000", kLength);
      for (int row = 0; row < kRows && !b.failed(); ++row) {
        const double y = row * 2 * kLength;
        const auto run = b.AddStraightRun(L"RT1000", 0, y, kPerRow * kLength, y, kPerRow);
        b.AddGroup(L"ROUTE" + std::to_wstring(row + 1), run);
      }
      if (b.failed()) {
        std::fprintf(stderr, "the drawing cannot be made: %ls\n", b.error().c_str());
        std::abort();
      }
      dxf = host::WriteDxf(db);
      platform::acad::CloseDocument();
    }
    host::DxfReadResult read = host::ReadDxf(dxf);
    if (!read.ok()) {
      std::fprintf(stderr, "the drawing cannot be read: %ls\n", read.error.c_str());
      std::abort();
    }
    loaded = std::move(read.database);
  }
};

LargeDrawing& TheDrawing() {
  static LargeDrawing drawing;
  return drawing;
}

double PeakRssMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

// Memory the allocator has handed out and not got back, large blocks included.
double AllocatedMiB() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / 1048576.0;
}

void BM_LoadDxf(benchmark::State& state) {
  const std::string& dxf = TheDrawing().dxf;
  double held = 0;
  for (auto _ : state) {
    const double before = AllocatedMiB();
    host::DxfReadResult read = host::ReadDxf(dxf);
    if (!read.ok()) state.SkipWithError("the drawing was not read");
    held = AllocatedMiB() - before;
    state.PauseTiming();
    read.database.reset();  // freeing is not part of loading
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(dxf.size()));
  state.counters["entities/s"] =
      benchmark::Counter(static_cast<double>(kElements) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["held_MiB"] = held;
  state.counters["peak_rss_MiB"] = PeakRssMiB();
  state.counters["file_MiB"] = static_cast<double>(dxf.size()) / 1048576.0;
}
BENCHMARK(BM_LoadDxf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveDxf(benchmark::State& state) {
  AcDbDatabase& db = *TheDrawing().loaded;
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string dxf = host::WriteDxf(db);
    bytes = dxf.size();
    benchmark::DoNotOptimize(dxf.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
  state.counters["entities/s"] =
      benchmark::Counter(static_cast<double>(kElements) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["peak_rss_MiB"] = PeakRssMiB();
}
BENCHMARK(BM_SaveDxf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
