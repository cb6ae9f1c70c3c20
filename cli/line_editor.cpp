// libedit behind the typed session's command line.
#include "cli/line_editor.h"

#include <fcntl.h>
#include <histedit.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "host/user/completion.h"

namespace cli {

volatile int g_terminate_signal = 0;

namespace {
// The wake-up pipe: WakeEditor writes a byte, a waiting read sees it beside standard input.
int g_wake[2] = {-1, -1};
}  // namespace

void WakeEditor() {
  if (g_wake[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_wake[1], &byte, 1);
  }
}

struct LineEditor::HistoryHandle {
  HistoryW* history = nullptr;
};

std::string HistoryPath() {
  if (const char* path = std::getenv("HARNEX_HISTORY")) return path;
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return "";
  return std::string(home) + "/.harnex_history";
}

LineEditor::LineEditor(std::string history_path)
    : history_(new HistoryHandle), history_path_(std::move(history_path)) {
  if (g_wake[0] < 0 && ::pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0) g_wake[0] = g_wake[1] = -1;
  el_ = el_init("harnex-host", stdin, stdout, stderr);
  el_wset(el_, EL_CLIENTDATA, this);
  el_wset(el_, EL_EDITOR, L"emacs");
  el_wset(el_, EL_PROMPT, &LineEditor::Prompt);
  el_wset(el_, EL_GETCFN, &LineEditor::ReadChar);
  // Ctrl-C reaches the editor as a key while a line is edited, so that it clears the line (or
  // cancels what waits) instead of ending the program.
  el_wset(el_, EL_SETTY, L"-d", L"-isig", nullptr);
  el_wset(el_, EL_ADDFN, L"harnex-interrupt", L"Esc: cancel", &LineEditor::OnInterrupt);
  el_wset(el_, EL_BIND, L"^C", L"harnex-interrupt", nullptr);
  el_wset(el_, EL_ADDFN, L"harnex-complete", L"Complete", &LineEditor::OnComplete);
  el_wset(el_, EL_BIND, L"^I", L"harnex-complete", nullptr);

  HistEventW event;
  history_->history = history_winit();
  history_w(history_->history, &event, H_SETSIZE, 1000);
  history_w(history_->history, &event, H_SETUNIQUE, 1);
  if (!history_path_.empty()) history_w(history_->history, &event, H_LOAD, history_path_.c_str());
  el_wset(el_, EL_HIST, history_w, history_->history);
}

LineEditor::~LineEditor() {
  el_end(el_);
  history_wend(history_->history);
  delete history_;
}

LineEditor::Result LineEditor::Read(const std::wstring& prompt, std::wstring* line) {
  prompt_ = prompt;
  interrupted_ = false;
  std::fflush(stdout);
  std::fflush(stderr);
  int count = 0;
  // Raw mode before the prompt is drawn: a key typed once the prompt shows (Ctrl-C, Ctrl-D, an
  // arrow) must reach the editor, not the terminal's line discipline.
  el_wset(el_, EL_PREP_TERM, 1);
  const wchar_t* text = el_wgets(el_, &count);
  el_wset(el_, EL_PREP_TERM, 0);
  if (interrupted_) return Result::kInterrupt;
  if (g_terminate_signal != 0) return Result::kTerminate;
  if (text == nullptr || count <= 0) {
    std::fputc('\n', stdout);  // the next output starts on a line of its own
    return Result::kEnd;
  }
  line->assign(text, count);
  while (!line->empty() && (line->back() == L'\n' || line->back() == L'\r')) line->pop_back();
  if (line->find_first_not_of(L" \t") != std::wstring::npos) {
    HistEventW event;
    history_w(history_->history, &event, H_ENTER, line->c_str());
    if (!history_path_.empty()) history_w(history_->history, &event, H_SAVE, history_path_.c_str());
  }
  return Result::kLine;
}

wchar_t* LineEditor::Prompt(editline* el) {
  LineEditor* self = nullptr;
  el_wget(el, EL_CLIENTDATA, &self);
  return const_cast<wchar_t*>(self->prompt_.c_str());
}

unsigned char LineEditor::OnInterrupt(editline* el, int) {
  LineEditor* self = nullptr;
  el_wget(el, EL_CLIENTDATA, &self);
  self->interrupted_ = true;
  std::fputs("^C", stdout);
  return CC_NEWLINE;
}

unsigned char LineEditor::OnComplete(editline* el, int) {
  const LineInfoW* info = el_wline(el);
  const std::wstring before(info->buffer, info->cursor);
  const host::Completion completion = host::CompleteTypedLine(before);
  if (completion.candidates.empty()) return CC_REFRESH_BEEP;
  const std::wstring word = before.substr(completion.word_start);
  std::wstring insert = host::CommonPrefix(completion.candidates);
  // Candidates match ignoring case; the word typed so far takes the candidates' spelling.
  el_wdeletestr(el, static_cast<int>(word.size()));
  if (completion.candidates.size() == 1) insert += L' ';
  if (insert.size() < word.size()) insert = word;
  el_winsertstr(el, insert.c_str());
  if (completion.candidates.size() == 1) return CC_REFRESH;
  std::fputc('\n', stdout);
  for (const auto& label : completion.labels) {
    std::mbstate_t state{};
    const wchar_t* src = label.c_str();
    std::string bytes(label.size() * 4 + 1, '\0');
    const size_t n = std::wcsrtombs(bytes.data(), &src, bytes.size(), &state);
    if (n != static_cast<size_t>(-1)) std::fwrite(bytes.data(), 1, n, stdout);
    std::fputc('\n', stdout);
  }
  return CC_REDISPLAY;
}

int LineEditor::ReadChar(editline*, wchar_t* out) {
  // One character from standard input, decoded in the locale's encoding; a signal that asks the
  // program to end ends the read as the end of input does.
  std::mbstate_t state{};
  for (;;) {
    if (g_terminate_signal != 0) return 0;
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {g_wake[0], POLLIN, 0}};
    if (::poll(fds, g_wake[0] >= 0 ? 2 : 1, -1) < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (fds[1].revents != 0) {
      char drained[16];
      while (::read(g_wake[0], drained, sizeof drained) > 0) {
      }
      continue;  // the signal's flag is looked at above
    }
    char byte = 0;
    const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
    if (n == 0) return 0;
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return -1;
    }
    wchar_t wc = 0;
    const size_t r = std::mbrtowc(&wc, &byte, 1, &state);
    if (r == static_cast<size_t>(-2)) continue;  // more bytes to come
    if (r == static_cast<size_t>(-1)) {
      state = std::mbstate_t{};
      wc = static_cast<unsigned char>(byte);
    }
    *out = wc;
    return 1;
  }
}

}  // namespace cli
