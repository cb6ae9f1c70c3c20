// The status bar's progress meter drawn as a text bar on a terminal.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "platform/acad/status_bar.h"

namespace host {

// Draws the meter on one line of `out`, redrawn in place ("\r"), and clears the line when the
// status bar is restored. Installs itself as the meter's observer for its lifetime.
class ProgressBar : public platform::acad::ProgressMeterObserver {
 public:
  explicit ProgressBar(std::FILE* out);
  ~ProgressBar() override;
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // A bar on standard error when that is a terminal, else null (nothing is drawn).
  static std::unique_ptr<ProgressBar> ForStandardError();

  // The line drawn for `label` at `pos` in [min, max]: "LABEL [#####     ]  50%". Bars are
  // 30 cells wide; positions outside the range are clamped.
  static std::string Line(const std::wstring& label, int min, int max, int pos);

  void OnMeterShown(const std::wstring& label, int min, int max) override;
  void OnMeterPos(int pos) override;
  void OnStatusBarRestored() override;

 private:
  void Draw();

  std::FILE* out_;
  ProgressMeterObserver* previous_;
  std::wstring label_;
  int min_ = 0, max_ = 0, pos_ = 0;
  int last_percent_ = -1;
  bool shown_ = false;
};

}  // namespace host
