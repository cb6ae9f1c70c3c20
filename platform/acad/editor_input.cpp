// The command line's wait loop and echoes, shared by prompts, picks, selections and drags.
#include "platform/acad/editor_input.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace platform::acad {
namespace {

std::wstring LinePrefix(const UserAction& action) {
  return action.line > 0 ? L"line " + std::to_wstring(action.line) + L": " : L"";
}

std::wstring_view Trim(std::wstring_view s) {
  while (!s.empty() && std::iswspace(s.front())) s.remove_prefix(1);
  while (!s.empty() && std::iswspace(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

void ReportMismatch(const UserAction& action, std::wstring_view what) {
  StopSession(kExitScriptMismatch,
              LinePrefix(action) + action.Describe() + L" cannot answer " + std::wstring(what));
}

bool IsPickAnswer(const UserAction& a) {
  return a.kind == ActionKind::kPick || a.kind == ActionKind::kPickAt ||
         a.kind == ActionKind::kPoint || a.kind == ActionKind::kEnter ||
         (a.kind == ActionKind::kTyped && a.text.empty());
}

EditorInput AwaitEditorInput(const ActionFilter& accepts, std::wstring_view what,
                             const char* input) {
  EditorInput result;
  Wait marked;
  marked.kind = WaitKind::kPrompt;
  marked.input = input;
  const ScopedWait wait(std::move(marked));
  for (;;) {
    // A cancel requested before the prompt ends it at once, as AutoCAD does with an Esc that a
    // modeless window typed into the command line.
    if (TakeCancelRequest()) {
      EchoCancel();
      result.outcome = InputOutcome::kCancelled;
      return result;
    }
    const UserAction* next = PeekAction();
    if (next == nullptr) return result;  // kEnded
    if (next->IsWindowAction()) {
      UserAction window_action = *next;
      TakeAction();
      if (!DeliverWindowAction(window_action)) {
        StopSession(kExitScriptMismatch, LinePrefix(window_action) + L"no window takes " +
                                             window_action.Describe() + L" while " +
                                             std::wstring(what) + L" waits");
        return result;
      }
      continue;  // the cancel request, if the window made one, is seen at the top
    }
    if (next->kind == ActionKind::kEsc) {
      TakeAction();
      EchoCancel();
      result.outcome = InputOutcome::kCancelled;
      return result;
    }
    if (accepts(*next)) {
      result.action = *next;
      TakeAction();
      result.outcome = InputOutcome::kAction;
      return result;
    }
    if (next->kind == ActionKind::kMove) {
      TakeAction();
      continue;
    }
    ReportMismatch(*next, what);
    return result;
  }
}

void EchoCancel() {
  PrintText(L"\n*キャンセル*\n");
}
void EchoTyped(std::wstring_view text) {
  PrintText(text);
  PrintText(L"\n");
}
void EchoLineEnd() {
  PrintText(L"\n");
}

std::wstring DescribePrompt(std::wstring_view kind, const wchar_t* prompt) {
  std::wstring s = L"the " + std::wstring(kind) + L" prompt";
  if (prompt == nullptr) return s;
  s += L" \"";
  for (const wchar_t* p = prompt; *p; ++p) {
    if (*p == L'\n')
      s += L"\\n";
    else
      s += *p;
  }
  return s + L"\"";
}

std::optional<double> ParseTypedReal(std::wstring_view text) {
  std::wstring s(Trim(text));
  if (s.empty()) return std::nullopt;
  wchar_t* end = nullptr;
  errno = 0;
  double v = std::wcstod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || errno == ERANGE || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<long> ParseTypedInt(std::wstring_view text) {
  std::wstring s(Trim(text));
  if (s.empty()) return std::nullopt;
  wchar_t* end = nullptr;
  errno = 0;
  long v = std::wcstol(s.c_str(), &end, 10);
  if (end != s.c_str() + s.size() || errno == ERANGE) return std::nullopt;
  return v;
}

std::optional<std::array<double, 3>> ParseTypedPoint(std::wstring_view text, const double* base) {
  std::wstring_view s = Trim(text);
  bool relative = !s.empty() && s.front() == L'@';
  if (relative) {
    if (base == nullptr) return std::nullopt;
    s.remove_prefix(1);
  }
  std::vector<double> parts;
  for (;;) {
    size_t comma = s.find(L',');
    auto v = ParseTypedReal(s.substr(0, comma));
    if (!v) return std::nullopt;
    parts.push_back(*v);
    if (comma == std::wstring_view::npos) break;
    s.remove_prefix(comma + 1);
  }
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  std::array<double, 3> p{parts[0], parts[1], parts.size() == 3 ? parts[2] : 0.0};
  if (relative)
    for (int i = 0; i < 3; ++i) p[i] += base[i];
  return p;
}

}  // namespace platform::acad
