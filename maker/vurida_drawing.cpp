// VuRida.dll: layer names, the working drawing, new entities and layers, the global scale,
// ellipse marks, polar points and the entity pick.
#include <cmath>
#include <memory>

#include <acedads.h>
#include <dbapserv.h>
#include <dbelipse.h>
#include <dbents.h>
#include <dbmain.h>
#include <dbpl.h>
#include <dbsymtb.h>
#include <gegbl.h>
#include <gevec3d.h>

#include <RootComn.h>
#include <VuRida.h>
#include "maker/maker_util.h"

const wchar_t* const RQCONECT_LAYER = L"RQ_CONNECT";
const wchar_t* const RQANNO_LAYER = L"RQ_ANNO";
const wchar_t* const RQTABLE_LAYER = L"RQ_TABLE";

namespace maker {

AcDbDatabase* WorkingDatabase() {
  AcDbHostApplicationServices* services = acdbHostApplicationServices();
  return services ? services->workingDatabase() : nullptr;
}

}  // namespace maker

int VuRida_addEntity(AcDbEntity* entity, AcDbObjectId& id) {
  id.setNull();
  AcDbDatabase* db = maker::WorkingDatabase();
  if (entity == nullptr) return static_cast<int>(Acad::eNullEntityPointer);
  if (db == nullptr) return static_cast<int>(Acad::eNotInDatabase);
  AcDbBlockTableRecord* space = nullptr;
  Acad::ErrorStatus es = acdbOpenObject(space, db->currentSpaceId(), AcDb::kForWrite);
  if (es != Acad::eOk) return static_cast<int>(es);
  es = space->appendAcDbEntity(id, entity);
  space->close();
  return es == Acad::eOk ? 0 : static_cast<int>(es);
}

int VuRida_createLayer(const wchar_t* name, AcDbObjectId* layerId) {
  AcDbDatabase* db = maker::WorkingDatabase();
  if (db == nullptr || name == nullptr || *name == L'\0') return 1;
  AcDbLayerTable* table = nullptr;
  if (db->getLayerTable(table, AcDb::kForRead) != Acad::eOk) return 1;
  AcDbObjectId id;
  Acad::ErrorStatus es = table->getAt(name, id);
  if (es != Acad::eOk) {
    es = table->upgradeOpen();
    if (es == Acad::eOk) {
      auto layer = std::make_unique<AcDbLayerTableRecord>();
      layer->setName(name);
      es = table->add(id, layer.get());
      if (es == Acad::eOk) layer.release()->close();
    }
  }
  table->close();
  if (es != Acad::eOk) return 1;
  if (layerId != nullptr) *layerId = id;
  return 0;
}

double VuRida_GetGlobalScale() {
  AcDbDatabase* db = maker::WorkingDatabase();
  if (db == nullptr) return 1.0;
  const double scale = db->dimscale();
  return scale > 0.0 && std::isfinite(scale) ? scale : 1.0;
}

int RootComn_CreateEllipse(AcDbEllipse*& ellipse, const AcGePoint3d& center, double majorLength,
                           double minorLength, double axisAngle, double startAngle,
                           double endAngle) {
  ellipse = nullptr;
  if (!(majorLength > 0.0) || !(minorLength > 0.0)) return 1;
  AcGeVector3d major(std::cos(axisAngle), std::sin(axisAngle), 0.0);
  double major_radius = majorLength / 2.0, minor_radius = minorLength / 2.0;
  if (minor_radius > major_radius) {
    // The longer axis must be the ellipse's major axis: turn the axes by 90 degrees and shift
    // the parameters so that every parameter gives the same point as asked.
    major = AcGeVector3d(-major.y, major.x, 0.0);
    std::swap(major_radius, minor_radius);
    startAngle -= kPi / 2;
    endAngle -= kPi / 2;
  }
  auto created = std::make_unique<AcDbEllipse>();
  if (created->set(center, AcGeVector3d::kZAxis, major * major_radius, minor_radius / major_radius,
                   startAngle, endAngle) != Acad::eOk) {
    return 1;
  }
  created->setDatabaseDefaults();
  ellipse = created.release();
  return 0;
}

int RootComn_CreateEllipse(AcDbEntity*& ellipse, const AcGePoint3d& center, double majorLength,
                           double minorLength, double axisAngle, double startAngle,
                           double endAngle) {
  AcDbEllipse* created = nullptr;
  const int result = RootComn_CreateEllipse(created, center, majorLength, minorLength, axisAngle,
                                            startAngle, endAngle);
  ellipse = created;
  return result;
}

int RootComn_PointRotation2(const AcGePoint3d& base, double distance, double angle,
                            AcGePoint3d& result) {
  const double radians = angle * kPi / 180.0;
  result = AcGePoint3d(base.x + distance * std::cos(radians), base.y + distance * std::sin(radians),
                       base.z);
  return 0;
}
