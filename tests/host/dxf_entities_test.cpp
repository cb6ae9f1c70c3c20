// The table of modelled entity kinds: the reader's look-up by type name and the writer's by class.
#include "host/dxf/dxf_entities.h"
#include "platform/acad/kept_groups.h"

#include <dbelipse.h>
#include <dbents.h>
#include <dbhatch.h>
#include <dbpl.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "dxf_test_support.h"
#include "host/dxf/dxf_objects.h"
#include "host/dxf/dxf_reader.h"

namespace host {
namespace {

// A class of the drawing's own, made from a modelled one, as an add-in may define.
class TaggedLine : public AcDbLine {
  ACRX_DECLARE_MEMBERS(TaggedLine);
};
ACRX_DEFINE_MEMBERS(TaggedLine, AcDbLine, L"")

struct Modelled {
  std::string_view type;
  AcRxClass* database_class;
};

// The DXF types the database models and their classes, by the DXF reference.
const Modelled kModelled[] = {
    {"LINE", AcDbLine::desc()},
    {"POINT", AcDbPoint::desc()},
    {"CIRCLE", AcDbCircle::desc()},
    {"ARC", AcDbArc::desc()},
    {"LWPOLYLINE", AcDbPolyline::desc()},
    {"TEXT", AcDbText::desc()},
    {"ATTDEF", AcDbAttributeDefinition::desc()},
    {"ATTRIB", AcDbAttribute::desc()},
    {"INSERT", AcDbBlockReference::desc()},
    {"ELLIPSE", AcDbEllipse::desc()},
    {"HATCH", AcDbHatch::desc()},
};

TEST(DxfEntitiesTest, EachModelledTypeHasOneRowFoundByNameAndByClass) {
  for (const Modelled& m : kModelled) {
    const DxfEntityKind* by_name = DxfEntityKindNamed(m.type);
    ASSERT_NE(by_name, nullptr) << m.type;
    EXPECT_EQ(by_name->type, m.type);
    EXPECT_EQ(by_name->database_class(), m.database_class) << m.type;
    EXPECT_NE(by_name->read, nullptr) << m.type;
    EXPECT_NE(by_name->write, nullptr) << m.type;
    EXPECT_EQ(DxfEntityKindOf(m.database_class), by_name) << m.type;
  }
}

TEST(DxfEntitiesTest, OtherTypeNamesHaveNoRow) {
  // Types kept as read (some of them share a hash slot with a modelled name), names that differ
  // from a modelled one by case, length or a last letter, and none at all.
  for (std::string_view type :
       {"SEQEND", "VERTEX", "POLYLINE", "MTEXT", "LEADER", "IMAGE", "SHAPE", "MESH", "SECTION",
        "MLEADER", "line", "Line", "LIN", "LINES", "LINF", "INSERT ", "ATTRI", "ATTRIBS", ""})
    EXPECT_EQ(DxfEntityKindNamed(type), nullptr) << '"' << type << '"';
}

TEST(DxfEntitiesTest, ClassesGoToTheirOwnRowElseTheirNearestBase) {
  // Attributes and their definitions are texts, and have rows of their own.
  EXPECT_EQ(DxfEntityKindOf(AcDbAttribute::desc())->type, "ATTRIB");
  EXPECT_EQ(DxfEntityKindOf(AcDbAttributeDefinition::desc())->type, "ATTDEF");
  // A class without a row is written as its nearest modelled base.
  const TaggedLine line;
  const DxfEntityKind* tagged = DxfEntityKindOf(line.isA());
  ASSERT_NE(tagged, nullptr);
  EXPECT_EQ(tagged->type, "LINE");
  // Bases of the modelled classes, and what is kept as read, have none.
  EXPECT_EQ(DxfEntityKindOf(AcDbCurve::desc()), nullptr);
  EXPECT_EQ(DxfEntityKindOf(AcDbEntity::desc()), nullptr);
  EXPECT_EQ(DxfEntityKindOf(DxfUnknownEntity::desc()), nullptr);
  EXPECT_EQ(DxfEntityKindOf(nullptr), nullptr);
}

// The subclass markers an entity keeps from the file, in order.
std::vector<std::wstring> KeptMarkers(AcDbDatabase& db, const wchar_t* handle) {
  std::vector<std::wstring> markers;
  AcDbEntity* e = nullptr;
  EXPECT_EQ(acdbOpenObject(e, testing::IdOf(db, handle), AcDb::kForRead), Acad::eOk) << handle;
  if (e == nullptr) return markers;
  for (const platform::acad::RawGroup& g : platform::acad::KeptGroups(*e))
    if (g.code == 100) markers.push_back(g.value.wide());
  e->close();
  return markers;
}

TEST(DxfEntitiesTest, EntitiesReadKeepOnlyTheMarkersTheWriterCannotGiveBack) {
  const std::vector<std::pair<int, std::string>> extra = {
      {0, "CIRCLE"},
      {5, "50"},
      {330, "1F"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbCircle"},
      {10, "0.0"},
      {20, "0.0"},
      {30, "0.0"},
      {40, "1.0"},
      {0, "ARC"},
      {5, "51"},
      {330, "1F"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbCircle"},
      {10, "0.0"},
      {20, "0.0"},
      {30, "0.0"},
      {40, "1.0"},
      {100, "AcDbArc"},
      {50, "0.0"},
      {51, "90.0"},
      {0, "LWPOLYLINE"},
      {5, "52"},
      {330, "1F"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbPolyline"},
      {90, "2"},
      {70, "0"},
      {10, "0.0"},
      {20, "0.0"},
      {10, "1.0"},
      {20, "0.0"},
      {0, "ELLIPSE"},
      {5, "53"},
      {330, "1F"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbEllipse"},
      {10, "0.0"},
      {20, "0.0"},
      {30, "0.0"},
      {11, "2.0"},
      {21, "0.0"},
      {31, "0.0"},
      {40, "0.5"},
      {41, "0.0"},
      {42, "6.283185307179586"},
      {0, "INSERT"},
      {5, "57"},
      {330, "1F"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbBlockReference"},
      {2, "RT100"},
      {10, "0.0"},
      {20, "0.0"},
      {30, "0.0"},
      // A text has two AcDbText subclasses: a marker that comes twice is kept, so that each
      // goes back in its place.
      {0, "TEXT"},
      {5, "54"},
      {330, "1F"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbText"},
      {10, "0.0"},
      {20, "0.0"},
      {30, "0.0"},
      {40, "2.5"},
      {1, "T"},
      {100, "AcDbText"},
      // A marker followed by groups the database does not model (true colour) is kept with
      // them, and one the writer does not know (a later subclass) too.
      {0, "LINE"},
      {5, "55"},
      {330, "1F"},
      {100, "AcDbEntity"},
      {8, "0"},
      {420, "255"},
      {100, "AcDbLine"},
      {10, "0.0"},
      {20, "0.0"},
      {30, "0.0"},
      {11, "1.0"},
      {21, "0.0"},
      {31, "0.0"},
      {100, "AcDbLineExtra"},
      // A solid hatch keeps every marker.
      {0, "HATCH"},
      {5, "56"},
      {330, "1F"},
      {100, "AcDbEntity"},
      {8, "0"},
      {100, "AcDbHatch"},
      {10, "0.0"},
      {20, "0.0"},
      {30, "0.0"},
      {210, "0.0"},
      {220, "0.0"},
      {230, "1.0"},
      {2, "SOLID"},
      {70, "1"},
      {71, "0"},
      {91, "1"},
      {92, "2"},
      {72, "0"},
      {73, "1"},
      {93, "3"},
      {10, "0.0"},
      {20, "0.0"},
      {10, "1.0"},
      {20, "0.0"},
      {10, "0.0"},
      {20, "1.0"},
      {97, "0"},
      {75, "0"},
      {76, "1"},
      {98, "0"},
  };
  DxfReadResult r = ReadDxf(testing::DxfText(testing::SmallDrawing(extra)));
  ASSERT_TRUE(r.ok()) << r.error;
  AcDbDatabase& db = *r.database;
  using Markers = std::vector<std::wstring>;
  // Plain markers: the block's POINT (22) and ATTDEF (23), the ATTRIB (31), the LINE (33), and
  // the INSERT, CIRCLE and LWPOLYLINE above.
  for (const wchar_t* plain : {L"22", L"23", L"31", L"33", L"50", L"52", L"57"})
    EXPECT_EQ(KeptMarkers(db, plain), Markers{}) << plain;
  // An angle's text as read is kept in its subclass, whose marker then stays: the rotation of
  // the drawing's INSERT (30), the ARC's angles, the ELLIPSE's ends.
  EXPECT_EQ(KeptMarkers(db, L"30"), Markers{L"AcDbBlockReference"});
  EXPECT_EQ(KeptMarkers(db, L"51"), Markers{L"AcDbArc"});
  EXPECT_EQ(KeptMarkers(db, L"53"), Markers{L"AcDbEllipse"});
  EXPECT_EQ(KeptMarkers(db, L"54"), (Markers{L"AcDbText", L"AcDbText"}));
  EXPECT_EQ(KeptMarkers(db, L"55"), (Markers{L"AcDbEntity", L"AcDbLineExtra"}));
  EXPECT_EQ(KeptMarkers(db, L"56"), (Markers{L"AcDbEntity", L"AcDbHatch"}));
}

}  // namespace
}  // namespace host
