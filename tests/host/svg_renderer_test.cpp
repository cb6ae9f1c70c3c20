// SVG pictures of model space: placement with Y flipped, colours resolved, block transforms,
// texts, and a view box that holds the whole drawing.
#include "host/svg/svg_renderer.h"

#include <dbelipse.h>
#include <dbents.h>
#include <dbhatch.h>
#include <dbpl.h>
#include <dbsymtb.h>
#include "platform/win/text_encoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "tools/drawing_builder.h"
#include "host/session/session.h"
#include "tools/harnex_session.h"

namespace host {
namespace {

// Appends `entity` to the block record `owner` and closes it.
void Append(AcDbObjectId owner, AcDbEntity* entity) {
  AcDbBlockTableRecord* record = nullptr;
  ASSERT_EQ(acdbOpenObject(record, owner, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(record->appendAcDbEntity(entity), Acad::eOk);
  record->close();
  entity->close();
}

// A new block named `name` with its origin at (0,0); its id.
AcDbObjectId NewBlock(AcDbDatabase* db, const wchar_t* name) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(db->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
  auto* record = new AcDbBlockTableRecord;
  record->setName(name);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, record), Acad::eOk);
  record->close();
  table->close();
  return id;
}

AcDbObjectId NewLayer(AcDbDatabase* db, const wchar_t* name, int colour) {
  AcDbLayerTable* table = nullptr;
  EXPECT_EQ(db->getLayerTable(table, AcDb::kForWrite), Acad::eOk);
  auto* record = new AcDbLayerTableRecord;
  record->setName(name);
  AcCmColor c;
  c.setColorIndex(static_cast<Adesk::UInt16>(colour));
  record->setColor(c);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, record), Acad::eOk);
  record->close();
  table->close();
  return id;
}

// Renders the drawing that `fill` makes, in a session as the program runs it.
std::string Render(const std::function<void(AcDbDatabase*)>& fill) {
  host::Session::Options options = tools::HarnexSessionOptions();
  tools::SkipAtStart(&options, tools::kHostModuleName);
  tools::SkipAtStart(&options, tools::kAddinModuleName);
  options.drawing = fill;
  Session session(options);
  EXPECT_TRUE(session.Start());
  const std::string svg = RenderSvg(*session.database());
  EXPECT_TRUE(session.host_errors().empty());
  return svg;
}

// A black text of `height` at `at` in the block record `owner`: left-aligned there, or aligned by
// `mode` on `at`.
void AddText(AcDbDatabase* db, AcDbObjectId owner, const AcGePoint3d& at, const wchar_t* content,
             double height, double width_factor = 1.0, AcDb::TextHorzMode mode = AcDb::kTextLeft) {
  auto* text = new AcDbText(at, content, AcDbObjectId::kNull, height);
  text->setDatabaseDefaults(db);
  text->setWidthFactor(width_factor);
  if (mode != AcDb::kTextLeft) {
    text->setHorizontalMode(mode);
    text->setAlignmentPoint(at);
  }
  Append(owner, text);
}

struct Box {
  double x, y, w, h;
  bool Holds(double px, double py) const { return px > x && px < x + w && py > y && py < y + h; }
};

Box ViewBox(const std::string& svg) {
  std::smatch m;
  const std::regex re("viewBox=\"([-0-9.e]+) ([-0-9.e]+) ([-0-9.e]+) ([-0-9.e]+)\"");
  if (!std::regex_search(svg, m, re)) return {0, 0, 0, 0};
  return {std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])};
}

// The centres of the points' crosses (the horizontal arm's middle), in picture coordinates.
std::vector<std::pair<double, double>> CrossCentres(const std::string& svg) {
  std::vector<std::pair<double, double>> centres;
  const std::regex re("<path d=\"M([-0-9.e]+) ([-0-9.e]+) L([-0-9.e]+) ([-0-9.e]+) M");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), re); it != std::sregex_iterator();
       ++it) {
    centres.emplace_back((std::stod((*it)[1]) + std::stod((*it)[3])) / 2, std::stod((*it)[2]));
  }
  return centres;
}

