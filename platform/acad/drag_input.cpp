// The raw input of drags (acedGrRead) and the Esc check of long loops (acedUsrBrk).
#include <deque>
#include <string>

#include <acedads.h>
#include "platform/acad/editor_input.h"

namespace {

using platform::ActionKind;
using platform::UserAction;

// Typed text during a drag reaches the program one key at a time; the keys not yet read.
std::deque<wchar_t> g_pending_keys;

void SetKey(int* type, resbuf* result, wchar_t key) {
  if (type) *type = 2;
  if (result) {
    result->restype = RTSHORT;
    result->resval.rint = static_cast<short>(key);
  }
}

void SetPoint(int* type, resbuf* result, int kind, double x, double y, double z) {
  if (type) *type = kind;
  if (result) {
    result->restype = RTPOINT;
    result->resval.rpoint[0] = x;
    result->resval.rpoint[1] = y;
    result->resval.rpoint[2] = z;
  }
}

}  // namespace

int acedUsrBrk() {
  // Only a break that comes next counts: a loop that asks must not run the checks and views of
  // the script that follow it while the loop is still going.
  const UserAction* next = platform::PeekImmediateAction();
  if (next == nullptr || next->kind != ActionKind::kBreak) return 0;
  platform::TakeAction();
  return 1;
}

int acedGrRead(int track, int* type, struct resbuf* result) {
  if (!g_pending_keys.empty()) {
    SetKey(type, result, g_pending_keys.front());
    g_pending_keys.pop_front();
    return RTNORM;
  }
  auto input = platform::acad::AwaitEditorInput(
      [track](const UserAction& a) {
        switch (a.kind) {
          case ActionKind::kMove:
            return track != 0;
          case ActionKind::kPoint:
          case ActionKind::kPickAt:
          case ActionKind::kEnter:
          case ActionKind::kTyped:
            return true;
          default:
            return false;
        }
      },
      L"the drag", "drag");
  if (input.outcome != platform::acad::InputOutcome::kAction) return RTCAN;
  const UserAction& a = input.action;
  switch (a.kind) {
    case ActionKind::kMove:
      SetPoint(type, result, 5, a.x, a.y, a.z);
      break;
    case ActionKind::kPoint:
      SetPoint(type, result, 3, a.x, a.y, a.z);
      break;
    case ActionKind::kPickAt:
      SetPoint(type, result, 3, a.x, a.y, 0.0);
      break;
    case ActionKind::kTyped:
      if (auto p = platform::acad::ParseTypedPoint(a.text, nullptr)) {
        SetPoint(type, result, 3, (*p)[0], (*p)[1], (*p)[2]);
        break;
      }
      g_pending_keys.assign(a.text.begin(), a.text.end());
      g_pending_keys.push_back(L'\r');
      SetKey(type, result, g_pending_keys.front());
      g_pending_keys.pop_front();
      break;
    default:
      SetKey(type, result, L'\r');
      break;  // kEnter
  }
  return RTNORM;
}

int acedGrDraw(const ads_point, const ads_point, int, int) {
  return RTNORM;
}
int acedRedraw(const ads_name, int) {
  return RTNORM;
}
