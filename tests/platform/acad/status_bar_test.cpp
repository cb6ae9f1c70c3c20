// The status bar's progress meter: its state and what its observer is told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <aced.h>
#include "platform/acad/status_bar.h"

namespace {

class Recorder : public platform::acad::ProgressMeterObserver {
 public:
  void OnMeterShown(const std::wstring& label, int min, int max) override {
    log.push_back(L"show " + label + L" " + std::to_wstring(min) + L".." + std::to_wstring(max));
  }
  void OnMeterPos(int pos) override { log.push_back(L"pos " + std::to_wstring(pos)); }
  void OnStatusBarRestored() override { log.push_back(L"restore"); }
  std::vector<std::wstring> log;
};

TEST(StatusBarTest, MeterStateAndObserver) {
  platform::acad::ResetProgressMeter();
  Recorder recorder;
  platform::acad::SetProgressMeterObserver(&recorder);
  EXPECT_FALSE(platform::acad::ProgressMeter().active);
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(1), -1);  // no meter shown yet

  ASSERT_EQ(acedSetStatusBarProgressMeter(L"部品番号取得中...", 0, 3), 0);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(acedSetStatusBarProgressMeterPos(i), 0);
  const auto& meter = platform::acad::ProgressMeter();
  EXPECT_TRUE(meter.active);
  EXPECT_EQ(meter.label, L"部品番号取得中...");
  EXPECT_EQ(meter.max, 3);
  EXPECT_EQ(meter.pos, 3);
  EXPECT_EQ(meter.pos_count, 3);
  acedSetStatusBarProgressMeterPos(9);  // beyond the end: shown full
  EXPECT_EQ(meter.pos, 3);
  acedRestoreStatusBar();
  EXPECT_FALSE(meter.active);
  EXPECT_EQ(meter.restore_count, 1);
  EXPECT_EQ(acedSetStatusBarProgressMeter(L"x", 5, 1), -1);  // an empty range is refused
  EXPECT_FALSE(meter.active);

  EXPECT_EQ(recorder.log, (std::vector<std::wstring>{L"show 部品番号取得中... 0..3", L"pos 1",
                                                     L"pos 2", L"pos 3", L"pos 3", L"restore"}));
  platform::acad::SetProgressMeterObserver(nullptr);
}

}  // namespace