TEST(SvgRendererTest, ALineIsDrawnWithYFlippedOnAWhiteBackground) {
  const std::string svg = Render([](AcDbDatabase* db) {
    tools::DrawingBuilder b(db);
    b.AddLine(10, 20, 30, 40.5);
  });
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("<line x1=\"10\" y1=\"-20\" x2=\"30\" y2=\"-40.5\""), std::string::npos)
      << svg;
  // The background covers exactly the view.
  std::smatch m;
  ASSERT_TRUE(std::regex_search(svg, m, std::regex("viewBox=\"([^ ]+) ([^ ]+) ([^ ]+) ([^ ]+)\"")));
  EXPECT_NE(svg.find("<rect x=\"" + m[1].str() + "\" y=\"" + m[2].str() + "\" width=\"" +
                     m[3].str() + "\" height=\"" + m[4].str() + "\" fill=\"#ffffff\"/>"),
            std::string::npos)
      << svg;
  const Box box = ViewBox(svg);
  EXPECT_TRUE(box.Holds(10, -20) && box.Holds(30, -40.5)) << svg;
  // A margin, but not a picture mostly empty: the line is 20 × 20.5.
  EXPECT_LT(box.w, 30);
  EXPECT_LT(box.h, 30);
}

TEST(SvgRendererTest, ByLayerAndByBlockColoursAreResolved) {
  const std::string svg = Render([](AcDbDatabase* db) {
    const AcDbObjectId red = NewLayer(db, L"RED", 1);
    NewLayer(db, L"BLUE", 5);
    auto* on_red = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    on_red->setDatabaseDefaults(db);
    on_red->setLayer(red);
    on_red->setColorIndex(256);
    Append(db->modelSpaceId(), on_red);

    const AcDbObjectId block = NewBlock(db, L"BYBLOCK_PART");
    auto* by_block = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 7, 0));
    by_block->setDatabaseDefaults(db);
    by_block->setColorIndex(0);
    Append(block, by_block);
    // Layer 0 inside a block draws ByLayer through the reference's layer.
    auto* by_layer = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(9, 0, 0));
    by_layer->setDatabaseDefaults(db);
    by_layer->setLayer(L"0");
    by_layer->setColorIndex(256);
    Append(block, by_layer);

    auto* ref = new AcDbBlockReference(AcGePoint3d(100, 0, 0), block);
    ref->setDatabaseDefaults(db);
    ref->setLayer(L"BLUE");
    ref->setColorIndex(3);
    Append(db->modelSpaceId(), ref);
  });
  EXPECT_NE(svg.find("x1=\"0\" y1=\"0\" x2=\"1\" y2=\"0\" stroke=\"#ff0000\""), std::string::npos)
      << svg;
  EXPECT_NE(svg.find("x1=\"100\" y1=\"0\" x2=\"100\" y2=\"-7\" stroke=\"#00ff00\""),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("x1=\"100\" y1=\"0\" x2=\"109\" y2=\"0\" stroke=\"#0000ff\""),
            std::string::npos)
      << svg;
}

TEST(SvgRendererTest, PointsOfRotatedScaledAndNestedReferencesGoWhereTheTransformPutsThem) {
  const std::string svg = Render([](AcDbDatabase* db) {
    const AcDbObjectId inner = NewBlock(db, L"INNER");
    auto* point = new AcDbPoint(AcGePoint3d(10, 0, 0));
    point->setDatabaseDefaults(db);
    Append(inner, point);
    const AcDbObjectId outer = NewBlock(db, L"OUTER");
    auto* nested = new AcDbBlockReference(AcGePoint3d(5, 0, 0), inner);
    nested->setDatabaseDefaults(db);
    Append(outer, nested);

    // INNER at (100,50), turned 90° and doubled: (10,0) → (0,10)·2 + (100,50) = (100,70).
    auto* ref = new AcDbBlockReference(AcGePoint3d(100, 50, 0), inner);
    ref->setDatabaseDefaults(db);
    ref->setRotation(kPi / 2);
    ref->setScaleFactors(AcGeScale3d(2, 2, 2));
    Append(db->modelSpaceId(), ref);
    // OUTER at (-20,0), turned 180°: (5+10,0) → (-15,0) + (-20,0) = (-35,0).
    auto* outer_ref = new AcDbBlockReference(AcGePoint3d(-20, 0, 0), outer);
    outer_ref->setDatabaseDefaults(db);
    outer_ref->setRotation(kPi);
    Append(db->modelSpaceId(), outer_ref);
  });
  const auto centres = CrossCentres(svg);
  ASSERT_EQ(centres.size(), 2u) << svg;
  EXPECT_NEAR(centres[0].first, 100, 1e-6);
  EXPECT_NEAR(centres[0].second, -70, 1e-6);
  EXPECT_NEAR(centres[1].first, -35, 1e-6);
  EXPECT_NEAR(centres[1].second, 0, 1e-6);
  const Box box = ViewBox(svg);
  EXPECT_TRUE(box.Holds(100, -70) && box.Holds(-35, 0)) << svg;
}

