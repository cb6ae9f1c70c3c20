// The wire report of a drawing of 100,000 route elements: what it takes beyond loading the
// drawing must stay within a second on a developer's machine.
//
//   BM_LoadDrawing        reading the DXF file alone (what every report of it pays first)
//   BM_WireLines          the wires of the loaded, open drawing with their lengths
//   BM_WireReportFile     harnex-host --report wires of the file: loading, lines and CSV
//   BM_UntaggedLines      the untagged elements of the loaded, open drawing
// The report's own time is BM_WireReportFile less BM_LoadDrawing, and close to BM_WireLines.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "tools/drawing_builder.h"
#include "host/session/drawing_document.h"
#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_writer.h"
#include "tools/report.h"
#include "tools/report_drawing.h"

namespace {

constexpr int kElements = 100000;

std::wstring Record(const std::wstring& tag, const std::wstring& value) {
  return tag + L"|" + value + L"|2|1|55|0|";
}

// kElements route elements, nine segments to a tee, in rows of 1,000; each carries one of 200
// systems in its "S" records and every other one a second wire as PX02; one in ten has no trunk
// number. Written once to a temporary DXF file.
struct LargeDrawingFile {
  std::string path;

  LargeDrawingFile() {
    path = (std::filesystem::temp_directory_path() /
            ("harnex_report_bench_" + std::to_string(::getpid()) + ".dxf"))
               .string();
    AcDbDatabase db(true, true);
    tools::DrawingBuilder b(&db);
    b.DefineSegment(L"RT1000", 1000);
    b.DefineTee(L"RB250", 250);
    for (int i = 0; i < kElements; ++i) {
      const bool tee = i % 10 == 9;
      const AcDbObjectId id =
          b.AddRouteElement(tee ? L"RB250" : L"RT1000", {(i % 1000) * 1000.0, (i / 1000) * 2000.0});
      const std::wstring system = i % 10 == 0 ? L"" : L"1L-" + std::to_wstring(i % 200);
      std::vector<std::wstring> records = {Record(L"S501", L"E1"), Record(L"S004", system),
                                           Record(L"S3B9", L"L-" + std::to_wstring(i % 200)),
                                           Record(L"S002", L"VVF1.6-3C")};
      if (i % 2 == 1)
        records.push_back(L"PX02|1P-" + std::to_wstring(i % 50) + L"!CVT!P-1!M1!|2|1|55|0|");
      b.SetStrings(id, L"RQ_ATTR", records);
    }
    std::wstring error;
    if (b.failed() || !host::WriteDxfFile(db, path, &error)) {
      std::fprintf(stderr, "cannot make the drawing\n");
      std::abort();
    }
  }
  ~LargeDrawingFile() { std::filesystem::remove(path); }
};

LargeDrawingFile& TheFile() {
  static LargeDrawingFile file;
  return file;
}

// The drawing loaded and open as the current document, as the report has it.
struct OpenDrawing {
  std::unique_ptr<host::DrawingDocument> document;
  OpenDrawing() {
    host::DxfReadResult read = host::ReadDxfFile(TheFile().path);
    document = std::make_unique<host::DrawingDocument>(std::move(read.database), L"bench.dxf");
  }
};

void BM_LoadDrawing(benchmark::State& state) {
  TheFile();
  for (auto _ : state) {
    host::DxfReadResult read = host::ReadDxfFile(TheFile().path);
    benchmark::DoNotOptimize(read.database.get());
  }
  state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_LoadDrawing)->Unit(benchmark::kMillisecond);

void BM_WireLines(benchmark::State& state) {
  const OpenDrawing drawing;  // one current document at a time: closed when the bench ends
  size_t lines = 0;
  for (auto _ : state) lines = tools::ReadWireLines().size();
  state.counters["lines"] = static_cast<double>(lines);
  state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_WireLines)->Unit(benchmark::kMillisecond);

void BM_UntaggedLines(benchmark::State& state) {
  const OpenDrawing drawing;
  size_t lines = 0;
  for (auto _ : state) lines = tools::ReadUntaggedElements().size();
  state.counters["lines"] = static_cast<double>(lines);
  state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_UntaggedLines)->Unit(benchmark::kMillisecond);

void BM_WireReportFile(benchmark::State& state) {
  TheFile();
  tools::ReportOptions options;
  options.kind = tools::ReportKind::kWires;
  options.files = {TheFile().path};
  options.config_path = "/nonexistent/harnex.ini";
  tools::ReportIo io;
  size_t bytes = 0;
  io.output = [&bytes](std::string_view csv) { bytes = csv.size(); };
  for (auto _ : state) benchmark::DoNotOptimize(tools::RunReport(options, io));
  state.counters["csv_bytes"] = static_cast<double>(bytes);
  state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_WireReportFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
