// The transaction manager, reduced to the graphics flushes that code calls after changes.
#pragma once

#include <dbmain.h>

class AcTransactionManager {
 public:
  // Nothing is drawn on screen here; the calls are counted so that tests can see them.
  Acad::ErrorStatus queueForGraphicsFlush();
  Acad::ErrorStatus flushGraphics();
  int queuedFlushes() const { return queued_; }
  int flushes() const { return flushes_; }
  void resetCounts() { queued_ = flushes_ = 0; }

 private:
  int queued_ = 0;
  int flushes_ = 0;
};

AcTransactionManager* acdbTransactionManagerPtr();
#define actrTransactionManager acdbTransactionManagerPtr()