TEST(SvgRendererTest, JapaneseTextIsEscapedAndPlacedByItsBox) {
  const std::string svg = Render([](AcDbDatabase* db) {
    // Two full-width characters (5 each) and six others (2.5 each): 25 wide.
    auto* text = new AcDbText(AcGePoint3d(0, 0, 0), L"配線 <A&B>", AcDbObjectId::kNull, 5);
    text->setDatabaseDefaults(db);
    Append(db->modelSpaceId(), text);
    // Turned 90° at (10,20), half width: "AB" is 2 × 4 × 0.5 / 2 = 2 long, its top to the left.
    auto* turned = new AcDbText(AcGePoint3d(10, 20, 0), L"AB", AcDbObjectId::kNull, 4, kPi / 2);
    turned->setDatabaseDefaults(db);
    turned->setWidthFactor(0.5);
    Append(db->modelSpaceId(), turned);
    // Centred on (50,-10): "CD" is 4 wide, so it starts at 48.
    auto* centred = new AcDbText(AcGePoint3d(0, 0, 0), L"CD", AcDbObjectId::kNull, 4);
    centred->setDatabaseDefaults(db);
    centred->setHorizontalMode(AcDb::kTextCenter);
    centred->setAlignmentPoint(AcGePoint3d(50, -10, 0));
    Append(db->modelSpaceId(), centred);
  });
  // IPAGothic by both its names first: it has the program's metric.
  EXPECT_NE(svg.find("font-family=\"'IPAGothic', 'IPAゴシック', 'Noto Sans CJK JP', 'MS Gothic', "
                     "sans-serif\""),
            std::string::npos);
  EXPECT_NE(svg.find(">配線 &lt;A&amp;B&gt;</text>"), std::string::npos) << svg;
  EXPECT_NE(svg.find("matrix(1 0 0 1 0 0)\" font-size=\"5\" textLength=\"25\""), std::string::npos)
      << svg;
  // The frame's unit along the base line is the font's (a cell is 2, half of 4), so the glyphs'
  // own advance is 4 and the half width is the frame's scale: 0.5 along the base line, up the
  // picture.
  EXPECT_NE(svg.find("matrix(0 -0.5 1 0 10 -20)\" font-size=\"4\" textLength=\"4\""),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("matrix(1 0 0 1 48 10)\" font-size=\"4\" textLength=\"4\""), std::string::npos)
      << svg;
  const Box box = ViewBox(svg);
  // Corners of the three boxes in picture coordinates.
  for (const auto& [x, y] : std::vector<std::pair<double, double>>{
           {0, 0}, {25, -5}, {10, -20}, {6, -22}, {48, 10}, {52, 6}}) {
    EXPECT_TRUE(box.Holds(x, y)) << x << "," << y << " " << svg;
  }
}

