// The command line's prompts: points, corners, strings, numbers and keywords, with acedInitGet.
#include <cmath>
#include <cwctype>
#include <string>
#include <utility>
#include <vector>

#include <acedads.h>
#include "platform/acad/editor_input.h"

namespace {

using platform::ActionKind;
using platform::UserAction;
using platform::acad::AwaitEditorInput;
using platform::acad::InputOutcome;

// acedInitGet applies to the next prompt only.
struct InitGet {
  int bits = 0;
  std::vector<std::wstring> keywords;
};
InitGet g_init_get;
std::wstring g_last_keyword;

InitGet TakeInitGet() {
  return std::exchange(g_init_get, InitGet{});
}

std::wstring Upper(std::wstring_view s) {
  std::wstring u(s);
  for (auto& c : u) c = static_cast<wchar_t>(std::towupper(c));
  return u;
}

// A typed word names a keyword when it is the keyword or a prefix of it at least as long as its
// leading capitals (the abbreviation AutoCAD accepts), compared ignoring case.
const std::wstring* MatchKeyword(const InitGet& init, std::wstring_view typed) {
  std::wstring t = Upper(typed);
  if (t.empty()) return nullptr;
  for (const auto& kw : init.keywords) {
    size_t capitals = 0;
    while (capitals < kw.size() && !std::iswlower(kw[capitals])) ++capitals;
    if (capitals == 0) capitals = kw.size();
    std::wstring k = Upper(kw);
    if (t.size() >= capitals && t.size() <= k.size() && k.compare(0, t.size(), t) == 0) return &kw;
  }
  return nullptr;
}

void PrintPrompt(const ACHAR* prompt) {
  if (prompt) platform::PrintText(prompt);
}

bool IsTyped(const UserAction& a) {
  return a.kind == ActionKind::kTyped;
}
bool IsEmptyResponse(const UserAction& a) {
  return a.kind == ActionKind::kEnter || (IsTyped(a) && a.text.empty());
}

// What the prompts below share: print the prompt, wait, handle Enter, keywords and the echoes,
// and ask again (after AutoCAD's complaint) while `parse` refuses a typed answer.
// `parse` returns RTNORM when it took the answer, or RTREJ with `complaint` set.
template <typename Accept, typename Parse>
int RunPrompt(const ACHAR* prompt, std::wstring_view kind, Accept&& accept, Parse&& parse) {
  const InitGet init = TakeInitGet();
  const std::wstring what = platform::acad::DescribePrompt(kind, prompt);
  for (;;) {
    PrintPrompt(prompt);
    auto input = AwaitEditorInput(
        [&](const UserAction& a) { return IsEmptyResponse(a) || accept(a); }, what,
        kind == L"point" ? "point" : kind == L"corner" ? "corner" : "value");
    if (input.outcome != InputOutcome::kAction) return RTCAN;
    const UserAction& a = input.action;
    if (IsEmptyResponse(a)) {
      platform::acad::EchoLineEnd();
      if (init.bits & RSG_NONULL) continue;  // AutoCAD ignores Enter and asks again
      return RTNONE;
    }
    if (IsTyped(a)) {
      platform::acad::EchoTyped(a.text);
      if (const std::wstring* kw = MatchKeyword(init, a.text)) {
        g_last_keyword = *kw;
        return RTKWORD;
      }
    } else {
      platform::acad::EchoLineEnd();
    }
    std::wstring complaint;
    int rc = parse(a, init.bits, complaint);
    if (rc != RTREJ) return rc;
    platform::PrintText(complaint);
  }
}

void CopyPoint(const std::array<double, 3>& p, ads_point out) {
  out[0] = p[0];
  out[1] = p[1];
  out[2] = p[2];
}

int GetPointImpl(const ads_point base, const ACHAR* prompt, ads_point result,
                 std::wstring_view kind) {
  return RunPrompt(
      prompt, kind,
      [](const UserAction& a) {
        return IsTyped(a) || a.kind == ActionKind::kPoint || a.kind == ActionKind::kPickAt;
      },
      [&](const UserAction& a, int, std::wstring& complaint) {
        if (!IsTyped(a)) {
          CopyPoint({a.x, a.y, a.kind == ActionKind::kPoint ? a.z : 0.0}, result);
          return RTNORM;
        }
        auto p = platform::acad::ParseTypedPoint(a.text, base);
        if (!p) {
          complaint = L"点またはオプション キーワードが必要です。\n";
          return RTREJ;
        }
        CopyPoint(*p, result);
        return RTNORM;
      });
}

// Checks the RSG_NOZERO / RSG_NONEG options on a typed number.
bool NumberAllowed(double v, int bits, std::wstring& complaint) {
  if ((bits & RSG_NOZERO) && v == 0) {
    complaint = L"値は 0 以外でなければなりません。\n";
    return false;
  }
  if ((bits & RSG_NONEG) && v < 0) {
    complaint = L"値は正でなければなりません。\n";
    return false;
  }
  return true;
}

int CopyOut(const std::wstring& text, ACHAR* out, size_t bufsize) {
  if (out == nullptr || text.size() + 1 > bufsize) return RTERROR;
  text.copy(out, text.size());
  out[text.size()] = L'\0';
  return RTNORM;
}

}  // namespace

