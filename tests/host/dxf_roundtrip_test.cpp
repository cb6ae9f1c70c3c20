// What drawings saved by AutoCAD and others hold beyond the modelled entities: kept sections,
// names where handles belong, references with rows and columns, aligned attributes, proxies,
// binary files and numbers that need all their digits. Each small file is loaded and saved, the
// save must load again to the same bytes, and an independent reader (ezdxf) must see the same
// entities and values in it.
#include <dbents.h>
#include <gtest/gtest.h>
#include "platform/win/text_encoding.h"
#include <unistd.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dxf_test_support.h"
#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_writer.h"

namespace host {
namespace {

using testing::BinaryDxf;
using testing::DxfText;
using testing::SaveTwice;
using testing::SmallDrawing;
using Groups = std::vector<std::pair<int, std::string>>;

// Inserts `section` (its groups between the name and ENDSEC) after the header, or before EOF.
Groups WithSection(Groups drawing, const std::string& name, const Groups& body, bool after_header) {
  Groups section = {{0, "SECTION"}, {2, name}};
  section.insert(section.end(), body.begin(), body.end());
  section.push_back({0, "ENDSEC"});
  auto at = drawing.end() - 1;  // EOF
  if (after_header) {
    at = std::find(drawing.begin(), drawing.end(), std::pair<int, std::string>{0, "ENDSEC"}) + 1;
  }
  drawing.insert(at, section.begin(), section.end());
  return drawing;
}

// The groups of the first record of that type and handle in a saved file, as "code=value" lines.
std::string RecordOf(const std::string& saved, const std::string& type, const std::string& handle) {
  const std::string head = "  0\n" + type + "\n  5\n" + handle + "\n";
  const size_t from = saved.find(head);
  if (from == std::string::npos) return "";
  const size_t to = saved.find("\n  0\n", from + head.size());
  return saved.substr(from, to - from + 1);
}

using DxfRoundTripTest = testing::DxfFileTest;

TEST_F(DxfRoundTripTest, SectionsTheDrawingDoesNotModelAreKeptWhole) {
  Groups drawing = WithSection(SmallDrawing(), "CLASSES",
                               {{0, "CLASS"},
                                {1, "ACDBDICTIONARYWDFLT"},
                                {2, "AcDbDictionaryWithDefault"},
                                {3, "ObjectDBX Classes"},
                                {90, "0"},
                                {91, "1"},
                                {280, "0"},
                                {281, "0"}},
                               true);
  // The data store of newer drawings: flags before its first record, then binary chunks.
  drawing = WithSection(drawing, "ACDSDATA",
                        {{70, "2"},
                         {71, "6"},
                         {0, "ACDSSCHEMA"},
                         {90, "0"},
                         {1, "AcDb3DSolid_ASM_Data"},
                         {2, "AcDbDs::ID"},
                         {280, "10"},
                         {91, "8"},
                         {0, "ACDSRECORD"},
                         {90, "0"},
                         {2, "ASM_Data"},
                         {280, "15"},
                         {94, "4"},
                         {310, "0A0B0C0D"}},
                        false);
  // The preview: the byte count, then lines of hexadecimal.
  drawing = WithSection(drawing, "THUMBNAILIMAGE", {{90, "6"}, {310, "28000000FF01"}}, false);
  drawing = WithSection(drawing, "PICTURES", {{1, "a section of another program"}}, false);
  const std::string saved = SaveTwice(DxfText(drawing));

  // CLASSES where it belongs, right after the header; the others after OBJECTS, in file order.
  const size_t header_end = saved.find("  0\nENDSEC\n") + 11;
  const std::string classes = "  0\nSECTION\n  2\nCLASSES\n  0\nCLASS\n  1\nACDBDICTIONARYWDFLT\n";
  EXPECT_EQ(saved.substr(header_end, classes.size()), classes);
  const std::string tail =
      "  0\nSECTION\n  2\nACDSDATA\n 70\n2\n 71\n6\n  0\nACDSSCHEMA\n 90\n0\n  1\n"
      "AcDb3DSolid_ASM_Data\n  2\nAcDbDs::ID\n280\n10\n 91\n8\n  0\nACDSRECORD\n 90\n0\n  2\n"
      "ASM_Data\n280\n15\n 94\n4\n310\n0A0B0C0D\n  0\nENDSEC\n"
      "  0\nSECTION\n  2\nTHUMBNAILIMAGE\n 90\n6\n310\n28000000FF01\n  0\nENDSEC\n"
      "  0\nSECTION\n  2\nPICTURES\n  1\na section of another program\n  0\nENDSEC\n  0\nEOF\n";
  ASSERT_GE(saved.size(), tail.size());
  EXPECT_EQ(saved.substr(saved.size() - tail.size()), tail);
  EXPECT_EQ(saved.find("OBJECTS") < saved.rfind("ACDSDATA"), true);

  const std::string out = Ezdxf(saved, R"(
print("entities", " ".join(e.dxftype() + ":" + e.dxf.handle for e in doc.modelspace()))
print("class", list(doc.classes.classes.keys()))
)");
  EXPECT_NE(out.find("entities INSERT:30 LINE:33\n"), std::string::npos) << out;
  EXPECT_NE(out.find("'ACDBDICTIONARYWDFLT'"), std::string::npos) << out;
}

TEST_F(DxfRoundTripTest, ANameWhereAHandleBelongsIsKeptAsTextWithAWarning) {
  // An object of a type the drawing does not model names its text style instead of pointing at it.
  Groups objects = {{0, "MLEADERSTYLE"}, {5, "70"},         {330, "D"},  {100, "AcDbMLeaderStyle"},
                    {3, "Standard"},     {340, "Standard"}, {340, "14"}, {90, "2"}};
  std::vector<std::wstring> warnings;
  const std::string text = DxfText(SmallDrawing({}, objects));
  const std::string saved = SaveTwice(text, &warnings);
  const size_t code_line = text.find("340\nStandard\n");
  const long name_line = std::count(text.begin(), text.begin() + code_line, '\n') + 2;
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0],
            L"line " + std::to_wstring(name_line) +
                L": group 340 holds \"Standard\" where a handle belongs; kept as text");
  EXPECT_EQ(RecordOf(saved, "MLEADERSTYLE", "70"),
            "  0\nMLEADERSTYLE\n  5\n70\n330\nD\n100\nAcDbMLeaderStyle\n  3\nStandard\n"
            "340\nStandard\n340\n14\n 90\n2\n");
  // A handle that is no handle at all is still refused.
  std::string bad = DxfText(SmallDrawing({{0, "POINT"}, {5, "Z9"}, {8, "0"}}));
  DxfReadResult r = ReadDxf(bad);
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error.find(L"group 5 needs a handle, found \"Z9\""), std::wstring::npos) << r.error;

  const std::string out = Ezdxf(saved, R"(
print("entities", " ".join(e.dxftype() + ":" + e.dxf.handle for e in doc.modelspace()))
)");
  EXPECT_NE(out.find("entities INSERT:30 LINE:33\n"), std::string::npos) << out;
}

