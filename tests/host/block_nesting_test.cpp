// Walks through nested blocks end at the nesting limit, also in a drawing whose block holds a
// reference to itself (which the DXF reader refuses, but code can still build): the picture,
// picks, window-selection boxes and picks by name all come back.
#include "platform/acad/block_nesting.h"
#include <dbents.h>
#include <dbsymtb.h>
#include <gtest/gtest.h>
#include "platform/acad/hit_test.h"

#include <string>

#include "host/svg/svg_renderer.h"

namespace host {
namespace {

using platform::acad::kMaxBlockNesting;

void Append(AcDbObjectId owner, AcDbEntity* entity, AcDbObjectId* id = nullptr) {
  AcDbBlockTableRecord* record = nullptr;
  ASSERT_EQ(acdbOpenObject(record, owner, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId made;
  ASSERT_EQ(record->appendAcDbEntity(made, entity), Acad::eOk);
  record->close();
  entity->close();
  if (id) *id = made;
}

AcDbObjectId NewBlock(AcDbDatabase* db, const wchar_t* name) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(db->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
  auto* record = new AcDbBlockTableRecord;
  record->setName(name);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, record), Acad::eOk);
  record->close();
  table->close();
  return id;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(BlockNestingTest, ABlockHoldingItselfEndsEveryWalkAtTheLimit) {
  ASSERT_EQ(kMaxBlockNesting, 32);
  AcDbDatabase db(true, false);
  const AcDbObjectId self = NewBlock(&db, L"SELF");
  // SELF: a line from (0,0) to (10,0), then a reference of SELF itself, unmoved.
  Append(self, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
  Append(self, new AcDbBlockReference(AcGePoint3d(0, 0, 0), self));
  AcDbObjectId top;
  Append(db.modelSpaceId(), new AcDbBlockReference(AcGePoint3d(0, 0, 0), self), &top);

  // The picture enters 32 references (the one in model space and 31 inside SELF) and draws
  // SELF's line once at each of those levels.
  const std::string svg = RenderSvg(db);
  EXPECT_EQ(Count(svg, "<line "), 32u) << svg;

  // A nested pick on the line enters the references first (they are drawn last, so on top):
  // 32 of them, then the line inside the innermost.
  auto hit = platform::acad::PickEntityAt(db.modelSpaceId(), AcGePoint3d(5, 0, 0), 1.0, true);
  ASSERT_TRUE(hit.has_value());
  EXPECT_EQ(hit->containers.size(), 32u);
  EXPECT_EQ(hit->containers.front(), top);
  EXPECT_EQ(hit->entity.objectClass(), AcDbLine::desc());
  // Nothing lies under a point away from the line, at any level.
  EXPECT_FALSE(platform::acad::PickEntityAt(db.modelSpaceId(), AcGePoint3d(5, 5, 0), 1.0, true));

  // The reference's box is the line's.
  AcGePoint3d min, max;
  ASSERT_TRUE(platform::acad::EntityBox(top, min, max));
  EXPECT_DOUBLE_EQ(min.x, 0);
  EXPECT_DOUBLE_EQ(max.x, 10);
  EXPECT_DOUBLE_EQ(min.y, 0);
  EXPECT_DOUBLE_EQ(max.y, 0);

  // A pick by name takes SELF's first entity, the line, at the first level.
  auto first = platform::acad::FirstEntityInside(top);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->containers.size(), 1u);
  EXPECT_EQ(first->entity.objectClass(), AcDbLine::desc());
}

}  // namespace
}  // namespace host
