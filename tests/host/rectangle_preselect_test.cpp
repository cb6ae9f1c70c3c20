// Rectangles dragged at the command prompt: `preselect window|crossing` in a session, on a
// drawing of the route tools, seen through the pick-first set of the next command.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include <dbents.h>
#include <dbsymtb.h>
#include "platform/win/text_encoding.h"

#include "host/session/session.h"
#include "test_addin_support.h"
#include "tools/drawing_builder.h"
#include "tools/harnex_session.h"

namespace host {
namespace {

std::string Narrow(const std::wstring& s) {
  return platform::WideToUtf8(s);
}

// The rectangle of every case is the square from (0,0) to (30,30). The drawing holds one entity
// of each kind of case, in this order of drawing, which is the order of a selection.
struct Drawing {
  AcDbObjectId inside;    // route element (5,1)-(15,1); its invisible attributes hang below y=0
  AcDbObjectId crossing;  // line (20,10)-(40,10) across the right edge
  AcDbObjectId on_edge;   // line along the top edge, (0,30)-(30,30)
  AcDbObjectId touching;  // line (30,20)-(45,20): outside, starting on the right edge
  AcDbObjectId outside;   // line (40,40)-(50,50)
  AcDbObjectId passing;   // line (25,40)-(40,25): its box overlaps the square, the line misses it
  AcDbObjectId part;      // part block of 4 x 4 at (30,5): half of it inside
  AcDbObjectId frozen;    // line (10,20)-(20,20) on a frozen layer
  AcDbObjectId off;       // line (10,22)-(20,22) on a layer switched off
  AcDbObjectId erased;    // line (10,25)-(20,25), erased
};

// A new layer of model space's drawing, frozen or switched off.
void AddLayer(AcDbDatabase* db, const wchar_t* name, bool frozen, bool off) {
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(db->getLayerTable(table, AcDb::kForWrite), Acad::eOk);
  auto* record = new AcDbLayerTableRecord;
  record->setName(name);
  record->setIsFrozen(frozen);
  record->setIsOff(off);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, record), Acad::eOk);
  record->close();
  table->close();
}

// Opens an entity for write and puts it on `layer`, or erases it when `layer` is null.
void Change(AcDbObjectId id, const wchar_t* layer) {
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(layer ? e->setLayer(layer) : e->erase(), Acad::eOk);
  e->close();
}

void Build(AcDbDatabase* db, Drawing* d) {
  tools::DrawingBuilder b(db);
  b.DefineSegment(L"RT10", 10);
  b.DefinePart(L"LOAD4", 4);
  d->inside = b.AddRouteElement(L"RT10", {5, 1});
  d->crossing = b.AddLine(20, 10, 40, 10);
  d->on_edge = b.AddLine(0, 30, 30, 30);
  d->touching = b.AddLine(30, 20, 45, 20);
  d->outside = b.AddLine(40, 40, 50, 50);
  d->passing = b.AddLine(25, 40, 40, 25);
  d->part = b.AddPart(L"LOAD4", {30, 5}, L"L-1");
  d->frozen = b.AddLine(10, 20, 20, 20);
  d->off = b.AddLine(10, 22, 20, 22);
  d->erased = b.AddLine(10, 25, 20, 25);
  ASSERT_FALSE(b.failed()) << Narrow(b.error());
  AddLayer(db, L"COLD", true, false);
  AddLayer(db, L"DARK", false, true);
  Change(d->frozen, L"COLD");
  Change(d->off, L"DARK");
  Change(d->erased, nullptr);
}

// An entity's handle as scripts and HXPICKED write it.
std::wstring Hex(AcDbObjectId id) {
  wchar_t handle[20];
  std::swprintf(handle, 20, L"%llX", static_cast<unsigned long long>(tools::HandleOf(id)));
  return handle;
}

// What HXPICKED prints for a pick-first set of these entities.
std::wstring Picked(const std::vector<AcDbObjectId>& ids) {
  if (ids.empty()) return L"picked:none\n";
  std::wstring line = L"picked:";
  for (const AcDbObjectId& id : ids) line += L" " + Hex(id);
  return line + L"\n";
}

class RectanglePreselectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session::Options options = tools::HarnexSessionOptions();
    tools::SkipAtStart(&options, tools::kAddinModuleName);  // the tests' own application reads
    options.extra_images = {testing::TestAddinImage(false)};
    options.load_at_start = {L"HxTest.arx"};
    options.drawing = [this](AcDbDatabase* db) { Build(db, &d_); };
    session_ = std::make_unique<Session>(std::move(options));
    ASSERT_TRUE(session_->Start());
    session_->ClearTranscript();
  }

  // The transcript of `script`, which must run to its end.
  std::wstring Run(const std::wstring& script) {
    session_->ClearTranscript();
    EXPECT_EQ(session_->RunScript(script), kExitOk) << Narrow(script) << "\n"
                                                    << Narrow(session_->stop_reason());
    return session_->transcript();
  }

  Drawing d_;
  std::unique_ptr<Session> session_;
};

