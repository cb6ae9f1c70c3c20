// Undo steps of the database: objects whose change is XData alone, and the same objects changed
// otherwise too, in either order and in separate passes over many objects; an erased object.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <acutads.h>
#include <dbents.h>
#include <dbsymtb.h>
#include "platform/acad/dbhost.h"
#include "platform/acad/undo_history.h"

namespace {

using platform::acad::EnableUndo;
using platform::acad::RedoSteps;
using platform::acad::StartUndoStep;
using platform::acad::UndoStepCount;
using platform::acad::UndoSteps;

class UndoHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AcDbRegAppTable* apps = nullptr;
    ASSERT_EQ(db_.getRegAppTable(apps, AcDb::kForWrite), Acad::eOk);
    auto* record = new AcDbRegAppTableRecord;
    record->setName(L"RQ_ATTR");
    ASSERT_EQ(apps->add(record), Acad::eOk);
    record->close();
    apps->close();
  }
  void TearDown() override { EXPECT_EQ(platform::acad::DescribeOpenObjects(db_), L""); }

  // `n` lines in model space, each with the string "before" and colour 1.
  void AddLines(int n) {
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db_.getBlockTable(table), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    table->close();
    for (int i = 0; i < n; ++i) {
      auto* line = new AcDbLine(AcGePoint3d(i, 0, 0), AcGePoint3d(i, 1, 0));
      line->setColorIndex(1);
      AcDbObjectId id;
      ASSERT_EQ(space->appendAcDbEntity(id, line), Acad::eOk);
      SetString(line, L"before");
      line->close();
      ids_.push_back(id);
    }
    space->close();
  }

  static void SetString(AcDbObject* object, const wchar_t* text) {
    resbuf* chain = acutBuildList(1001, L"RQ_ATTR", 1000, text, 0);
    ASSERT_EQ(object->setXData(chain), Acad::eOk);
    acutRelRb(chain);
  }

  // Changes object `i`: its string (when `text` is given) and its colour (when not 0), in that
  // order or the other.
  void Change(size_t i, const wchar_t* text, int colour, bool colour_first = false) {
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenObject(entity, ids_[i], AcDb::kForWrite), Acad::eOk);
    if (colour_first && colour != 0) entity->setColorIndex(static_cast<Adesk::UInt16>(colour));
    if (text != nullptr) SetString(entity, text);
    if (!colour_first && colour != 0) entity->setColorIndex(static_cast<Adesk::UInt16>(colour));
    entity->close();
  }

  // "string/colour" of object `i`.
  std::wstring State(size_t i) {
    AcDbEntity* entity = nullptr;
    EXPECT_EQ(acdbOpenObject(entity, ids_[i], AcDb::kForRead), Acad::eOk);
    if (entity == nullptr) return L"?";
    resbuf* rb = entity->xData(L"RQ_ATTR");
    std::wstring text = rb && rb->rbnext ? rb->rbnext->resval.rstring : L"none";
    acutRelRb(rb);
    text += L"/" + std::to_wstring(entity->colorIndex());
    entity->close();
    return text;
  }

  AcDbDatabase db_;
  std::vector<AcDbObjectId> ids_;
};

