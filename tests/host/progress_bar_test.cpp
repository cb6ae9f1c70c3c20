// The progress meter drawn as a text bar.
#include "host/session/progress_bar.h"

#include <aced.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace host {
namespace {

std::string ReadAll(std::FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string s;
  int c;
  while ((c = std::fgetc(f)) != EOF) s += static_cast<char>(c);
  return s;
}

TEST(ProgressBarTest, LinesShowTheShareDone) {
  EXPECT_EQ(ProgressBar::Line(L"部品番号取得中...", 0, 10, 5),
            "部品番号取得中... [###############               ]  50%");
  EXPECT_EQ(ProgressBar::Line(L"x", 0, 4, 0), "x [                              ]   0%");
  EXPECT_EQ(ProgressBar::Line(L"x", 0, 4, 9), "x [##############################] 100%");
  EXPECT_EQ(ProgressBar::Line(L"x", 0, 0, 0), "x [##############################] 100%");
}

TEST(ProgressBarTest, TheEditorsMeterIsDrawnAndClearedOnRestore) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  {
    ProgressBar bar(f);
    acedSetStatusBarProgressMeter(L"count", 0, 100);
    acedSetStatusBarProgressMeterPos(1);
    acedSetStatusBarProgressMeterPos(1);  // same share: not drawn again
    acedSetStatusBarProgressMeterPos(100);
    acedRestoreStatusBar();
  }
  const std::string out = ReadAll(f);
  std::fclose(f);
  // Each redraw: back to the line's start, the bar, then clear the rest of the line; the
  // restore clears the line.
  std::string expected;
  for (int pos : {0, 1, 100}) {
    expected += '\r';
    expected += ProgressBar::Line(L"count", 0, 100, pos);
    expected += "\x1b[K";
  }
  expected += "\r\x1b[K";
  EXPECT_EQ(out, expected);
}

}  // namespace
}  // namespace host
