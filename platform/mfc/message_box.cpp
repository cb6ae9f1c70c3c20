// Message boxes answered through the user session, with their transcript line.
#include <algorithm>

#include "platform/mfc/window_system.h"
#include "platform/win/user_session.h"

namespace {

std::vector<int> Buttons(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    case MB_RETRYCANCEL:
      return {IDRETRY, IDCANCEL};
  }
  return {IDOK};
}

const wchar_t* AnswerWord(int id) {
  switch (id) {
    case IDOK:
      return L"OK";
    case IDCANCEL:
      return L"Cancel";
    case IDABORT:
      return L"Abort";
    case IDRETRY:
      return L"Retry";
    case IDIGNORE:
      return L"Ignore";
    case IDYES:
      return L"Yes";
    case IDNO:
      return L"No";
  }
  return L"?";
}

int AnswerId(const std::wstring& word) {
  if (word == L"ok") return IDOK;
  if (word == L"yes") return IDYES;
  if (word == L"no") return IDNO;
  if (word == L"cancel") return IDCANCEL;
  return 0;
}

bool Has(const std::vector<int>& buttons, int id) {
  return std::find(buttons.begin(), buttons.end(), id) != buttons.end();
}

}  // namespace

namespace platform::mfc {

const wchar_t* MessageBoxIconName(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
      return L"stop";
    case MB_ICONQUESTION:
      return L"question";
    case MB_ICONEXCLAMATION:
      return L"warning";
    case MB_ICONASTERISK:
      return L"information";
  }
  return L"none";
}

}  // namespace platform::mfc

int MessageBoxW(HWND, LPCWSTR lpText, LPCWSTR, UINT uType) {
  const std::vector<int> buttons = Buttons(uType);
  const std::wstring text = lpText ? lpText : L"";
  const std::wstring shown =
      std::wstring(L"[box ") + platform::mfc::MessageBoxIconName(uType) + L"] " + text;
  auto finish = [&](int answer) {
    platform::PrintEvent(shown + L" → " + AnswerWord(answer));
    return answer;
  };
  // A box that the session left without an answer shows none: the caller gets the safe one
  // (Cancel, else No), but the transcript does not claim that the user gave it.
  auto unanswered = [&](int answer) {
    platform::PrintEvent(shown);
    return answer;
  };
  if (!platform::CurrentUserSession()) {
    size_t def = (uType & MB_DEFMASK) >> 8;
    return buttons[def < buttons.size() ? def : 0];
  }
  // A box with only OK waits for an answer only when one comes next; a question box takes the
  // next action whatever comes before it. Both are the wait of a box while they look, so that a
  // front end that shows boxes until they are answered (a page) can tell.
  const platform::ScopedWait box(platform::WaitKind::kBox, uType, text);
  const platform::UserAction* action =
      buttons.size() == 1 ? platform::PeekImmediateAction() : platform::PeekAction();
  if (action && action->kind == platform::ActionKind::kAnswer) {
    int line = action->line;
    std::wstring word = action->text;
    platform::TakeAction();
    int id = AnswerId(word);
    if (Has(buttons, id)) return finish(id);
    platform::StopSession(platform::kExitScriptMismatch, L"line " + std::to_wstring(line) +
                                                             L": the box \"" + text +
                                                             L"\" has no answer \"" + word + L"\"");
    return unanswered(Has(buttons, IDCANCEL) ? IDCANCEL : Has(buttons, IDNO) ? IDNO : buttons[0]);
  }
  if (buttons.size() == 1) return finish(buttons[0]);  // acknowledged
  std::wstring where = action ? L"line " + std::to_wstring(action->line) + L": " : L"";
  platform::StopSession(platform::kExitScriptMismatch,
                        where + L"the box \"" + text + L"\" waits for an answer");
  return unanswered(Has(buttons, IDCANCEL) ? IDCANCEL : IDNO);
}

BOOL MessageBeep(UINT) {
  return TRUE;
}

int AfxMessageBox(LPCTSTR text, UINT type, UINT) {
  return MessageBoxW(platform::mfc::ActiveActionWindow(), text, nullptr, type);
}

int AfxMessageBox(UINT id, UINT type, UINT) {
  CString text;
  text.LoadString(id);
  return AfxMessageBox(text, type);
}
