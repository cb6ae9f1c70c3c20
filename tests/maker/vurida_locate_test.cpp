// The pick of one route entity: types, retries, empty response and cancel.
#include <gtest/gtest.h>

#include <adsdef.h>
#include <dbents.h>
#include <dbmain.h>
#include "platform/win/user_session.h"

#include <VuRida.h>
#include "drawing_support.h"
#include "platform/acad/selection_set.h"

namespace {

platform::UserAction Pick(AcDbObjectId id) {
  platform::UserAction action;
  action.kind = platform::ActionKind::kPick;
  action.handles = {id.handle().value()};
  return action;
}
platform::UserAction Key(platform::ActionKind kind) {
  platform::UserAction action;
  action.kind = kind;
  return action;
}

TEST(VuRidaLocateTest, OnlyBlockReferencesAreTakenWhenAsked) {
  maker_test::TestDrawing drawing;
  drawing.AddBlock(L"RT1", {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)});
  const AcDbObjectId route = drawing.AddReference(L"RT1", AcGePoint3d(0, 0, 0));
  auto* line = new AcDbLine(AcGePoint3d(0, 5, 0), AcGePoint3d(10, 5, 0));
  AcDbObjectId line_id;
  ASSERT_EQ(0, VuRida_addEntity(line, line_id));
  line->close();

  platform::ActionQueueSession session;
  platform::ScopedUserSession scope(&session);
  session.Push(Pick(line_id));  // a line: asked again
  session.Push(Pick(route));
  session.Push(Key(platform::ActionKind::kEnter));
  session.Push(Key(platform::ActionKind::kEsc));
  CUIntArray types;
  types.Add(kVuRidaBlockReference);
  AcDbObjectIdArray ids;
  ASSERT_EQ(RTNORM,
            VuRida_locate(L"\n配線経路を選択:", ids, &types, 0, 1, 1, nullptr, nullptr, nullptr));
  ASSERT_EQ(1, ids.length());
  EXPECT_EQ(route, ids[0]);
  // The prompt was asked twice: the line was refused.
  const std::wstring& transcript = session.transcript();
  const size_t first = transcript.find(L"配線経路を選択:");
  ASSERT_NE(std::wstring::npos, first);
  EXPECT_NE(std::wstring::npos, transcript.find(L"配線経路を選択:", first + 1));
  EXPECT_EQ(RTNONE,
            VuRida_locate(L"\n配線経路を選択:", ids, &types, 0, 1, 1, nullptr, nullptr, nullptr));
  EXPECT_EQ(0, ids.length());
  EXPECT_EQ(RTCAN,
            VuRida_locate(L"\n配線経路を選択:", ids, &types, 0, 1, 1, nullptr, nullptr, nullptr));
  EXPECT_EQ(0, drawing.OpenObjects());
}

TEST(VuRidaLocateTest, ThePickFirstSelectionAnswersOnceWithoutAPrompt) {
  maker_test::TestDrawing drawing;
  drawing.AddBlock(L"RT1", {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)});
  const AcDbObjectId first = drawing.AddReference(L"RT1", AcGePoint3d(0, 0, 0));
  const AcDbObjectId second = drawing.AddReference(L"RT1", AcGePoint3d(10, 0, 0));
  auto* line = new AcDbLine(AcGePoint3d(0, 5, 0), AcGePoint3d(10, 5, 0));
  AcDbObjectId line_id;
  ASSERT_EQ(0, VuRida_addEntity(line, line_id));
  line->close();

  platform::ActionQueueSession session;
  platform::ScopedUserSession scope(&session);
  session.Push(Pick(first));
  CUIntArray types;
  types.Add(kVuRidaBlockReference);
  AcDbObjectIdArray ids;
  // Two references and a line chosen: both references, in selection order, and no prompt.
  platform::acad::SetPickfirst({second, line_id, first});
  ASSERT_EQ(RTNORM,
            VuRida_locate(L"\n配線経路を選択:", ids, &types, 0, 1, 1, nullptr, nullptr, nullptr));
  ASSERT_EQ(2, ids.length());
  EXPECT_EQ(second, ids[0]);
  EXPECT_EQ(first, ids[1]);
  EXPECT_EQ(session.transcript().find(L"配線経路を選択:"), std::wstring::npos);
  EXPECT_TRUE(platform::acad::Pickfirst().empty()) << "the selection is used up";
  // Only the line chosen: none is left, still without a prompt.
  platform::acad::SetPickfirst({line_id});
  ASSERT_EQ(RTNORM,
            VuRida_locate(L"\n配線経路を選択:", ids, &types, 0, 1, 1, nullptr, nullptr, nullptr));
  EXPECT_EQ(0, ids.length());
  // Then the user is asked.
  ASSERT_EQ(RTNORM,
            VuRida_locate(L"\n配線経路を選択:", ids, &types, 0, 1, 1, nullptr, nullptr, nullptr));
  ASSERT_EQ(1, ids.length());
  EXPECT_EQ(first, ids[0]);
  EXPECT_NE(session.transcript().find(L"配線経路を選択:"), std::wstring::npos);
  EXPECT_EQ(0, drawing.OpenObjects());
}

}  // namespace
