// The status bar's progress meter: the model behind acedSetStatusBarProgressMeter and friends.
//
// Long loops over selection sets show a labelled meter in AutoCAD's status bar. Here the meter is
// a small model: the editor calls (declared in aced.h) change it, the host installs an observer
// that draws it (a bar on standard error when that is a terminal), and tests read its state.
#pragma once

#include <string>

namespace platform::acad {

struct ProgressMeterState {
  bool active = false;    // a meter is shown (between Set...ProgressMeter and RestoreStatusBar)
  std::wstring label;     // the label of the last meter shown
  int min = 0, max = 0;   // its range
  int pos = 0;            // the last position set
  int shown_count = 0;    // how often a meter was started
  int pos_count = 0;      // how often a position was set
  int restore_count = 0;  // how often the status bar was restored
};

// Told about every change of the meter; installed by the host. Calls happen on the main loop.
class ProgressMeterObserver {
 public:
  virtual ~ProgressMeterObserver() = default;
  virtual void OnMeterShown(const std::wstring& label, int min, int max) = 0;
  virtual void OnMeterPos(int pos) = 0;
  virtual void OnStatusBarRestored() = 0;
};

// The observer is not owned; null removes it. Returns the previous one.
ProgressMeterObserver* SetProgressMeterObserver(ProgressMeterObserver* observer);

const ProgressMeterState& ProgressMeter();
// Back to the state of a fresh session (counts zero, no meter); for the host and tests.
void ResetProgressMeter();

}  // namespace platform::acad
