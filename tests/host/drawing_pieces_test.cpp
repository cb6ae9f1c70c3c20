// The drawing entity by entity: what a change to the database redraws, and the pages' store of
// pieces with its deltas between revisions.
#include "host/svg/drawing_pieces.h"

#include <dbents.h>
#include <dbsymtb.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/session/session.h"
#include "tools/drawing_builder.h"
#include "tools/harnex_session.h"
#include "web/drawing_store.h"

namespace host {
namespace {

std::string Hex(AcDbObjectId id) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(id.handle().value()));
  return buf;
}

std::vector<std::string> Handles(const std::vector<DrawingPiece>& pieces) {
  std::vector<std::string> handles;
  for (const DrawingPiece& piece : pieces) handles.push_back(piece.handle);
  std::sort(handles.begin(), handles.end());
  return handles;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

template <typename T, typename F>
void Change(AcDbObjectId id, F&& change) {
  T* object = nullptr;
  ASSERT_EQ(acdbOpenObject(object, id, AcDb::kForWrite), Acad::eOk);
  change(object);
  object->close();
}

class DrawingPiecesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session::Options options = tools::HarnexSessionOptions();
    tools::SkipAtStart(&options, tools::kHostModuleName);
    tools::SkipAtStart(&options, tools::kAddinModuleName);
    options.drawing = [this](AcDbDatabase* db) {
      tools::DrawingBuilder b(db);
      b.DefineSegment(L"RT1000", 1000);
      first_ = b.AddRouteElement(L"RT1000", {0, 0});
      second_ = b.AddRouteElement(L"RT1000", {1000, 0});
      line_ = b.AddLine(0, 500, 2000, 500);
      other_line_ = b.AddLine(0, 800, 2000, 800);
    };
    session_ = std::make_unique<Session>(options);
    ASSERT_TRUE(session_->Start());
    db_ = session_->database();
    pieces_.Attach(db_);
  }

  std::string MarkupOf(AcDbObjectId id) const {
    for (const DrawingPiece* piece : pieces_.Pieces())
      if (piece->handle == Hex(id)) return piece->markup;
    return "";
  }

  std::unique_ptr<Session> session_;
  AcDbDatabase* db_ = nullptr;
  DrawingPieces pieces_;
  AcDbObjectId first_, second_, line_, other_line_;
};

TEST_F(DrawingPiecesTest, EachTopLevelEntityIsOnePieceAndOnlyWhatChangedIsDrawnAgain) {
  const std::vector<const DrawingPiece*> all = pieces_.Pieces();
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0]->handle, Hex(first_));
  // A line is one element, which carries the handle itself.
  EXPECT_EQ(all[2]->markup.rfind("<line data-handle=\"" + Hex(line_) + "\" x1=\"0\" y1=\"-500\"", 0),
            0u)
      << all[2]->markup;
  EXPECT_EQ(all[2]->points, "");
  // A route element: its line, its invisible attributes left out, and its two connection
  // points in one path apart, each with the handle.
  EXPECT_EQ(all[0]->markup.rfind("<line data-handle=\"" + Hex(first_) + "\" x1=\"0\" y1=\"0\"", 0),
            0u)
      << all[0]->markup;
  EXPECT_EQ(all[0]->points.rfind("<path data-handle=\"" + Hex(first_) +
                                     "\" class=\"point\" d=\"M0 0 h0 M1000 0 h0\"",
                                 0),
            0u)
      << all[0]->points;
  EXPECT_TRUE(pieces_.TakeChanges().empty());

  // A colour: that entity only, drawn in its new colour.
  Change<AcDbLine>(line_, [](AcDbLine* line) { line->setColorIndex(1); });
  DrawingChanges changes = pieces_.TakeChanges();
  EXPECT_EQ(Handles(changes.changed), std::vector<std::string>{Hex(line_)});
  EXPECT_TRUE(changes.added.empty() && changes.erased.empty());
  EXPECT_NE(changes.changed[0].markup.find("stroke=\"#ff0000\""), std::string::npos);

  // XData that draws nothing: no change at all.
  tools::DrawingBuilder b(db_);
  ASSERT_TRUE(b.SetStrings(first_, L"RQ_ATTR", {L"S004|1L-1|2|1|55|0|"}));
  EXPECT_TRUE(pieces_.TakeChanges().empty());

  // An attribute of a reference: the reference is drawn again.
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, second_, AcDb::kForRead), Acad::eOk);
  const std::vector<AcDbObjectId> attributes = ref->attributeIds();
  ref->close();
  ASSERT_FALSE(attributes.empty());
  Change<AcDbAttribute>(attributes[0], [](AcDbAttribute* a) {
    a->setInvisible(false);
    a->setTextString(L"新しい値");
  });
  changes = pieces_.TakeChanges();
  EXPECT_EQ(Handles(changes.changed), std::vector<std::string>{Hex(second_)});

  // Added, then erased.
  const AcDbObjectId added = b.AddLine(0, 0, 10, 10);
  changes = pieces_.TakeChanges();
  EXPECT_EQ(Handles(changes.added), std::vector<std::string>{Hex(added)});
  Change<AcDbLine>(added, [](AcDbLine* line) { line->erase(); });
  Change<AcDbLine>(other_line_, [](AcDbLine* line) { line->erase(); });
  changes = pieces_.TakeChanges();
  EXPECT_EQ(Sorted(changes.erased), Sorted({Hex(added), Hex(other_line_)}));
  EXPECT_EQ(pieces_.Pieces().size(), 3u);
  EXPECT_EQ(MarkupOf(other_line_), "");

  // Unerased: back.
  AcDbObject* object = nullptr;
  ASSERT_EQ(acdbOpenObject(object, other_line_, AcDb::kForWrite, true), Acad::eOk);
  object->erase(false);
  object->close();
  EXPECT_EQ(Handles(pieces_.TakeChanges().added), std::vector<std::string>{Hex(other_line_)});
}

