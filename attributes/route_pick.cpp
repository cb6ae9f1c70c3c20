// The nested pick of a route element.
#include "attributes/route_pick.h"

#include <VuRida.h>
#include <acedads.h>
#include <acutads.h>
#include <adsdef.h>
#include <dbmain.h>

#include "app/harnex_module.h"
#include "app/palette_access.h"
#include "attributes/element_class.h"

namespace {

// ERRNO after a failed entity pick: the user gave an empty response.
constexpr int kErrnoEmptyResponse = 52;

int PickErrno() {
  resbuf value;
  if (acedGetVar(L"ERRNO", &value) != RTNORM) return 0;
  return value.resval.rint;
}

// The object id of the last container of `containers` (innermost first, so the outermost).
AcDbObjectId OutermostContainer(const resbuf* containers) {
  const resbuf* last = containers;
  while (last->rbnext != nullptr) last = last->rbnext;
  AcDbObjectId id;
  if (last->restype != RTENAME || acdbGetObjectId(id, last->resval.rlname) != Acad::eOk) {
    return AcDbObjectId::kNull;
  }
  return id;
}

}  // namespace

int PickRouteElement(const wchar_t* prompt, AcDbObjectId& entityId, AcGePoint3d& pickPoint,
                     AcDbObjectId& elementId) {
  entityId = AcDbObjectId::kNull;
  elementId = AcDbObjectId::kNull;
  for (;;) {
    ads_name entity;
    ads_point point;
    ads_matrix xform;
    resbuf* containers = nullptr;
    const int result = acedNEntSelP(prompt, entity, point, 0, xform, &containers);
    if (result == RTERROR) {
      // AutoCAD reports a miss and an empty response alike; ERRNO tells them apart.
      if (PickErrno() == kErrnoEmptyResponse) return RTNONE;
      continue;
    }
    if (result != RTNORM) return result;
    if (containers == nullptr) continue;  // a top-level entity is no part of an element
    AcDbObjectId picked;
    if (acdbGetObjectId(picked, entity) != Acad::eOk || picked.isNull()) {
      acutRelRb(containers);
      continue;
    }
    const AcDbObjectId element = OutermostContainer(containers);
    acutRelRb(containers);
    if (!HasLinkData(element)) continue;
    entityId = picked;
    pickPoint.set(point[X], point[Y], point[Z]);
    elementId = element;
    return RTNORM;
  }
}

int PickRouteSegment(const wchar_t* prompt, const wchar_t* notRouteMessage, AcDbObjectId& segment) {
  CUIntArray types;
  types.Add(kVuRidaBlockReference);
  for (;;) {
    AcDbObjectIdArray ids;
    const int rc = VuRida_locate(prompt, ids, &types, 0, 1, 1, nullptr, nullptr, nullptr);
    if (rc != RTNORM) return rc;
    if (ids.length() != 1) continue;
    if (RouteKindOf(ids[0], kRouteKindPart) != kRouteKindElement) {
      acutPrintf(notRouteMessage);
      continue;
    }
    if (ElementClassOf(ids[0]) != BlockClass::RT) {
      acutPrintf(L"\nERROR:経路ではありません。");
      continue;
    }
    segment = ids[0];
    return RTNORM;
  }
}

void RunRowAssignment(void (*assign)()) {
  if (PaletteAccessInstance() == nullptr) {
    acutPrintf(L"\nERROR:設定画面を表示して下さい。");
    return;
  }
  if (!LockCurrentDocument(true)) return;
  assign();
  LockCurrentDocument(false);
}
