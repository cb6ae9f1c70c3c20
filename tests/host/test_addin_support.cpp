// A small ObjectARX application of the tests' own.
#include "test_addin_support.h"

#include <accmd.h>
#include <acdocman.h>
#include <acedads.h>
#include <acutads.h>
#include <dbmain.h>
#include <dbsymtb.h>
#include <rxregsvc.h>
#include "platform/mfc/window_system.h"
#include <windows.h>

#include <afxwin.h>
#include <dbents.h>

#include <cwchar>
#include <string>

#include "host/svg/svg_renderer.h"
#include <Drag.h>

namespace host::testing {

std::string& DragSvg() {
  static std::string svg;
  return svg;
}

namespace {

void Hello() {
  acutPrintf(L"hello\n");
}

void Send() {
  acutPrintf(L"send-begin\n");
  acDocManager->sendStringToExecute(acDocManager->curDocument(), L"HXHELLO ");
  acDocManager->sendStringToExecute(acDocManager->curDocument(), L"HXECHO queued ");
  acutPrintf(L"send-end\n");
}

void Echo() {
  ACHAR answer[133] = {};
  if (acedGetString(0, L"\n言葉: ", answer) == RTNORM) acutPrintf(L"echo:%s\n", answer);
}

void PickFirst() {
  ads_name set;
  Adesk::Int32 length = 0;
  if (acedSSGet(L"I", nullptr, nullptr, nullptr, set) != RTNORM) {
    acutPrintf(L"pickfirst:none\n");
    return;
  }
  acedSSLength(set, &length);
  acedSSFree(set);
  acutPrintf(L"pickfirst:%d\n", static_cast<int>(length));
}

// The handles of the pick-first set in its order, so that a test sees which entities a
// preselection took.
void Picked() {
  ads_name set;
  if (acedSSGet(L"I", nullptr, nullptr, nullptr, set) != RTNORM) {
    acutPrintf(L"picked:none\n");
    return;
  }
  std::wstring line = L"picked:";
  Adesk::Int32 length = 0;
  acedSSLength(set, &length);
  for (Adesk::Int32 i = 0; i < length; ++i) {
    ads_name entity;
    AcDbObjectId id;
    if (acedSSName(set, i, entity) != RTNORM || acdbGetObjectId(id, entity) != Acad::eOk) continue;
    wchar_t handle[20];
    std::swprintf(handle, 20, L" %llX", static_cast<unsigned long long>(id.handle().value()));
    line += handle;
  }
  acedSSFree(set);
  acutPrintf(L"%s\n", line.c_str());
}

// A modeless window of the add-in whose handlers forget to close what they open: a posted
// kLeakMessage opens the layer table, a click on its button kLeakButton the text style table.
constexpr UINT kLeakMessage = WM_USER + 0x41;
constexpr int kLeakButton = 1001;

class LeakyWindow : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    AcDbDatabase* db = acDocManager->curDocument()->database();
    if (message == kLeakMessage) {
      AcDbLayerTable* layers = nullptr;
      db->getLayerTable(layers, AcDb::kForRead);  // and never closed
      return 0;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == kLeakButton) {
      AcDbTextStyleTable* styles = nullptr;
      db->getTextStyleTable(styles, AcDb::kForRead);  // and never closed
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

void WindowLeak() {
  static LeakyWindow window;
  if (!::IsWindow(window.m_hWnd)) {
    window.CreateEx(0, L"AfxFrameOrView", L"HxLeaky", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100),
                    nullptr, 0);
    ::CreateWindowExW(0, L"Button", L"leak", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 20,
                      window.m_hWnd, reinterpret_cast<HMENU>(kLeakButton), nullptr, nullptr);
    platform::mfc::SetPaletteWindow(&window);
  }
  ::PostMessageW(window.m_hWnd, kLeakMessage, 0, 0);
}

// The owner of HXDRAG's jig: each cursor sample puts the start of the dragged line at the
// cursor and renders the drawing as the screen shows it; a point ends the drag.
class DragOwner : public CWnd {
 public:
  AcDbLine* line = nullptr;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message < DRAG_MSG_SAMPLE || message > DRAG_MSG_INPUT) {
      return CWnd::WindowProc(message, wParam, lParam);
    }
    auto& data = *reinterpret_cast<dragdata*>(lParam);
    if (message == DRAG_MSG_SAMPLE) {
      line->setStartPoint(data.drag->GetPoint());
      DragSvg() = host::RenderSvg(*acDocManager->curDocument()->database());
    }
    return message == DRAG_MSG_INPUT ? 0 : 1;
  }
};

