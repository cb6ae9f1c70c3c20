// Documents: the current document, counted locks, the fault seam, resource handles and the
// queue of sendStringToExecute.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <acdocman.h>
#include <actrans.h>
#include <acutads.h>
#include <dbapserv.h>
#include "platform/acad/dbhost.h"
#include <dbmain.h>
#include "platform/win/user_session.h"

namespace {

TEST(DocumentTest, LocksAreCountedAndFaultsApplyOnce) {
  EXPECT_EQ(acDocManager->curDocument(), nullptr);
  EXPECT_EQ(acDocManager->lockDocument(nullptr, AcAp::kWrite), Acad::eNoDocument);

  AcDbDatabase db;
  AcApDocument* doc = platform::acad::OpenDocument(&db, L"C:\\work\\plan.dwg");
  ASSERT_EQ(acDocManager->curDocument(), doc);
  EXPECT_EQ(doc->database(), &db);
  EXPECT_STREQ(doc->docTitle(), L"plan.dwg");
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), &db);

  EXPECT_EQ(acDocManager->unlockDocument(doc), Acad::eLockViolation);
  ASSERT_EQ(acDocManager->lockDocument(doc, AcAp::kWrite, nullptr, nullptr, true), Acad::eOk);
  ASSERT_EQ(acDocManager->lockDocument(doc, AcAp::kWrite), Acad::eOk);
  EXPECT_EQ(doc->myLockMode(), AcAp::kWrite);
  EXPECT_EQ(acDocManager->unlockDocument(doc), Acad::eOk);
  EXPECT_EQ(doc->myLockMode(), AcAp::kWrite);
  EXPECT_EQ(acDocManager->unlockDocument(doc), Acad::eOk);
  EXPECT_EQ(doc->myLockMode(), AcAp::kNotLocked);

  platform::acad::FailNextLock(Acad::eLockViolation);
  EXPECT_EQ(acDocManager->lockDocument(doc, AcAp::kWrite), Acad::eLockViolation);
  EXPECT_EQ(doc->lockCount(), 0);
  EXPECT_EQ(acDocManager->lockDocument(doc, AcAp::kWrite), Acad::eOk);
  platform::acad::FailNextUnlock(Acad::eNotApplicable);
  EXPECT_EQ(acDocManager->unlockDocument(doc), Acad::eNotApplicable);
  EXPECT_EQ(acDocManager->unlockDocument(doc), Acad::eOk);

  platform::acad::CloseDocument();
  EXPECT_EQ(acDocManager->curDocument(), nullptr);
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), nullptr);
}

TEST(DocumentTest, SentStringsWaitInOrderForTheHost) {
  AcDbDatabase db;
  AcApDocument* doc = platform::acad::OpenDocument(&db, L"a.dwg");
  EXPECT_FALSE(platform::acad::HasQueuedInput());
  ASSERT_EQ(acDocManager->sendStringToExecute(doc, L"RQ_HARNEX_LOCATE\n", true, false, false),
            Acad::eOk);
  ASSERT_EQ(acDocManager->sendStringToExecute(doc, L"RQ_HARNEX_LIST "), Acad::eOk);
  std::wstring text;
  bool echo = true;
  ASSERT_TRUE(platform::acad::TakeQueuedInput(&text, &echo));
  EXPECT_EQ(text, L"RQ_HARNEX_LOCATE\n");
  EXPECT_FALSE(echo);
  ASSERT_TRUE(platform::acad::TakeQueuedInput(&text, &echo));
  EXPECT_EQ(text, L"RQ_HARNEX_LIST ");
  EXPECT_TRUE(echo);
  EXPECT_FALSE(platform::acad::TakeQueuedInput(&text));

  platform::acad::SetCommandActive(true);
  EXPECT_FALSE(acDocManager->isQuiescent());
  platform::acad::SetCommandActive(false);
  EXPECT_TRUE(acDocManager->isQuiescent());
  platform::acad::CloseDocument();
  EXPECT_EQ(acDocManager->sendStringToExecute(doc, L"X\n"), Acad::eNoDocument);
}

TEST(DocumentTest, ResourceHandlesNestAndRestore) {
  HINSTANCE before = AfxGetResourceHandle();
  HINSTANCE module = reinterpret_cast<HINSTANCE>(0x1000);
  HINSTANCE inner = reinterpret_cast<HINSTANCE>(0x2000);
  acDocManager->pushResourceHandle(module);
  EXPECT_EQ(AfxGetResourceHandle(), module);
  acDocManager->pushResourceHandle(inner);
  EXPECT_EQ(AfxGetResourceHandle(), inner);
  EXPECT_EQ(platform::acad::ResourceHandleDepth(), 2);
  acDocManager->popResourceHandle();
  EXPECT_EQ(AfxGetResourceHandle(), module);
  acDocManager->popResourceHandle();
  EXPECT_EQ(AfxGetResourceHandle(), before);
  acDocManager->popResourceHandle();  // an extra pop changes nothing
  EXPECT_EQ(AfxGetResourceHandle(), before);
}

TEST(DocumentTest, PrintGoesToTheSessionWithWideStrings) {
  platform::ActionQueueSession session;
  platform::ScopedUserSession scope(&session);
  EXPECT_EQ(acutPrintf(L"\nERROR:ﾄﾞｷｭﾒﾝﾄをﾛｯｸ出来ません。(%d)", 130), RTNORM);
  EXPECT_EQ(acutPrintf(L"%s=%s\n", L"S004", L"幹線"), RTNORM);
  EXPECT_EQ(session.transcript(), L"\nERROR:ﾄﾞｷｭﾒﾝﾄをﾛｯｸ出来ません。(130)S004=幹線\n");

  actrTransactionManager->resetCounts();
  actrTransactionManager->queueForGraphicsFlush();
  actrTransactionManager->flushGraphics();
  EXPECT_EQ(actrTransactionManager->queuedFlushes(), 1);
  EXPECT_EQ(actrTransactionManager->flushes(), 1);
}

}  // namespace
