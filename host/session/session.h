// A session of the simulated CAD application: one drawing, the loaded modules, the scripted
// user and the main loop that runs commands, queued input and window messages.
//
// The harnex-host program runs one session per invocation; tests run many, one after the other,
// through the same class:
//
//   std::string error;
//   auto folder = tools::SystemFolderCopy::Create("", &error);  // host/system_folder.h
//   host::Session::Options options;
//   options.config_path = folder->config_path();
//   options.drawing = [](AcDbDatabase* db) { tools::BuildDemoDrawing(db); };  // or a
//   DrawingBuilder host::Session session(options); ASSERT_TRUE(session.Start());
//   session.Run({host::steps::Command(L"RQ_HARNEX"), host::steps::Click(1001)});
//   EXPECT_NE(session.transcript().find(L"..."), std::wstring::npos);
//   EXPECT_EQ(session.exit_status(), 0);
//
// Only one session may be started at a time: the stand-ins' state (module table, command stack,
// current document, user session) is process-wide.
//
// The command line, as this host shows it:
//   a command typed or sent      "\nコマンド: NAME\n", then whatever the command prints
//   an unknown command           after the echo: "不明なコマンド \"NAME\"。F1
//   キーを押すとヘルプを表示します。\n" Esc at the command prompt    "\nコマンド: *キャンセル*\n"
//   Enter at the command prompt  repeats the last command (echoed as above)
// Host commands (not in the command stack, so that ARXCOMMANDS lists only what applications
// registered): ARXLOAD and ARXUNLOAD ask "\nARX ファイル名: " and report
//   "\nNAME をロードしました。"            loaded
//   "\nNAME は既にロードされています。"    already loaded
//   "\nNAME が見つかりません。"            no image of that name
//   "\nNAME をロードできません。"          the application refused to load (kRetError)
//   "\nNAME をアンロードしました。"        unloaded
//   "\nNAME はロードされていません。"      ARXUNLOAD of a module that is not loaded
//   "\nNAME をアンロードできません。"      the application refused to unload
// ARXCOMMANDS asks "\nコマンド グループ名: " and prints one line per command of the group in
// registration order, "GROUP GLOBAL LOCAL FLAGS\n"; a group that does not exist lists nothing.
// Undo (undo_commands.cpp): each command that changed the drawing is one step, named by its
// global name; so are the changes that a window makes at the command prompt (named by the
// window's caption). The steps of the drawing, not the palette's or the files'.
//   U          takes back the last step and prints "\nNAME"
//   UNDO       asks "\n元に戻す操作の数を入力 <1>: " and takes back that many, printing
//              "\nNAME NAME ..." newest first
//   REDO       gives back what the last U or UNDO took back, printing the names oldest first
//   "\n元に戻す操作はありません。"   U or UNDO with nothing to take back
//   "\nすべて元に戻されました。"     UNDO N took back every step there was (after the names)
//   "\nやり直す操作はありません。"   REDO with nothing taken back since the last change
//
// Profile files (INI) that applications changed reach the disk before the host goes idle: after
// every command, after every window action of the user and every round of posted messages and
// timers that the main loop dispatches, and when the session closes its windows and unloads its
// modules. Handlers in between share the profile cache, so a save of many keys is written once.
// A file that cannot be written is reported on the command line, once per file and flush:
//   "\nERROR: ファイル書込みエラー(CODE): FILE\n"   CODE the Windows error code in decimal, FILE
//                                                   the file's name as the application gave it
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/session/module_loader.h"
#include "host/user/script.h"
#include "host/user/scripted_user.h"

class AcDbDatabase;

namespace host {

// Exit status of a session, as harnex-host reports it.
constexpr int kExitOk = 0;
constexpr int kExitHostError = 1;

class Session {
 public:
  using TextSink = std::function<void(std::wstring_view)>;

