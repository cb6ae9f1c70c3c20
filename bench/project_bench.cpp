// Project files at the size of the largest project: loading, saving and reading one pattern
// again, for 50 patterns with all 100 rows filled (45,000 row keys). Targets on this machine:
// a load under 20 ms, a save under 50 ms.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/win/file_system.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "platform/win/text_encoding.h"
#include <windows.h>

namespace {

constexpr int kPatterns = 50;

// The values of a full pattern: Japanese and ASCII texts of typical lengths, every row used.
std::unique_ptr<PatternData> FullPattern(int number) {
  auto pattern = std::make_unique<PatternData>();
  pattern->name.Format(L"パターン%02d", number);
  pattern->type = number % 2;
  pattern->pipeSel = number % 4;
  for (int row = 0; row < kPatternRows; ++row) {
    pattern->kouji[row] = row % 3 == 0 ? L"電灯" : row % 3 == 1 ? L"動力" : L"弱電";
    pattern->keitou[row].Format(L"L-%d-%d", number, row + 1);
    pattern->ban[row].Format(L"分電盤%d,負荷%d", number, row + 1);
    pattern->hsize1[row] = L"CV5.5sq-3C";
    pattern->hsize2[row] = L"E25";
    pattern->hsize3[row] = L"G28";
    pattern->hsize4[row] = L"FEP30";
    pattern->onRack[row] = row % 2;
    pattern->memo[row].Format(L"ﾒﾓ %d", row + 1);
  }
  return pattern;
}

// A project folder with the project "large" saved in it.
struct LargeProject {
  LargeProject() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "harnex-project-bench-XXXXXX").string();
    root = mkdtemp(pattern.data());
    folder = CString(platform::Utf8ToWide(root).c_str());
    model = std::make_unique<ProjectModel>(folder);
    for (int n = 1; n <= kPatterns; ++n) model->AddPattern(FullPattern(n));
    saved = SaveProject(*model, L"large");
  }
  ~LargeProject() {
    platform::FlushProfileFiles();
    std::filesystem::remove_all(root);
  }
  std::string root;
  CString folder;
  std::unique_ptr<ProjectModel> model;
  bool saved = false;
};

LargeProject& Large() {
  static LargeProject project;
  return project;
}

// Loading the project as the palette does when it opens it: the file changed since it was last
// read (another save, another machine), so it is read and parsed, then every key is looked up.
void BM_LoadProject(benchmark::State& state) {
  LargeProject& large = Large();
  if (!large.saved) state.SkipWithError("the project could not be saved");
  for (auto _ : state) {
    platform::SetFileSystem(nullptr);  // forgets the profile cache: the file is read again
    ProjectModel model(large.folder);
    benchmark::DoNotOptimize(LoadProject(model, L"large"));
  }
  state.SetItemsProcessed(state.iterations() * kPatterns * kPatternRows * kPatternColumns);
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);

// Loading it again while the parsed file is still cached: the key look-ups alone.
void BM_LoadProjectCached(benchmark::State& state) {
  LargeProject& large = Large();
  for (auto _ : state) {
    ProjectModel model(large.folder);
    benchmark::DoNotOptimize(LoadProject(model, L"large"));
  }
  state.SetItemsProcessed(state.iterations() * kPatterns * kPatternRows * kPatternColumns);
}
BENCHMARK(BM_LoadProjectCached)->Unit(benchmark::kMillisecond);

// Saving over the existing file: temporary file, 45,000 keys, flush and atomic replace, with the
// file's data and the folder synced to the disk (the save returns once it is there).
void BM_SaveProject(benchmark::State& state) {
  LargeProject& large = Large();
  for (auto _ : state) {
    if (!SaveProject(*large.model, L"large")) state.SkipWithError("the save failed");
  }
  state.SetItemsProcessed(state.iterations() * kPatterns * kPatternRows * kPatternColumns);
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

// Reading the last pattern again right after a save (the worst case: the search passes 49
// names first, and the file has just been replaced, so it is parsed again).
void BM_ReloadPattern(benchmark::State& state) {
  LargeProject& large = Large();
  large.model->SetName(L"large");
  PatternData pattern = *large.model->Pattern(kPatterns - 1);
  for (auto _ : state) {
    platform::SetFileSystem(nullptr);
    ReloadPattern(*large.model, pattern);
  }
  if (pattern.UsedRows() != kPatternRows) state.SkipWithError("the pattern was not read");
}
BENCHMARK(BM_ReloadPattern)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
