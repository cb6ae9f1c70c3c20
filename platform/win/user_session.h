// The seam between the stand-ins and the person at the keyboard.
//
// Wherever the real system would wait for the user (a prompt on the command line, a modal
// dialog's message loop, a message box, the colour dialog, a drag, an Esc check in a long loop),
// the stand-ins pull the user's next action from the installed UserSession. The host's scripted
// user implements it from a session script; tests use ActionQueueSession below. Everything the
// user would see on the command line (acutPrintf, prompts, echoed answers) and every window
// event goes out through the same object, so that a session has one transcript.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class ActionKind {
  // Editor actions: they answer prompts.
  kCommand,    // text = command name, args = typed answers to its first prompts
  kTyped,      // text = one typed line answering a prompt ("" is an empty line)
  kPick,       // handles = picked entities
  kPickAt,     // x, y = the point pointed at
  kPoint,      // x, y, z = a point (during a drag: the pick)
  kMove,       // x, y = one cursor sample during a drag
  kEnter,      // empty response
  kEsc,        // cancel
  kPreselect,  // the pick-first selection of the next command: handles = its entities, or
               // text = "window" / "crossing" and the rectangle's corners (x, y) and (x2, y2)
               // with handles empty (a box dragged at the command prompt)
  kBreak,      // Esc pressed during a long loop (reported by the next acedUsrBrk)
  // Window actions: they go to windows.
  kClick,   // control
  kType,    // control, text
  kChoose,  // control, text
  kRows,    // control, numbers = row indices (empty: clear the selection)
  kHeader,  // control, numbers[0] = column
  kMenu,    // control, text = menu item
  // Answers to the system's own boxes.
  kAnswer,  // text = "ok", "yes", "no" or "cancel"
  kColour,  // numbers[0] = colour index; empty numbers: the dialog is cancelled
};

struct UserAction {
  ActionKind kind = ActionKind::kEnter;
  int line = 0;                    // where it came from (script line number), for messages
  std::wstring text;               // see ActionKind
  std::vector<std::wstring> args;  // kCommand only
  std::vector<uint64_t> handles;   // kPick, kPreselect
  double x = 0, y = 0, z = 0;      // kPickAt, kPoint, kMove; kPreselect: a rectangle's corner
  double x2 = 0, y2 = 0;           // kPreselect: the rectangle's other corner, opposite (x, y)
  bool has_z = false;
  int template_id = 0;  // window actions: the @ID prefix, 0 for the active window
  int control = 0;      // window actions: the control id
  std::vector<int> numbers;

  bool IsWindowAction() const;
  bool IsEditorAction() const;  // kTyped, kPick, kPickAt, kPoint, kMove, kEnter, kEsc
  // A short description for messages: "click 213", "point 10,20".
  std::wstring Describe() const;
};

// Exit codes of a session whose input did not fit (as harnex-host reports them).
constexpr int kExitExpectFailed = 2;
constexpr int kExitScriptMismatch = 3;

class UserSession {
 public:
  virtual ~UserSession() = default;

  // The next action that waits for a consumer, or null at the end of the input and after
  // Stop. The pointer stays valid until Take or the next Peek.
  virtual const UserAction* Peek() = 0;
  // The next action only when it comes before anything else the input holds (a check or a view
  // of a script), else null. A box that is acknowledged unless an answer follows looks with this,
  // so that what follows it runs after the box, not while the box looks for its answer.
  virtual const UserAction* PeekImmediate() { return Peek(); }
  // Takes the action that Peek gave. Must only follow a non-null Peek.
  virtual void Take() = 0;
  // Text for the command line, verbatim ("\n" starts a new line).
  virtual void Print(std::wstring_view text) = 0;
  // A window event: one transcript line of its own, beginning with "[".
  virtual void Event(std::wstring_view line) = 0;
  // The input does not fit what the session asked for (a question box without an answer, an
  // action nothing can take): remember why and with which exit code, and give no more actions.
  // The callers then unwind as at the end of the input: prompts are cancelled, dialogs closed.
  virtual void Stop(int exit_code, std::wstring_view reason) = 0;
};

// The installed session, or null: then nothing waits (prompts are cancelled, message boxes
// take their default answer) and printed text is dropped.
void SetUserSession(UserSession* session);
UserSession* CurrentUserSession();

