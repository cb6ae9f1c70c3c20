// The status bar's progress meter: acedSetStatusBarProgressMeter, ...Pos and acedRestoreStatusBar.
#include "platform/acad/status_bar.h"

#include <utility>

#include <aced.h>

namespace platform::acad {
namespace {
ProgressMeterState g_meter;
ProgressMeterObserver* g_observer = nullptr;
}  // namespace

ProgressMeterObserver* SetProgressMeterObserver(ProgressMeterObserver* observer) {
  return std::exchange(g_observer, observer);
}

const ProgressMeterState& ProgressMeter() {
  return g_meter;
}
void ResetProgressMeter() {
  g_meter = ProgressMeterState{};
}

}  // namespace platform::acad

using platform::acad::g_meter;
using platform::acad::g_observer;

int acedSetStatusBarProgressMeter(const ACHAR* label, int min_pos, int max_pos) {
  if (min_pos > max_pos) return -1;
  g_meter.active = true;
  g_meter.label = label ? label : L"";
  g_meter.min = min_pos;
  g_meter.max = max_pos;
  g_meter.pos = min_pos;
  ++g_meter.shown_count;
  if (g_observer) g_observer->OnMeterShown(g_meter.label, min_pos, max_pos);
  return 0;
}

int acedSetStatusBarProgressMeterPos(int pos) {
  if (!g_meter.active) return -1;
  // Positions outside the range are shown at its ends, as a meter cannot overflow.
  g_meter.pos = pos < g_meter.min ? g_meter.min : pos > g_meter.max ? g_meter.max : pos;
  ++g_meter.pos_count;
  if (g_observer) g_observer->OnMeterPos(g_meter.pos);
  return 0;
}

void acedRestoreStatusBar() {
  g_meter.active = false;
  ++g_meter.restore_count;
  if (g_observer) g_observer->OnStatusBarRestored();
}