int acedInitGet(int val, const ACHAR* kwl) {
  g_init_get = InitGet{};
  g_init_get.bits = val;
  if (kwl) {
    std::wstring word;
    for (const ACHAR* p = kwl;; ++p) {
      if (*p == L'\0' || std::iswspace(*p)) {
        if (!word.empty()) g_init_get.keywords.push_back(std::move(word));
        word.clear();
        if (*p == L'\0') break;
      } else {
        word += *p;
      }
    }
  }
  return RTNORM;
}

int acedGetInput(ACHAR* str, size_t bufsize) {
  if (g_last_keyword.empty()) return RTERROR;
  return CopyOut(g_last_keyword, str, bufsize);
}

int acedGetPoint(const ads_point pt, const ACHAR* prompt, ads_point result) {
  return GetPointImpl(pt, prompt, result, L"point");
}

int acedGetCorner(const ads_point pt, const ACHAR* prompt, ads_point result) {
  if (pt == nullptr) return RTERROR;  // a corner needs the first corner
  return GetPointImpl(pt, prompt, result, L"corner");
}

int acedGetString(int /*cronly*/, const ACHAR* prompt, ACHAR* result, size_t bufsize) {
  TakeInitGet();
  PrintPrompt(prompt);
  auto input = AwaitEditorInput(
      [](const UserAction& a) { return IsTyped(a) || a.kind == ActionKind::kEnter; },
      platform::acad::DescribePrompt(L"string", prompt), "text");
  if (input.outcome != InputOutcome::kAction) return RTCAN;
  const std::wstring text = IsTyped(input.action) ? input.action.text : std::wstring();
  platform::acad::EchoTyped(text);
  return CopyOut(text, result, bufsize);
}

int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result) {
  return acedGetString(cronly, prompt, result, 133);
}

int acedGetInt(const ACHAR* prompt, int* result) {
  return RunPrompt(prompt, L"integer", IsTyped,
                   [&](const UserAction& a, int bits, std::wstring& complaint) {
                     auto v = platform::acad::ParseTypedInt(a.text);
                     if (!v || *v < -32768 || *v > 32767) {
                       complaint = L"-32768 から 32767 までの整数を入力してください。\n";
                       return RTREJ;
                     }
                     if (!NumberAllowed(static_cast<double>(*v), bits, complaint)) return RTREJ;
                     if (result) *result = static_cast<int>(*v);
                     return RTNORM;
                   });
}

int acedGetReal(const ACHAR* prompt, ads_real* result) {
  return RunPrompt(prompt, L"real", IsTyped,
                   [&](const UserAction& a, int bits, std::wstring& complaint) {
                     auto v = platform::acad::ParseTypedReal(a.text);
                     if (!v) {
                       complaint = L"数値を入力してください。\n";
                       return RTREJ;
                     }
                     if (!NumberAllowed(*v, bits, complaint)) return RTREJ;
                     if (result) *result = *v;
                     return RTNORM;
                   });
}

int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t bufsize) {
  // Keywords are recognised by RunPrompt; any other typed word is refused there.
  int rc =
      RunPrompt(prompt, L"keyword", IsTyped, [&](const UserAction&, int, std::wstring& complaint) {
        complaint = L"無効なオプション キーワードです。\n";
        return RTREJ;
      });
  if (rc == RTKWORD) return CopyOut(g_last_keyword, result, bufsize);
  return rc;
}
