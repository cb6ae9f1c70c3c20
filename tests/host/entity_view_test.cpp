// Plain-text views of entities and of the drawing, as `show entity` and `show drawing` print them.
#include "host/user/entity_view.h"

#include <acdocman.h>
#include <dbmain.h>
#include <gtest/gtest.h>

#include "platform/win/text_encoding.h"
#include "tools/drawing_builder.h"

namespace host {
namespace {

class EntityViewTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::acad::OpenDocument(&db_, L"View.dwg"); }
  void TearDown() override { platform::acad::CloseDocument(); }
  AcDbDatabase db_{true, false};
};

TEST_F(EntityViewTest, ABlockReferenceShowsPropertiesAttributesAndXData) {
  tools::DrawingBuilder b(&db_);
  b.DefinePart(L"KK_PANEL", 40);
  const AcDbObjectId panel = b.AddPart(L"KK_PANEL", {12.5, -3, 90, 2}, L"P-1", L"2");
  ASSERT_FALSE(b.failed());
  const std::wstring handle = [&] {
    wchar_t buf[32];
    swprintf(buf, 32, L"%llX", static_cast<unsigned long long>(tools::HandleOf(panel)));
    return std::wstring(buf);
  }();
  EXPECT_EQ(DescribeEntity(&db_, tools::HandleOf(panel)),
            L"entity " + handle +
                L" INSERT\n"
                L"  layer 0\n"
                L"  colour 256\n"
                L"  block KK_PANEL\n"
                L"  position 12.5,-3,0\n"
                L"  rotation 90\n"
                L"  scale 2,2,2\n"
                L"  attribute ETAT 2\n"
                L"  attribute S001 P-1\n"
                L"  xdata RQ_LINK 1000 0\n"
                L"  xdata RQ_ATTR 1000 S001|P-1|2|1|55|0|\n");
  EXPECT_EQ(DescribeEntity(&db_, 0xFFFFF), L"entity FFFFF: no such entity\n");
}

TEST_F(EntityViewTest, TheDrawingListsModelSpaceInOrder) {
  tools::DrawingBuilder b(&db_);
  b.DefineSegment(L"RT10", 10);
  b.AddStraightRun(L"RT10", 0, 0, 20, 0, 2);
  ASSERT_FALSE(b.failed());
  const std::wstring view = DescribeDrawing(&db_);
  EXPECT_EQ(view.rfind(L"drawing: 2 entities\n", 0), 0u) << platform::WideToUtf8(view);
  const size_t first = view.find(L"position 0,0,0");
  const size_t second = view.find(L"position 10,0,0");
  ASSERT_NE(first, std::wstring::npos) << platform::WideToUtf8(view);
  ASSERT_NE(second, std::wstring::npos) << platform::WideToUtf8(view);
  EXPECT_LT(first, second);
  EXPECT_NE(view.find(L"xdata RQ_ATTR 1000 S002||2|1|55|0|"), std::wstring::npos);
  EXPECT_NE(view.find(L"  attribute S001\n"), std::wstring::npos) << platform::WideToUtf8(view);
}

}  // namespace
}  // namespace host
