// The host's U, UNDO and REDO: steps of the drawing taken back and given back.
#include <acedads.h>
#include <adsdef.h>

#include "host/session/session.h"
#include "platform/acad/undo_history.h"

namespace host {
namespace {

constexpr wchar_t kCountPrompt[] = L"\n元に戻す操作の数を入力 <1>: ";
constexpr wchar_t kNothingToUndo[] = L"\n元に戻す操作はありません。";
constexpr wchar_t kEverythingUndone[] = L"\nすべて元に戻されました。";
constexpr wchar_t kNothingToRedo[] = L"\nやり直す操作はありません。";

std::wstring Joined(const std::vector<std::wstring>& names) {
  std::wstring line;
  for (const auto& name : names) line += (line.empty() ? L"" : L" ") + name;
  return line;
}

}  // namespace

void Session::StartUndoStep(const std::wstring& name) {
  if (AcDbDatabase* db = database()) platform::acad::StartUndoStep(*db, name);
}

void Session::CommandUndo(bool ask) {
  AcDbDatabase* db = database();
  if (db == nullptr) return;
  int count = 1;
  if (ask) {
    acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
    const int status = acedGetInt(kCountPrompt, &count);
    if (status == RTNONE)
      count = 1;
    else if (status != RTNORM)
      return;
  }
  StartUndoStep(L"");
  const int available = platform::acad::UndoStepCount(*db);
  if (available == 0) {
    user_.Print(kNothingToUndo);
    return;
  }
  const std::vector<std::wstring> names = platform::acad::UndoSteps(*db, count);
  user_.Print(L"\n" + Joined(names));
  if (count > available) user_.Print(kEverythingUndone);
}

void Session::CommandRedo() {
  AcDbDatabase* db = database();
  if (db == nullptr) return;
  StartUndoStep(L"");
  const std::vector<std::wstring> names = platform::acad::RedoSteps(*db);
  if (names.empty()) {
    user_.Print(kNothingToRedo);
    return;
  }
  user_.Print(L"\n" + Joined(names));
}

}  // namespace host