TEST_F(UndoHistoryTest, XDataAloneAndXDataWithColourComeBackInEitherOrder) {
  AddLines(3);
  EnableUndo(db_, 10);

  StartUndoStep(db_, L"XDATA");
  Change(0, L"after", 0);
  StartUndoStep(db_, L"XDATA_THEN_COLOUR");
  Change(1, L"after", 3);
  StartUndoStep(db_, L"COLOUR_THEN_XDATA");
  Change(2, L"after", 5, /*colour_first=*/true);
  Change(2, L"again", 6);  // a second change in the same step keeps the first state
  StartUndoStep(db_, L"");
  ASSERT_EQ(UndoStepCount(db_), 3);

  EXPECT_EQ(UndoSteps(db_, 1), std::vector<std::wstring>{L"COLOUR_THEN_XDATA"});
  EXPECT_EQ(State(2), L"before/1");
  EXPECT_EQ(UndoSteps(db_, 1), std::vector<std::wstring>{L"XDATA_THEN_COLOUR"});
  EXPECT_EQ(State(1), L"before/1");
  EXPECT_EQ(UndoSteps(db_, 1), std::vector<std::wstring>{L"XDATA"});
  EXPECT_EQ(State(0), L"before/1");

  // Redo gives each back as it was after its step.
  EXPECT_EQ(RedoSteps(db_), std::vector<std::wstring>{L"XDATA"});
  EXPECT_EQ(State(0), L"after/1");
  EXPECT_EQ(RedoSteps(db_), std::vector<std::wstring>{L"XDATA_THEN_COLOUR"});
  EXPECT_EQ(State(1), L"after/3");
  EXPECT_EQ(RedoSteps(db_), std::vector<std::wstring>{L"COLOUR_THEN_XDATA"});
  EXPECT_EQ(State(2), L"again/6");

  // And undo again after redo: the entries swapped twice still hold the states before.
  EXPECT_EQ(UndoSteps(db_, 3).size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(State(i), L"before/1") << i;
}

TEST_F(UndoHistoryTest, ASecondPassThatRecoloursWhatTheFirstWroteIsTakenBackWhole) {
  // The check's way: one pass writes every element's XData, a later pass recolours them all,
  // so each object's XData-only entry lies far behind when its colour changes.
  AddLines(100);
  EnableUndo(db_, 10);
  StartUndoStep(db_, L"PASSES");
  for (size_t i = 0; i < ids_.size(); ++i) Change(i, L"after", 0);
  for (size_t i = ids_.size(); i-- > 0;) Change(i, nullptr, 4);
  // A third pass writes the XData once more: the state kept stays the one before the step.
  for (size_t i = 0; i < ids_.size(); i += 2) Change(i, L"again", 0);
  StartUndoStep(db_, L"");

  ASSERT_EQ(UndoSteps(db_, 1), std::vector<std::wstring>{L"PASSES"});
  for (size_t i = 0; i < ids_.size(); ++i) ASSERT_EQ(State(i), L"before/1") << i;
  ASSERT_EQ(RedoSteps(db_), std::vector<std::wstring>{L"PASSES"});
  for (size_t i = 0; i < ids_.size(); ++i) {
    ASSERT_EQ(State(i), i % 2 == 0 ? L"again/4" : L"after/4") << i;
  }
}

TEST_F(UndoHistoryTest, RefusedXDataLeavesNothingToGiveBackButTheStateBefore) {
  AddLines(3);
  EnableUndo(db_, 10);
  auto refused = [this](size_t i) {
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenObject(entity, ids_[i], AcDb::kForWrite), Acad::eOk);
    resbuf* chain = acutBuildList(1001, L"NOT_REGISTERED", 1000, L"x", 0);
    EXPECT_EQ(entity->setXData(chain), Acad::eRegappIdNotFound);
    acutRelRb(chain);
    entity->close();
  };
  StartUndoStep(db_, L"REFUSED_THEN_WRITTEN");
  refused(0);
  Change(0, L"after", 0);
  StartUndoStep(db_, L"REFUSED_ONLY");
  refused(1);
  StartUndoStep(db_, L"WRITTEN");
  Change(1, L"after", 2);
  StartUndoStep(db_, L"REFUSED_THEN_COLOUR");
  refused(2);
  Change(2, nullptr, 7);
  StartUndoStep(db_, L"");

  ASSERT_EQ(UndoSteps(db_, 4).size(), 4u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(State(i), L"before/1") << i;
  ASSERT_EQ(RedoSteps(db_).size(), 4u);
  EXPECT_EQ(State(0), L"after/1");
  EXPECT_EQ(State(1), L"after/2");
  EXPECT_EQ(State(2), L"before/7");
}

}  // namespace

TEST_F(UndoHistoryTest, AnErasedObjectComesBackAndRedoErasesItAgain) {
  AddLines(2);
  EnableUndo(db_, 10);
  auto erased = [this](size_t i) {
    AcDbObject* object = nullptr;
    EXPECT_EQ(acdbOpenObject(object, ids_[i], AcDb::kForRead, /*openErased=*/true), Acad::eOk);
    if (object == nullptr) return false;
    const bool is = object->isErased();
    object->close();
    return is;
  };
  StartUndoStep(db_, L"ERASE");
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenObject(entity, ids_[0], AcDb::kForWrite), Acad::eOk);
  SetString(entity, L"last words");
  ASSERT_EQ(entity->erase(), Acad::eOk);
  entity->close();
  StartUndoStep(db_, L"");
  ASSERT_TRUE(erased(0));

  ASSERT_EQ(UndoSteps(db_, 1), std::vector<std::wstring>{L"ERASE"});
  EXPECT_FALSE(erased(0));
  EXPECT_EQ(State(0), L"before/1");
  EXPECT_FALSE(erased(1));
  ASSERT_EQ(RedoSteps(db_), std::vector<std::wstring>{L"ERASE"});
  EXPECT_TRUE(erased(0));
  EXPECT_FALSE(erased(1));
}