constexpr const wchar_t* kCommand = L"\nコマンド: HXPICKED\n";

TEST_F(RectanglePreselectTest, AWindowTakesWhatLiesWhollyInsideEdgesIncluded) {
  // In: the element whose line lies inside (its invisible attributes are not drawn, so they do
  // not count), the line along the edge, and lines on frozen or switched-off layers, which the
  // editor's window selection takes too. Out: whatever reaches beyond an edge, even from on
  // the edge (the crossing and touching lines, half the part block), what lies outside, and
  // the erased line.
  const std::wstring window = Picked({d_.inside, d_.on_edge, d_.frozen, d_.off});
  EXPECT_EQ(Run(L"preselect window 0,0 30,30\ncommand HXPICKED"), kCommand + window);
  // The corners may come in any order, as a box may be dragged from any corner.
  EXPECT_EQ(Run(L"preselect window 30,30 0,0\ncommand HXPICKED\n"
                L"preselect WINDOW 0, 30 30 ,0\ncommand HXPICKED"),
            kCommand + window + kCommand + window);
  // The pick-first set is the next command's only: the one after it has none.
  EXPECT_EQ(Run(L"preselect window 0,0 30,30\ncommand HXPICKED\ncommand HXPICKED"),
            kCommand + window + kCommand + Picked({}));
}

TEST_F(RectanglePreselectTest, ACrossingAlsoTakesWhatCrossesOrTouchesTheEdge) {
  // The line that passes by the corner is not taken though its box overlaps the square: a
  // crossing tests a line itself. A block reference is taken whole when part of it is inside.
  const std::wstring crossing =
      Picked({d_.inside, d_.crossing, d_.on_edge, d_.touching, d_.part, d_.frozen, d_.off});
  EXPECT_EQ(Run(L"preselect crossing 0,0 30,30\ncommand HXPICKED\n"
                L"preselect crossing 30,0 0,30\ncommand HXPICKED"),
            kCommand + crossing + kCommand + crossing);
  // A small box round the part's middle takes no entity of its block by itself: a window
  // takes nothing there, a crossing the part.
  EXPECT_EQ(Run(L"preselect window 29,4 31,6\ncommand HXPICKED\n"
                L"preselect crossing 29,4 31,6\ncommand HXPICKED"),
            kCommand + Picked({}) + kCommand + Picked({d_.part}));
  // The passing line's own rectangle takes it, of course.
  EXPECT_EQ(Run(L"preselect crossing 32,32 33,33\ncommand HXPICKED"),
            kCommand + Picked({d_.passing}));
}

TEST_F(RectanglePreselectTest, NothingInsideClearsAnEarlierSelectionAndSaysNothing) {
  // The later preselection replaces the earlier one, also when it selects nothing; neither
  // prints a word.
  EXPECT_EQ(Run(L"preselect " + Hex(d_.outside) +
                L"\npreselect window 100,100 200,200\ncommand HXPICKED\n"
                L"preselect crossing 0,0 30,30\npreselect crossing -10,-10 -1,-1\n"
                L"command HXFIRST"),
            kCommand + Picked({}) + L"\nコマンド: HXFIRST\npickfirst:none\n");
  // And a rectangle that selects something replaces handles given before it.
  EXPECT_EQ(Run(L"preselect " + Hex(d_.outside) + L"\npreselect window 4,0 16,2\ncommand HXPICKED"),
            kCommand + Picked({d_.inside}));
}

TEST_F(RectanglePreselectTest, ALineThatCannotBeReadStopsTheScriptBeforeAnythingRuns) {
  const struct {
    const wchar_t* line;
    const wchar_t* error;
  } cases[] = {
      {L"preselect window 0,0", L"preselect window: expected two corners X1,Y1 X2,Y2, got \"0,0\""},
      {L"preselect crossing 0,0 a,b", L"preselect crossing: expected a corner X,Y, got \"a,b\""},
      {L"preselect box 0,0 1,1", L"preselect: expected H[,H...], window or crossing, got \"box\""},
  };
  for (const auto& c : cases) {
    session_->ClearTranscript();
    EXPECT_EQ(session_->RunScript(std::wstring(c.line) + L"\ncommand HXPICKED"), kExitHostError);
    ASSERT_FALSE(session_->host_errors().empty());
    EXPECT_EQ(session_->host_errors().back(), std::wstring(L"line 1: ") + c.error);
    EXPECT_EQ(session_->transcript(), L"") << Narrow(c.line);
  }
}

}  // namespace
}  // namespace host
