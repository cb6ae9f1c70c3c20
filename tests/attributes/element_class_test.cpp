// Element classification on references of a test drawing: block classes by name, the state
// "ETAT", hatched panels, "RQ_LINK" data and the elements the settings check looks at.
#include "attributes/element_class.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "attributes_support.h"

namespace {

class ElementClassTest : public attributes_test::RouteDrawingTest {};

TEST_F(ElementClassTest, TheBlockNamePrefixGivesTheClass) {
  // Block names are unique without regard to case in a drawing, so no name below differs from
  // another only in case.
  const std::map<std::wstring, BlockClass> expected = {
      {L"KK1", BlockClass::KK},     {L"KKRT", BlockClass::KK},   {L"RT", BlockClass::RT},
      {L"RT100", BlockClass::RT},   {L"RB", BlockClass::RB},     {L"RBX1", BlockClass::RB},
      {L"RBT1", BlockClass::RBT},   {L"RBS1", BlockClass::RBS},  {L"RBt2", BlockClass::RB},
      {L"rt01", BlockClass::Other}, {L"kk2", BlockClass::Other}, {L"XRT", BlockClass::Other},
      {L"R", BlockClass::Other},
  };
  std::map<std::wstring, AcDbObjectId> ids;
  AcDbObjectId line;
  StartSession([&](tools::DrawingBuilder& b) {
    double x = 0;
    for (const auto& [name, cls] : expected) {
      b.DefineSegment(name, 10);
      ids[name] = b.AddRouteElement(name, {x, 0});
      x += 20;
    }
    line = b.AddLine(0, 50, 10, 50);
  });
  for (const auto& [name, cls] : expected) {
    EXPECT_EQ(ElementClassOf(ids[name]), cls) << name;
  }
  EXPECT_EQ(ElementClassOf(line), BlockClass::Other);
  EXPECT_EQ(ElementClassOf(AcDbObjectId::kNull), BlockClass::Other);
}

TEST_F(ElementClassTest, EtatOneOrTwoIsARouteAndThreeIsItsOwnState) {
  const std::map<std::wstring, std::pair<bool, bool>> expected = {
      // ETAT: {EtatIsRoute, EtatIsThree}
      {L"1", {true, false}}, {L"2", {true, false}},  {L"3", {false, true}},  {L"0", {false, false}},
      {L"", {false, false}}, {L"x", {false, false}}, {L"4", {false, false}}, {L"03", {false, true}},
  };
  std::map<std::wstring, AcDbObjectId> ids;
  StartSession([&](tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT1", 10);
    double x = 0;
    for (const auto& [etat, tests] : expected) {
      ids[etat] = b.AddRouteElement(L"RT1", {x, 0}, etat);
      x += 10;
    }
  });
  for (const auto& [etat, tests] : expected) {
    EXPECT_EQ(EtatIsRoute(ids[etat]), tests.first) << L"ETAT=" << etat;
    EXPECT_EQ(EtatIsThree(ids[etat]), tests.second) << L"ETAT=" << etat;
  }
  EXPECT_FALSE(EtatIsRoute(AcDbObjectId::kNull));
  EXPECT_FALSE(EtatIsThree(AcDbObjectId::kNull));
}

TEST_F(ElementClassTest, AHatchedPanelIsAnRbtBlockWithAHatch) {
  AcDbObjectId hatched, plain, hatched_other, tee;
  StartSession([&](tools::DrawingBuilder& b) {
    b.DefinePart(L"RBT_PANEL", 20, true);
    b.DefinePart(L"RBT_PLAIN", 20, false);
    b.DefinePart(L"KK_PANEL", 20, true);
    b.DefineTee(L"RBT_TEE", 10);
    hatched = b.AddRouteElement(L"RBT_PANEL", {0, 0});
    plain = b.AddRouteElement(L"RBT_PLAIN", {50, 0});
    hatched_other = b.AddPart(L"KK_PANEL", {100, 0}, L"P-1");
    tee = b.AddRouteElement(L"RBT_TEE", {150, 0});
  });
  EXPECT_TRUE(IsHatchedPanel(hatched));
  EXPECT_FALSE(IsHatchedPanel(plain));
  EXPECT_FALSE(IsHatchedPanel(hatched_other)) << "a hatch alone does not make a panel";
  EXPECT_FALSE(IsHatchedPanel(tee));
  EXPECT_FALSE(IsHatchedPanel(AcDbObjectId::kNull));
}

TEST_F(ElementClassTest, LinkDataAndRouteKinds) {
  AcDbObjectId element, part, unlinked, other_kind, attr_only, line;
  StartSession([&](tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT1", 10);
    b.DefinePart(L"KK_P", 10);
    element = b.AddRouteElement(L"RT1", {0, 0});
    part = b.AddPart(L"KK_P", {20, 0}, L"P-1");
    unlinked = b.AddRouteElement(L"RT1", {40, 0});
    b.SetStrings(unlinked, L"RQ_LINK", {});
    other_kind = b.AddRouteElement(L"RT1", {60, 0});
    b.SetStrings(other_kind, L"RQ_LINK", {L"7"});
    attr_only = b.AddRouteElement(L"RT1", {80, 0});
    b.SetStrings(attr_only, L"RQ_LINK", {L"not a number"});
    line = b.AddLine(0, 50, 10, 50);
  });
  EXPECT_TRUE(HasLinkData(element));
  EXPECT_TRUE(HasLinkData(part));
  EXPECT_TRUE(HasLinkData(other_kind));
  EXPECT_FALSE(HasLinkData(unlinked));
  EXPECT_FALSE(HasLinkData(line));
  EXPECT_FALSE(HasLinkData(AcDbObjectId::kNull));

  EXPECT_EQ(RouteKindOf(element, -1), kRouteKindElement);
  EXPECT_EQ(RouteKindOf(part, -1), kRouteKindPart);
  EXPECT_EQ(RouteKindOf(other_kind, -1), 7);
  EXPECT_EQ(RouteKindOf(unlinked, -1), -1);
  EXPECT_EQ(RouteKindOf(unlinked, 0), 0);
  EXPECT_EQ(RouteKindOf(attr_only, 42), 42);
  EXPECT_EQ(RouteKindOf(line, -1), -1);
}

TEST_F(ElementClassTest, CheckableElementsAreRouteElementsAndPartsInARouteButNoRbtBlocks) {
  AcDbObjectId segment, panel_block, part_in_route, part_alone, unlinked, other_kind, line;
  StartSession([&](tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT1", 10);
    b.DefinePart(L"RBT_PANEL", 10, true);
    b.DefinePart(L"KK_P", 10);
    segment = b.AddRouteElement(L"RT1", {0, 0}, L"");
    panel_block = b.AddRouteElement(L"RBT_PANEL", {20, 0});
    part_in_route = b.AddPart(L"KK_P", {40, 0}, L"P-1", L"2");
    part_alone = b.AddPart(L"KK_P", {60, 0}, L"P-2", L"3");
    unlinked = b.AddRouteElement(L"RT1", {80, 0}, L"1");
    b.SetStrings(unlinked, L"RQ_LINK", {});
    other_kind = b.AddRouteElement(L"RT1", {100, 0}, L"1");
    b.SetStrings(other_kind, L"RQ_LINK", {L"5"});
    line = b.AddLine(0, 50, 10, 50);
  });
  EXPECT_TRUE(IsCheckableElement(segment)) << "a route element counts whatever its state";
  EXPECT_FALSE(IsCheckableElement(panel_block));
  EXPECT_TRUE(IsCheckableElement(part_in_route));
  EXPECT_FALSE(IsCheckableElement(part_alone));
  EXPECT_FALSE(IsCheckableElement(unlinked)) << "no route kind: neither element nor part";
  EXPECT_FALSE(IsCheckableElement(other_kind));
  EXPECT_FALSE(IsCheckableElement(line));
}

}  // namespace
