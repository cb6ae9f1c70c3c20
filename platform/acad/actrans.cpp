// The transaction manager's graphics flushes, counted.
#include <actrans.h>

Acad::ErrorStatus AcTransactionManager::queueForGraphicsFlush() {
  ++queued_;
  return Acad::eOk;
}

Acad::ErrorStatus AcTransactionManager::flushGraphics() {
  ++flushes_;
  return Acad::eOk;
}

AcTransactionManager* acdbTransactionManagerPtr() {
  static AcTransactionManager manager;
  return &manager;
}
