// A session of the simulated CAD application: start-up, main loop, host commands.
#include "host/session/session.h"

#include <accmd.h>
#include <acdocman.h>
#include <aced.h>
#include <acedads.h>
#include <rxregsvc.h>
#include <windows.h>
#include "platform/mfc/window_system.h"
#include "platform/win/text_encoding.h"

#include <utility>

#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_writer.h"
#include "host/session/drawing_document.h"
#include "host/session/progress_bar.h"
#include "host/user/entity_view.h"
#include "platform/acad/undo_history.h"

namespace host {
namespace {

using platform::ActionKind;
using platform::UserAction;

std::wstring Upper(std::wstring s) {
  for (auto& c : s) {
    if (c >= L'a' && c <= L'z') c = c - L'a' + L'A';
  }
  return s;
}

// AutoCAD reads "_NAME" (the global name in any language), ".NAME" (the built-in, not a
// redefinition) and "'NAME" (transparent) as NAME.
std::wstring CommandNameOf(std::wstring name) {
  while (!name.empty() && (name.front() == L'_' || name.front() == L'.' || name.front() == L'\'')) {
    name.erase(0, 1);
  }
  return name;
}

std::wstring Where(int line) {
  return line ? L"line " + std::to_wstring(line) + L": " : L"";
}

// Why an action that came at the command prompt, where nothing takes it, stops the session.
std::wstring NothingWaitsFor(const UserAction& action) {
  return Where(action.line) + L"nothing waits for \"" + action.Describe() +
         L"\" at the command prompt";
}

}  // namespace

// What the session holds beyond its members: the open drawing and the installed hooks.
class Session::Impl : public platform::mfc::DispatchObserver {
 public:
  explicit Impl(Session* session) : session_(session) {}

  std::unique_ptr<DrawingDocument> document;
  std::unique_ptr<ProgressBar> progress_bar;
  platform::UserSession* previous_session = nullptr;

  // Every window-message handler, dialog and palette event is checked for objects it left
  // open, as every command is.
  void BeforeHandler() override {
    if (document) document->BeginHandler();
  }
  void AfterHandler(const std::wstring& what) override {
    if (!document) return;
    for (const auto& line : document->EndHandler())
      session_->HostError(L"after " + what + L": " + line);
  }