TEST_F(DxfRoundTripTest, ARowsAndColumnsReferenceKeepsItsSubclassAndItsAttributesTheirAlignment) {
  const Groups minsert = {{0, "INSERT"},
                          {5, "90"},
                          {330, "1F"},
                          {100, "AcDbEntity"},
                          {8, "0"},
                          {100, "AcDbMInsertBlock"},
                          {66, "1"},
                          {2, "RT100"},
                          {10, "5.0"},
                          {20, "6.0"},
                          {30, "0.0"},
                          {70, "3"},
                          {71, "2"},
                          {44, "50.0"},
                          {45, "60.0"},
                          // Centred: the alignment point is the one that counts.
                          {0, "ATTRIB"},
                          {5, "91"},
                          {330, "90"},
                          {100, "AcDbEntity"},
                          {8, "0"},
                          {100, "AcDbText"},
                          {10, "4.0"},
                          {20, "5.5"},
                          {30, "0.0"},
                          {40, "2.0"},
                          {1, "C"},
                          {72, "1"},
                          {11, "5.0"},
                          {21, "5.5"},
                          {31, "0.0"},
                          {100, "AcDbAttribute"},
                          {2, "ETAT"},
                          {70, "0"},
                          // Left-aligned, yet the file gives the point: it is kept.
                          {0, "ATTRIB"},
                          {5, "92"},
                          {330, "90"},
                          {100, "AcDbEntity"},
                          {8, "0"},
                          {100, "AcDbText"},
                          {10, "1.0"},
                          {20, "2.0"},
                          {30, "0.0"},
                          {40, "2.0"},
                          {1, "L"},
                          {11, "1.0"},
                          {21, "2.0"},
                          {31, "0.0"},
                          {100, "AcDbAttribute"},
                          {2, "S001"},
                          {70, "0"},
                          {0, "SEQEND"},
                          {5, "93"},
                          {330, "90"},
                          {100, "AcDbEntity"},
                          {8, "0"}};
  const std::string saved = SaveTwice(DxfText(SmallDrawing(minsert)));
  const std::string insert = RecordOf(saved, "INSERT", "90");
  EXPECT_EQ(insert.find("AcDbBlockReference"), std::string::npos) << insert;
  EXPECT_NE(
      insert.find("100\nAcDbMInsertBlock\n 66\n1\n  2\nRT100\n 10\n5.0\n 20\n6.0\n 30\n0.0\n"),
      std::string::npos)
      << insert;
  EXPECT_NE(insert.find(" 70\n3\n 71\n2\n 44\n50.0\n 45\n60.0\n"), std::string::npos) << insert;
  EXPECT_NE(RecordOf(saved, "ATTRIB", "91").find(" 11\n5.0\n 21\n5.5\n 31\n0.0\n"),
            std::string::npos);
  EXPECT_NE(RecordOf(saved, "ATTRIB", "92").find(" 11\n1.0\n 21\n2.0\n 31\n0.0\n"),
            std::string::npos);

  const std::string out = Ezdxf(saved, R"(
m = doc.entitydb["90"]
print("minsert", m.dxftype(), m.dxf.column_count, m.dxf.row_count, m.dxf.column_spacing, m.dxf.row_spacing)
for a in m.attribs:
    print("attrib", a.dxf.tag, a.dxf.text, a.dxf.halign, tuple(a.dxf.align_point))
)");
  EXPECT_NE(out.find("errors 0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("minsert INSERT 3 2 50.0 60.0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("attrib ETAT C 1 (5.0, 5.5, 0.0)\n"), std::string::npos) << out;
  EXPECT_NE(out.find("attrib S001 L 0 (1.0, 2.0, 0.0)\n"), std::string::npos) << out;
}

TEST_F(DxfRoundTripTest, NumbersComeBackWithAllTheirDigits) {
  const Groups entities = {{0, "LINE"},
                           {5, "90"},
                           {330, "1F"},
                           {100, "AcDbEntity"},
                           {8, "0"},
                           {100, "AcDbLine"},
                           {10, "0.30000000000000004"},  // 0.1 + 0.2, 17 digits
                           {20, "1e-300"},
                           {30, "0.0"},
                           {11, "123456789.12345679"},
                           {21, "-2.5"},
                           {31, "0.0"},
                           {0, "INSERT"},
                           {5, "91"},
                           {330, "1F"},
                           {100, "AcDbEntity"},
                           {8, "0"},
                           {100, "AcDbBlockReference"},
                           {2, "RT100"},
                           {10, "1.0"},
                           {20, "2.0"},
                           {30, "0.0"},
                           {50, "14.999999999999998"},  // held in radians, as 15 would be
                           {0, "TEXT"},
                           {5, "92"},
                           {330, "1F"},
                           {100, "AcDbEntity"},
                           {8, "0"},
                           {100, "AcDbText"},
                           {10, "0.0"},
                           {20, "0.0"},
                           {30, "0.0"},
                           {40, "2.5"},
                           {1, "x"},
                           {50, "123.456"},  // to radians and back it is 123.45600000000002
                           {100, "AcDbText"}};
  const std::string saved = SaveTwice(DxfText(SmallDrawing(entities)));
  const std::string line = RecordOf(saved, "LINE", "90");
  EXPECT_NE(line.find(" 10\n0.30000000000000004\n 20\n1e-300\n 30\n0.0\n 11\n123456789.12345679\n"),
            std::string::npos)
      << line;
  EXPECT_NE(RecordOf(saved, "INSERT", "91").find(" 50\n14.999999999999998\n"), std::string::npos);
  EXPECT_NE(RecordOf(saved, "TEXT", "92").find(" 50\n123.456\n"), std::string::npos);

  // An angle changed since reading is written from its new value.
  DxfReadResult r = ReadDxf(saved);
  ASSERT_TRUE(r.ok());
  AcDbObjectId id;
  ASSERT_EQ(r.database->getAcDbObjectId(id, false, AcDbHandle(0x91)), Acad::eOk);
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, id, AcDb::kForWrite), Acad::eOk);
  ref->setRotation(3.14159265358979323846 / 2);
  ref->close();
  EXPECT_NE(RecordOf(WriteDxf(*r.database), "INSERT", "91").find(" 50\n90.0\n"), std::string::npos);

  const std::string out = Ezdxf(saved, R"(
l = doc.entitydb["90"]
print("line", l.dxf.start.x == 0.1 + 0.2, l.dxf.start.y == 1e-300, l.dxf.end.x == 123456789.12345679)
print("angles", doc.entitydb["91"].dxf.rotation == 14.999999999999998, doc.entitydb["92"].dxf.rotation == 123.456)
)");
  EXPECT_NE(out.find("line True True True\n"), std::string::npos) << out;
  EXPECT_NE(out.find("angles True True\n"), std::string::npos) << out;
}

