// The open and close rules of database objects, erased objects and the left-open check.
#include <gtest/gtest.h>
#include "platform/acad/kept_groups.h"

#include <algorithm>
#include <vector>

#include <dbents.h>
#include "platform/acad/dbhost.h"
#include <dbsymtb.h>

namespace {

// Appends a line to model space and closes everything again.
AcDbObjectId AddLine(AcDbDatabase& db) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(db.getBlockTable(table, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
  table->close();
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
  AcDbObjectId id;
  EXPECT_EQ(space->appendAcDbEntity(id, line), Acad::eOk);
  EXPECT_TRUE(line->isWriteEnabled());  // a new resident object comes back open for write
  line->close();
  space->close();
  return id;
}

TEST(DbObjectTest, ReadsShareWritesExclude) {
  AcDbDatabase db;
  AcDbObjectId id = AddLine(db);

  AcDbLine* a = nullptr;
  AcDbLine* b = nullptr;
  ASSERT_EQ(acdbOpenObject(a, id, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenObject(b, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(a, b);
  AcDbLine* w = nullptr;
  EXPECT_EQ(acdbOpenObject(w, id, AcDb::kForWrite), Acad::eWasOpenedForRead);
  EXPECT_EQ(w, nullptr);
  EXPECT_EQ(a->upgradeOpen(), Acad::eHadMultipleReaders);
  b->close();
  EXPECT_EQ(a->upgradeOpen(), Acad::eOk);
  EXPECT_EQ(acdbOpenObject(w, id, AcDb::kForWrite), Acad::eWasOpenedForWrite);
  EXPECT_EQ(acdbOpenObject(b, id, AcDb::kForRead), Acad::eWasOpenedForWrite);
  a->setEndPoint(AcGePoint3d(5, 5, 0));
  a->close();

  ASSERT_EQ(acdbOpenObject(a, id, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(a->endPoint().isEqualTo(AcGePoint3d(5, 5, 0)));
  a->close();

  // Opening as the wrong class fails and leaves nothing open.
  AcDbCircle* circle = nullptr;
  EXPECT_EQ(acdbOpenObject(circle, id, AcDb::kForWrite), Acad::eWrongObjectType);
  EXPECT_TRUE(platform::acad::OpenObjects(db).empty());
  AcDbObject* none = nullptr;
  EXPECT_EQ(acdbOpenObject(none, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
}

TEST(DbObjectTest, ErasedObjectsStayUntilPurged) {
  AcDbDatabase db;
  AcDbObjectId id = AddLine(db);
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ent, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(ent->erase(), Acad::eOk);
  EXPECT_EQ(ent->erase(), Acad::eWasErased);
  ent->close();

  EXPECT_TRUE(id.isErased());
  EXPECT_EQ(acdbOpenAcDbEntity(ent, id, AcDb::kForRead), Acad::eWasErased);
  ASSERT_EQ(acdbOpenAcDbEntity(ent, id, AcDb::kForRead, true), Acad::eOk);
  EXPECT_TRUE(ent->isErased());
  ent->close();

  // Model space iteration skips it unless asked not to.
  AcDbBlockTable* table = nullptr;
  db.getBlockTable(table);
  AcDbBlockTableRecord* space = nullptr;
  table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
  table->close();
  AcDbBlockTableRecordIterator* it = nullptr;
  space->newIterator(it);
  EXPECT_TRUE(it->done());
  delete it;
  space->newIterator(it, true, false);
  EXPECT_FALSE(it->done());
  delete it;
  space->close();

  EXPECT_EQ(platform::acad::PurgeErasedObjects(db), 1);
  EXPECT_EQ(acdbOpenAcDbEntity(ent, id, AcDb::kForRead, true), Acad::eWasErased);
}

TEST(DbObjectTest, LeftOpenCheckNamesClassHandleAndMode) {
  AcDbDatabase db;
  AcDbObjectId first = AddLine(db);
  AcDbObjectId second = AddLine(db);
  EXPECT_TRUE(platform::acad::OpenObjects(db).empty());

  AcDbObject* a = nullptr;
  AcDbObject* b = nullptr;
  ASSERT_EQ(acdbOpenObject(a, first, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenObject(a, first, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenObject(b, second, AcDb::kForWrite), Acad::eOk);
  auto open = platform::acad::OpenObjects(db);
  ASSERT_EQ(open.size(), 2u);
  EXPECT_EQ(open[0].class_name, L"AcDbLine");
  EXPECT_EQ(open[0].mode, L"read");
  EXPECT_EQ(open[0].read_count, 2);
  EXPECT_EQ(open[1].mode, L"write");

  ACHAR hex[20];
  second.handle().getIntoAsciiBuffer(hex, 20);
  EXPECT_EQ(open[1].handle, hex);
  EXPECT_NE(
      platform::acad::DescribeOpenObjects(db).find(std::wstring(L"AcDbLine ") + hex + L" write"),
      std::wstring::npos);
  a->close();
  a->close();
  b->close();
  EXPECT_TRUE(platform::acad::OpenObjects(db).empty());
}

TEST(DbObjectDeathTest, UseAfterCloseStopsTheProgram) {
  AcDbDatabase db;
  AcDbObjectId id = AddLine(db);
  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
  line->close();
  EXPECT_DEATH(line->startPoint(), "use of a closed object: AcDbLine");
  ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
  EXPECT_DEATH(line->setStartPoint(AcGePoint3d(1, 1, 0)), "not open for write");
  line->close();
  EXPECT_DEATH(line->close(), "close of an object that is not open");
}

TEST(DbObjectTest, HandlesFindObjectsAndFaultsFailOneOpen) {
  AcDbDatabase db;
  AcDbObjectId id = AddLine(db);
  ACHAR hex[20];
  ASSERT_TRUE(id.handle().getIntoAsciiBuffer(hex, 20));
  AcDbObjectId found;
  ASSERT_EQ(db.getAcDbObjectId(found, false, AcDbHandle(hex)), Acad::eOk);
  EXPECT_EQ(found, id);
  EXPECT_EQ(db.getAcDbObjectId(found, false, AcDbHandle(L"FFFF")), Acad::eKeyNotFound);
  EXPECT_GT(db.handseed().value(), id.handle().value());

  platform::acad::FailNextOpen(Acad::eWasOpenedForWrite, id);
  AcDbObject* obj = nullptr;
  EXPECT_EQ(acdbOpenObject(obj, id, AcDb::kForRead), Acad::eWasOpenedForWrite);
  ASSERT_EQ(acdbOpenObject(obj, id, AcDb::kForRead), Acad::eOk);  // the fault was used up
  obj->close();
  platform::acad::ClearFaults();
}

TEST(DbObjectTest, NewDrawingHasTheStandardTablesAndDefaults) {
  AcDbDatabase db;
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers), Acad::eOk);
  EXPECT_TRUE(layers->has(L"0"));
  layers->close();
  AcDbTextStyleTable* styles = nullptr;
  ASSERT_EQ(db.getTextStyleTable(styles), Acad::eOk);
  EXPECT_TRUE(styles->has(L"standard"));  // names compare without regard to case
  styles->close();
  EXPECT_EQ(db.dimscale(), 1.0);
  EXPECT_EQ(db.setDimscale(-1), Acad::eInvalidInput);

  AcDbObjectId id = AddLine(db);
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ent, id, AcDb::kForWrite), Acad::eOk);
  ACHAR* layer = ent->layer();
  EXPECT_STREQ(layer, L"0");
  delete[] layer;
  EXPECT_EQ(ent->colorIndex(), 256);
  EXPECT_EQ(ent->setLayer(L"NO_SUCH_LAYER"), Acad::eKeyNotFound);
  EXPECT_EQ(ent->setColorIndex(257), Acad::eInvalidInput);
  ent->close();
  EXPECT_TRUE(platform::acad::OpenObjects(db).empty());
}

}  // namespace

TEST(DbObjectTest, ManyHandlesInAnyOrderAreFoundAndListedInHandleOrder) {
  AcDbDatabase db(false);
  // Handles given from the top down and in two interleaved runs, as a file's references make
  // them before the objects: far more than one block of the index, so that it grows.
  std::vector<Adesk::UInt64> handles = {5000};  // large for so few records, then no longer
  for (Adesk::UInt64 h = 1; h <= 4000; ++h) handles.push_back(h);
  for (Adesk::UInt64 h = 30000; h > 20000; --h) handles.push_back(h);
  for (Adesk::UInt64 k = 1; k <= 5000; ++k) handles.push_back(65536 + k * 4096);  // a stride
  for (Adesk::UInt64 h : handles) {
    AcDbObjectId id;
    auto* line = new AcDbLine;
    ASSERT_EQ(platform::acad::AddObjectWithHandle(db, line, AcDbHandle(h), &id), Acad::eOk) << h;
    line->close();
    // The first stays found while the index grows and moves records around.
    AcDbObjectId first;
    ASSERT_EQ(db.getAcDbObjectId(first, false, AcDbHandle(handles[0])), Acad::eOk) << h;
  }
  for (Adesk::UInt64 h : handles) {
    AcDbObjectId found;
    ASSERT_EQ(db.getAcDbObjectId(found, false, AcDbHandle(h)), Acad::eOk) << h;
    EXPECT_EQ(found.handle().value(), h);
  }
  AcDbObjectId missing;
  EXPECT_EQ(db.getAcDbObjectId(missing, false, AcDbHandle(30001)), Acad::eKeyNotFound);
  EXPECT_EQ(db.getAcDbObjectId(missing, false, AcDbHandle(65536 + 4096 * 5001)),
            Acad::eKeyNotFound);
  // The seed must stay above the largest handle.
  EXPECT_EQ(db.setHandseed(AcDbHandle(65536 + 4096 * 5000)), Acad::eInvalidInput);
  EXPECT_EQ(db.setHandseed(AcDbHandle(65536 + 4096 * 5000 + 1)), Acad::eOk);

  std::vector<AcDbObjectId> ids = platform::acad::AllObjectIds(db);
  ASSERT_EQ(ids.size(), handles.size());
  std::vector<Adesk::UInt64> sorted = handles;
  std::sort(sorted.begin(), sorted.end());
  for (size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(ids[i].handle().value(), sorted[i]) << i;
}

// Records made in rising handle order are listed as they lie, across the blocks they are made in;
// an id taken first still names its object after thousands more, and a purge walks them all.
TEST(DbObjectTest, RecordsMadeInOrderStayPutAndAreListedInOrder) {
  AcDbDatabase db(false);
  const size_t before = platform::acad::AllObjectIds(db).size();
  std::vector<AcDbObjectId> made;
  // So many that the last block is full (blocks of 64 records, doubling up to 4,096): the list's
  // end is then the start of the next.
  const size_t all = 64 + 128 + 256 + 512 + 1024 + 2048 + 4 * 4096;
  for (size_t i = 0; before + i < all; ++i) {
    AcDbObjectId id;
    const double x = static_cast<double>(i);
    auto* line = new AcDbLine(AcGePoint3d(x, 0, 0), AcGePoint3d(x, 1, 0));
    ASSERT_EQ(db.addAcDbObject(id, line), Acad::eOk) << i;
    line->close();
    made.push_back(id);
  }
  AcDbLine* first = nullptr;
  ASSERT_EQ(acdbOpenObject(first, made[0], AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(first->startPoint().x, 0.0);
  first->close();
  std::vector<AcDbObjectId> ids = platform::acad::AllObjectIds(db);
  ASSERT_EQ(ids.size(), before + made.size());
  for (size_t i = 0; i < made.size(); ++i) ASSERT_EQ(ids[before + i], made[i]) << i;
  for (size_t i = 1; i < ids.size(); ++i)
    ASSERT_LT(ids[i - 1].handle().value(), ids[i].handle().value()) << i;
  // Every third erased: the purge finds each of them, in every block.
  for (size_t i = 0; i < made.size(); i += 3) {
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenObject(obj, made[i], AcDb::kForWrite), Acad::eOk);
    obj->erase();
    obj->close();
  }
  EXPECT_EQ(platform::acad::PurgeErasedObjects(db), static_cast<int>((made.size() + 2) / 3));
  EXPECT_TRUE(made.back().isErased() == ((made.size() - 1) % 3 == 0));
}

TEST(DbObjectTest, KeptGroupsHoldShortAndLongTextAlike) {
  // 15 bytes of UTF-8 fit inside, 16 do not; "電線" is six bytes of UTF-8.
  const std::wstring fifteen = L"AcDbAttribute12";
  const std::wstring sixteen = L"AcDbAttribute123";
  const std::wstring wide = L"電線 route 1";
  std::vector<platform::acad::RawGroup> groups = {{100, fifteen}, {100, sixteen}, {1, wide}, {2, L""}};
  EXPECT_EQ(groups[0].value.utf8(), "AcDbAttribute12");
  EXPECT_EQ(groups[1].value.utf8(), "AcDbAttribute123");
  EXPECT_EQ(groups[2].value.utf8(), "\xE9\x9B\xBB\xE7\xB7\x9A route 1");
  EXPECT_TRUE(groups[3].value.empty());
  EXPECT_EQ(groups[1].value.wide(), sixteen);
  EXPECT_EQ(groups[2].value.wide(), wide);
  EXPECT_TRUE(groups[2].value == wide.c_str());
  EXPECT_FALSE(groups[0].value == sixteen);

  // Copies and moves keep the text; a moved-from text is empty.
  std::vector<platform::acad::RawGroup> copy = groups;
  for (int i = 0; i < 100; ++i) copy.push_back(copy[static_cast<size_t>(i % 3)]);  // regrows
  EXPECT_TRUE(copy[1].value == sixteen);
  EXPECT_TRUE(copy[101].value == sixteen);
  EXPECT_TRUE(copy[102].value == wide);
  platform::acad::RawText moved = std::move(copy[1].value);
  EXPECT_TRUE(moved == sixteen);
  EXPECT_TRUE(copy[1].value.empty());
  copy[1].value = moved;
  moved = platform::acad::RawText::fromUtf8("x");
  EXPECT_TRUE(copy[1].value == sixteen);
  EXPECT_TRUE(moved == L"x");
  copy[0].value = std::move(copy[2].value);
  EXPECT_TRUE(copy[0].value == wide);
}
