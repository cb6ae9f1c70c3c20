// The installed user session and the queue-fed session of tests and the scripted user.
#include "platform/win/user_session.h"

#include <cwchar>
#include <utility>

namespace platform {
namespace {
UserSession* g_session = nullptr;
WindowActionHandler& Handler() {
  static WindowActionHandler handler;
  return handler;
}

std::wstring Number(double v) {
  wchar_t buf[64];
  std::swprintf(buf, 64, L"%g", v);
  return buf;
}
}  // namespace

bool UserAction::IsWindowAction() const {
  switch (kind) {
    case ActionKind::kClick:
    case ActionKind::kType:
    case ActionKind::kChoose:
    case ActionKind::kRows:
    case ActionKind::kHeader:
    case ActionKind::kMenu:
      return true;
    default:
      return false;
  }
}

bool UserAction::IsEditorAction() const {
  switch (kind) {
    case ActionKind::kTyped:
    case ActionKind::kPick:
    case ActionKind::kPickAt:
    case ActionKind::kPoint:
    case ActionKind::kMove:
    case ActionKind::kEnter:
    case ActionKind::kEsc:
      return true;
    default:
      return false;
  }
}

std::wstring UserAction::Describe() const {
  std::wstring prefix = template_id ? L"@" + std::to_wstring(template_id) + L" " : L"";
  auto handle_list = [this] {
    std::wstring s;
    for (size_t i = 0; i < handles.size(); ++i) {
      wchar_t buf[32];
      std::swprintf(buf, 32, L"%llX", static_cast<unsigned long long>(handles[i]));
      s += (i ? L"," : L"") + std::wstring(buf);
    }
    return s;
  };
  auto number_list = [this] {
    std::wstring s;
    for (size_t i = 0; i < numbers.size(); ++i) s += (i ? L"," : L"") + std::to_wstring(numbers[i]);
    return s;
  };
  switch (kind) {
    case ActionKind::kCommand: {
      std::wstring s = L"command " + text;
      for (const auto& a : args) s += L" " + a;
      return s;
    }
    case ActionKind::kTyped:
      return L"typed \"" + text + L"\"";
    case ActionKind::kPick:
      return L"pick " + handle_list();
    case ActionKind::kPickAt:
      return L"pickat " + Number(x) + L"," + Number(y);
    case ActionKind::kPoint:
      return L"point " + Number(x) + L"," + Number(y);
    case ActionKind::kMove:
      return L"move " + Number(x) + L"," + Number(y);
    case ActionKind::kEnter:
      return L"enter";
    case ActionKind::kEsc:
      return L"esc";
    case ActionKind::kPreselect:
      if (!text.empty()) {
        return L"preselect " + text + L" " + Number(x) + L"," + Number(y) + L" " + Number(x2) +
               L"," + Number(y2);
      }
      return L"preselect " + handle_list();
    case ActionKind::kBreak:
      return L"break";
    case ActionKind::kClick:
      return prefix + L"click " + std::to_wstring(control);
    case ActionKind::kType:
      return prefix + L"type " + std::to_wstring(control) + L" " + text;
    case ActionKind::kChoose:
      return prefix + L"choose " + std::to_wstring(control) + L" " + text;
    case ActionKind::kRows:
      return prefix + L"rows " + std::to_wstring(control) + L" " + number_list();
    case ActionKind::kHeader:
      return prefix + L"header " + std::to_wstring(control) + L" " + number_list();
    case ActionKind::kMenu:
      return prefix + L"menu " + std::to_wstring(control) + L" " + text;
    case ActionKind::kAnswer:
      return L"answer " + text;
    case ActionKind::kColour:
      return L"colour " + number_list();
  }
  return L"?";
}

void SetUserSession(UserSession* session) {
  g_session = session;
}
UserSession* CurrentUserSession() {
  return g_session;
}

const UserAction* PeekAction() {
  return g_session ? g_session->Peek() : nullptr;
}
const UserAction* PeekImmediateAction() {
  return g_session ? g_session->PeekImmediate() : nullptr;
}
void TakeAction() {
  if (g_session) g_session->Take();
}
void PrintText(std::wstring_view text) {
  if (g_session) g_session->Print(text);
}
void PrintEvent(std::wstring_view line) {
  if (g_session) g_session->Event(line);
}
void StopSession(int exit_code, std::wstring_view reason) {
  if (g_session) g_session->Stop(exit_code, reason);
}

void SetWindowActionHandler(WindowActionHandler handler) {
  Handler() = std::move(handler);
}
bool DeliverWindowAction(const UserAction& action) {
  return Handler() ? Handler()(action) : false;
}

namespace {
bool g_cancel_requested = false;
}
void RequestCancel() {
  g_cancel_requested = true;
}
bool TakeCancelRequest() {
  return std::exchange(g_cancel_requested, false);
}

namespace {
Wait g_wait;
}
Wait CurrentWait() {
  return g_wait;
}
ScopedWait::ScopedWait(WaitKind kind, unsigned box_type, std::wstring text) : previous_(g_wait) {
  g_wait = Wait{};
  g_wait.kind = kind;
  g_wait.box_type = box_type;
  g_wait.text = std::move(text);
}
ScopedWait::ScopedWait(Wait wait) : previous_(g_wait) {
  g_wait = std::move(wait);
}
ScopedWait::~ScopedWait() {
  g_wait = previous_;
}

void ActionQueueSession::PushFront(std::vector<UserAction> actions) {
  queue_.insert(queue_.begin(), std::make_move_iterator(actions.begin()),
                std::make_move_iterator(actions.end()));
}

const UserAction* ActionQueueSession::Peek() {
  if (stopped() || queue_.empty()) return nullptr;
  return &queue_.front();
}

void ActionQueueSession::Take() {
  if (!queue_.empty()) queue_.pop_front();
}

void ActionQueueSession::Event(std::wstring_view line) {
  // A window event stands on a line of its own, whatever the command line showed before.
  if (!transcript_.empty() && transcript_.back() != L'\n') transcript_ += L'\n';
  transcript_.append(line);
  transcript_ += L'\n';
}

void ActionQueueSession::Stop(int exit_code, std::wstring_view reason) {
  if (stopped()) return;  // the first reason is the one that counts
  exit_code_ = exit_code;
  stop_reason_ = reason;
}

ScopedUserSession::ScopedUserSession(UserSession* session) : previous_(CurrentUserSession()) {
  SetUserSession(session);
}
ScopedUserSession::~ScopedUserSession() {
  SetUserSession(previous_);
}

}  // namespace platform
