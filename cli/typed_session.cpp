// The typed session's line source: what Ctrl-C, Ctrl-D and the signals mean where.
#include "cli/typed_session.h"

#include <acedads.h>
#include "platform/acad/status_bar.h"
#include "platform/win/text_encoding.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cwchar>

#include "cli/session_end.h"
#include "host/user/typed_line.h"

namespace cli {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterruptSignal(int) {
  g_interrupted = 1;
}

void OnTerminateSignal(int signal) {
  g_terminate_signal = signal;
  WakeEditor();
}

void Install(int signal, void (*handler)(int)) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a blocked read ends with EINTR
  sigaction(signal, &action, nullptr);
}

}  // namespace

TypedSession::TypedSession(host::Session* session, std::string history_path)
    : session_(session), editor_(std::move(history_path)) {
  Install(SIGINT, OnInterruptSignal);
  Install(SIGTERM, OnTerminateSignal);
  Install(SIGHUP, OnTerminateSignal);
  session_->user().SetTypedInput(true);
  session_->user().SetBreakPoll([] {
    if (g_terminate_signal != 0) return true;  // a long loop stops so that the session can end
    const bool interrupted = g_interrupted != 0;
    g_interrupted = 0;
    return interrupted;
  });
  session_->SetLineSource([this](std::wstring* line, int) { return NextLine(line); });
}

TypedSession::~TypedSession() {
  session_->user().SetBreakPoll(nullptr);
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGHUP, SIG_DFL);
}

std::wstring TypedSession::PromptFor(const platform::Wait& wait) const {
  switch (wait.kind) {
    case platform::WaitKind::kPrompt: {
      // The prompt is the command line's last line, already written: it is drawn again over
      // itself so that the editor knows where the typed text begins.
      const std::wstring& transcript = session_->transcript();
      const size_t newline = transcript.rfind(L'\n');
      std::wstring last =
          newline == std::wstring::npos ? transcript : transcript.substr(newline + 1);
      if (!last.empty()) {
        std::fputc('\r', stdout);
        return last;
      }
      return L"> ";
    }
    case platform::WaitKind::kBox: {
      std::wstring prompt = L"\n[box] " + wait.text + L" (";
      const auto answers = host::BoxAnswers(wait.box_type);
      for (size_t i = 0; i < answers.size(); ++i) prompt += (i ? L"/" : L"") + answers[i];
      std::fputs(platform::WideToUtf8(prompt.substr(0, prompt.rfind(L"\n") + 1)).c_str(), stdout);
      return prompt.substr(prompt.rfind(L"\n") + 1) + L") ";
    }
    case platform::WaitKind::kDialog:
      std::fputc('\n', stdout);
      return L"dialog> ";
    case platform::WaitKind::kMenu:
      std::fputc('\n', stdout);
      return L"menu> ";
    case platform::WaitKind::kColour:
      std::fputc('\n', stdout);
      return L"colour> ";
    case platform::WaitKind::kCommandPrompt:
      break;
  }
  std::fputc('\n', stdout);
  return L"> ";
}

bool TypedSession::NextLine(std::wstring* line) {
  for (;;) {
    if (g_terminate_signal != 0) return false;
    const platform::Wait wait = platform::CurrentWait();
    if (closing_palette_ && wait.kind == platform::WaitKind::kCommandPrompt) {
      // Ctrl-D closed the palette first: closed, the session ends; still open (its question was
      // cancelled or its save failed), the user goes on at the prompt.
      closing_palette_ = false;
      if (!cli::PaletteIsOpen()) return false;
    }
    // A progress meter that a loop left up is cleared, so that the prompt starts a clean line.
    if (platform::acad::ProgressMeter().active) std::fputs("\r\x1b[K", stderr);
    // Ctrl-C pressed while a command worked (and no loop took it) is Esc typed ahead: it
    // cancels what waits now, except the command prompt, where it is spent.
    const bool typed_ahead = g_interrupted != 0;
    g_interrupted = 0;
    if (typed_ahead && wait.kind != platform::WaitKind::kCommandPrompt &&
        Cancel(wait, false, line)) {
      return true;
    }
    const std::wstring prompt = PromptFor(wait);
    const LineEditor::Result result = editor_.Read(prompt, line);
    switch (result) {
      case LineEditor::Result::kLine:
        if (wait.kind == platform::WaitKind::kPrompt) BackToPromptEnd(prompt);
        return true;
      case LineEditor::Result::kTerminate:
        return false;
      case LineEditor::Result::kInterrupt:
      case LineEditor::Result::kEnd:
        break;
    }
    const bool end = result == LineEditor::Result::kEnd;
    if (wait.kind == platform::WaitKind::kCommandPrompt) {
      if (!end) continue;  // the line is cleared
      if (cli::PaletteHasUnsavedEdits()) {
        closing_palette_ = true;
        *line = L"@200 click 2";
        return true;
      }
      return false;
    }
    if (Cancel(wait, end, line)) return true;
  }
}

bool TypedSession::Cancel(const platform::Wait& wait, bool end, std::wstring* line) {
  switch (wait.kind) {
    case platform::WaitKind::kPrompt:
      *line = L"esc";
      return true;
    case platform::WaitKind::kDialog:
      *line = L"click 2";
      return true;
    case platform::WaitKind::kMenu:
      *line = L"esc";
      return true;
    case platform::WaitKind::kColour:
      *line = L"colour";
      return true;
    case platform::WaitKind::kBox:
      // A box without Cancel cannot be escaped.
      if (end || host::BoxAnswers(wait.box_type).back() != L"cancel") return false;
      *line = L"answer cancel";
      return true;
    case platform::WaitKind::kCommandPrompt:
      break;
  }
  return false;
}

void TypedSession::BackToPromptEnd(const std::wstring& prompt) {
  // The command line echoes the answer after its prompt. The editor has already shown it there
  // and moved on: go back to the prompt's end and clear the rest, so that the terminal shows the
  // line once, as the transcript has it.
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return;
  const int width = wcswidth(prompt.c_str(), prompt.size());
  if (width < 0 || width >= size.ws_col) return;
  std::fprintf(stdout, "\x1b[A\x1b[%dG\x1b[K", width + 1);
}

}  // namespace cli
