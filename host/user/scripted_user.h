// The scripted user: the user session that a session script (or the keyboard) drives.
//
// It hands the script's actions to the stand-ins through the user-session seam and handles the
// directives itself whenever the input is asked for: `expect` checks the transcript written since
// the previous expect (a miss stops the session with exit 2), `show` prints a view through the
// installed show handler. The transcript is kept in memory and, when an output is set, streamed
// to it as it grows.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/user/script.h"
#include "platform/win/user_session.h"

namespace host {

class ScriptedUser : public platform::ActionQueueSession {
 public:
  // Gives the next input line; false at the end of the input. Called only when every step read
  // so far has been used, so that standard input is read lazily.
  using LineSource = std::function<bool(std::wstring* line, int line_number)>;
  using TextSink = std::function<void(std::wstring_view)>;
  // Returns the text that a show step prints (without trailing newline handling: the scripted
  // user puts it on lines of its own).
  using ShowHandler = std::function<std::wstring(const ScriptStep&)>;

  ScriptedUser() = default;
  ScriptedUser(const ScriptedUser&) = delete;
  ScriptedUser& operator=(const ScriptedUser&) = delete;

  // Appends steps after everything added before.
  void Add(ScriptStep step);
  void Add(std::vector<ScriptStep> steps);

  void SetLineSource(LineSource source) { line_source_ = std::move(source); }
  // Where the transcript is streamed (the program: standard output).
  void SetOutput(TextSink sink) { output_ = std::move(sink); }
  // Where the reader's complaints about typed lines go (the program: standard error). A line
  // from the line source that cannot be read is reported there and skipped.
  void SetDiagnostics(TextSink sink) { diagnostics_ = std::move(sink); }
  void SetShowHandler(ShowHandler handler) { show_ = std::move(handler); }
  // Lines from the line source are typed at the keyboard: they are read by what waits for them
  // (host/typed_line.h) instead of as script lines, and a line that does not fit (an action
  // nothing takes, an expect that fails) does not end the session: the reason goes to the
  // diagnostics, what was typed after it is dropped, and everything that waits is cancelled as
  // at the end of the input until the command prompt is reached again; then input goes on.
  void SetTypedInput(bool typed) { typed_ = typed; }
  // For input typed at a terminal: a long loop's Esc check (and a box that only wants OK) must
  // not wait for a line. With a poll set, PeekImmediate reads no line when nothing is pending;
  // it offers a `break` when the poll says the user pressed Esc (Ctrl-C) since it last asked. A
  // break offered so and not taken is dropped before the next action is given.
  void SetBreakPoll(std::function<bool()> poll) { break_poll_ = std::move(poll); }
  // For a front end that shows every box until it is answered (a page): a box that only wants OK
  // waits for the user's line as a question box does, even with a break poll set.
  void SetBoxesWait(bool wait) { boxes_wait_ = wait; }

  const platform::UserAction* Peek() override;
  const platform::UserAction* PeekImmediate() override;
  void Take() override;
  void Stop(int exit_code, std::wstring_view reason) override;
  void Print(std::wstring_view text) override;
  void Event(std::wstring_view line) override;

  // Steps not yet used (directives and actions), typed answers of commands included.
  size_t remaining() const { return steps_.size() + queue_.size(); }
  // True when what is left of the input is one or more `answer` actions and nothing else: they
  // answer the questions that come while the host shuts down (a palette that closes with unsaved
  // edits asks whether to save them).
  bool OnlyAnswersRemain() const;

 private:
  // Moves the next action into the queue, handling the directives before it. False at the end
  // of the input.
  bool Advance();
  // Reads one more line of the line source into the steps; false at the end of the input.
  bool ReadLine();
  void RunDirective(const ScriptStep& step);
  void Emit(size_t from);

  std::deque<ScriptStep> steps_;
  LineSource line_source_;
  int source_line_ = 0;
  TextSink output_;
  TextSink diagnostics_;
  ShowHandler show_;
  size_t expect_mark_ = 0;
  bool typed_ = false;
  std::function<bool()> break_poll_;
  bool boxes_wait_ = false;
  bool polled_break_ = false;  // the queue's front is a break that the poll offered
  bool unwinding_ = false;     // typed input that did not fit: waits end until the command prompt
  // True while a typed mistake unwinds the waits (nothing is given to them).
  bool Unwinding();
};

}  // namespace host
