// Wiring marks over a drawing's picture: which elements carry a system, and the band along a
// segment and through a fitting, placed with Y flipped.
#include "tools/svg_wiring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/drawing_builder.h"
#include "host/session/session.h"
#include "host/svg/svg_renderer.h"
#include "tools/harnex_session.h"

namespace host {
namespace {

using Strings = std::vector<std::wstring>;

class SvgWiringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host::Session::Options options = tools::HarnexSessionOptions();
    tools::SkipAtStart(&options, tools::kHostModuleName);
    tools::SkipAtStart(&options, tools::kAddinModuleName);
    options.drawing = [this](AcDbDatabase* db) {
      tools::DrawingBuilder b(db);
      b.DefineSegment(L"RT100", 100);
      b.DefineTee(L"RB_T10", 10);
      segment_ = b.AddRouteElement(L"RT100", {0, 0, 90});  // (0,0) up to (0,100)
      tee_ = b.AddRouteElement(L"RB_T10", {200, 50});      // arms to (190,50) (210,50) (200,60)
      bare_ = b.AddRouteElement(L"RT100", {300, 0});
      b.SetStrings(segment_, L"RQ_ATTR",
                   {L"S501|E1|2|1|55|0|", L"S004|1L-2|2|1|55|0|", L"S002|VVF|2|1|55|0|",
                    L"PX02|1L-3!VVF!L-2!E2!|2|1|55|0|", L"PX03|!X!Y!Z!|2|1|55|0|"});
      b.SetStrings(tee_, L"RQ_ATTR", {L"S004||2|1|55|0|", L"PX02|1P-1!C!P!M1!|2|1|55|0|"});
      error_ = b.error();
    };
    session_ = std::make_unique<Session>(options);
    ASSERT_TRUE(session_->Start());
    ASSERT_EQ(error_, L"");
  }
  std::string Marked(const Strings& systems) {
    AcDbDatabase& db = *session_->database();
    return tools::AddWiringMarks(RenderSvg(db), db, systems);
  }

  std::unique_ptr<Session> session_;
  std::wstring error_;
  AcDbObjectId segment_, tee_, bare_;
};

TEST_F(SvgWiringTest, AnElementCarriesItsTrunkNumberAndTheSystemsOfItsFurtherWires) {
  EXPECT_EQ(tools::SystemsOf(segment_), (Strings{L"1L-2", L"1L-3"}));
  EXPECT_EQ(tools::SystemsOf(tee_), Strings{L"1P-1"});
  EXPECT_EQ(tools::SystemsOf(bare_), Strings{});
}

TEST_F(SvgWiringTest, TheBandRunsAlongTheSegmentAndFromAFittingsCentreToItsPoints) {
  const std::string plain = RenderSvg(*session_->database());
  EXPECT_EQ(Marked({}), plain);
  EXPECT_EQ(Marked({L"9Z-9"}), plain) << "no element carries it";

  const std::string one = Marked({L"1L-3"});
  EXPECT_NE(one.find("<path d=\"M0.000 0.000 L0.000 -100.000\"/>"), std::string::npos) << one;
  EXPECT_EQ(one.find("M200.000 -50.000"), std::string::npos) << "the tee carries another system";
  EXPECT_NE(one.find("stroke=\"#ff8c00\""), std::string::npos);
  EXPECT_EQ(one.substr(one.size() - 7), "</svg>\n");

  const std::string any = Marked({tools::kAnySystem});
  EXPECT_NE(any.find("<path d=\"M0.000 0.000 L0.000 -100.000\"/>"), std::string::npos);
  EXPECT_NE(any.find("<path d=\"M200.000 -50.000 L190.000 -50.000 M200.000 -50.000 L210.000 "
                     "-50.000 M200.000 -50.000 L200.000 -60.000 \"/>"),
            std::string::npos)
      << any;
  EXPECT_EQ(any.find("M300.000"), std::string::npos) << "the element without wires";
}

}  // namespace
}  // namespace host
