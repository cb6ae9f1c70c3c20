// VuRida.dll: connection points of route elements, block names and insertion points.
#include <acutads.h>
#include <dbents.h>
#include <dbmain.h>
#include <dbsymtb.h>

#include <VuRida.h>
#include "maker/maker_util.h"

namespace {

// Compares layer names as AutoCAD does: without regard to case.
bool SameLayer(const wchar_t* a, const wchar_t* b) {
  return a != nullptr && b != nullptr && _wcsicmp(a, b) == 0;
}

}  // namespace

int VuRida_GetConnectPoint(AcDbObjectId id, AcGePoint3dArray& points, const wchar_t* layer,
                           AcDbObjectIdArray* pointIds) {
  points.removeAll();
  if (pointIds != nullptr) pointIds->removeAll();
  AcDbBlockReference* reference = nullptr;
  if (acdbOpenObject(reference, id, AcDb::kForRead) != Acad::eOk) return -1;
  const AcGeMatrix3d transform = reference->blockTransform();
  const AcDbObjectId block_id = reference->blockTableRecord();
  reference->close();

  AcDbBlockTableRecord* block = nullptr;
  if (acdbOpenObject(block, block_id, AcDb::kForRead) != Acad::eOk) return -1;
  AcDbBlockTableRecordIterator* it = nullptr;
  if (block->newIterator(it) == Acad::eOk) {
    for (; !it->done(); it->step()) {
      AcDbEntity* entity = nullptr;
      if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
      if (AcDbPoint* point = AcDbPoint::cast(entity)) {
        maker::AdsString point_layer(point->layer());
        if (SameLayer(point_layer.get(), layer)) {
          AcGePoint3d position = point->position();
          points.append(position.transformBy(transform));
          if (pointIds != nullptr) pointIds->append(point->objectId());
        }
      }
      entity->close();
    }
    delete it;
  }
  block->close();
  return points.isEmpty() ? 1 : 0;
}

int VuRida_GetIDByBlockName(AcDbObjectId id, CString& name) {
  name.Empty();
  AcDbBlockReference* reference = nullptr;
  if (acdbOpenObject(reference, id, AcDb::kForRead) != Acad::eOk) return 1;
  const AcDbObjectId block_id = reference->blockTableRecord();
  reference->close();
  AcDbBlockTableRecord* block = nullptr;
  if (acdbOpenObject(block, block_id, AcDb::kForRead) != Acad::eOk) return 1;
  const ACHAR* block_name = nullptr;
  const bool ok = block->getName(block_name) == Acad::eOk && block_name != nullptr;
  if (ok) name = block_name;
  block->close();
  return ok ? 0 : 1;
}

int VuRida_GetIDByBlockName(AcDbObjectId id, wchar_t* name) {
  if (name == nullptr) return 1;
  CString text;
  const int result = VuRida_GetIDByBlockName(id, text);
  const size_t length = std::min<size_t>(text.GetLength(), 255);
  wmemcpy(name, text.GetString(), length);
  name[length] = L'\0';
  return result;
}

int RootComn_GetOriginPoint(AcDbObjectId id, AcGePoint3d& origin) {
  AcDbBlockReference* reference = nullptr;
  if (acdbOpenObject(reference, id, AcDb::kForRead) != Acad::eOk) return 1;
  origin = reference->position();
  reference->close();
  return 0;
}