TEST(SvgRendererTest, AWidthFactorIsAHorizontalScaleOfTheTextsFrame) {
  const std::string svg = Render([](AcDbDatabase* db) {
    // "AB配" at height 10 is 4 cells of 5: the glyphs advance 20, the box is 0.7 of that, 14.
    AddText(db, db->modelSpaceId(), AcGePoint3d(5, 5, 0), L"AB配", 10, 0.7);
    // In a block mirrored in X at (100,0): "AB" at height 2, half width, is 2 × 1 × 0.5 = 1
    // wide, running from x = 100 to 99.
    const AcDbObjectId block = NewBlock(db, L"MIRRORED");
    AddText(db, block, AcGePoint3d(0, 0, 0), L"AB", 2, 0.5);
    auto* ref = new AcDbBlockReference(AcGePoint3d(100, 0, 0), block);
    ref->setDatabaseDefaults(db);
    ref->setScaleFactors(AcGeScale3d(-1, 1, 1));
    Append(db->modelSpaceId(), ref);
  });
  EXPECT_NE(svg.find("<text transform=\"matrix(0.7 0 0 1 5 -5)\" font-size=\"10\" "
                     "textLength=\"20\" lengthAdjust=\"spacingAndGlyphs\" fill=\"#000000\" "
                     "stroke=\"none\" xml:space=\"preserve\">AB配</text>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<text transform=\"matrix(-0.5 0 0 1 100 0)\" font-size=\"2\" "
                     "textLength=\"2\" "),
            std::string::npos)
      << svg;
}

TEST(SvgRendererTest, AmbiguousWidthCharactersAreSqueezedIntoTheirMeasuredCells) {
  const std::string svg = Render([](AcDbDatabase* db) {
    const AcDbObjectId ms = db->modelSpaceId();
    // At height 4 a cell is 2: 電線 takes cells 0-3, ○ (measured half width, drawn full width
    // by the font) cell 4, AB cells 5 and 6.
    AddText(db, ms, AcGePoint3d(0, 0, 0), L"電線○AB", 4);
    // Escaped in every piece; a cell is 1.
    AddText(db, ms, AcGePoint3d(0, -20, 0), L"\"○\"&<", 2);
    // Two in a row, each in its own cell.
    AddText(db, ms, AcGePoint3d(0, -40, 0), L"△※", 2);
    // ¡ is of ambiguous width too, but the font draws it half width: one run.
    AddText(db, ms, AcGePoint3d(0, -60, 0), L"A¡B", 2);
  });
  const std::string g = "\" font-size=\"4\" fill=\"#000000\" stroke=\"none\">";
  const std::string run = "\" lengthAdjust=\"spacingAndGlyphs\" xml:space=\"preserve\">";
  const std::string squeezed = " 0) scale(0.5 1)\" textLength=\"";
  EXPECT_NE(svg.find("<g transform=\"matrix(1 0 0 1 0 0)" + g + "<text x=\"0\" textLength=\"8" +
                     run + "電線</text>" + "<text transform=\"translate(8" + squeezed +
                     "4\" lengthAdjust=\"spacingAndGlyphs\">○</text>" +
                     "<text x=\"10\" textLength=\"4" + run + "AB</text></g>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<text x=\"0\" textLength=\"1" + run + "&quot;</text>" +
                     "<text transform=\"translate(1" + squeezed +
                     "2\" lengthAdjust=\"spacingAndGlyphs\">○</text>" +
                     "<text x=\"2\" textLength=\"3" + run + "&quot;&amp;&lt;</text></g>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<g transform=\"matrix(1 0 0 1 0 40)\" font-size=\"2\" fill=\"#000000\" "
                     "stroke=\"none\"><text transform=\"translate(0" +
                     squeezed +
                     "2\" lengthAdjust=\"spacingAndGlyphs\">△</text><text transform=\"translate(1" +
                     squeezed + "2\" lengthAdjust=\"spacingAndGlyphs\">※</text></g>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("matrix(1 0 0 1 0 60)\" font-size=\"2\" textLength=\"3\""), std::string::npos)
      << svg;
}

