// The status bar's progress meter drawn as a text bar on a terminal.
#include "host/session/progress_bar.h"

#include <unistd.h>

#include <algorithm>

#include "platform/win/text_encoding.h"

namespace host {

ProgressBar::ProgressBar(std::FILE* out)
    : out_(out), previous_(platform::acad::SetProgressMeterObserver(this)) {}

ProgressBar::~ProgressBar() {
  if (shown_) OnStatusBarRestored();
  platform::acad::SetProgressMeterObserver(previous_);
}

std::unique_ptr<ProgressBar> ProgressBar::ForStandardError() {
  if (!isatty(STDERR_FILENO)) return nullptr;
  return std::make_unique<ProgressBar>(stderr);
}

std::string ProgressBar::Line(const std::wstring& label, int min, int max, int pos) {
  constexpr int kCells = 30;
  const int span = max - min;
  const int clamped = std::clamp(pos, std::min(min, max), std::max(min, max));
  const int percent = span > 0 ? (clamped - min) * 100 / span : 100;
  const int filled = percent * kCells / 100;
  std::string line = platform::WideToUtf8(label) + " [" + std::string(filled, '#') +
                     std::string(kCells - filled, ' ') + "] ";
  const std::string number = std::to_string(percent);
  line += std::string(3 - std::min<size_t>(3, number.size()), ' ') + number + "%";
  return line;
}

void ProgressBar::OnMeterShown(const std::wstring& label, int min, int max) {
  label_ = label;
  min_ = min;
  max_ = max;
  pos_ = min;
  last_percent_ = -1;
  shown_ = true;
  Draw();
}

void ProgressBar::OnMeterPos(int pos) {
  pos_ = pos;
  Draw();
}

void ProgressBar::OnStatusBarRestored() {
  if (!shown_) return;
  shown_ = false;
  std::fputs("\r\x1b[K", out_);  // back to the line's start and clear it
  std::fflush(out_);
}

void ProgressBar::Draw() {
  const int span = max_ - min_;
  const int percent = span > 0 ? (std::clamp(pos_, min_, max_) - min_) * 100 / span : 100;
  // Redraw only when the bar changes: long loops set the position once per entity.
  if (percent == last_percent_) return;
  last_percent_ = percent;
  // Three writes rather than one concatenated string: the same bytes reach the terminal, and
  // g++ 12 at -O3 misreads the inlined concatenation as overlapping copies (-Wrestrict).
  std::fputs("\r", out_);
  std::fputs(Line(label_, min_, max_, pos_).c_str(), out_);
  std::fputs("\x1b[K", out_);  // clear what a longer earlier line left
  std::fflush(out_);
}

}  // namespace host
