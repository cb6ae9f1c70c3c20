// The palette's row area on a full pattern: turning a page (collect ten control rows, show the
// next ten) and a system-number search over 100 rows, with drop-down lists of master-list size
// (60 items per box). Target on this machine: a page turn and a search each well under 1 ms,
// so that the palette answers a click at once.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/harnex_resources.h"
#include "project/pattern_editor.h"
#include "resources/palette_ids.h"
#include <winbase.h>
#include "platform/mfc/window_system.h"

namespace {

constexpr int kListItems = 60;

std::unique_ptr<PatternData> FullPattern() {
  auto pattern = std::make_unique<PatternData>();
  pattern->name = L"パターン";
  for (int row = 0; row < kPatternRows; ++row) {
    pattern->kouji[row].Format(L"工事%d", row % kListItems);
    pattern->keitou[row].Format(L"L-%d", row + 1);
    pattern->ban[row].Format(L"分電盤%d,負荷%d", row % kListItems, row + 1);
    pattern->hsize1[row] = L"CV5.5sq-3C";
    pattern->hsize2[row] = L"(E25)";
    pattern->hsize3[row] = L"(G28)";
    pattern->hsize4[row] = L"(FEP30)";
    pattern->onRack[row] = row % 2;
    pattern->memo[row].Format(L"ﾒﾓ %d", row + 1);
  }
  return pattern;
}

// A palette window from template 200 with filled lists and a full current pattern.
struct Palette {
  Palette() {
    HMODULE module = platform::RegisterModule(L"PaletteBench.arx", {});
    platform::SetModuleResourceScript(module, kHarnexResourceScript);
    AfxSetResourceHandle(module);
    window.Create(IDD_PALETTE);
    window.CheckDlgButton(IDC_TYPE_TRUNK, BST_CHECKED);
    for (int i = 0; i < kPageRows; ++i) {
      for (int first : {IDC_ROW_KOUJI, IDC_ROW_BAN, IDC_ROW_HSIZE2}) {
        window.SendDlgItemMessage(first + i, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
        for (int k = 0; k < kListItems; ++k) {
          CString item;
          item.Format(first == IDC_ROW_KOUJI ? L"工事%d" : L"分電盤%d,負荷x", k);
          window.SendDlgItemMessage(first + i, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(item.GetString()));
        }
      }
    }
    project.AddPattern(FullPattern());
    editor.ShowPage();
    editor.MarkRow(0);
  }
  ~Palette() {
    window.DestroyWindow();
    platform::mfc::ResetWindowSystem();
  }
  CDialog window{IDD_PALETTE};
  ProjectModel project;
  PatternEditor editor{&window, &project};
};

void BM_TurnPage(benchmark::State& state) {
  Palette palette;
  for (auto _ : state) {
    if (palette.editor.Page() == kPatternPages - 1) {
      palette.editor.SetPage(0);
      palette.editor.ShowPage();
    }
    palette.editor.NextPage();
  }
}
BENCHMARK(BM_TurnPage)->Unit(benchmark::kMicrosecond);

void BM_SearchSystemNumber(benchmark::State& state) {
  Palette palette;
  palette.window.SetDlgItemText(IDC_SEARCH_TEXT, L"l-1");
  for (auto _ : state) {
    palette.project.SetCurrent(0);
    palette.editor.SetPage(0);
    palette.editor.SearchSystemNumber();
  }
}
BENCHMARK(BM_SearchSystemNumber)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