TEST_F(DrawingPiecesTest, LayersAndBlockDefinitionsRedrawWhatShowsThroughThem) {
  // An entity inside the segment's block: both references change, the lines do not.
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(db_->getBlockTable(table, AcDb::kForRead), Acad::eOk);
  AcDbObjectId block;
  ASSERT_EQ(table->getAt(L"RT1000", block), Acad::eOk);
  table->close();
  AcDbBlockTableRecord* record = nullptr;
  ASSERT_EQ(acdbOpenObject(record, block, AcDb::kForRead), Acad::eOk);
  const std::vector<AcDbObjectId> inside = record->entityIds();
  record->close();
  AcDbObjectId block_line;
  for (const AcDbObjectId& id : inside) {
    AcDbLine* line = nullptr;
    if (acdbOpenObject(line, id, AcDb::kForRead) != Acad::eOk) continue;
    block_line = id;
    line->close();
  }
  ASSERT_FALSE(block_line.isNull());
  Change<AcDbLine>(block_line, [](AcDbLine* line) { line->setColorIndex(3); });
  DrawingChanges changes = pieces_.TakeChanges();
  EXPECT_EQ(Handles(changes.changed), Sorted({Hex(first_), Hex(second_)}));

  // The lines' layer: the lines, ByLayer, take its colour.
  AcDbObjectId layer;
  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, line_, AcDb::kForRead), Acad::eOk);
  layer = line->layerId();
  line->close();
  Change<AcDbLayerTableRecord>(layer, [](AcDbLayerTableRecord* r) {
    AcCmColor c;
    c.setColorIndex(5);
    r->setColor(c);
  });
  changes = pieces_.TakeChanges();
  EXPECT_EQ(Handles(changes.changed), Sorted({Hex(line_), Hex(other_line_)}));

  // The connection points' layer: only the points of the route elements draw otherwise.
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db_->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  AcDbObjectId connect;
  ASSERT_EQ(layers->getAt(tools::DrawingBuilder::kConnectLayer, connect), Acad::eOk);
  layers->close();
  const std::string line_before = MarkupOf(first_);
  Change<AcDbLayerTableRecord>(connect, [](AcDbLayerTableRecord* r) {
    AcCmColor c;
    c.setColorIndex(4);
    r->setColor(c);
  });
  changes = pieces_.TakeChanges();
  EXPECT_EQ(Handles(changes.changed), Sorted({Hex(first_), Hex(second_)}));
  ASSERT_FALSE(changes.changed.empty());
  EXPECT_EQ(changes.changed[0].markup, line_before);
  EXPECT_NE(changes.changed[0].points.find("#00ffff"), std::string::npos);

  // A new block and a reference to it, made in one step: only the reference is new.
  tools::DrawingBuilder b(db_);
  b.DefinePart(L"P_NEW", 200);
  const AcDbObjectId part = b.AddPart(L"P_NEW", {5000, 0}, L"P-9");
  changes = pieces_.TakeChanges();
  EXPECT_EQ(Handles(changes.added), std::vector<std::string>{Hex(part)});
  EXPECT_TRUE(changes.changed.empty());
}

