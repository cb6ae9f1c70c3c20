// Drawing files of a large floor: loading and saving DXF drawings of 10,000, 100,000 and
// 300,000 route elements (block references with "ETAT"/"S001" attributes and "RQ_LINK"/"RQ_ATTR"
// XData, as the route tools leave them, one route group per row of 1,000), so that the growth
// with the size shows: time per file, entities per second and the memory they take.
//
// Counters: entities/s; held_MiB, the memory one loaded drawing holds (allocated with it loaded
// minus without); peak_rss_MiB, the process's peak resident size so far (the drawing made for the
// benchmark and its text included, so it only grows from row to row); file_MiB.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <acdocman.h>
#include <dbmain.h>

#include "tools/drawing_builder.h"
#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_writer.h"

namespace {

constexpr int kPerRow = 1000;
constexpr double kLength = 1000;

// The drawing of one size as a file: rows of straight runs of segments, one route group per row.
std::string MakeDrawing(int elements) {
  // The builder works on the current document's drawing, as the route tools do.
  AcDbDatabase db(true, false);
  platform::acad::OpenDocument(&db, L"dxf_bench.dwg");
  tools::DrawingBuilder b(&db);
  b.DefineSegment(L"RT1000", kLength);
  for (int row = 0; row * kPerRow < elements && !b.failed(); ++row) {
    const double y = row * 2 * kLength;
    const int count = std::min(kPerRow, elements - row * kPerRow);
    const auto run = b.AddStraightRun(L"RT1000", 0, y, count * kLength, y, count);
    b.AddGroup(L"ROUTE" + std::to_wstring(row + 1), run);
  }
  if (b.failed()) {
    std::fprintf(stderr, "the drawing cannot be made: %ls\n", b.error().c_str());
    std::abort();
  }
  std::string dxf = host::WriteDxf(db);
  platform::acad::CloseDocument();
  return dxf;
}

// The file of that size, made once; only the last size asked for is kept.
const std::string& DrawingOf(int elements) {
  static int size = 0;
  static std::string dxf;
  if (size != elements) {
    dxf.clear();
    dxf.shrink_to_fit();
    dxf = MakeDrawing(elements);
    size = elements;
  }
  return dxf;
}

std::unique_ptr<AcDbDatabase> Load(const std::string& dxf) {
  host::DxfReadResult read = host::ReadDxf(dxf);
  if (!read.ok()) {
    std::fprintf(stderr, "the drawing cannot be read: %ls\n", read.error.c_str());
    std::abort();
  }
  return std::move(read.database);
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
  const int elements = static_cast<int>(state.range(0));
  const std::string& dxf = DrawingOf(elements);
  double held = 0;
  for (auto _ : state) {
    const double before = AllocatedMiB();
    host::DxfReadResult read = host::ReadDxf(dxf);
    if (!read.ok()) {
      // The timer must not be paused after this: the run ends here.
      state.SkipWithError("the drawing was not read");
      break;
    }
    held = AllocatedMiB() - before;
    state.PauseTiming();
    read.database.reset();  // freeing is not part of loading
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(dxf.size()));
  state.counters["entities/s"] =
      benchmark::Counter(static_cast<double>(elements) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["held_MiB"] = held;
  state.counters["peak_rss_MiB"] = PeakRssMiB();
  state.counters["file_MiB"] = static_cast<double>(dxf.size()) / 1048576.0;
}
BENCHMARK(BM_LoadDxf)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(300000);

void BM_SaveDxf(benchmark::State& state) {
  const int elements = static_cast<int>(state.range(0));
  std::unique_ptr<AcDbDatabase> loaded = Load(DrawingOf(elements));
  AcDbDatabase& db = *loaded;
  // Saved as a save is: to a file, a piece at a time, never held whole.
  const std::string path =
      (std::filesystem::temp_directory_path() / ("dxf_bench_" + std::to_string(getpid()) + ".dxf"))
          .string();
  size_t bytes = 0;
  for (auto _ : state) {
    std::wstring error;
    if (!host::WriteDxfFile(db, path, &error)) {
      state.SkipWithError("the drawing was not saved");
      break;
    }
    bytes = static_cast<size_t>(std::filesystem::file_size(path));
  }
  std::filesystem::remove(path);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
  state.counters["entities/s"] =
      benchmark::Counter(static_cast<double>(elements) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["peak_rss_MiB"] = PeakRssMiB();
}
BENCHMARK(BM_SaveDxf)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(300000);

}  // namespace

BENCHMARK_MAIN();
