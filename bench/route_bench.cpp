// Connection queries on a long route: RootComn_GetConnectBlock7 over a chain of 10,000 route
// segments, with the list's index built (the usual case inside one trace) and built afresh.
#include <benchmark/benchmark.h>

#include <memory>

#include <acdocman.h>
#include <dbents.h>
#include <dbmain.h>
#include <dbsymtb.h>

#include "ApiComn.h"
#include "VuRida.h"

namespace {

constexpr int kElements = 10000;
constexpr double kLength = 10.0;

// A drawing with one straight segment block and a chain of references end to end.
struct Chain {
  std::unique_ptr<AcDbDatabase> db = std::make_unique<AcDbDatabase>(true);
  AcDbObjectIdArray elements;

  Chain() {
    platform::acad::OpenDocument(db.get(), L"route_bench.dwg");
    VuRida_createLayer(RQCONECT_LAYER, nullptr);
    AcDbBlockTable* table = nullptr;
    db->getBlockTable(table, AcDb::kForWrite);
    auto* block = new AcDbBlockTableRecord();
    block->setName(L"RT1");
    AcDbObjectId block_id;
    table->add(block_id, block);
    table->close();
    for (double x : {0.0, kLength}) {
      auto* point = new AcDbPoint(AcGePoint3d(x, 0, 0));
      point->setDatabaseDefaults(db.get());
      point->setLayer(RQCONECT_LAYER);
      block->appendAcDbEntity(point);
      point->close();
    }
    block->close();
    CStringArray link;
    link.Add(L"3");
    for (int i = 0; i < kElements; ++i) {
      auto* reference = new AcDbBlockReference(AcGePoint3d(i * kLength, 0, 0), block_id);
      AcDbObjectId id;
      VuRida_addEntity(reference, id);
      reference->close();
      ApiComn_appendAttributesArray(id, L"RQ_LINK", link, 1);
      elements.append(id);
    }
  }
  ~Chain() { platform::acad::CloseDocument(); }
};

Chain& TheChain() {
  static Chain chain;
  return chain;
}

void BM_ConnectBlock7Indexed(benchmark::State& state) {
  Chain& chain = TheChain();
  AcDbObjectIdArray blocks;
  int count = 0;
  int i = 0;
  for (auto _ : state) {
    i = (i * 7919 + 1) % (kElements - 1);
    const AcGePoint3d joint((i + 1) * kLength, 0, 0);
    RootComn_GetConnectBlock7(chain.elements, chain.elements[i], joint, blocks, count, 0, 3);
    if (count != 1) state.SkipWithError("the next segment was not found");
    benchmark::DoNotOptimize(blocks);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ConnectBlock7Indexed)->Unit(benchmark::kMicrosecond);

// Every query with a list not seen before: the index is built each time.
void BM_ConnectBlock7FirstQuery(benchmark::State& state) {
  Chain& chain = TheChain();
  AcDbObjectIdArray blocks;
  int count = 0;
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    AcDbObjectIdArray list = chain.elements;
    list.removeAt(kElements - 1 - (round++ % 100));  // a different list each round
    state.ResumeTiming();
    RootComn_GetConnectBlock7(list, chain.elements[0], AcGePoint3d(kLength, 0, 0), blocks, count, 0,
                              3);
    benchmark::DoNotOptimize(blocks);
  }
}
BENCHMARK(BM_ConnectBlock7FirstQuery)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
