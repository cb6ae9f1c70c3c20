// The document manager: one current document, counted locks, resource handles and the queue of
// text sent to the command line.
#include <acdocman.h>

#include <afxwin.h>

#include <deque>
#include <memory>
#include <vector>

#include <dbapserv.h>
#include "platform/acad/dbstub.h"

ACRX_DEFINE_MEMBERS(AcApDocument, AcRxObject, L"")
ACRX_DEFINE_MEMBERS(AcApDocManager, AcRxObject, L"")

namespace {

struct QueuedText {
  std::wstring text;
  bool echo = true;
};

struct DocState {
  std::unique_ptr<AcApDocument> current;
  std::deque<QueuedText> queue;
  std::vector<HINSTANCE> resource_stack;  // the handles that pushes replaced
  std::vector<HINSTANCE> pushed;          // the handles pushed
  bool command_active = false;
};

DocState& State() {
  static DocState state;
  return state;
}

}  // namespace

const ACHAR* AcApDocument::docTitle() const {
  size_t slash = file_name_.find_last_of(L"\\/");
  return file_name_.c_str() + (slash == std::wstring::npos ? 0 : slash + 1);
}

AcAp::DocLockMode AcApDocument::myLockMode() const {
  return lock_count_ > 0 ? lock_mode_ : AcAp::kNotLocked;
}

bool AcApDocument::isQuiescent() const {
  return !State().command_active;
}

AcApDocManager* acDocManagerPtr() {
  static AcApDocManager manager;
  return &manager;
}

AcApDocument* AcApDocManager::curDocument() const {
  return State().current.get();
}
AcApDocument* AcApDocManager::mdiActiveDocument() const {
  return State().current.get();
}
int AcApDocManager::documentCount() const {
  return State().current ? 1 : 0;
}

Acad::ErrorStatus AcApDocManager::lockDocument(AcApDocument* pDoc, AcAp::DocLockMode mode,
                                               const ACHAR*, const ACHAR*, bool) {
  Acad::ErrorStatus fault;
  if (platform::acad::internal::TakeLockFault(&fault)) return fault;
  if (pDoc == nullptr || pDoc != State().current.get()) return Acad::eNoDocument;
  ++pDoc->lock_count_;
  pDoc->lock_mode_ = mode;
  return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::unlockDocument(AcApDocument* pDoc) {
  Acad::ErrorStatus fault;
  if (platform::acad::internal::TakeUnlockFault(&fault)) return fault;
  if (pDoc == nullptr || pDoc != State().current.get()) return Acad::eNoDocument;
  if (pDoc->lock_count_ == 0) return Acad::eLockViolation;
  if (--pDoc->lock_count_ == 0) pDoc->lock_mode_ = AcAp::kNotLocked;
  return Acad::eOk;
}

void AcApDocManager::pushResourceHandle(HINSTANCE hNewResourceHandle) {
  State().resource_stack.push_back(AfxGetResourceHandle());
  State().pushed.push_back(hNewResourceHandle);
  AfxSetResourceHandle(hNewResourceHandle);
}

void AcApDocManager::popResourceHandle() {
  DocState& state = State();
  if (state.resource_stack.empty()) return;
  AfxSetResourceHandle(state.resource_stack.back());
  state.resource_stack.pop_back();
  state.pushed.pop_back();
}

bool AcApDocManager::isQuiescent() const {
  return !State().command_active;
}

Acad::ErrorStatus AcApDocManager::sendStringToExecute(AcApDocument* pAcTargetDocument,
                                                      const ACHAR* pszExecute, bool, bool,
                                                      bool bEchoString) {
  if (pAcTargetDocument == nullptr || pAcTargetDocument != State().current.get())
    return Acad::eNoDocument;
  if (pszExecute == nullptr) return Acad::eInvalidInput;
  State().queue.push_back(QueuedText{pszExecute, bEchoString});
  return Acad::eOk;
}

namespace platform::acad {

AcApDocument* OpenDocument(AcDbDatabase* database, const std::wstring& fileName) {
  CloseDocument();
  State().current.reset(new AcApDocument(database, fileName));
  acdbHostApplicationServices()->setWorkingDatabase(database);
  return State().current.get();
}

void CloseDocument() {
  DocState& state = State();
  if (!state.current) return;
  if (acdbHostApplicationServices()->workingDatabase() == state.current->database())
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  state.current.reset();
  state.queue.clear();
}

void SetCommandActive(bool active) {
  State().command_active = active;
}

bool TakeQueuedInput(std::wstring* text, bool* echo) {
  DocState& state = State();
  if (state.queue.empty()) return false;
  if (text != nullptr) *text = state.queue.front().text;
  if (echo != nullptr) *echo = state.queue.front().echo;
  state.queue.pop_front();
  return true;
}

bool HasQueuedInput() {
  return !State().queue.empty();
}

HINSTANCE CurrentPushedResourceHandle() {
  return State().pushed.empty() ? nullptr : State().pushed.back();
}

int ResourceHandleDepth() {
  return static_cast<int>(State().pushed.size());
}

}  // namespace platform::acad