  struct Options {
    // The host configuration file that Veltra.arx's "RQAddinGetIniFile" reports.
    std::wstring config_path;
    // The modules installed with the host, made from the host configuration file when the
    // session starts (a module may report that file's path), and those of them loaded at start,
    // in this order. The host knows no module of its own: the program installs the maker's host
    // module and the add-in (tools/harnex_session.h).
    std::function<std::vector<ModuleImage>(const std::wstring& config_path)> installed_images;
    std::vector<std::wstring> start_modules;
    // Further images the host can load (tests' own add-ins). Loaded at start, after the start
    // modules, when listed in `load_at_start`, else on ARXLOAD.
    std::vector<ModuleImage> extra_images;
    std::vector<std::wstring> load_at_start;
    // The plain-text view of `show palette`; without it the action shows that no view is
    // installed.
    std::function<std::wstring()> palette_view;
    // A DXF drawing to open instead of a new one; a file that cannot be read makes Start fail.
    std::string drawing_file;
    // Fills the drawing before anything is loaded (e.g. with a DrawingBuilder).
    std::function<void(AcDbDatabase*)> drawing;
    // Where the transcript is streamed as it grows (the program: standard output, UTF-8).
    TextSink output;
    // Where the host's own diagnostics go (the program: standard error). Always also kept in
    // host_errors() / diagnostics().
    TextSink diagnostics;
    // Draw the status bar's progress meter on standard error (only when that is a terminal).
    bool progress_bar = false;
    // How many steps U and UNDO can take back (the oldest are forgotten); 0 turns undo off.
    int undo_steps = 50;
  };

  explicit Session(Options options);
  // Destroys every window, unloads every module (last loaded first), closes the drawing and
  // uninstalls the user.
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Installs the scripted user, opens the drawing and loads the start-up modules. False on a
  // host error (see host_errors()); a module that refuses to load is no host error, the
  // transcript reports it as AutoCAD would.
  bool Start();

  // Runs the steps (after any still pending) until the input ends or the session stops, then
  // returns exit_status(). At the end of the input a waiting prompt or modal dialog is cancelled
  // by the stand-ins themselves.
  int Run(std::vector<ScriptStep> steps);
  // Runs a script's text; a script that cannot be read is a host error (nothing runs).
  int RunScript(std::wstring_view script_text);
  // Reads further input lazily from `source` (the keyboard, standard input) once the steps are
  // used up.
  void SetLineSource(ScriptedUser::LineSource source);

  // Closes every window as the application does when it quits, before the drawing is saved:
  // a palette with unsaved edits asks whether to save them, and the answers left at the end of
  // the script answer (a question without one stops the session with exit 3 and is answered No).
  // The destructor does it when it has not been done.
  void CloseWindows();

  // Ends the session as the application quits: closes the windows, unloads every module (last
  // loaded first) and writes the profiles. The drawing stays until the session is destroyed, so
  // that a process about to exit need not free it object by object. The destructor quits when
  // this has not been done.
  void Quit();

  // 0, 1 (host error), 2 (expect failed) or 3 (the script did not fit). Host errors count first.
  int exit_status() const;
  // Why the session stopped (exit 2 or 3), empty when it did not.
  const std::wstring& stop_reason() const { return user_.stop_reason(); }
  const std::wstring& transcript() const { return user_.transcript(); }
  void ClearTranscript() { user_.ClearTranscript(); }
  // Host errors in order (objects left open after a command, unreadable scripts, ...).
  const std::vector<std::wstring>& host_errors() const { return host_errors_; }

  AcDbDatabase* database() const;
  // Writes the drawing as DXF; false with *error when it cannot be written (the file on disk,
  // if any, is left as it was).
  bool SaveDrawing(const std::string& path, std::wstring* error);
  ScriptedUser& user() { return user_; }
  ModuleLoader& modules() { return modules_; }

  // Runs one command line as if typed: NAME with typed answers ARGS. For the main loop and
  // tests.
  void RunCommandLine(const std::wstring& name, const std::vector<std::wstring>& args, int line);

 private:
  class Impl;
  void MainLoop();
  void Idle();
  void RunCommand(const std::wstring& name);
  bool RunHostCommand(const std::wstring& name);
  void CommandArxLoad(bool load);
  void CommandArxCommands();
  void CommandUndo(bool ask);
  void CommandRedo();
  // Ends the undo step being recorded and names the next one ("" records nothing).
  void StartUndoStep(const std::wstring& name);
  bool AskString(const std::wstring& prompt, std::wstring* answer);
  void CheckLeftOpen(const std::wstring& after);
  // Writes the profile files changed since the last time and reports those that fail.
  void WriteProfiles();
  void ReportLoad(const std::wstring& name, ModuleLoader::LoadResult result);
  void HostError(const std::wstring& message);
  std::wstring Show(const ScriptStep& step);
  void RunQueuedInput(const std::wstring& text);

  Options options_;
  ScriptedUser user_;
  ModuleLoader modules_;
  std::unique_ptr<Impl> impl_;
  std::vector<std::wstring> host_errors_;
  std::wstring last_command_;
  int command_depth_ = 0;  // commands running (a command may run another)
  bool started_ = false;
  bool quit_ = false;
};

}  // namespace host
