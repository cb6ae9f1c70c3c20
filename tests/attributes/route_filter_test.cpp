// The route element selection filter, applied by the drawing's own selection.
#include "attributes/route_filter.h"

#include <acedads.h>
#include <gtest/gtest.h>

#include <set>

#include "attributes_support.h"

namespace {

class RouteFilterTest : public attributes_test::RouteDrawingTest {};

TEST_F(RouteFilterTest, SelectsEntitiesWithLinkOrRecordData) {
  AcDbObjectId both, link_only, attr_only, neither, line;
  StartSession([&](tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT1", 100);
    both = b.AddRouteElement(L"RT1", {0, 0});
    link_only = b.AddRouteElement(L"RT1", {100, 0});
    b.SetStrings(link_only, L"RQ_ATTR", {});
    attr_only = b.AddRouteElement(L"RT1", {200, 0});
    b.SetStrings(attr_only, L"RQ_LINK", {});
    neither = b.AddRouteElement(L"RT1", {300, 0});
    b.SetStrings(neither, L"RQ_LINK", {});
    b.SetStrings(neither, L"RQ_ATTR", {});
    line = b.AddLine(0, 50, 100, 50);
  });

  ResbufChain filter = NewRouteElementFilter();
  ASSERT_NE(filter, nullptr);
  ads_name ss;
  ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, filter.get(), ss), RTNORM);
  Adesk::Int32 count = 0;
  ASSERT_EQ(acedSSLength(ss, &count), RTNORM);
  std::set<AcDbObjectId> selected;
  for (Adesk::Int32 i = 0; i < count; ++i) {
    ads_name name;
    AcDbObjectId id;
    ASSERT_EQ(acedSSName(ss, i, name), RTNORM);
    ASSERT_EQ(acdbGetObjectId(id, name), Acad::eOk);
    selected.insert(id);
  }
  acedSSFree(ss);
  EXPECT_EQ(selected, (std::set<AcDbObjectId>{both, link_only, attr_only}));
}

}  // namespace
