// Block references: the block transform, attributes, extents and transforms of the reference.
#include <gtest/gtest.h>

#include <cmath>

#include <dbents.h>
#include <dbsymtb.h>
#include "platform/acad/dbhost.h"

namespace {

constexpr double kHalfPi = 1.5707963267948966;

class BlockReferenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Block "RT01" with its base point at (1, 1) and a connection point at (3, 1).
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db_.getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* block = new AcDbBlockTableRecord;
    block->setName(L"RT01");
    block->setOrigin(AcGePoint3d(1, 1, 0));
    ASSERT_EQ(table->add(block_, block), Acad::eOk);
    auto* point = new AcDbPoint(AcGePoint3d(3, 1, 0));
    ASSERT_EQ(block->appendAcDbEntity(point_, point), Acad::eOk);
    point->close();
    block->close();
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    table->close();

    // Placed at (10, 20), turned a quarter, scaled 2 in x and 3 in y.
    auto* ref = new AcDbBlockReference(AcGePoint3d(10, 20, 0), block_);
    ref->setRotation(kHalfPi);
    ref->setScaleFactors(AcGeScale3d(2, 3, 1));
    ref->appendAttribute(new AcDbAttribute(AcGePoint3d(10, 20, 0), L"1", L"ETAT"));
    ASSERT_EQ(space->appendAcDbEntity(ref_, ref), Acad::eOk);
    ref->close();
    space->close();
  }
  void TearDown() override { EXPECT_EQ(platform::acad::DescribeOpenObjects(db_), L""); }

  AcDbDatabase db_;
  AcDbObjectId block_, point_, ref_;
};

TEST_F(BlockReferenceTest, TransformMapsBlockPointsIntoTheDrawing) {
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, ref_, AcDb::kForRead), Acad::eOk);
  AcGeMatrix3d xform = ref->blockTransform();
  // (3,1) is 2 along x from the base point: scaled to 4, turned onto +y, moved to (10,20).
  AcGePoint3d p = xform * AcGePoint3d(3, 1, 0);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(10, 24, 0))) << p.x << "," << p.y;
  // One unit of block y becomes 3 units along -x.
  AcGePoint3d q = xform * AcGePoint3d(1, 2, 0);
  EXPECT_TRUE(q.isEqualTo(AcGePoint3d(7, 20, 0))) << q.x << "," << q.y;

  // Extents: the point at (10,24) and the attribute "1" at (10,20), 2.5 high and, as one
  // half-width character, 1.25 wide.
  AcDbExtents ext;
  ASSERT_EQ(ref->getGeomExtents(ext), Acad::eOk);
  EXPECT_TRUE(ext.minPoint().isEqualTo(AcGePoint3d(10, 20, 0)));
  EXPECT_TRUE(ext.maxPoint().isEqualTo(AcGePoint3d(11.25, 24, 0)))
      << ext.maxPoint().x << "," << ext.maxPoint().y;

  // The attribute belongs to the reference and is in the drawing.
  AcDbObjectIterator* it = ref->attributeIterator();
  ASSERT_FALSE(it->done());
  AcDbObjectId attr_id = it->objectId();
  it->step();
  EXPECT_TRUE(it->done());
  delete it;
  ref->close();

  AcDbAttribute* attr = nullptr;
  ASSERT_EQ(acdbOpenObject(attr, attr_id, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(attr->tagConst(), L"ETAT");
  EXPECT_STREQ(attr->textStringConst(), L"1");
  EXPECT_EQ(attr->ownerId(), ref_);
  attr->close();
}

TEST_F(BlockReferenceTest, MovingAndRecolouringCarryTheAttributes) {
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, ref_, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(ref->transformBy(AcGeMatrix3d::translation(AcGeVector3d(5, 0, 0))), Acad::eOk);
  EXPECT_TRUE(ref->position().isEqualTo(AcGePoint3d(15, 20, 0)));
  EXPECT_NEAR(ref->rotation(), kHalfPi, 1e-12);
  EXPECT_TRUE(ref->scaleFactors().isEqualTo(AcGeScale3d(2, 3, 1)));
  ASSERT_EQ(ref->setColorIndex(3), Acad::eOk);
  AcDbObjectId attr_id = ref->attributeIds().front();
  ref->close();

  AcDbAttribute* attr = nullptr;
  ASSERT_EQ(acdbOpenObject(attr, attr_id, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(attr->position().isEqualTo(AcGePoint3d(15, 20, 0)));
  EXPECT_EQ(attr->colorIndex(), 3);
  attr->close();

  // Erasing the reference takes its attribute along.
  ASSERT_EQ(acdbOpenObject(ref, ref_, AcDb::kForWrite), Acad::eOk);
  ref->erase();
  ref->close();
  EXPECT_TRUE(attr_id.isErased());
}

// Tags are held once for the program: attributes of one tag share it, other tags stay their own,
// and a changed tag is the new one.
TEST(AttributeTagTest, EachTagIsHeldOnceAndStaysItsOwn) {
  AcDbAttribute first(AcGePoint3d(0, 0, 0), L"1", L"ETAT");
  AcDbAttribute second(AcGePoint3d(0, 0, 0), L"2", L"ETAT");
  AcDbAttribute other(AcGePoint3d(0, 0, 0), L"3", L"S001");
  EXPECT_STREQ(first.tagConst(), L"ETAT");
  EXPECT_EQ(first.tagConst(), second.tagConst());  // the same text, not a copy
  EXPECT_STREQ(other.tagConst(), L"S001");
  EXPECT_NE(other.tagConst(), first.tagConst());
  ASSERT_EQ(second.setTag(L"S002_NEW"), Acad::eOk);
  EXPECT_STREQ(second.tagConst(), L"S002_NEW");
  EXPECT_STREQ(first.tagConst(), L"ETAT");
  ASSERT_EQ(other.setTag(L"ETAT"), Acad::eOk);
  EXPECT_EQ(other.tagConst(), first.tagConst());
}

}  // namespace
