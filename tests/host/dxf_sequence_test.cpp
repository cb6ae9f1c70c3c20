// Entity sequences (a POLYLINE with its VERTEX entities, an INSERT with its ATTRIB entities, each
// closed by a SEQEND), comments and minimal files: what older drawings and other programs' files
// hold. Each is loaded and saved; the save must open again here to the same bytes, and in ezdxf
// with the same entities and vertices. A drawing whose file would not open again is not saved.
#include <dbents.h>
#include <gtest/gtest.h>
#include "platform/win/text_encoding.h"
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dxf_test_support.h"
#include "host/dxf/dxf_objects.h"
#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_write_check.h"
#include "host/dxf/dxf_writer.h"

namespace host {
namespace {

using testing::BinaryDxf;
using testing::DxfText;
using testing::SaveTwice;
using testing::SmallDrawing;
using Groups = std::vector<std::pair<int, std::string>>;

// One entity: 0 type, 5 handle, 330 owner (none when empty), the entity subclass on `layer`,
// then `rest`.
Groups Entity(const std::string& type, const std::string& handle, const std::string& owner,
              const Groups& rest, const std::string& layer = "0") {
  Groups g = {{0, type}, {5, handle}};
  if (!owner.empty()) g.push_back({330, owner});
  g.push_back({100, "AcDbEntity"});
  g.push_back({8, layer});
  g.insert(g.end(), rest.begin(), rest.end());
  return g;
}

Groups operator+(Groups a, const Groups& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A polyline of `flags` (0: 2D, 8: 3D, 16: polygon mesh, 64: polyface) with a vertex at each
// point of `points` ("x,y,z"), vertex flags `vertex_flags`, and its SEQEND owned by
// `seqend_owner` ("" for none). Handles follow `first` in hexadecimal.
Groups Polyline(int first, int flags, const std::vector<std::string>& points, int vertex_flags,
                const std::string& owner, const std::string& seqend_owner,
                const Groups& head_extra = {}) {
  auto hex = [](int n) {
    std::ostringstream s;
    s << std::uppercase << std::hex << n;
    return s.str();
  };
  const std::string head = hex(first);
  const std::string marker = flags & 8 ? "AcDb3dPolyline"
                             : flags & 16 ? "AcDbPolygonMesh"
                             : flags & 64 ? "AcDbPolyFaceMesh"
                                          : "AcDb2dPolyline";
  Groups g = Entity("POLYLINE", head, owner,
                    Groups{{100, marker}, {66, "1"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"},
                           {70, std::to_string(flags)}} +
                        head_extra,
                    "PL");
  int n = first;
  for (const std::string& p : points) {
    const size_t c1 = p.find(','), c2 = p.rfind(',');
    const std::string vertex_marker = flags & 8    ? "AcDb3dPolylineVertex"
                                      : flags & 16 ? "AcDbPolygonMeshVertex"
                                      : flags & 64 ? "AcDbPolyFaceMeshVertex"
                                                   : "AcDb2dVertex";
    g = g + Entity("VERTEX", hex(++n), head,
                   {{100, "AcDbVertex"},
                    {100, vertex_marker},
                    {10, p.substr(0, c1)},
                    {20, p.substr(c1 + 1, c2 - c1 - 1)},
                    {30, p.substr(c2 + 1)},
                    {70, std::to_string(vertex_flags)}},
                   "PL");
  }
  return g + Entity("SEQEND", hex(++n), seqend_owner, {}, "PL");
}

// The small drawing with a block "PLB" (record 60, BLOCK 61, ENDBLK 62) holding `block`, and
// `entities` after its own.
Groups WithBlock(const Groups& block, const Groups& entities) {
  Groups g = SmallDrawing(entities);
  auto at = std::find(g.begin(), g.end(), std::pair<int, std::string>{2, "RT100"});
  at = std::find(at, g.end(), std::pair<int, std::string>{0, "ENDTAB"});
  at = g.insert(at, {{0, "BLOCK_RECORD"},
                     {5, "60"},
                     {330, "1"},
                     {100, "AcDbSymbolTableRecord"},
                     {100, "AcDbBlockTableRecord"},
                     {2, "PLB"}});
  at = std::find(g.begin(), g.end(), std::pair<int, std::string>{5, "25"}) - 1;  // *Model_Space
  Groups def = Entity("BLOCK", "61", "60",
                      {{100, "AcDbBlockBegin"},
                       {2, "PLB"},
                       {70, "0"},
                       {10, "0.0"},
                       {20, "0.0"},
                       {30, "0.0"},
                       {3, "PLB"},
                       {1, ""}}) +
               block + Entity("ENDBLK", "62", "60", {{100, "AcDbBlockEnd"}});
  g.insert(at, def.begin(), def.end());
  return g;
}

using DxfSequenceTest = testing::DxfFileTest;

// What ezdxf prints of each polyline of a layout: handle, mode, vertex count, first vertex.
constexpr const char* kPolylines = R"(
def show(name, layout):
    for e in layout:
        if e.dxftype() == "POLYLINE":
            v = list(e.vertices)
            print(name, e.dxf.handle, e.get_mode(), len(v), tuple(v[0].dxf.location), e.seqend.dxf.handle)
        else:
            print(name, e.dxftype(), e.dxf.handle)
show("model", doc.modelspace())
show("block", doc.blocks.get("PLB"))
)";

TEST_F(DxfSequenceTest, PolylinesOfEveryKindKeepTheirVerticesAndSeqendInEntitiesAndBlocks) {
  // 2D and 3D polylines, a polygon mesh (2 by 2) and a polyface mesh (three corners and one
  // face record), in model space; SEQEND owned by the polyline, by the block record and by none.
  const Groups entities =
      Polyline(0x100, 0, {"1.0,2.0,0.0", "11.0,2.0,0.0", "11.0,12.0,0.0"}, 0, "1F", "100") +
      Polyline(0x110, 8, {"0.0,0.0,0.0", "5.0,0.0,2.5"}, 32, "1F", "1F") +
      Polyline(0x120, 16, {"0.0,0.0,0.0", "1.0,0.0,0.0", "0.0,1.0,0.0", "1.0,1.0,1.0"}, 64, "1F",
               "", {{71, "2"}, {72, "2"}}) +
      Polyline(0x130, 64, {"0.0,0.0,0.0", "4.0,0.0,0.0", "0.0,4.0,0.0"}, 192, "1F", "130",
               {{71, "3"}, {72, "1"}}) +
      Entity("VERTEX", "13F", "130",
             {{100, "AcDbFaceRecord"},
              {10, "0.0"},
              {20, "0.0"},
              {30, "0.0"},
              {70, "128"},
              {71, "1"},
              {72, "2"},
              {73, "3"}},
             "PL") +
      // A circle after the last sequence: a reader that loses a SEQEND stops here.
      Entity("CIRCLE", "140", "1F", {{100, "AcDbCircle"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"},
                                     {40, "3.0"}});
  // The polyface's face record belongs before its SEQEND: move the SEQEND (134) behind it.
  Groups moved = entities;
  auto seqend = std::find(moved.begin(), moved.end(), std::pair<int, std::string>{5, "134"}) - 1;
  Groups seqend_groups(seqend, seqend + 5);
  moved.erase(seqend, seqend + 5);
  auto face_end = std::find(moved.begin(), moved.end(), std::pair<int, std::string>{73, "3"}) + 1;
  moved.insert(face_end, seqend_groups.begin(), seqend_groups.end());
  // In a block definition, with its SEQEND owned by the polyline, then a POINT after it.
  const Groups block =
      Polyline(0x150, 0, {"0.0,0.0,0.0", "1.0,1.0,0.0"}, 0, "60", "150") +
      Entity("POINT", "154", "60", {{100, "AcDbPoint"}, {10, "2.0"}, {20, "0.0"}, {30, "0.0"}});
  const Groups drawing = WithBlock(block, moved);

  std::vector<std::wstring> warnings;
  const std::string saved = SaveTwice(DxfText(drawing), &warnings);
  for (const std::wstring& w : warnings)
    EXPECT_EQ(w.find(L"SEQEND"), std::wstring::npos) << platform::WideToUtf8(w);
  // Each SEQEND keeps the owner it was read with, or none.
  EXPECT_NE(saved.find("  0\nSEQEND\n  5\n104\n330\n100\n"), std::string::npos);
  EXPECT_NE(saved.find("  0\nSEQEND\n  5\n113\n330\n1F\n"), std::string::npos);
  EXPECT_NE(saved.find("  0\nSEQEND\n  5\n125\n100\nAcDbEntity\n"), std::string::npos);
  EXPECT_NE(saved.find("  0\nVERTEX\n  5\n101\n330\n100\n"), std::string::npos);

  const std::string out = Ezdxf(saved, kPolylines);
  EXPECT_NE(out.find("errors 0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("model INSERT 30\nmodel LINE 33\n"
                     "model 100 AcDb2dPolyline 3 (1.0, 2.0, 0.0) 104\n"
                     "model 110 AcDb3dPolyline 2 (0.0, 0.0, 0.0) 113\n"
                     "model 120 AcDbPolygonMesh 4 (0.0, 0.0, 0.0) 125\n"
                     "model 130 AcDbPolyFaceMesh 4 (0.0, 0.0, 0.0) 134\n"
                     "model CIRCLE 140\n"
                     "block 150 AcDb2dPolyline 2 (0.0, 0.0, 0.0) 153\n"
                     "block POINT 154\n"),
            std::string::npos)
      << out;

  // The binary form of the same file reads as its ASCII form and saves the same bytes.
  DxfReadResult binary = ReadDxf(BinaryDxf(drawing));
  ASSERT_TRUE(binary.ok()) << platform::WideToUtf8(binary.error);
  for (const std::wstring& w : binary.warnings)
    EXPECT_EQ(w.find(L"handle"), std::wstring::npos) << platform::WideToUtf8(w);
  EXPECT_TRUE(WriteDxf(*binary.database) == saved);
}

TEST_F(DxfSequenceTest, SequencesAFileLeavesOpenAreClosedAndStrayPartsLeftOutWithWarnings) {
  // A POLYLINE whose SEQEND is missing before a LINE, a VERTEX and a SEQEND of no sequence, an
  // ATTRIB after a LINE, and a reference to a block the file lacks, with its ATTRIB and SEQEND.
  const Groups polyline = Polyline(0x100, 0, {"0.0,0.0,0.0", "1.0,0.0,0.0"}, 0, "1F", "100");
  const Groups entities =
      Groups(polyline.begin(), polyline.end() - 5) +
      Entity("LINE", "110", "1F",
             {{100, "AcDbLine"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {11, "1.0"}, {21, "1.0"},
              {31, "0.0"}}) +
      Entity("VERTEX", "111", "1F", {{100, "AcDbVertex"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}}) +
      Entity("SEQEND", "112", "1F", {}) +
      Entity("ATTRIB", "113", "1F",
             {{100, "AcDbText"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {40, "1.0"}, {1, "x"},
              {100, "AcDbAttribute"}, {2, "TAG"}, {70, "0"}}) +
      Entity("INSERT", "120", "1F",
             {{100, "AcDbBlockReference"}, {66, "1"}, {2, "MISSING"}, {10, "0.0"}, {20, "0.0"},
              {30, "0.0"}}) +
      Entity("ATTRIB", "121", "120",
             {{100, "AcDbText"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {40, "1.0"}, {1, "v"},
              {100, "AcDbAttribute"}, {2, "TAG"}, {70, "0"}}) +
      Entity("SEQEND", "122", "120", {});
  std::vector<std::wstring> warnings;
  const std::string saved = SaveTwice(DxfText(SmallDrawing(entities)), &warnings);
  std::wstring all;
  for (const std::wstring& w : warnings) all += w + L"\n";
  EXPECT_NE(all.find(L": POLYLINE without its SEQEND: one is added\n"), std::wstring::npos) << all;
  EXPECT_NE(all.find(L": VERTEX without a POLYLINE left out\n"), std::wstring::npos) << all;
  EXPECT_NE(all.find(L": SEQEND without a POLYLINE or INSERT left out\n"), std::wstring::npos)
      << all;
  EXPECT_NE(all.find(L": ATTRIB without an INSERT left out\n"), std::wstring::npos) << all;
  EXPECT_EQ(saved.find("\n111\n"), std::string::npos);
  EXPECT_EQ(saved.find("\n112\n"), std::string::npos);
  EXPECT_EQ(saved.find("\n113\n"), std::string::npos);
  // The kept reference keeps its attribute and its SEQEND as read.
  EXPECT_NE(saved.find("  0\nATTRIB\n  5\n121\n330\n120\n"), std::string::npos);
  EXPECT_NE(saved.find("  0\nSEQEND\n  5\n122\n330\n120\n"), std::string::npos);

  const std::string out = Ezdxf(saved, R"(
for e in doc.modelspace():
    if e.dxftype() == "POLYLINE":
        print("polyline", e.dxf.handle, len(list(e.vertices)))
    elif e.dxftype() == "INSERT":
        print("insert", e.dxf.handle, [a.dxf.text for a in e.attribs])
    else:
        print(e.dxftype(), e.dxf.handle)
)");
  // ezdxf's audit drops the reference to a missing block; it reads past its sequence all the same.
  EXPECT_NE(out.find("errors 0\ninsert 30 ['1']\nLINE 33\npolyline 100 2\nLINE 110\n"),
            std::string::npos)
      << out;
}

TEST_F(DxfSequenceTest, ATableThatTheNextTableOpensIsClosedWithAWarning) {
  // The first table's ENDTAB is missing: the next TABLE begins inside it. Kept as one of its
  // records, that TABLE would be written back inside the first table, and the save refused.
  Groups drawing = SmallDrawing({});
  size_t tables = 0;
  for (auto it = drawing.begin(); it != drawing.end(); ++it) {
    if (it->first == 0 && it->second == "ENDTAB") {
      drawing.erase(it);
      break;
    }
  }
  for (const auto& g : drawing) tables += g.first == 0 && g.second == "TABLE" ? 1 : 0;
  ASSERT_GE(tables, 2u);
  std::vector<std::wstring> warnings;
  const std::string saved = SaveTwice(DxfText(drawing), &warnings);
  std::wstring all;
  for (const std::wstring& w : warnings) all += w + L"\n";
  EXPECT_NE(all.find(L": TABLE without its ENDTAB: one is added\n"), std::wstring::npos) << all;
  size_t opened = 0, closed = 0;
  for (size_t at = saved.find("\nTABLE\n"); at != std::string::npos;
       at = saved.find("\nTABLE\n", at + 1))
    ++opened;
  for (size_t at = saved.find("\nENDTAB\n"); at != std::string::npos;
       at = saved.find("\nENDTAB\n", at + 1))
    ++closed;
  // Every table of the file is written (and those the writer adds), each closed.
  EXPECT_GE(opened, tables);
  EXPECT_EQ(closed, opened);
}

TEST_F(DxfSequenceTest, APolylineWhereALargeFilesEntitiesAreCutIntoRunsStaysWhole) {
  // The entities of a large file are built a few thousand records at a time: a polyline whose
  // vertices pass the end of the first run must not be cut there.
  Groups entities;
  // With the reference, its attribute, SEQEND and the line of the small drawing, the polyline is
  // the 4,095th record: the first run of 4,096 ends among its vertices.
  for (int i = 0; i < 4090; ++i) {
    std::ostringstream hex;
    hex << std::uppercase << std::hex << 0x1000 + i;
    const Groups point = Entity("POINT", hex.str(), "1F",
                                {{100, "AcDbPoint"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}});
    entities.insert(entities.end(), point.begin(), point.end());
  }
  entities = entities + Polyline(0x100, 0,
                                 {"0.0,0.0,0.0", "1.0,0.0,0.0", "2.0,0.0,0.0", "3.0,0.0,0.0",
                                  "4.0,0.0,0.0", "5.0,0.0,0.0"},
                                 0, "1F", "100");
  std::vector<std::wstring> warnings;
  const std::string saved = SaveTwice(DxfText(SmallDrawing(entities)), &warnings);
  for (const std::wstring& w : warnings)
    EXPECT_EQ(w.find(L"SEQEND"), std::wstring::npos) << platform::WideToUtf8(w);
  EXPECT_NE(saved.find("  0\nVERTEX\n  5\n106\n330\n100\n100\nAcDbEntity\n  8\nPL\n100\n"
                       "AcDbVertex\n100\nAcDb2dVertex\n 10\n5.0\n 20\n0.0\n 30\n0.0\n 70\n0\n"
                       "  0\nSEQEND\n  5\n107\n"),
            std::string::npos);
}

TEST_F(DxfSequenceTest, CommentsAreSkippedWhereverTheyStand) {
  Groups drawing = SmallDrawing(Polyline(0x100, 0, {"0.0,0.0,0.0", "1.0,0.0,0.0"}, 0, "1F", "100"));
  const std::string plain = SaveTwice(DxfText(drawing));
  // A banner first, a comment between entities, one inside a record, one before ENDSEC.
  Groups commented = drawing;
  commented.insert(commented.begin(), {999, "written by a test"});
  auto line = std::find(commented.begin(), commented.end(), std::pair<int, std::string>{5, "33"});
  commented.insert(line - 1, {999, "the line"});
  line = std::find(commented.begin(), commented.end(), std::pair<int, std::string>{5, "33"});
  commented.insert(line + 1, {999, "inside"});
  auto end = std::find(commented.begin(), commented.end(), std::pair<int, std::string>{2, "OBJECTS"});
  commented.insert(end - 2, {999, "0"});
  const std::string with_comments = SaveTwice(DxfText(commented));
  EXPECT_TRUE(with_comments == plain);
  // The same in the binary form.
  DxfReadResult binary = ReadDxf(BinaryDxf(commented));
  ASSERT_TRUE(binary.ok()) << platform::WideToUtf8(binary.error);
  EXPECT_TRUE(WriteDxf(*binary.database) == plain);
}

TEST_F(DxfSequenceTest, AFileOfOnlyEntitiesOpensAndSavesAsACompleteDrawing) {
  // No header, tables, blocks or objects; entities without handles, on layers the file lacks.
  const std::string text =
      DxfText({{0, "SECTION"}, {2, "ENTITIES"}, {0, "LINE"}, {8, "WALLS"}, {10, "0.0"},
               {20, "0.0"}, {30, "0.0"}, {11, "5.0"}, {21, "5.0"}, {31, "0.0"},
               {0, "POLYLINE"}, {8, "0"}, {66, "1"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"},
               {70, "1"}, {0, "VERTEX"}, {8, "0"}, {10, "1.0"}, {20, "1.0"}, {30, "0.0"},
               {0, "VERTEX"}, {8, "0"}, {10, "2.0"}, {20, "1.0"}, {30, "0.0"}, {0, "SEQEND"},
               {8, "0"}, {0, "ENDSEC"}, {0, "EOF"}});
  std::vector<std::wstring> warnings;
  const std::string saved = SaveTwice(text, &warnings);
  ASSERT_FALSE(saved.empty());
  const std::string out = Ezdxf(saved, R"(
print("layers", sorted(l.dxf.name for l in doc.layers))
print("layouts", sorted(doc.layouts.names()))
for e in doc.modelspace():
    print(e.dxftype(), e.dxf.layer, len(list(e.vertices)) if e.dxftype() == "POLYLINE" else "")
)");
  EXPECT_NE(out.find("errors 0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("layouts ['Layout1', 'Model']\n"), std::string::npos) << out;
  EXPECT_NE(out.find("LINE WALLS \nPOLYLINE 0 2\n"), std::string::npos) << out;
  EXPECT_NE(out.find("'WALLS'"), std::string::npos) << out;

  // Without OBJECTS and layouts, after full tables and blocks: the same entities come back.
  Groups drawing = SmallDrawing();
  auto objects = std::find(drawing.begin(), drawing.end(), std::pair<int, std::string>{2, "OBJECTS"});
  drawing.erase(objects - 1, drawing.end() - 1);
  const std::string without_objects = SaveTwice(DxfText(drawing));
  const std::string listed = Ezdxf(without_objects, R"(
print("entities", [e.dxftype() + ":" + e.dxf.handle for e in doc.modelspace()])
)");
  EXPECT_NE(listed.find("entities ['INSERT:30', 'LINE:33']\n"), std::string::npos) << listed;
}

// ---- The writer's check of the structure it writes ----

TEST_F(DxfSequenceTest, ADrawingWhoseFileWouldBreakIsNotSavedAndTheOldFileStays) {
  const Groups entities = Polyline(0x100, 0, {"0.0,0.0,0.0", "1.0,0.0,0.0"}, 0, "1F", "100");
  DxfReadResult read = ReadDxf(DxfText(SmallDrawing(entities)));
  ASSERT_TRUE(read.ok()) << platform::WideToUtf8(read.error);
  AcDbDatabase& db = *read.database;
  const auto path = dir_ / "floor.dxf";
  std::wstring error;
  ASSERT_TRUE(WriteDxfFile(db, path.string(), &error)) << platform::WideToUtf8(error);
  std::stringstream before;
  before << std::ifstream(path, std::ios::binary).rdbuf();

  // The polyline's SEQEND goes, as a command that erased it would leave the drawing.
  AcDbEntity* seqend = nullptr;
  ASSERT_EQ(acdbOpenObject(seqend, testing::IdOf(db, L"103"), AcDb::kForWrite), Acad::eOk);
  ASSERT_NE(DxfUnknownEntity::cast(seqend), nullptr);
  seqend->erase();
  seqend->close();
  std::wstring fault;
  EXPECT_EQ(WriteDxf(db, &fault), "");
  EXPECT_EQ(fault, L"the POLYLINE 100 is not closed by a SEQEND");
  EXPECT_FALSE(WriteDxfFile(db, path.string(), &error));
  EXPECT_EQ(error, platform::Utf8ToWide(path.string()) +
                       L": not saved, the file would not open again: the POLYLINE 100 is not "
                       L"closed by a SEQEND");
  std::stringstream after;
  after << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_TRUE(after.str() == before.str());
  EXPECT_FALSE(std::filesystem::exists(path.string() + ".saving"));

  // The SEQEND back and its polyline gone, it stands alone.
  ASSERT_EQ(acdbOpenObject(seqend, testing::IdOf(db, L"103"), AcDb::kForWrite, true), Acad::eOk);
  seqend->erase(false);
  seqend->close();
  for (const wchar_t* handle : {L"100", L"101", L"102"}) {
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, testing::IdOf(db, handle), AcDb::kForWrite), Acad::eOk);
    e->erase();
    e->close();
  }
  EXPECT_EQ(WriteDxf(db, &fault), "");
  EXPECT_EQ(fault, L"a SEQEND 103 follows no POLYLINE or INSERT");
}

// Records as a writer gives them: "TYPE" or "TYPE:HANDLE", "SECTION=NAME" for a section.
std::wstring Check(const std::vector<std::string>& records) {
  dxf_out::StructureCheck check;
  for (const std::string& r : records) {
    const size_t eq = r.find('='), colon = r.find(':');
    check.Record(r.substr(0, std::min(eq, colon)));
    if (eq != std::string::npos) check.SectionName(r.substr(eq + 1));
    if (colon != std::string::npos) check.Handle(r.substr(colon + 1));
  }
  check.Finish();
  return check.fault();
}

TEST(DxfStructureCheckTest, FindsTheFirstRecordThatBreaksTheStructure) {
  using R = std::vector<std::string>;
  const R head = {"SECTION=HEADER", "ENDSEC", "SECTION=TABLES", "TABLE:1", "LAYER:10", "ENDTAB",
                  "ENDSEC"};
  auto file = [&](const R& blocks, const R& entities) {
    R r = head;
    r.push_back("SECTION=BLOCKS");
    r.insert(r.end(), blocks.begin(), blocks.end());
    r.push_back("ENDSEC");
    r.push_back("SECTION=ENTITIES");
    r.insert(r.end(), entities.begin(), entities.end());
    r.insert(r.end(), {"ENDSEC", "SECTION=OBJECTS", "DICTIONARY:C", "ENDSEC", "EOF"});
    return r;
  };
  const R block = {"BLOCK:21", "POLYLINE:22", "VERTEX:23", "SEQEND:24", "ENDBLK:25"};
  const struct {
    R records;
    std::wstring fault;
  } cases[] = {
      {file(block, {"INSERT:30", "ATTRIB:31", "ATTRIB:32", "SEQEND:33", "INSERT:34", "SEQEND:35",
                    "INSERT:36", "LINE:37"}),
       L""},
      {file(block, {"POLYLINE:40", "VERTEX:41", "LINE:42"}),
       L"the POLYLINE 40 is not closed by a SEQEND"},
      {file(block, {"POLYLINE:40", "VERTEX:41"}), L"the POLYLINE 40 is not closed by a SEQEND"},
      {file(block, {"INSERT:30", "ATTRIB:31", "INSERT:32"}),
       L"the INSERT 30 is not closed by a SEQEND"},
      {file(block, {"LINE:42", "SEQEND:43"}), L"a SEQEND 43 follows no POLYLINE or INSERT"},
      {file(block, {"POLYLINE:40", "ATTRIB:41", "SEQEND:42"}),
       L"the POLYLINE 40 is not closed by a SEQEND"},
      {file(block, {"VERTEX:41"}), L"a VERTEX 41 stands outside a POLYLINE"},
      {file(block, {"LINE:42", "ATTRIB:41"}), L"an ATTRIB 41 stands outside an INSERT"},
      {file({"BLOCK:21", "POLYLINE:22", "VERTEX:23", "ENDBLK:25"}, {}),
       L"the POLYLINE 22 is not closed by a SEQEND"},
      {file({"BLOCK:21", "LINE:22", "BLOCK:26", "ENDBLK:27"}, {}),
       L"the BLOCK 21 is not closed by an ENDBLK"},
      {file({"BLOCK:21", "LINE:22"}, {}), L"the BLOCK 21 is not closed by an ENDBLK"},
      {file({"ENDBLK:25"}, {}), L"an ENDBLK 25 closes no BLOCK"},
      {file({"LINE:22"}, {}), L"a LINE 22 stands outside a block"},
      {R{"SECTION=TABLES", "TABLE:1", "LAYER:10", "ENDSEC", "EOF"},
       L"the TABLE 1 is not closed by an ENDTAB"},
      {R{"SECTION=TABLES", "LAYER:10", "ENDSEC", "EOF"}, L"a LAYER 10 stands outside a table"},
      {R{"SECTION=ENTITIES", "LINE:1", "EOF"}, L"the section ENTITIES is not closed by ENDSEC"},
      {R{"SECTION=ENTITIES", "LINE:1"}, L"the section ENTITIES is not closed by ENDSEC"},
      {R{"LINE:1", "EOF"}, L"a LINE 1 stands outside a section"},
      {R{"SECTION=ENTITIES", "ENDSEC"}, L"the file does not end with EOF"},
      {R{"SECTION=ENTITIES", "ENDSEC", "EOF", "LINE:1"}, L"a LINE 1 follows EOF"},
  };
  for (const auto& c : cases) {
    std::string records;
    for (const std::string& r : c.records) records += r + " ";
    EXPECT_EQ(Check(c.records), c.fault) << records;
  }
}

}  // namespace
}  // namespace host
