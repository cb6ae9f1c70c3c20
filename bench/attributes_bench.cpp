// The wiring attribute record over a large drawing: collecting the part numbers of 100,000
// route blocks, and a read-modify-write of every element's "RQ_ATTR" record list.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/harnex_session.h"
#include "attributes/attribute_record.h"
#include "attributes/part_numbers.h"
#include "tools/drawing_builder.h"
#include "host/session/session.h"
#include <AttributeData.h>

namespace {

constexpr int kElements = 100000;
// One block in ten is a part block; its part number repeats every 500 parts.
constexpr int kPartEvery = 10;
constexpr int kDistinctParts = 500;

// A session without add-ins on a drawing of kElements route blocks in a row.
struct LargeDrawing {
  std::unique_ptr<host::Session> session;
  std::vector<AcDbObjectId> elements;

  LargeDrawing() {
    host::Session::Options options = tools::HarnexSessionOptions();
    tools::SkipAtStart(&options, tools::kHostModuleName);
    tools::SkipAtStart(&options, tools::kAddinModuleName);
    options.drawing = [this](AcDbDatabase* db) {
      tools::DrawingBuilder b(db);
      b.DefineSegment(L"RT1", 10);
      b.DefinePart(L"KK_P", 10);
      elements.reserve(kElements);
      for (int i = 0; i < kElements; ++i) {
        const tools::Placement at{i * 10.0, 0};
        if (i % kPartEvery == 0) {
          const int part = (i / kPartEvery) % kDistinctParts;
          elements.push_back(b.AddPart(L"KK_P", at, L"P-" + std::to_wstring(part)));
        } else {
          elements.push_back(b.AddRouteElement(L"RT1", at));
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

void BM_CollectPartNumbers(benchmark::State& state) {
  TheDrawing();
  CStringArray parts;
  for (auto _ : state) {
    const int found = CollectPartNumbers(parts);
    if (found != kDistinctParts) state.SkipWithError("wrong number of part numbers");
  }
  state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_CollectPartNumbers)->Unit(benchmark::kMillisecond);

// Read the list, set the trunk number, write the list back: what writing one palette row does
// to an element, for every element of the drawing.
void BM_RecordReadModifyWrite(benchmark::State& state) {
  LargeDrawing& drawing = TheDrawing();
  CStringArray list;
  int round = 0;
  for (auto _ : state) {
    const CString value = std::to_wstring(++round).c_str();
    for (const AcDbObjectId& id : drawing.elements) {
      if (!ReadAttributeRecords(id, list)) continue;
      CAttributeData::SetAtAtt(list, kTagTrunkNumber, value);
      if (!WriteAttributeRecords(id, list)) state.SkipWithError("write refused");
    }
  }
  state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_RecordReadModifyWrite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
