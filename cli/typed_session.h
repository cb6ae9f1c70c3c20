// A session typed at a terminal: the line source, the Esc of Ctrl-C, the end of Ctrl-D and the
// orderly end on SIGTERM and SIGHUP.
//
//   what waits      Ctrl-C                                  Ctrl-D (empty line)
//   command prompt  clears the line                         ends the session*
//   a prompt        "esc": "*キャンセル*", the command ends  the same
//   a modal dialog  "click 2": the dialog is cancelled      the same
//   a question box  "answer cancel" when the box has Cancel nothing
//   a long loop     the break that acedUsrBrk reports next  (no line is read)
// A Ctrl-C pressed while a command works is Esc typed ahead: a loop takes it at its next Esc
// check, else it cancels the next prompt, dialog or box that waits (at the command prompt it is
// spent).
// * With unsaved palette edits the palette is closed first as Esc in it closes it: its question
//   "データが変更されています。保存しますか？" is asked at the terminal (yes, no or cancel), and
//   cancel (or a save that does not complete) returns to the command prompt.
//
// SIGTERM and SIGHUP end the session at the next wait (a long loop at its next Esc check):
// Terminated() is then true and the caller writes the palette's unsaved edits to a recovery
// file before the windows close (cli/session_end.h).
#pragma once

#include <memory>
#include <string>

#include "cli/line_editor.h"
#include "host/session/session.h"

namespace cli {

class TypedSession {
 public:
  // Installs the line source, typed reading and the break poll on `session`, and the signal
  // handlers. `history_path` as for LineEditor.
  TypedSession(host::Session* session, std::string history_path);
  ~TypedSession();
  TypedSession(const TypedSession&) = delete;
  TypedSession& operator=(const TypedSession&) = delete;

  // A SIGTERM or SIGHUP ended the session (the signal's number), else 0.
  int Terminated() const { return g_terminate_signal; }

 private:
  bool NextLine(std::wstring* line);
  std::wstring PromptFor(const platform::Wait& wait) const;
  // The line that cancels what waits (Ctrl-C, or with `end` Ctrl-D): "esc", "click 2" or
  // "answer cancel". False when nothing is to be sent (a box without Cancel).
  bool Cancel(const platform::Wait& wait, bool end, std::wstring* line);
  void BackToPromptEnd(const std::wstring& prompt);

  host::Session* session_;
  LineEditor editor_;
  bool closing_palette_ = false;
};

}  // namespace cli