 private:
  Session* session_;
};

Session::Session(Options options)
    : options_(std::move(options)), impl_(std::make_unique<Impl>(this)) {
  user_.SetOutput(options_.output);
  user_.SetDiagnostics(options_.diagnostics);
  user_.SetShowHandler([this](const ScriptStep& step) { return Show(step); });
}

Session::~Session() {
  if (!started_) return;
  Quit();
  impl_->document.reset();
  platform::SetUserSession(impl_->previous_session);
}

void Session::Quit() {
  if (!started_ || quit_) return;
  quit_ = true;
  // As when the application quits: windows close first (palettes clear their instance pointers
  // as they go), then the modules unload, while the drawing is still there for them.
  CloseWindows();
  modules_.UnloadAll();
  WriteProfiles();
  impl_->progress_bar.reset();
  platform::mfc::SetDispatchObserver(nullptr);
}

bool Session::Start() {
  if (started_) return true;
  started_ = true;
  impl_->previous_session = platform::CurrentUserSession();
  platform::SetUserSession(&user_);
  platform::mfc::SetDispatchObserver(impl_.get());
  if (options_.progress_bar) impl_->progress_bar = ProgressBar::ForStandardError();

  if (options_.drawing_file.empty()) {
    impl_->document = std::make_unique<DrawingDocument>();
  } else {
    DxfReadResult read = ReadDxfFile(options_.drawing_file);
    if (!read.ok()) {
      HostError(L"cannot read the drawing " + platform::Utf8ToWide(options_.drawing_file) + L": " +
                read.error);
      return false;
    }
    for (const auto& warning : read.warnings) {
      if (options_.diagnostics)
        options_.diagnostics(platform::Utf8ToWide(options_.drawing_file) + L": " + warning + L"\n");
    }
    impl_->document = std::make_unique<DrawingDocument>(
        std::move(read.database), platform::Utf8ToWide(options_.drawing_file));
  }
  if (options_.drawing) options_.drawing(impl_->document->database());
  CheckLeftOpen(L"building the drawing");

  if (options_.installed_images) {
    for (auto& image : options_.installed_images(options_.config_path))
      modules_.AddImage(std::move(image));
  }
  for (auto& image : options_.extra_images) modules_.AddImage(image);
  std::vector<std::wstring> start_up = options_.start_modules;
  for (const auto& name : options_.load_at_start) start_up.push_back(name);
  for (const auto& name : start_up) {
    const auto result = modules_.Load(name);
    if (result != ModuleLoader::LoadResult::kLoaded) ReportLoad(name, result);
    CheckLeftOpen(L"loading " + name);
  }
  Idle();
  // Undo records what the user does, not the drawing as it was read or built.
  platform::acad::EnableUndo(*impl_->document->database(), options_.undo_steps);
  return host_errors_.empty();
}

int Session::Run(std::vector<ScriptStep> steps) {
  if (!Start()) return exit_status();
  user_.Add(std::move(steps));
  MainLoop();
  return exit_status();
}

int Session::RunScript(std::wstring_view script_text) {
  ScriptReadResult script = ReadScript(script_text);
  if (!script.ok()) {
    HostError(script.error);
    return exit_status();
  }
  return Run(std::move(script.steps));
}

void Session::SetLineSource(ScriptedUser::LineSource source) {
  user_.SetLineSource(std::move(source));
}

void Session::CloseWindows() {
  if (!started_) return;
  platform::mfc::ResetWindowSystem();
  WriteProfiles();
  // Answers kept for the shutdown that no question took were answers to nothing.
  if (user_.OnlyAnswersRemain()) {
    if (const UserAction* left = user_.Peek()) {
      user_.Stop(platform::kExitScriptMismatch, NothingWaitsFor(*left));
    }
  }
}

int Session::exit_status() const {
  if (!host_errors_.empty()) return kExitHostError;
  return user_.stopped() ? user_.exit_code() : kExitOk;
}

AcDbDatabase* Session::database() const {
  return impl_->document ? impl_->document->database() : nullptr;
}

bool Session::SaveDrawing(const std::string& path, std::wstring* error) {
  AcDbDatabase* db = database();
  if (db == nullptr) {
    *error = L"there is no drawing to save";
    return false;
  }
  return WriteDxfFile(*db, path, error);
}

void Session::HostError(const std::wstring& message) {
  host_errors_.push_back(message);
  if (options_.diagnostics) options_.diagnostics(message + L"\n");
}

void Session::MainLoop() {
  while (const UserAction* next = user_.Peek()) {
    // Answers at the very end of a script are kept for the questions of the shutdown.
    if (next->kind == ActionKind::kAnswer && user_.OnlyAnswersRemain()) return;
    const UserAction action = *next;
    user_.Take();
    switch (action.kind) {
      case ActionKind::kCommand:
        RunCommandLine(action.text, action.args, action.line);
        break;
      case ActionKind::kTyped:
        // A line typed at the command prompt names a command.
        if (!action.text.empty()) RunCommandLine(action.text, {}, action.line);
        break;
      case ActionKind::kEnter:
        if (!last_command_.empty()) RunCommandLine(last_command_, {}, action.line);
        break;
      case ActionKind::kEsc:
        user_.Print(L"\nコマンド: *キャンセル*\n");
        break;
      case ActionKind::kMove:
        break;  // cursor motion answers nothing
      case ActionKind::kPreselect: {
        if (!action.text.empty()) {
          impl_->document->SetPickfirstInRectangle(action.x, action.y, action.x2, action.y2,
                                                   action.text == L"crossing");
          break;
        }
        std::vector<uint64_t> missing;
        impl_->document->SetPickfirst(action.handles, &missing);
        if (!missing.empty()) {
          user_.Stop(platform::kExitScriptMismatch,
                     Where(action.line) + L"preselect names an entity that the drawing lacks: " +
                         action.Describe());
        }
        break;
      }
      default:
        if (action.IsWindowAction()) {
          // What a window changes at the command prompt is a step of its own.
          StartUndoStep(platform::mfc::CaptionOfActionWindow(action));
          if (!platform::DeliverWindowAction(action)) {
            user_.Stop(platform::kExitScriptMismatch,
                       Where(action.line) + L"no window can take \"" + action.Describe() + L"\"");
          }
          WriteProfiles();
          break;
        }
        user_.Stop(platform::kExitScriptMismatch, NothingWaitsFor(action));
        break;
    }
    Idle();
  }
}

void Session::RunCommandLine(const std::wstring& name, const std::vector<std::wstring>& args,
                             int line) {
  if (!args.empty()) {
    std::vector<UserAction> typed;
    for (const auto& arg : args) {
      UserAction a;
      a.kind = ActionKind::kTyped;
      a.text = arg;
      a.line = line;
      typed.push_back(std::move(a));
    }
    user_.PushFront(std::move(typed));
  }
  user_.Print(L"\nコマンド: " + name + L"\n");
  RunCommand(CommandNameOf(name));
}

void Session::RunCommand(const std::wstring& name) {
  const std::wstring upper = Upper(name);
  if (RunHostCommand(upper)) {
    last_command_ = upper;
    CheckLeftOpen(upper);
    WriteProfiles();
    return;
  }
  AcEdCommandStack* stack = acedRegCmds;
  AcEdCommand* command = stack ? stack->lookupGlobalCmd(name.c_str()) : nullptr;
  if (command == nullptr && stack != nullptr) command = stack->lookupLocalCmd(name.c_str());
  if (command == nullptr || command->functionAddr() == nullptr) {
    user_.Print(L"不明なコマンド \"" + upper + L"\"。F1 キーを押すとヘルプを表示します。\n");
    impl_->document->ClearPickfirst();
    return;
  }
  last_command_ = command->globalName();
  if (command_depth_ == 0) StartUndoStep(last_command_);
  // While a command runs (its prompts and drags included) the document is not quiescent, as in
  // the CAD host: a window that closes then (the palette on Esc) cancels the command.
  ++command_depth_;
  platform::acad::SetCommandActive(true);
  command->functionAddr()();
  --command_depth_;
  platform::acad::SetCommandActive(command_depth_ > 0);
  if (command_depth_ == 0) StartUndoStep(L"");
  impl_->document->ClearPickfirst();
  CheckLeftOpen(last_command_);
  WriteProfiles();
}

bool Session::RunHostCommand(const std::wstring& name) {
  if (name == L"ARXLOAD" || name == L"ARXUNLOAD") {
    CommandArxLoad(name == L"ARXLOAD");
    return true;
  }
  if (name == L"ARXCOMMANDS") {
    CommandArxCommands();
    return true;
  }
  if (name == L"U" || name == L"UNDO" || name == L"REDO") {
    if (name == L"REDO") {
      CommandRedo();
    } else {
      CommandUndo(name == L"UNDO");
    }
    // A pick-first set may name objects that are no longer there.
    impl_->document->ClearPickfirst();
    return true;
  }
  return false;
}

bool Session::AskString(const std::wstring& prompt, std::wstring* answer) {
  ACHAR buffer[512] = {};
  if (acedGetString(1, prompt.c_str(), buffer, 512) != RTNORM) return false;
  *answer = buffer;
  return !answer->empty();
}

void Session::CommandArxLoad(bool load) {
  std::wstring name;
  if (!AskString(L"\nARX ファイル名: ", &name)) return;
  if (load) {
    const auto result = modules_.Load(name);
    const ModuleImage* image = modules_.FindImage(name);
    ReportLoad(image ? image->name : name, result);
    return;
  }
  if (!modules_.IsLoaded(name)) {
    user_.Print(L"\n" + name + L" はロードされていません。");
  } else if (modules_.Unload(name)) {
    const ModuleImage* image = modules_.FindImage(name);
    user_.Print(L"\n" + (image ? image->name : name) + L" をアンロードしました。");
  } else {
    user_.Print(L"\n" + name + L" をアンロードできません。");
  }
}

void Session::ReportLoad(const std::wstring& name, ModuleLoader::LoadResult result) {
  switch (result) {
    case ModuleLoader::LoadResult::kLoaded:
      user_.Print(L"\n" + name + L" をロードしました。");
      break;
    case ModuleLoader::LoadResult::kAlreadyLoaded:
      user_.Print(L"\n" + name + L" は既にロードされています。");
      break;
    case ModuleLoader::LoadResult::kNoImage:
      user_.Print(L"\n" + name + L" が見つかりません。");
      break;
    case ModuleLoader::LoadResult::kRefused:
      user_.Print(L"\n" + name + L" をロードできません。");
      break;
  }
}

void Session::CommandArxCommands() {
  std::wstring group;
  if (!AskString(L"\nコマンド グループ名: ", &group)) return;
  AcEdCommandStack* stack = acedRegCmds;
  std::unique_ptr<AcEdCommandIterator> it(stack ? stack->iterator() : nullptr);
  // A group that does not exist lists nothing, like an empty one.
  for (; it && !it->done(); it->next()) {
    if (Upper(it->commandGroup()) != Upper(group)) continue;
    const AcEdCommand* c = it->command();
    user_.Print(std::wstring(it->commandGroup()) + L" " + c->globalName() + L" " + c->localName() +
                L" " + std::to_wstring(c->commandFlags()) + L"\n");
  }
}

void Session::Idle() {
  // Posted window messages and due timers, then input that applications sent to the command
  // line; each of those may post or send more, so go round until nothing is left.
  for (int round = 0; round < 100000; ++round) {
    impl_->document->PumpWindowMessages();
    WriteProfiles();
    std::wstring queued;
    if (user_.stopped() || !impl_->document->TakeQueuedInput(&queued)) return;
    RunQueuedInput(queued);
  }
  HostError(L"the command line's input queue does not run dry: stopped after 100000 rounds");
}

void Session::RunQueuedInput(const std::wstring& text) {
  // Queued text reads like typed keys: a blank or a newline ends each word; the first word names
  // the command, the rest answer its first prompts.
  std::vector<std::wstring> words;
  std::wstring word;
  bool ended = false;
  for (wchar_t c : text) {
    if (c == L' ' || c == L'\n' || c == L'\r') {
      words.push_back(word);
      word.clear();
      ended = true;
    } else {
      word += c;
      ended = false;
    }
  }
  if (!ended && !word.empty()) words.push_back(word);
  while (!words.empty() && words.front().empty()) words.erase(words.begin());
  if (words.empty()) return;
  const std::wstring name = words.front();
  words.erase(words.begin());
  RunCommandLine(name, words, 0);
}

void Session::CheckLeftOpen(const std::wstring& after) {
  if (!impl_->document) return;
  for (const auto& line : impl_->document->TakeLeftOpen()) {
    HostError(L"after " + after + L": " + line);
  }
}

void Session::WriteProfiles() {
  for (const auto& failure : platform::FlushProfileFilesReportingFailures()) {
    user_.Print(L"\nERROR: ファイル書込みエラー(" + std::to_wstring(failure.error) + L"): " +
                failure.file + L"\n");
  }
}

std::wstring Session::Show(const ScriptStep& step) {
  switch (step.kind) {
    case ScriptStep::Kind::kShowPalette:
      return options_.palette_view ? options_.palette_view() : L"[palette] no view";
    case ScriptStep::Kind::kShowEntity:
      return DescribeEntity(database(), step.handle);
    case ScriptStep::Kind::kShowDrawing:
      return DescribeDrawing(database());
    default:
      return L"";
  }
}

}  // namespace host
