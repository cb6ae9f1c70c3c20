// VuRida.dll: the pick of one entity of given types, with retries.
#include <cstddef>

#include <aced.h>
#include <acedads.h>
#include <dbents.h>
#include <dbmain.h>
#include <dbpl.h>

#include <VuRida.h>

namespace {

// AutoCAD's ERRNO after an empty response; a pick that found nothing leaves 7, which asks
// again like any other miss.
constexpr int kErrnoNull = 52;

int TypeOf(const AcDbEntity* entity) {
  if (AcDbLine::cast(entity)) return kVuRidaLine;
  if (AcDbPolyline::cast(entity)) return kVuRidaPolyline;
  if (AcDbBlockReference::cast(entity)) return kVuRidaBlockReference;
  if (AcDbText::cast(entity)) return kVuRidaText;
  if (AcDbPoint::cast(entity)) return kVuRidaPoint;
  return 0;
}

bool TypeAccepted(AcDbObjectId id, const CUIntArray* types) {
  if (types == nullptr || types->GetSize() == 0) return true;
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return false;
  const int type = TypeOf(entity);
  entity->close();
  for (INT_PTR i = 0; i < types->GetSize(); ++i) {
    if (static_cast<int>(types->GetAt(i)) == type) return true;
  }
  return false;
}

int ErrNo() {
  resbuf value = {};
  if (acedGetVar(L"ERRNO", &value) != RTNORM) return 0;
  return value.resval.rint;
}

// The pick-first selection, when the user chose entities before the command: those of the
// accepted types that pass the filter, in selection order. The selection is used up, so that
// a locate asked again prompts. False when there is none.
bool TakePickfirst(AcDbObjectIdArray& ids, const CUIntArray* types, VuRidaLocateFilter filter,
                   void* data) {
  ads_name set = {0, 0};
  if (acedSSGet(L"I", nullptr, nullptr, nullptr, set) != RTNORM) return false;
  Adesk::Int32 length = 0;
  acedSSLength(set, &length);
  for (Adesk::Int32 i = 0; i < length; ++i) {
    ads_name name = {0, 0};
    AcDbObjectId id;
    if (acedSSName(set, i, name) != RTNORM || acdbGetObjectId(id, name) != Acad::eOk) continue;
    if (!TypeAccepted(id, types) || (filter != nullptr && filter(id, data) == 0)) continue;
    ids.append(id);
  }
  acedSSFree(set);
  acedSSSetFirst(nullptr, nullptr);
  return true;
}

}  // namespace

int VuRida_locate(const wchar_t* prompt, AcDbObjectIdArray& ids, const CUIntArray* types,
                  int multiple, int retry, int highlight, VuRidaLocateFilter filter, void* data,
                  AcGePoint3dArray* points) {
  ids.removeAll();
  if (points != nullptr) points->removeAll();
  if (multiple != 0) return RTERROR;
  if (TakePickfirst(ids, types, filter, data)) return RTNORM;
  for (;;) {
    ads_name name = {0, 0};
    ads_point picked = {0, 0, 0};
    const int result = acedEntSel(prompt, name, picked);
    if (result == RTERROR) {
      // A miss asks again; an empty response ends the pick.
      if (ErrNo() == kErrnoNull) return RTNONE;
      if (retry) continue;
      return RTREJ;
    }
    if (result != RTNORM) return result;
    AcDbObjectId id;
    if (acdbGetObjectId(id, name) != Acad::eOk || !TypeAccepted(id, types) ||
        (filter != nullptr && filter(id, data) == 0)) {
      if (retry) continue;
      return RTREJ;
    }
    ids.append(id);
    if (points != nullptr) points->append(AcGePoint3d(picked[0], picked[1], picked[2]));
    return RTNORM;
  }
}
