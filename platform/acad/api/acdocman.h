// Documents and the document manager: the current drawing, its lock, resource handles and the
// input queue of sendStringToExecute.
#pragma once

#include <windef.h>

#include <memory>
#include <string>

#include <acadstrc.h>
#include <adsdef.h>
#include <rxobject.h>

class AcDbDatabase;

struct AcAp {
  enum DocLockMode {
    kNone = 0x00,
    kAutoWrite = 0x01,
    kNotLocked = 0x02,
    kWrite = 0x04,
    kProtectedAutoWrite = 0x14,
    kRead = 0x20,
    kXWrite = 0x40,
  };
};

class AcApDocument : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcApDocument);

 public:
  AcDbDatabase* database() const { return database_; }
  const ACHAR* fileName() const { return file_name_.c_str(); }
  const ACHAR* docTitle() const;
  // The strongest lock held (kNotLocked when none).
  AcAp::DocLockMode myLockMode() const;
  bool isQuiescent() const;
  int lockCount() const { return lock_count_; }

  // Documents are made by platform::acad::OpenDocument.
  AcApDocument(AcDbDatabase* database, std::wstring fileName)
      : database_(database), file_name_(std::move(fileName)) {}

 private:
  friend class AcApDocManager;
  AcDbDatabase* database_;
  std::wstring file_name_;
  int lock_count_ = 0;
  AcAp::DocLockMode lock_mode_ = AcAp::kNotLocked;
};

class AcApDocManager : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcApDocManager);

 public:
  // The document the current command works in, or null when the host has none.
  AcApDocument* curDocument() const;
  AcApDocument* mdiActiveDocument() const;
  int documentCount() const;

  // Locks are counted: each successful lockDocument needs its unlockDocument. eNoDocument for a
  // null document or one that is not open here; eLockViolation when unlocking a document that
  // is not locked. A fault set with platform::acad::FailNextLock/FailNextUnlock is returned once.
  Acad::ErrorStatus lockDocument(AcApDocument* pDoc, AcAp::DocLockMode mode = AcAp::kWrite,
                                 const ACHAR* pGlobalCmdName = nullptr,
                                 const ACHAR* pLocalCmdName = nullptr, bool prompt = true);
  Acad::ErrorStatus unlockDocument(AcApDocument* pDoc);

  // Makes the module's resources current for MFC (AfxSetResourceHandle) and restores the
  // previous handle on pop. Pops without a push are ignored.
  void pushResourceHandle(HINSTANCE hNewResourceHandle);
  void popResourceHandle();

  // True when no command is running (the host tells, see platform::acad::SetCommandActive).
  bool isQuiescent() const;

  // Queues text for the command line of that document: the host runs it after the current
  // command returns, in order. "\n" or " " at the end enters it, as typed. eNoDocument without
  // a document.
  Acad::ErrorStatus sendStringToExecute(AcApDocument* pAcTargetDocument, const ACHAR* pszExecute,
                                        bool bActivate = true, bool bWrapUpInactiveDoc = false,
                                        bool bEchoString = true);
};

AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()

// What the host uses to run documents.
namespace platform::acad {

// Opens a document around a database (not owned; the host keeps it alive) and makes it current
// and the database the working database. Only one document exists at a time: opening a second
// closes the first. Returns the new document.
AcApDocument* OpenDocument(AcDbDatabase* database, const std::wstring& fileName);
// Closes the current document (it must not be locked; remaining locks are dropped). The
// working database becomes null.
void CloseDocument();

// Whether a command is running (isQuiescent gives the opposite).
void SetCommandActive(bool active);

// One queued text of sendStringToExecute, oldest first; false when the queue is empty.
bool TakeQueuedInput(std::wstring* text, bool* echo = nullptr);
bool HasQueuedInput();

// The resource handle that pushResourceHandle made current (null without a push).
HINSTANCE CurrentPushedResourceHandle();
int ResourceHandleDepth();

}  // namespace platform::acad