TEST(SvgRendererTest, ControlCodesAreDrawnAsTheyAreMeasured) {
  const std::string svg = Render([](AcDbDatabase* db) {
    const AcDbObjectId ms = db->modelSpaceId();
    // All at height 2, a cell 1 wide. The box counts the codes as typed: "25%%dC" is 6 wide,
    // "25°C" 4: 25 in cells 0-1, ° (drawn full width by the font) squeezed into cell 2, C in 3.
    AddText(db, ms, AcGePoint3d(0, 0, 0), L"25%%dC", 2);
    // Centred on (50,-10): a box 4 wide from 48 with "∅5", 2 wide, in its middle.
    AddText(db, ms, AcGePoint3d(50, -10, 0), L"%%C5", 2, 1.0, AcDb::kTextCenter);
    // Right-aligned on (80,-10): a box 4 wide from 76 with "±1" at its right end.
    AddText(db, ms, AcGePoint3d(80, -10, 0), L"%%p1", 2, 1.0, AcDb::kTextRight);
    // Underline under AB, overline over C; the switches take no room.
    AddText(db, ms, AcGePoint3d(0, -20, 0), L"%%uAB%%u%%oC", 2);
    // A percent sign; an unknown code is its characters; a tab leaves its cell empty.
    AddText(db, ms, AcGePoint3d(0, -30, 0), L"100%%%", 2);
    AddText(db, ms, AcGePoint3d(0, -40, 0), L"%%x", 2);
    AddText(db, ms, AcGePoint3d(0, -50, 0), L"A\tB", 2);
  });
  const std::string g = "\" font-size=\"2\" fill=\"#000000\" stroke=\"none\">";
  const std::string run = "\" lengthAdjust=\"spacingAndGlyphs\" xml:space=\"preserve\">";
  EXPECT_NE(svg.find("<g transform=\"matrix(1 0 0 1 0 0)" + g + "<text x=\"0\" textLength=\"2" +
                     run + "25</text><text transform=\"translate(2 0) scale(0.5 1)\" " +
                     "textLength=\"2\" lengthAdjust=\"spacingAndGlyphs\">°</text>" +
                     "<text x=\"3\" textLength=\"1" + run + "C</text></g>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<g transform=\"matrix(1 0 0 1 48 10)" + g + "<text x=\"1\" textLength=\"2" +
                     run + "∅5</text></g>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<g transform=\"matrix(1 0 0 1 76 10)" + g +
                     "<text transform=\"translate(2 0) scale(0.5 1)\" textLength=\"2\" " +
                     "lengthAdjust=\"spacingAndGlyphs\">±</text><text x=\"3\" textLength=\"1" +
                     run + "1</text></g>"),
            std::string::npos)
      << svg;
  // The underline a tenth of the height below the base line, the overline on the box's top.
  EXPECT_NE(svg.find("<g transform=\"matrix(1 0 0 1 0 20)" + g + "<text x=\"0\" textLength=\"3" +
                     run + "ABC</text>" +
                     "<path d=\"M0 0.2 H2\" fill=\"none\" stroke=\"#000000\" "
                     "stroke-width=\"0.125\"/><path d=\"M2 -2 H3\" fill=\"none\" "
                     "stroke=\"#000000\" stroke-width=\"0.125\"/></g>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<text transform=\"matrix(1 0 0 1 0 30)\" font-size=\"2\" textLength=\"4\" "
                     "lengthAdjust=\"spacingAndGlyphs\" fill=\"#000000\" stroke=\"none\" "
                     "xml:space=\"preserve\">100%</text>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("matrix(1 0 0 1 0 40)\" font-size=\"2\" textLength=\"3\""), std::string::npos)
      << svg;
  EXPECT_NE(svg.find(">%%x</text>"), std::string::npos) << svg;
  EXPECT_NE(svg.find("<g transform=\"matrix(1 0 0 1 0 50)" + g + "<text x=\"0\" textLength=\"1" +
                     run + "A</text><text x=\"2\" textLength=\"1" + run + "B</text></g>"),
            std::string::npos)
      << svg;
}

