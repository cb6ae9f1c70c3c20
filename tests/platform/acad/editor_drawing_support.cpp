// The editor tests' drawing: a working database with helpers to fill it.
#include "editor_drawing_support.h"

#include <acutads.h>
#include <dbapserv.h>
#include "platform/acad/dbhost.h"
#include <dbsymtb.h>
#include <gescl3d.h>

namespace editor_test {

TestDrawing::TestDrawing() : db_(std::make_unique<AcDbDatabase>()) {
  acdbHostApplicationServices()->setWorkingDatabase(db_.get());
}

TestDrawing::~TestDrawing() {
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

AcDbObjectId TestDrawing::Append(AcDbEntity* entity, AcDbObjectId owner) {
  if (owner.isNull()) owner = modelSpace();
  AcDbBlockTableRecord* record = nullptr;
  AcDbObjectId id;
  if (acdbOpenObject(record, owner, AcDb::kForWrite) != Acad::eOk) return id;
  if (record->appendAcDbEntity(id, entity) == Acad::eOk) entity->close();
  record->close();
  return id;
}

AcDbObjectId TestDrawing::Line(double x0, double y0, double x1, double y1, AcDbObjectId owner) {
  return Append(new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0)), owner);
}

AcDbObjectId TestDrawing::Block(const wchar_t* name) {
  AcDbBlockTable* table = nullptr;
  AcDbObjectId id;
  if (db_->getBlockTable(table, AcDb::kForWrite) != Acad::eOk) return id;
  auto* record = new AcDbBlockTableRecord;
  record->setName(name);
  if (table->add(id, record) == Acad::eOk) record->close();
  table->close();
  return id;
}

AcDbObjectId TestDrawing::Insert(AcDbObjectId block, double x, double y, double rotation,
                                 double scale, AcDbObjectId owner) {
  auto* ref = new AcDbBlockReference(AcGePoint3d(x, y, 0), block);
  ref->setRotation(rotation);
  ref->setScaleFactors(AcGeScale3d(scale, scale, scale));
  return Append(ref, owner);
}

AcDbObjectId TestDrawing::Layer(const wchar_t* name, bool frozen) {
  AcDbLayerTable* table = nullptr;
  AcDbObjectId id;
  if (db_->getLayerTable(table, AcDb::kForWrite) != Acad::eOk) return id;
  auto* record = new AcDbLayerTableRecord;
  record->setName(name);
  record->setIsFrozen(frozen);
  if (table->add(id, record) == Acad::eOk) record->close();
  table->close();
  return id;
}

void TestDrawing::SetLayer(AcDbObjectId entity, const wchar_t* layer) {
  AcDbEntity* e = nullptr;
  if (acdbOpenAcDbEntity(e, entity, AcDb::kForWrite) != Acad::eOk) return;
  e->setLayer(layer);
  e->close();
}

void TestDrawing::AddXData(AcDbObjectId entity, const wchar_t* app) {
  acdbRegApp(app);
  AcDbEntity* e = nullptr;
  if (acdbOpenAcDbEntity(e, entity, AcDb::kForWrite) != Acad::eOk) return;
  resbuf* rb = acutBuildList(1001, app, 1000, L"3", 0);
  e->setXData(rb);
  acutRelRb(rb);
  e->close();
}

std::wstring TestDrawing::OpenObjects() const {
  return platform::acad::DescribeOpenObjects(*db_);
}

}  // namespace editor_test
