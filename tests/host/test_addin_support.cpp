// A small ObjectARX application of the tests' own.
#include "test_addin_support.h"

#include <accmd.h>
#include <acdocman.h>
#include <acedads.h>
#include <acutads.h>
#include <dbmain.h>
#include <dbsymtb.h>
#include <rxregsvc.h>

namespace host::testing {
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