TEST(SvgRendererTest, CurvesAndHatchesStayInsideTheView) {
  const std::string svg = Render([](AcDbDatabase* db) {
    // Bulge 1 from (20,0) to (10,0): a half circle counter-clockwise about (15,0), up to y = 5.
    auto* pline = new AcDbPolyline;
    pline->addVertexAt(0, AcGePoint2d(20, 0), 1.0);
    pline->addVertexAt(1, AcGePoint2d(10, 0));
    pline->setDatabaseDefaults(db);
    Append(db->modelSpaceId(), pline);
    // A circle reaching up to y = 40.
    auto* circle = new AcDbCircle(AcGePoint3d(0, 30, 0), AcGeVector3d::kZAxis, 10);
    circle->setDatabaseDefaults(db);
    Append(db->modelSpaceId(), circle);
    // An ellipse 30 wide and 15 high about (0,-20): its bottom is at y = -27.5.
    auto* ellipse =
        new AcDbEllipse(AcGePoint3d(0, -20, 0), AcGeVector3d::kZAxis, AcGeVector3d(15, 0, 0), 0.5);
    ellipse->setDatabaseDefaults(db);
    Append(db->modelSpaceId(), ellipse);
    // A yellow solid square.
    auto* hatch = new AcDbHatch;
    hatch->setDatabaseDefaults(db);
    hatch->setPattern(AcDbHatch::kPreDefined, L"SOLID");
    AcGePoint2dArray square;
    square.append(AcGePoint2d(30, 0));
    square.append(AcGePoint2d(40, 0));
    square.append(AcGePoint2d(40, 10));
    square.append(AcGePoint2d(30, 10));
    hatch->appendLoop(AcDbHatch::kExternal, square, AcGeDoubleArray());
    hatch->setColorIndex(2);
    Append(db->modelSpaceId(), hatch);
  });
  EXPECT_NE(svg.find("<path d=\"M30 0 L40 0 L40 -10 L30 -10 Z \" fill=\"#ffff00\""),
            std::string::npos)
      << svg;
  const Box box = ViewBox(svg);
  EXPECT_TRUE(box.Holds(15, -5)) << svg;                         // the bulge's top, flipped
  EXPECT_TRUE(box.Holds(0, -40)) << svg;                         // the circle's top
  EXPECT_TRUE(box.Holds(-10, -30)) << svg;                       // and its left
  EXPECT_TRUE(box.Holds(-15, 20) && box.Holds(0, 27.4)) << svg;  // the ellipse's left and bottom
  // Below the ellipse there is only the margin: a twentieth of the 67.5 high drawing, 3.375.
  EXPECT_FALSE(box.Holds(15, 27.5 + 3.4)) << svg;
  // The half circle passes through (15,5), drawn as (15,-5).
  EXPECT_NE(svg.find(" 15,-5 "), std::string::npos) << svg;
}

TEST(SvgRendererTest, AFileThatCannotBeWrittenIsAnErrorNamingIt) {
  host::Session::Options options = tools::HarnexSessionOptions();
  tools::SkipAtStart(&options, tools::kHostModuleName);
  tools::SkipAtStart(&options, tools::kAddinModuleName);
  Session session(options);
  ASSERT_TRUE(session.Start());
  std::wstring error;
  EXPECT_FALSE(WriteSvgFile(*session.database(), "/nonexistent/folder/plan.svg", &error));
  EXPECT_EQ(error, L"cannot write the picture /nonexistent/folder/plan.svg");
}

TEST(SvgRendererTest, ColourIndicesFollowTheStandardTable) {
  const struct {
    int index, r, g, b;
  } cases[] = {{1, 255, 0, 0},     {2, 255, 255, 0}, {3, 0, 255, 0},      {4, 0, 255, 255},
               {5, 0, 0, 255},     {6, 255, 0, 255}, {7, 0, 0, 0},        {8, 128, 128, 128},
               {9, 192, 192, 192}, {10, 255, 0, 0},  {11, 255, 127, 127}, {14, 127, 0, 0},
               {90, 0, 255, 0},    {170, 0, 0, 255}, {250, 51, 51, 51},   {255, 255, 255, 255}};
  for (const auto& c : cases) {
    const Rgb rgb = AciToRgb(c.index);
    EXPECT_EQ(rgb.r, c.r) << c.index;
    EXPECT_EQ(rgb.g, c.g) << c.index;
    EXPECT_EQ(rgb.b, c.b) << c.index;
  }
}

}  // namespace
}  // namespace host
