// Building the wiring list table of a full pattern (100 rows): measuring every label and cell,
// laying out the grid and appending its 124 lines and about 900 texts to a fresh "PXNT" block,
// as RQ_HARNEX_LIST does before the drag starts. Each iteration makes its own block and erases
// it again afterwards, so the block's creation is timed with the table.
//
// Goal: ≤ 5 ms per table.
#include <benchmark/benchmark.h>

#include <dbents.h>
#include <dbsymtb.h>

#include <cwchar>
#include <memory>
#include <string>

#include "tools/harnex_session.h"
#include "annotation/annotation_block.h"
#include "annotation/draw_note.h"
#include "annotation/list_table.h"
#include "host/session/session.h"
#include "tools/system_folder.h"

namespace {

constexpr int kRows = 100;

void FillRows(CDrawNote& note) {
  for (int i = 0; i < kRows; ++i) {
    auto* row = new CStringArray;
    wchar_t text[64];
    row->Add(L"動力幹線");
    std::swprintf(text, 64, L"1L-%d", i + 1);
    row->Add(text);
    // Load names repeat in pairs, so that half the names become the ditto mark.
    std::swprintf(text, 64, L"P-%d", i / 2 + 1);
    row->Add(text);
    row->Add(L"CV22sq-3C  E8");
    row->Add(L"(GP36)");
    row->Add(i % 3 == 0 ? L"(GP54)" : L"");
    row->Add(L"(FEP50)");
    row->Add(i % 2 == 0 ? L"○" : L"");
    row->Add(L"ラック上は2段目");
    note.rows.Add(row);
  }
}

void BM_BuildTable(benchmark::State& state) {
  std::string error;
  auto folder = tools::SystemFolderCopy::Create("", &error);
  host::Session::Options options = tools::HarnexSessionOptions();
  options.config_path = folder->config_path();
  host::Session session(options);
  session.Start();

  CDrawNote note(kDrawNoteModeGeneralList, nullptr);
  note.scale = 100;
  note.listTextHeight = 2.5;
  note.listWidthFactor = 0.8;
  note.rowHeight = 5;
  note.leftMargin = 2.5;
  note.rightMargin = 5;
  FillRows(note);

  for (auto _ : state) {
    std::unique_ptr<AcDbBlockReference> reference(MakeAnnotationBlock(AcGePoint3d::kOrigin));
    if (reference == nullptr) {
      state.SkipWithError("no block");
      break;
    }
    const AcDbObjectId block = reference->blockTableRecord();
    AcDbBlockTableRecord* record = nullptr;
    if (acdbOpenObject(record, block, AcDb::kForWrite) != Acad::eOk) {
      state.SkipWithError("block not opened");
      break;
    }
    const bool built = BuildTable(note, record);
    record->close();
    benchmark::DoNotOptimize(built);
    state.PauseTiming();
    DiscardAnnotationBlock(block);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BuildTable)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