TEST_F(DrawingPiecesTest, AnEntityStillOpenForWriteIsDrawnOnceClosed) {
  AcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(acdbOpenObject(space, db_->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 5, 0));
  AcDbObjectId id;
  ASSERT_EQ(space->appendAcDbEntity(id, line), Acad::eOk);
  space->close();
  EXPECT_TRUE(pieces_.TakeChanges().empty());
  line->setColorIndex(2);
  line->close();
  const DrawingChanges changes = pieces_.TakeChanges();
  ASSERT_EQ(Handles(changes.added), std::vector<std::string>{Hex(id)});
  EXPECT_NE(changes.added[0].markup.find("#ffff00"), std::string::npos);
}

TEST(DrawingStoreTest, PagesGetTheDeltasSinceTheirRevisionOrAreToldToLoadAgain) {
  web::DrawingStore store;
  DrawingPiece a{"A", "<g data-handle=\"A\">a</g>", "<path data-handle=\"A\"/>"},
      b{"B", "<g data-handle=\"B\">b</g>", ""};
  store.Load({&a, &b});
  const uint64_t loaded = store.revision();
  EXPECT_EQ(store.DeltasSince(loaded), "[]");
  // Nothing changed: no revision.
  store.Change({}, "", nullptr);
  EXPECT_EQ(store.revision(), loaded);

  DrawingChanges changes;
  changes.changed.push_back({"A", "<g data-handle=\"A\">a2</g>", ""});
  changes.added.push_back({"C", "<g data-handle=\"C\">c</g>", "<path data-handle=\"C\"/>"});
  changes.erased.push_back("B");
  store.Change(changes, "<g data-temporary=\"0\">t</g>", nullptr);
  const auto deltas = nlohmann::json::parse(store.DeltasSince(loaded));
  ASSERT_EQ(deltas.size(), 1u);
  EXPECT_EQ(deltas[0]["base"], loaded);
  EXPECT_EQ(deltas[0]["revision"], loaded + 1);
  EXPECT_EQ(deltas[0]["added"],
            nlohmann::json::parse(
                R"([["C", "<g data-handle=\"C\">c</g>", "<path data-handle=\"C\"/>"]])"));
  EXPECT_EQ(deltas[0]["erased"], nlohmann::json::parse(R"(["B"])"));
  EXPECT_EQ(deltas[0]["temporary"], "<g data-temporary=\"0\">t</g>");
  EXPECT_FALSE(deltas[0].contains("band"));
  // The whole drawing: the changed piece where it was, the new one last, the erased one gone.
  // Its text: a line of JSON, the markup, a NUL, the points.
  const std::string text = store.Whole();
  const size_t line_end = text.find('\n');
  ASSERT_NE(line_end, std::string::npos);
  const auto head = nlohmann::json::parse(text.substr(0, line_end));
  EXPECT_EQ(head["revision"], loaded + 1);
  EXPECT_EQ(head["temporary"], "<g data-temporary=\"0\">t</g>");
  EXPECT_EQ(text.substr(line_end + 1),
            std::string("<g data-handle=\"A\">a2</g><g data-handle=\"C\">c</g>") + '\0' +
                "<path data-handle=\"C\"/>");

  // The temporary entities are sent only when they change; the band likewise.
  const std::string band = "<path d=\"M0 0 L1 1\"/>";
  store.Change({}, "<g data-temporary=\"0\">t</g>", &band);
  const auto second = nlohmann::json::parse(store.DeltasSince(loaded + 1));
  ASSERT_EQ(second.size(), 1u);
  EXPECT_FALSE(second[0].contains("temporary"));
  EXPECT_EQ(second[0]["band"], band);
  EXPECT_EQ(nlohmann::json::parse(store.DeltasSince(loaded)).size(), 2u);

  // A page further behind than the deltas kept loads the whole drawing again.
  for (size_t i = 0; i < web::DrawingStore::kKeptDeltas + 1; ++i) {
    store.Change({}, std::to_string(i), nullptr);
  }
  EXPECT_EQ(store.DeltasSince(loaded), "{\"reload\":true}");
  EXPECT_EQ(nlohmann::json::parse(store.DeltasSince(store.revision() - 1)).size(), 1u);
}

}  // namespace
}  // namespace host
