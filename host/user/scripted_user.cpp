// The scripted user: script steps in, actions and checks out, transcript streamed.
#include "host/user/scripted_user.h"

#include <utility>

#include "host/user/script_verbs.h"
#include "host/user/typed_line.h"

namespace host {

void ScriptedUser::Add(ScriptStep step) {
  steps_.push_back(std::move(step));
}

void ScriptedUser::Add(std::vector<ScriptStep> steps) {
  for (auto& s : steps) steps_.push_back(std::move(s));
}

bool ScriptedUser::Unwinding() {
  if (unwinding_ && platform::CurrentWait().kind == platform::WaitKind::kCommandPrompt) {
    unwinding_ = false;
  }
  return unwinding_;
}

void ScriptedUser::Stop(int exit_code, std::wstring_view reason) {
  if (!typed_) {
    ActionQueueSession::Stop(exit_code, reason);
    return;
  }
  if (diagnostics_) diagnostics_(std::wstring(reason) + L"\n");
  queue_.clear();
  steps_.clear();
  polled_break_ = false;
  unwinding_ = true;
}

const platform::UserAction* ScriptedUser::Peek() {
  if (stopped() || Unwinding()) return nullptr;
  if (polled_break_) {
    // Nothing took it as a loop's break: the loop has ended, and the Esc with it.
    polled_break_ = false;
    queue_.pop_front();
  }
  // Typed answers of a command and an action already moved forward wait in the queue.
  while (queue_.empty() && !Advance()) {
    // A typed mistake found by a directive at the command prompt: the input goes on.
    if (!unwinding_ || Unwinding()) return nullptr;
  }
  if (stopped()) return nullptr;
  return ActionQueueSession::Peek();
}

const platform::UserAction* ScriptedUser::PeekImmediate() {
  if (stopped() || Unwinding()) return nullptr;
  if (queue_.empty()) {
    const bool box_waits = boxes_wait_ && platform::CurrentWait().kind == platform::WaitKind::kBox;
    if (steps_.empty() && break_poll_ && !box_waits) {
      if (!break_poll_()) return nullptr;
      platform::UserAction esc;
      esc.kind = platform::ActionKind::kBreak;
      queue_.push_back(std::move(esc));
      polled_break_ = true;
      return ActionQueueSession::Peek();
    }
    while (steps_.empty()) {
      if (!ReadLine()) return nullptr;
    }
    if (steps_.front().kind != ScriptStep::Kind::kAction) return nullptr;
    queue_.push_back(std::move(steps_.front().action));
    steps_.pop_front();
  }
  return ActionQueueSession::Peek();
}

void ScriptedUser::Take() {
  polled_break_ = false;
  ActionQueueSession::Take();
}

bool ScriptedUser::OnlyAnswersRemain() const {
  if (line_source_ || remaining() == 0) return false;
  for (const auto& action : queue_) {
    if (action.kind != platform::ActionKind::kAnswer) return false;
  }
  for (const auto& step : steps_) {
    if (step.kind != ScriptStep::Kind::kAction || step.action.kind != platform::ActionKind::kAnswer)
      return false;
  }
  return true;
}

bool ScriptedUser::ReadLine() {
  if (!line_source_) return false;
  std::wstring line;
  if (!line_source_(&line, ++source_line_)) {
    line_source_ = nullptr;  // the end of the input stays the end
    return false;
  }
  std::vector<ScriptStep> read;
  std::wstring error;
  const bool read_ok =
      typed_ ? ReadTypedLine(line, source_line_, platform::CurrentWait(), &read, &error)
             : ReadScriptLine(line, source_line_, &read, &error);
  if (!read_ok) {
    if (diagnostics_)
      diagnostics_(L"line " + std::to_wstring(source_line_) + L": " + error + L"\n");
    return true;  // the line is passed over; the input goes on
  }
  Add(std::move(read));
  return true;
}

bool ScriptedUser::Advance() {
  while (!stopped() && !unwinding_) {
    if (steps_.empty()) {
      if (!ReadLine()) return false;
      continue;
    }
    ScriptStep step = std::move(steps_.front());
    steps_.pop_front();
    if (step.kind == ScriptStep::Kind::kAction) {
      queue_.push_back(std::move(step.action));
      return true;
    }
    RunDirective(step);
  }
  return false;
}

void ScriptedUser::RunDirective(const ScriptStep& step) {
  if (step.kind == ScriptStep::Kind::kExpect) {
    const std::wstring_view since = std::wstring_view(transcript_).substr(expect_mark_);
    const bool found = since.find(step.text) != std::wstring_view::npos;
    expect_mark_ = transcript_.size();
    if (!found) {
      std::wstring where = step.line ? L"line " + std::to_wstring(step.line) + L": " : L"";
      Stop(platform::kExitExpectFailed,
           where + L"expected text not found in the transcript: \"" + step.text + L"\"");
    }
    return;
  }
  std::wstring view = step.kind == ScriptStep::Kind::kHelp ? HelpText(step.text)
                      : show_                              ? show_(step)
                                                           : std::wstring(L"nothing to show");
  if (!view.empty() && view.back() != L'\n') view += L'\n';
  const size_t from = transcript_.size();
  // A view stands on lines of its own, like a window event.
  if (!transcript_.empty() && transcript_.back() != L'\n') transcript_ += L'\n';
  transcript_ += view;
  Emit(from);
}

void ScriptedUser::Print(std::wstring_view text) {
  const size_t from = transcript_.size();
  ActionQueueSession::Print(text);
  Emit(from);
}

void ScriptedUser::Event(std::wstring_view line) {
  const size_t from = transcript_.size();
  ActionQueueSession::Event(line);
  Emit(from);
}

void ScriptedUser::Emit(size_t from) {
  if (output_ && from < transcript_.size()) {
    output_(std::wstring_view(transcript_).substr(from));
  }
}

}  // namespace host