// Convenience over the installed session; all are harmless without one.
const UserAction* PeekAction();
const UserAction* PeekImmediateAction();
void TakeAction();
void PrintText(std::wstring_view text);
void PrintEvent(std::wstring_view line);
void StopSession(int exit_code, std::wstring_view reason);

// Window actions that arrive while something else waits (a prompt, a drag) are handed to the
// window system, which installs its dispatcher here. The handler returns false when no window
// can take the action.
using WindowActionHandler = std::function<bool(const UserAction&)>;
void SetWindowActionHandler(WindowActionHandler handler);
bool DeliverWindowAction(const UserAction& action);

// The command line's cancel (Esc typed into it, e.g. a WM_CHAR 27 sent by a modeless window):
// the active command's pending or next prompt ends as cancelled. Taking the request clears it.
void RequestCancel();
bool TakeCancelRequest();

// What waits for the user's next action, for a front end that asks a person (a typed session
// reads a line differently at the command prompt, at a prompt, in a dialog and at a box). The
// waits nest: a box inside a dialog inside a command's prompt is a box until it is answered.
enum class WaitKind {
  kCommandPrompt,  // nothing else waits: the main loop's command prompt
  kPrompt,         // a prompt, pick, selection or drag of the command line
  kDialog,         // a modal dialog's message loop
  kBox,            // a message box (with one button only when boxes wait, see below)
  kMenu,           // a popup menu left open by `menu CTRL` without an item
  kColour,         // the colour dialog
};
struct Wait {
  WaitKind kind = WaitKind::kCommandPrompt;
  unsigned box_type = 0;    // kBox: the box's MB_* type (its buttons and icon)
  std::wstring text;        // kBox: the box's text
  int control = 0;          // kMenu: the control id of the menu's owner
  int colour = 0;           // kColour: the colour index the dialog opens with
  bool allow_meta = false;  // kColour: whether ByBlock (0) and ByLayer (256) may be chosen
  // kPrompt: what the prompt takes, for a front end that points with a mouse: "entity" (a pick),
  // "select" (objects, picked one by one), "point", "corner" (the other corner of a rectangle),
  // "drag" (cursor samples and a point), "text" (a string) or "value" (a number or keyword).
  std::string input{};
};
// The innermost wait, kCommandPrompt when none is open.
Wait CurrentWait();
// Marks a wait for its lifetime.
class ScopedWait {
 public:
  explicit ScopedWait(WaitKind kind, unsigned box_type = 0, std::wstring text = L"");
  explicit ScopedWait(Wait wait);
  ~ScopedWait();
  ScopedWait(const ScopedWait&) = delete;
  ScopedWait& operator=(const ScopedWait&) = delete;

 private:
  Wait previous_;
};

// A session fed from a queue of actions, with the transcript kept in memory: the base of the
// host's scripted user and the tool of the stand-ins' own tests.
class ActionQueueSession : public UserSession {
 public:
  void Push(UserAction action) { queue_.push_back(std::move(action)); }
  // Puts actions before everything queued (the typed answers of a command line).
  void PushFront(std::vector<UserAction> actions);

  const UserAction* Peek() override;
  void Take() override;
  void Print(std::wstring_view text) override { transcript_.append(text); }
  void Event(std::wstring_view line) override;
  void Stop(int exit_code, std::wstring_view reason) override;

  const std::wstring& transcript() const { return transcript_; }
  void ClearTranscript() { transcript_.clear(); }
  bool stopped() const { return exit_code_ != 0; }
  int exit_code() const { return exit_code_; }
  const std::wstring& stop_reason() const { return stop_reason_; }
  size_t pending() const { return queue_.size(); }

 protected:
  std::deque<UserAction> queue_;
  std::wstring transcript_;
  int exit_code_ = 0;
  std::wstring stop_reason_;
};

// Installs a session for the lifetime of this object and restores the previous one after.
class ScopedUserSession {
 public:
  explicit ScopedUserSession(UserSession* session);
  ~ScopedUserSession();
  ScopedUserSession(const ScopedUserSession&) = delete;
  ScopedUserSession& operator=(const ScopedUserSession&) = delete;

 private:
  UserSession* previous_;
};

}  // namespace platform
