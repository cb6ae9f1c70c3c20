// Dravik.dll: entity extents, the current text style, free block names and new block
// references.
#include <cwchar>
#include <memory>
#include <string>

#include <acedads.h>
#include <dbents.h>
#include <dbmain.h>
#include <dbsymtb.h>

#include <ApiComn.h>
#include "maker/maker_util.h"

int spedSSLength(const ads_name ss, long* length) {
  Adesk::Int32 count = 0;
  const int result = acedSSLength(ss, &count);
  if (length != nullptr) *length = result == RTNORM ? count : 0;
  return result == RTNORM ? 0 : RTERROR;
}

int ApiComn_GetEntityRang(AcDbEntity* entity, AcDbExtents& extents) {
  if (entity == nullptr) return static_cast<int>(Acad::eNullEntityPointer);
  AcDbExtents found;
  const Acad::ErrorStatus es = entity->getGeomExtents(found);
  if (es != Acad::eOk) return static_cast<int>(es);
  extents = found;
  return 0;
}

int ApiComn_GetEntityRang(AcDbEntity* entity, AcGePoint3d& minPoint, AcGePoint3d& maxPoint) {
  AcDbExtents extents;
  const int result = ApiComn_GetEntityRang(entity, extents);
  if (result != 0) return result;
  minPoint = extents.minPoint();
  maxPoint = extents.maxPoint();
  return 0;
}

namespace {

// Opens the working drawing's current text style.
Acad::ErrorStatus OpenCurrentStyle(AcDbTextStyleTableRecord*& style, AcDb::OpenMode mode) {
  style = nullptr;
  AcDbDatabase* db = maker::WorkingDatabase();
  if (db == nullptr) return Acad::eNotInDatabase;
  return acdbOpenObject(style, db->textstyle(), mode);
}

}  // namespace

int ApiComn_GetTextStyle(double& textSize, double& widthFactor) {
  AcDbTextStyleTableRecord* style = nullptr;
  if (OpenCurrentStyle(style, AcDb::kForRead) != Acad::eOk) return -1;
  textSize = style->textSize();
  widthFactor = style->xScale();
  style->close();
  return 0;
}

int ApiComn_SetTextStyle(double textSize, double widthFactor) {
  AcDbTextStyleTableRecord* style = nullptr;
  if (OpenCurrentStyle(style, AcDb::kForWrite) != Acad::eOk) return -1;
  Acad::ErrorStatus es = style->setTextSize(textSize);
  if (es == Acad::eOk) es = style->setXScale(widthFactor);
  style->close();
  return es == Acad::eOk ? 0 : -1;
}

int ApiComn_SpaceBlockName(CString& name, int digits) {
  if (digits < 1 || digits > 9) return 1;
  AcDbDatabase* db = maker::WorkingDatabase();
  if (db == nullptr) return 1;
  AcDbBlockTable* table = nullptr;
  if (db->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return 1;
  long limit = 1;
  for (int i = 0; i < digits; ++i) limit *= 10;
  int result = 1;
  for (long number = 1; number < limit; ++number) {
    CString candidate;
    candidate.Format(L"%s%0*ld", name.GetString(), digits, number);
    if (!table->has(candidate)) {
      name = candidate;
      result = 0;
      break;
    }
  }
  table->close();
  return result;
}

int ApiComn_SpaceBlockName(wchar_t* name, int digits) {
  if (name == nullptr) return 1;
  CString text = name;
  const int result = ApiComn_SpaceBlockName(text, digits);
  if (result == 0) wcscpy(name, text.GetString());
  return result;
}

int ApiComn_CreateInsert(AcDbBlockReference*& reference, const wchar_t* blockName,
                         const AcGePoint3d& position, double rotation, double xScale, double yScale,
                         double zScale) {
  reference = nullptr;
  AcDbDatabase* db = maker::WorkingDatabase();
  if (db == nullptr || blockName == nullptr) return 1;
  AcDbBlockTable* table = nullptr;
  if (db->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return 1;
  AcDbObjectId block_id;
  const Acad::ErrorStatus es = table->getAt(blockName, block_id);
  table->close();
  if (es != Acad::eOk) return 1;
  auto created = std::make_unique<AcDbBlockReference>(position, block_id);
  created->setDatabaseDefaults(db);
  if (created->setRotation(rotation) != Acad::eOk ||
      created->setScaleFactors(AcGeScale3d(xScale, yScale, zScale)) != Acad::eOk) {
    return 1;
  }
  reference = created.release();
  return 0;
}

int ApiComn_CreateInsert(AcDbEntity*& reference, const wchar_t* blockName,
                         const AcGePoint3d& position, double rotation, double xScale, double yScale,
                         double zScale) {
  AcDbBlockReference* created = nullptr;
  const int result =
      ApiComn_CreateInsert(created, blockName, position, rotation, xScale, yScale, zScale);
  reference = created;
  return result;
}
