// Tables keyed by object id: ids placed by handle keep every id however the handles lie, and a
// set of handles held as bits turns into a table when the handles stop being dense.
#include <gtest/gtest.h>

#include <vector>

#include <dbents.h>
#include <dbsymtb.h>
#include "platform/acad/id_table.h"

namespace {

using platform::acad::HandleSet;
using platform::acad::IdMap;
using platform::acad::IdSet;

class IdTableTest : public ::testing::Test {
 protected:
  // A point in model space with handle `handle`.
  AcDbObjectId AddPointAt(Adesk::UInt64 handle) {
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db_.getBlockTable(table), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    table->close();
    db_.setNextHandle(AcDbHandle(handle));
    auto* point = new AcDbPoint(AcGePoint3d(0, 0, 0));
    AcDbObjectId id;
    EXPECT_EQ(space->appendAcDbEntity(id, point), Acad::eOk);
    point->close();
    space->close();
    EXPECT_EQ(id.handle().value(), handle);
    return id;
  }

  AcDbDatabase db_;
};

TEST_F(IdTableTest, IdsAtAnyStrideOfHandlesAreAllKept) {
  // Handles one after the other, then at a stride of 4096 (every run of 64 handles hashed to
  // its own place), then in a run that lands among those.
  std::vector<AcDbObjectId> ids;
  for (Adesk::UInt64 h = 0x1000; h < 0x1000 + 300; ++h) ids.push_back(AddPointAt(h));
  for (Adesk::UInt64 k = 1; k <= 300; ++k) ids.push_back(AddPointAt(0x100000 + 4096 * k));
  for (Adesk::UInt64 h = 0x100000 + 4096 * 7 + 1; h < 0x100000 + 4096 * 7 + 100; ++h)
    ids.push_back(AddPointAt(h));

  IdMap<int> map;
  IdSet set;
  for (size_t i = 0; i < ids.size(); ++i) {
    ASSERT_TRUE(map.insert(ids[i], static_cast<int>(i)));
    ASSERT_TRUE(set.insert(ids[i]));
  }
  for (size_t i = 0; i < ids.size(); ++i) {
    ASSERT_NE(map.find(ids[i]), nullptr) << i;
    EXPECT_EQ(*map.find(ids[i]), static_cast<int>(i));
    EXPECT_FALSE(set.insert(ids[i])) << i;
    EXPECT_EQ(set.count(ids[i]), 1u);
  }
  map.assign(ids[5], -5);
  EXPECT_EQ(*map.find(ids[5]), -5);
  EXPECT_EQ(map.find(AcDbObjectId()), nullptr);
}

TEST_F(IdTableTest, AHandleSetHoldsDenseHandlesAsBitsAndFarOnesInATable) {
  std::vector<AcDbObjectId> near;
  for (Adesk::UInt64 h = 0x200; h < 0x200 + 500; ++h) near.push_back(AddPointAt(h));
  const AcDbObjectId far = AddPointAt(Adesk::UInt64{1} << 40);
  const AcDbObjectId never = AddPointAt(0x200 + 600);

  HandleSet set;
  set.reserve(near.size());
  for (size_t i = 0; i < near.size(); i += 2) EXPECT_TRUE(set.insert(near[i]));
  EXPECT_FALSE(set.insert(near[0]));
  EXPECT_FALSE(set.insert(AcDbObjectId()));
  // A handle far beyond the others: every id held so far is still there afterwards.
  EXPECT_TRUE(set.insert(far));
  for (size_t i = 1; i < near.size(); i += 2) EXPECT_TRUE(set.insert(near[i]));
  for (size_t i = 0; i < near.size(); ++i) {
    EXPECT_EQ(set.count(near[i]), 1u) << i;
    EXPECT_FALSE(set.insert(near[i])) << i;
  }
  EXPECT_EQ(set.count(far), 1u);
  EXPECT_EQ(set.count(never), 0u);
}

}  // namespace