void DragLine() {
  static DragOwner owner;
  if (!::IsWindow(owner.m_hWnd)) {
    owner.CreateEx(0, L"AfxFrameOrView", L"HxDrag", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
  }
  CDrag drag(0);
  owner.line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
  owner.line->setDatabaseDefaults();
  drag.Append(owner.line);
  const int result = drag.Dynamic(&owner, L"位置", true, nullptr, 0.0, 1.0, 1.0, 1.0);
  acutPrintf(L"drag:%d\n", result);
}

void Leak() {
  AcDbBlockTableRecord* space = nullptr;
  AcDbDatabase* db = acDocManager->curDocument()->database();
  acdbOpenObject(space, db->modelSpaceId(), AcDb::kForRead);  // and never closed
}

AcRx::AppRetCode EntryPoint(AcRx::AppMsgCode msg, void* app_id, bool refuse) {
  AcEdCommandStack* stack = acedRegCmds;
  switch (msg) {
    case AcRx::kInitAppMsg:
      ++TestAddinCallCounts().inits;
      if (refuse) return AcRx::kRetError;
      stack->addCommand(L"HXTEST", L"HXHELLO", L"HXHELLO", 3, Hello);
      stack->addCommand(L"HXTEST", L"HXSEND", L"HXSEND", 1, Send);
      stack->addCommand(L"HXTEST", L"HXECHO", L"HXECHO", 0, Echo);
      stack->addCommand(L"HXTEST", L"HXLEAK", L"HXLEAK", 0, Leak);
      stack->addCommand(L"HXTEST", L"HXFIRST", L"HXFIRST", ACRX_CMD_USEPICKSET, PickFirst);
      stack->addCommand(L"HXTEST", L"HXWINLEAK", L"HXWINLEAK", 0, WindowLeak);
      stack->addCommand(L"HXTEST", L"HXDRAG", L"HXDRAG", 0, DragLine);
      stack->addCommand(L"HXTEST", L"HXPICKED", L"HXPICKED", ACRX_CMD_USEPICKSET, Picked);
      return AcRx::kRetOK;
    case AcRx::kUnloadAppMsg:
      ++TestAddinCallCounts().unloads;
      stack->removeGroup(L"HXTEST");
      return AcRx::kRetOK;
    default:
      return AcRx::kRetOK;
  }
}

AcRx::AppRetCode AcceptingEntry(AcRx::AppMsgCode msg, void* app_id) {
  return EntryPoint(msg, app_id, false);
}
AcRx::AppRetCode RefusingEntry(AcRx::AppMsgCode msg, void* app_id) {
  return EntryPoint(msg, app_id, true);
}

BOOL DllMainOfTest(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == 1) ++TestAddinCallCounts().attaches;
  if (reason == 0) ++TestAddinCallCounts().detaches;
  return TRUE;
}

}  // namespace

TestAddinCalls& TestAddinCallCounts() {
  static TestAddinCalls calls;
  return calls;
}

ModuleImage TestAddinImage(bool refuse) {
  ModuleImage image;
  image.name = refuse ? L"HxRefuse.arx" : L"HxTest.arx";
  image.exports = {
      {"acrxEntryPoint", reinterpret_cast<void*>(refuse ? &RefusingEntry : &AcceptingEntry)},
      {"DllMain", reinterpret_cast<void*>(&DllMainOfTest)},
  };
  return image;
}

}  // namespace host::testing
