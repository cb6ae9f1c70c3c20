// The selection filter of route elements.
#include "attributes/route_filter.h"

#include <aced.h>
#include <acedads.h>
#include <actrans.h>
#include <acutads.h>
#include <dbmain.h>

void ResbufChainDeleter::operator()(resbuf* chain) const {
  acutRelRb(chain);
}

ResbufChain NewRouteElementFilter() {
  // One 1001 group with a comma list matches entities with XData of either application.
  return ResbufChain(acutBuildList(-3, 1001, L"RQ_LINK,RQ_ATTR", 0));
}

int SelectRouteElements(ads_name selection) {
  ResbufChain filter = NewRouteElementFilter();
  // What the user selected before the command wins; without it the whole drawing is looked at.
  if (acedSSGet(L"I", nullptr, nullptr, filter.get(), selection) == RTNORM) return RTNORM;
  return acedSSGet(L"A", nullptr, nullptr, filter.get(), selection);
}

AcDbObjectId SelectionMember(const ads_name set, long index) {
  ads_name name;
  AcDbObjectId id;
  if (acedSSName(set, index, name) != RTNORM || acdbGetObjectId(id, name) != Acad::eOk) {
    return AcDbObjectId::kNull;
  }
  return id;
}

void FlushRecolouredElements() {
  actrTransactionManager->queueForGraphicsFlush();
  actrTransactionManager->flushGraphics();
  acedUpdateDisplay();
}
