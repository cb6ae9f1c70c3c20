// The command line of a typed session on a terminal: line editing, history and Tab completion
// (libedit), with Ctrl-C and Ctrl-D reported instead of acted on.
#pragma once

#include <string>

struct editline;

namespace cli {

// Set by the signal handlers that TypedSession installs; read here so that a blocked read ends.
extern volatile int g_terminate_signal;  // SIGTERM or SIGHUP received (the signal's number)
// Wakes a read that waits for a key (async-signal-safe): a signal handler calls it after setting
// g_terminate_signal, so that a signal that comes just before the read begins is not missed.
void WakeEditor();

class LineEditor {
 public:
  enum class Result {
    kLine,       // a line was entered
    kInterrupt,  // Ctrl-C: the line typed so far is dropped
    kEnd,        // Ctrl-D on an empty line (end of input)
    kTerminate,  // SIGTERM or SIGHUP arrived while waiting
  };

  // Edits on standard input and output, which must be a terminal. History is read from and
  // written to `history_path` after every entered line (empty: no history file).
  explicit LineEditor(std::string history_path);
  ~LineEditor();
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  // Shows `prompt` at the start of the current line and reads one line (without its newline).
  Result Read(const std::wstring& prompt, std::wstring* line);

 private:
  static wchar_t* Prompt(editline* el);
  static unsigned char OnInterrupt(editline* el, int key);
  static unsigned char OnComplete(editline* el, int key);
  static int ReadChar(editline* el, wchar_t* out);

  editline* el_ = nullptr;
  struct HistoryHandle;
  HistoryHandle* history_ = nullptr;
  std::string history_path_;
  std::wstring prompt_;
  bool interrupted_ = false;
};

// The history file: $HARNEX_HISTORY when set (empty: none), else ~/.harnex_history ("" when
// there is no home folder).
std::string HistoryPath();

}  // namespace cli