TEST_F(DxfRoundTripTest, ProxyEntitiesAndObjectsAreWrittenBackAsRead) {
  const Groups proxy_entity = {
      {0, "ACAD_PROXY_ENTITY"}, {5, "90"},   {330, "1F"}, {100, "AcDbEntity"}, {8, "RQ_CONNECT"},
      {100, "AcDbProxyEntity"}, {90, "498"}, {91, "500"}, {71, "0"},           {92, "4"},
      {310, "DEADBEEF"},        {93, "0"},   {94, "0"},   {95, "1024"},        {70, "0"}};
  const Groups proxy_object = {{0, "ACAD_PROXY_OBJECT"},
                               {5, "70"},
                               {330, "D"},
                               {100, "AcDbProxyObject"},
                               {90, "499"},
                               {91, "501"},
                               {93, "0"},
                               {310, "00"},
                               {330, "33"},
                               {95, "1024"},
                               {70, "0"}};
  const std::string saved = SaveTwice(DxfText(SmallDrawing(proxy_entity, proxy_object)));
  EXPECT_EQ(RecordOf(saved, "ACAD_PROXY_ENTITY", "90"),
            "  0\nACAD_PROXY_ENTITY\n  5\n90\n330\n1F\n100\nAcDbEntity\n  8\nRQ_CONNECT\n100\n"
            "AcDbProxyEntity\n 90\n498\n 91\n500\n 71\n0\n 92\n4\n310\nDEADBEEF\n 93\n0\n 94\n0\n"
            " 95\n1024\n 70\n0\n");
  EXPECT_EQ(RecordOf(saved, "ACAD_PROXY_OBJECT", "70"),
            "  0\nACAD_PROXY_OBJECT\n  5\n70\n330\nD\n100\nAcDbProxyObject\n 90\n499\n 91\n501\n"
            " 93\n0\n310\n00\n330\n33\n 95\n1024\n 70\n0\n");
  const std::string out = Ezdxf(saved, R"(
print("entities", " ".join(e.dxftype() + ":" + e.dxf.handle + ":" + e.dxf.layer for e in doc.modelspace()))
)");
  EXPECT_NE(out.find("entities INSERT:30:0 LINE:33:RQ_CONNECT ACAD_PROXY_ENTITY:90:RQ_CONNECT\n"),
            std::string::npos)
      << out;
}

