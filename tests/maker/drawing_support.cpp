// The route drawing builder of the maker's tests.
#include "drawing_support.h"

#include <cstddef>

#include <acdocman.h>
#include <dbapserv.h>
#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include "platform/acad/dbhost.h"
#include <dbmain.h>
#include <dbsymtb.h>
#include <gtest/gtest.h>

#include <ApiComn.h>

namespace maker_test {

TestDrawing::TestDrawing() : db_(std::make_unique<AcDbDatabase>(true)) {
  platform::acad::OpenDocument(db_.get(), L"test.dwg");
  AddLayer(L"RQ_CONNECT");
}

TestDrawing::~TestDrawing() {
  platform::acad::CloseDocument();
}

void TestDrawing::AddLayer(const wchar_t* name) {
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(Acad::eOk, db_->getLayerTable(table, AcDb::kForWrite));
  auto* layer = new AcDbLayerTableRecord();
  layer->setName(name);
  ASSERT_EQ(Acad::eOk, table->add(layer));
  layer->close();
  table->close();
}

AcDbObjectId TestDrawing::AddBlock(const wchar_t* name, const std::vector<AcGePoint3d>& points,
                                   const wchar_t* point_layer) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(Acad::eOk, db_->getBlockTable(table, AcDb::kForWrite));
  auto* block = new AcDbBlockTableRecord();
  block->setName(name);
  AcDbObjectId block_id;
  EXPECT_EQ(Acad::eOk, table->add(block_id, block));
  table->close();
  if (points.size() >= 2) {
    auto* line = new AcDbLine(points[0], points[1]);
    line->setDatabaseDefaults(db_.get());
    block->appendAcDbEntity(line);
    line->close();
  }
  for (const AcGePoint3d& p : points) {
    auto* point = new AcDbPoint(p);
    point->setDatabaseDefaults(db_.get());
    EXPECT_EQ(Acad::eOk, point->setLayer(point_layer));
    block->appendAcDbEntity(point);
    point->close();
  }
  block->close();
  return block_id;
}

AcDbObjectId TestDrawing::AddReference(const wchar_t* block, const AcGePoint3d& position,
                                       double rotation, double scale, int kind) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(Acad::eOk, db_->getBlockTable(table, AcDb::kForRead));
  AcDbObjectId block_id;
  EXPECT_EQ(Acad::eOk, table->getAt(block, block_id));
  table->close();
  auto* reference = new AcDbBlockReference(position, block_id);
  reference->setDatabaseDefaults(db_.get());
  reference->setRotation(rotation);
  reference->setScaleFactors(AcGeScale3d(scale, scale, scale));
  AcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(Acad::eOk, acdbOpenObject(space, db_->modelSpaceId(), AcDb::kForWrite));
  AcDbObjectId id;
  EXPECT_EQ(Acad::eOk, space->appendAcDbEntity(id, reference));
  reference->close();
  space->close();
  if (kind >= 0) {
    CStringArray link;
    link.Add(CString(std::to_wstring(kind)));
    EXPECT_EQ(0, ApiComn_appendAttributesArray(id, L"RQ_LINK", link, 1));
  }
  return id;
}

AcDbObjectId TestDrawing::AddGroup(const wchar_t* name, const std::vector<AcDbObjectId>& members) {
  AcDbDictionary* groups = nullptr;
  EXPECT_EQ(Acad::eOk, db_->getGroupDictionary(groups, AcDb::kForWrite));
  auto* group = new AcDbGroup(name);
  AcDbObjectId id;
  EXPECT_EQ(Acad::eOk, groups->setAt(name, group, id));
  for (const AcDbObjectId& member : members) EXPECT_EQ(Acad::eOk, group->append(member));
  group->close();
  groups->close();
  return id;
}

int TestDrawing::OpenObjects() const {
  return static_cast<int>(platform::acad::OpenObjects(*db_).size());
}

}  // namespace maker_test
