// Entity picks: acedEntSel (a top-level entity) and acedNEntSelP / acedNEntSel (into blocks).
#include <algorithm>
#include <string>

#include <acedads.h>
#include <acutads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbmain.h>
#include "platform/acad/editor_input.h"
#include "platform/acad/hit_test.h"
#include "platform/acad/system_variables.h"

namespace {

using platform::ActionKind;
using platform::UserAction;
using namespace platform::acad;

AcDbDatabase* WorkingDatabase() {
  auto* services = acdbHostApplicationServices();
  return services ? services->workingDatabase() : nullptr;
}

// The top-level entity of model space with that handle; null when there is none.
AcDbObjectId TopLevelEntity(AcDbDatabase* db, uint64_t handle) {
  AcDbObjectId id;
  if (db->getAcDbObjectId(id, false, AcDbHandle(handle)) != Acad::eOk || id.isErased())
    return AcDbObjectId();
  AcDbEntity* e = nullptr;
  if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) return AcDbObjectId();
  const bool top = e->ownerId() == db->modelSpaceId();
  e->close();
  return top ? id : AcDbObjectId();
}

int Missed() {
  SetErrno(kErrnoPickMissed);
  return RTERROR;
}

int PickByPoint(AcDbDatabase* db, const AcGePoint3d& p, bool nested, PickPath& path,
                ads_point ptres) {
  auto hit = PickEntityAt(db->modelSpaceId(), p, PickAperture(), nested);
  if (!hit) return Missed();
  path = std::move(*hit);
  ptres[0] = p.x;
  ptres[1] = p.y;
  ptres[2] = p.z;
  return RTNORM;
}

// The pick behind all three functions: asks (unless `preset`), and finds the entity.
int Pick(const ACHAR* prompt, bool nested, bool preset, ads_point ptres, PickPath& path) {
  AcDbDatabase* db = WorkingDatabase();
  if (preset) {
    if (db == nullptr || ptres == nullptr) return RTERROR;
    return PickByPoint(db, AcGePoint3d(ptres[0], ptres[1], ptres[2]), nested, path, ptres);
  }
  if (prompt == nullptr) prompt = L"\nオブジェクトを選択: ";
  const std::wstring what = DescribePrompt(L"entity", prompt);
  platform::PrintText(prompt);
  auto input = AwaitEditorInput(IsPickAnswer, what, "entity");
  if (input.outcome != InputOutcome::kAction) return RTCAN;
  EchoLineEnd();
  const UserAction& a = input.action;
  if (a.kind == ActionKind::kEnter || a.kind == ActionKind::kTyped) {
    SetErrno(kErrnoNullResponse);  // AutoCAD reports an empty response as an error here
    return RTERROR;
  }
  if (db == nullptr) return Missed();
  ads_point scratch;
  if (ptres == nullptr) ptres = scratch;
  if (a.kind != ActionKind::kPick) {
    return PickByPoint(db, AcGePoint3d(a.x, a.y, a.kind == ActionKind::kPoint ? a.z : 0), nested,
                       path, ptres);
  }
  const AcDbObjectId id = a.handles.size() == 1 ? TopLevelEntity(db, a.handles[0]) : AcDbObjectId();
  if (id.isNull()) {
    ReportMismatch(a, what + L" (it takes one entity of the drawing by its handle)");
    return RTCAN;
  }
  path = PickPath{{}, id, AcGeMatrix3d::kIdentity};
  if (nested && id.objectClass() && id.objectClass()->isDerivedFrom(AcDbBlockReference::desc())) {
    auto inside = FirstEntityInside(id);
    if (!inside) return Missed();
    path = std::move(*inside);
  }
  const AcGePoint3d p = PointOnEntity(path.entity, path.xform);
  ptres[0] = p.x;
  ptres[1] = p.y;
  ptres[2] = p.z;
  return RTNORM;
}

int NameOf(const AcDbObjectId& id, ads_name out) {
  return acdbGetAdsName(*reinterpret_cast<ads_name*>(out), id) == Acad::eOk ? RTNORM : RTERROR;
}

// The containers innermost first, as AutoCAD hands them out.
int ContainerChain(const PickPath& path, resbuf** refstkres) {
  if (refstkres == nullptr) return RTNORM;
  *refstkres = nullptr;
  resbuf* tail = nullptr;
  for (auto it = path.containers.rbegin(); it != path.containers.rend(); ++it) {
    resbuf* rb = acutNewRb(RTENAME);
    if (NameOf(*it, rb->resval.rlname) != RTNORM) {
      acutRelRb(rb);
      acutRelRb(*refstkres);
      *refstkres = nullptr;
      return RTERROR;
    }
    (tail ? tail->rbnext : *refstkres) = rb;
    tail = rb;
  }
  return RTNORM;
}

}  // namespace

int acedEntSel(const ACHAR* prompt, ads_name entres, ads_point ptres) {
  PickPath path;
  const int rc = Pick(prompt, false, false, ptres, path);
  if (rc != RTNORM) return rc;
  return NameOf(path.entity, entres);
}

int acedNEntSelP(const ACHAR* prompt, ads_name entres, ads_point ptres, int pickflag,
                 ads_matrix xformres, struct resbuf** refstkres) {
  if (refstkres) *refstkres = nullptr;
  PickPath path;
  const int rc = Pick(prompt, true, pickflag != 0, ptres, path);
  if (rc != RTNORM) return rc;
  if (NameOf(path.entity, entres) != RTNORM) return RTERROR;
  if (xformres)
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) xformres[r][c] = path.xform(r, c);
  return ContainerChain(path, refstkres);
}

int acedNEntSel(const ACHAR* prompt, ads_name entres, ads_point ptres, ads_point xformres[4],
                struct resbuf** refstkres) {
  ads_matrix m;
  const int rc = acedNEntSelP(prompt, entres, ptres, 0, m, refstkres);
  if (rc != RTNORM || xformres == nullptr) return rc;
  // The 4 x 3 form is the transpose of the upper 3 x 4 part: one row per axis image, then the
  // translation.
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 3; ++c) xformres[r][c] = m[c][r];
  return RTNORM;
}