// ---- Binary DXF ----

TEST_F(DxfRoundTripTest, ABinaryFileReadsAsItsAsciiForm) {
  // Text in code page 932 before AC1021, a 17-digit real, a negative 16-bit integer, booleans
  // (in the layer table), a 32-bit XData integer and a binary chunk.
  Groups drawing = SmallDrawing({{0, "LINE"},
                                 {5, "90"},
                                 {330, "1F"},
                                 {100, "AcDbEntity"},
                                 {8, "0"},
                                 {370, "-2"},
                                 {100, "AcDbLine"},
                                 {10, "0.30000000000000004"},
                                 {20, "0.0"},
                                 {30, "0.0"},
                                 {11, "1.0"},
                                 {21, "1.0"},
                                 {31, "0.0"},
                                 {1001, "RQ_LINK"},
                                 {1000, "\x95\x89\x89\xd7"},  // 負荷 in code page 932
                                 {1071, "70000"},
                                 {1004, "0102FF"}});
  for (auto& group : drawing)
    if (group.second == "AC1024") group.second = "AC1018";
  const std::string ascii = SaveTwice(DxfText(drawing));
  DxfReadResult binary = ReadDxf(BinaryDxf(drawing));
  ASSERT_TRUE(binary.ok()) << platform::WideToUtf8(binary.error);
  EXPECT_EQ(binary.version, L"AC1018");
  EXPECT_TRUE(WriteDxf(*binary.database) == ascii);
  EXPECT_NE(RecordOf(ascii, "LINE", "90").find(" 10\n0.30000000000000004\n"), std::string::npos);
  EXPECT_NE(ascii.find("1000\n負荷\n1071\n70000\n1004\n0102FF\n"), std::string::npos);

  // A file that ends inside a value is refused, naming where.
  const std::string whole = BinaryDxf(drawing);
  DxfReadResult cut = ReadDxf(whole.substr(0, whole.size() - 3));
  EXPECT_FALSE(cut.ok());
  EXPECT_NE(cut.error.find(L"the file ends inside the value of group 0"), std::wstring::npos)
      << cut.error;

  const std::string out = Ezdxf(ascii, R"(
l = doc.entitydb["90"]
print("line", l.dxf.start.x == 0.1 + 0.2, l.dxf.lineweight, [(t.code, t.value) for t in l.get_xdata("RQ_LINK")])
)");
  EXPECT_NE(out.find("line True -2 [(1000, '負荷'), (1071, 70000), (1004, b'\\x01\\x02\\xff')]\n"),
            std::string::npos)
      << out;
}

}  // namespace
}  // namespace host
