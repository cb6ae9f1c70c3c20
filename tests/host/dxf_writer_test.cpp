// The DXF writer: round trips without loss, handles, and what an independent reader (ezdxf,
// run by the system's /usr/bin/python3) sees in what we write and what we read from it.
#include "host/dxf/dxf_writer.h"

#include <acutads.h>
#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include "platform/acad/dbhost.h"
#include <dbsymtb.h>
#include <gtest/gtest.h>
#include "platform/win/text_encoding.h"

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dxf_test_support.h"
#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_write_format.h"

namespace host {
namespace {

using testing::DxfText;
using testing::SmallDrawing;

const std::vector<std::pair<int, std::string>> kMText = {
    {0, "MTEXT"},       {5, "50"},   {330, "1F"},      {100, "AcDbEntity"}, {8, "RQ_CONNECT"},
    {100, "AcDbMText"}, {10, "1.0"}, {20, "2.0"},      {30, "0.0"},         {40, "3.0"},
    {41, "0.0"},        {71, "1"},   {1, "第1行\\P2"}, {1001, "RQ_LINK"},   {1000, "mtext"}};
const std::vector<std::pair<int, std::string>> kSpline = {
    {0, "SPLINE"}, {5, "51"},   {330, "1F"}, {100, "AcDbEntity"}, {8, "0"},    {100, "AcDbSpline"},
    {70, "8"},     {71, "3"},   {72, "8"},   {73, "4"},           {74, "0"},   {40, "0.0"},
    {40, "0.0"},   {40, "0.0"}, {40, "0.0"}, {40, "1.0"},         {40, "1.0"}, {40, "1.0"},
    {40, "1.0"},   {10, "0.0"}, {20, "0.0"}, {30, "0.0"},         {10, "1.0"}, {20, "2.0"},
    {30, "0.0"},   {10, "3.0"}, {20, "2.0"}, {30, "0.0"},         {10, "4.0"}, {20, "0.0"},
    {30, "0.0"}};
const std::vector<std::pair<int, std::string>> kXRecord = {
    {0, "XRECORD"},       {5, "60"},  {102, "{ACAD_REACTORS"},
    {330, "C"},           {102, "}"}, {330, "C"},
    {100, "AcDbXrecord"}, {280, "1"}, {1, "設定"},
    {40, "0.25"},         {90, "12"}};

std::vector<std::pair<int, std::string>> Concat(std::vector<std::pair<int, std::string>> a,
                                                const std::vector<std::pair<int, std::string>>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The drawing with the unmodelled entities and XRECORD, the NOD naming the XRECORD.
std::string RichDrawing() {
  auto g = SmallDrawing(Concat(kMText, kSpline), kXRecord);
  // The named objects dictionary holds the XRECORD under "HARNEX_SETTINGS".
  for (size_t i = 0; i < g.size(); ++i) {
    if (g[i].first == 350 && g[i].second == "D") {
      g.insert(g.begin() + static_cast<long>(i) + 1, {{3, "HARNEX_SETTINGS"}, {350, "60"}});
      break;
    }
  }
  return DxfText(g);
}

TEST(DxfWriterTest, RealsAreTheShortestTextThatReadsBackWithAPointWhenWhole) {
  using dxf_out::Real;
  // By hand: fixed form unless the scientific one is shorter, a tie going to the fixed form.
  EXPECT_EQ(Real(0.0), L"0.0");
  EXPECT_EQ(Real(-0.0), L"0.0");
  EXPECT_EQ(Real(-150), L"-150.0");
  EXPECT_EQ(Real(10000), L"10000.0");
  EXPECT_EQ(Real(100000), L"1e+05");
  EXPECT_EQ(Real(-100000), L"-1e+05");
  EXPECT_EQ(Real(123000), L"123000.0");
  EXPECT_EQ(Real(1200000), L"1200000.0");  // "1.2e+06" is as long
  EXPECT_EQ(Real(12000000), L"1.2e+07");
  EXPECT_EQ(Real(999999999999999), L"999999999999999.0");
  EXPECT_EQ(Real(1e15), L"1e+15");
  EXPECT_EQ(Real(14.999999999999998), L"14.999999999999998");
  EXPECT_EQ(Real(0.1), L"0.1");

  // Whole numbers of every size and sign, checked against the library's shortest form.
  auto expected = [](double v) {
    char buf[40];
    char* end = std::to_chars(buf, buf + sizeof buf, v == 0 ? 0.0 : v).ptr;
    std::string text(buf, end);
    if (text.find_first_of(".en") == std::string::npos) text += ".0";
    return platform::Utf8ToWide(text);
  };
  std::vector<double> values;
  for (double v = 1; v < 1e17; v *= 10) {
    for (double k : {1.0, 2.0, 7.0, 10.0, 11.0, 99.0, 101.0, 1000.0, 1001.0, 123456.0}) {
      values.push_back(v * k);
      values.push_back(v * k + 1);
      values.push_back(v * k - 1);
    }
  }
  for (int i = -3000; i <= 3000; ++i) values.push_back(i * 1000.0);
  for (double v : values) {
    EXPECT_EQ(Real(v), expected(v)) << v;
    EXPECT_EQ(Real(-v), expected(-v)) << -v;
  }
}

TEST(DxfWriterTest, UnmodelledEntitiesAndObjectsComeBackUnchanged) {
  DxfReadResult r = ReadDxf(RichDrawing());
  ASSERT_TRUE(r.ok()) << r.error;
  const std::string out = WriteDxf(*r.database);
  EXPECT_NE(out.find(DxfText(kMText)), std::string::npos) << "MTEXT\n" << out;
  EXPECT_NE(out.find(DxfText(kSpline)), std::string::npos) << "SPLINE";
  EXPECT_NE(out.find(DxfText(kXRecord)), std::string::npos) << "XRECORD";
  EXPECT_NE(out.find(DxfText({{3, "HARNEX_SETTINGS"}, {350, "60"}})), std::string::npos);
  // And a second round gives the same bytes.
  DxfReadResult again = ReadDxf(out);
  ASSERT_TRUE(again.ok()) << again.error;
  EXPECT_EQ(WriteDxf(*again.database), out);
}

TEST(DxfWriterTest, HeaderIsAc1024WithTheSeedAboveEveryHandle) {
  DxfReadResult r = ReadDxf(RichDrawing());
  ASSERT_TRUE(r.ok()) << r.error;
  AcDbDatabase& db = *r.database;
  // A new entity gets a handle at or above the file's seed (100).
  AcDbBlockTableRecord* ms = nullptr;
  ASSERT_EQ(acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
  AcDbObjectId id;
  ASSERT_EQ(ms->appendAcDbEntity(id, line), Acad::eOk);
  line->close();
  ms->close();
  EXPECT_GE(id.handle().value(), 0x100u);
  const std::string out = WriteDxf(db);
  EXPECT_EQ(out.rfind(DxfText({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1024"}}), 0),
            0u);
  EXPECT_NE(out.find(DxfText({{9, "$INSUNITS"}, {70, "4"}})), std::string::npos);
  EXPECT_NE(out.find(DxfText({{9, "$DIMSCALE"}, {40, "2.5"}})), std::string::npos);
  DxfReadResult back = ReadDxf(out);
  ASSERT_TRUE(back.ok()) << back.error;
  EXPECT_GT(back.database->handseed().value(), id.handle().value());
  AcDbObjectId read_id;
  ASSERT_EQ(back.database->getAcDbObjectId(read_id, false, id.handle()), Acad::eOk);
  AcDbLine* read_line = nullptr;
  ASSERT_EQ(acdbOpenObject(read_line, read_id, AcDb::kForRead), Acad::eOk);
  EXPECT_DOUBLE_EQ(read_line->endPoint().x, 1.0);
  read_line->close();
}

TEST(DxfWriterTest, ADrawingMadeHereGetsEveryTableItsFormatNeedsOnce) {
  AcDbDatabase db(true, false);
  AcDbBlockTableRecord* ms = nullptr;
  ASSERT_EQ(acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  auto* line = new AcDbLine(AcGePoint3d(100, 200, 0), AcGePoint3d(500, 400, 0));
  AcDbObjectId id;
  ASSERT_EQ(ms->appendAcDbEntity(id, line), Acad::eOk);
  line->close();
  ms->close();
  const std::string out = WriteDxf(db);
  size_t tables = 0;
  for (const char* name : {"VPORT", "LTYPE", "LAYER", "STYLE", "VIEW", "UCS", "APPID", "DIMSTYLE",
                           "BLOCK_RECORD"}) {
    const std::string head = DxfText({{0, "TABLE"}, {2, name}});
    const size_t at = out.find(head);
    EXPECT_NE(at, std::string::npos) << name;
    EXPECT_EQ(out.find(head, at + 1), std::string::npos) << name << " twice";
    EXPECT_GT(at, tables) << name << " out of order";
    tables = at;
  }
  // The active viewport looks at the middle of what is drawn.
  EXPECT_NE(out.find(DxfText({{2, "*ACTIVE"}})), std::string::npos);
  EXPECT_NE(out.find(DxfText({{12, "300.0"}, {22, "300.0"}})), std::string::npos) << out;
  EXPECT_NE(out.find(DxfText({{2, "Standard"}, {70, "0"}})), std::string::npos);
  // Read back, they are kept as read and written again unchanged, with no second copy.
  DxfReadResult back = ReadDxf(out);
  ASSERT_TRUE(back.ok()) << back.error;
  EXPECT_EQ(WriteDxf(*back.database), out);
}

TEST(DxfWriterTest, SavingNeverLeavesAHalfWrittenFile) {
  DxfReadResult r = ReadDxf(DxfText(SmallDrawing()));
  ASSERT_TRUE(r.ok()) << r.error;
  std::wstring error;
  EXPECT_FALSE(WriteDxfFile(*r.database, "/nonexistent/folder/out.dxf", &error));
  EXPECT_EQ(error, L"/nonexistent/folder/out.dxf: cannot be written");
}

// ---- Interoperability with ezdxf ----

class DxfInteropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("harnex_dxf_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Runs a Python script with the system interpreter (where python3-ezdxf is installed);
  // returns its standard output, or fails the test.
  std::string Python(const std::string& script) {
    const auto path = dir_ / "script.py";
    std::ofstream(path) << script;
    const std::string out_path = (dir_ / "script.out").string();
    const std::string command = "/usr/bin/python3 " + path.string() + " > " + out_path + " 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(out_path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(status, 0) << text.str();
    return text.str();
  }

  std::filesystem::path dir_;
};

TEST_F(DxfInteropTest, EzdxfSeesWhatWeWrite) {
  DxfReadResult r = ReadDxf(RichDrawing());
  ASSERT_TRUE(r.ok()) << r.error;
  const std::string path = (dir_ / "ours.dxf").string();
  std::wstring error;
  ASSERT_TRUE(WriteDxfFile(*r.database, path, &error)) << platform::WideToUtf8(error);
  const std::string out = Python(R"(import ezdxf
doc = ezdxf.readfile(")" + path + R"(")
auditor = doc.audit()
print("errors", len(auditor.errors))
print("version", doc.dxfversion)
msp = doc.modelspace()
print("entities", " ".join(e.dxftype() + ":" + e.dxf.handle for e in msp))
ins = doc.entitydb["30"]
print("insert", ins.dxf.name, ins.dxf.insert.x, ins.dxf.insert.y, ins.dxf.rotation, ins.dxf.color)
print("attribs", " ".join(a.dxf.tag + "=" + a.dxf.text for a in ins.attribs))
print("xdata", [(t.code, t.value) for t in ins.get_xdata("RQ_LINK")])
print("layer", doc.layers.get("RQ_CONNECT").color)
print("block", " ".join(e.dxftype() for e in doc.blocks.get("RT100")))
g = doc.groups.get("R1")
print("group", g.dxf.description, " ".join(sorted(e.dxf.handle for e in g)))
print("mtext", doc.entitydb["50"].text, doc.entitydb["50"].get_xdata("RQ_LINK")[0].value)
print("spline", len(doc.entitydb["51"].control_points))
print("xrecord", [(t.code, t.value) for t in doc.entitydb["60"].tags])
)");
  EXPECT_NE(out.find("errors 0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("version AC1024\n"), std::string::npos) << out;
  EXPECT_NE(out.find("entities INSERT:30 LINE:33 MTEXT:50 SPLINE:51\n"), std::string::npos) << out;
  EXPECT_NE(out.find("insert RT100 10.0 20.0 90.0 5\n"), std::string::npos) << out;
  EXPECT_NE(out.find("attribs ETAT=1\n"), std::string::npos) << out;
  EXPECT_NE(out.find("xdata [(1000, '3'), (1070, 7), (1071, 70000), (1040, 1.5), (1010, (1.0, "
                     "2.0, 3.0)), (1002, '{'), (1005, '33'), (1002, '}')]\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("layer 3\n"), std::string::npos) << out;
  EXPECT_NE(out.find("block POINT ATTDEF\n"), std::string::npos) << out;
  EXPECT_NE(out.find("group route 1 30 33\n"), std::string::npos) << out;
  EXPECT_NE(out.find("mtext 第1行\\P2 mtext\n"), std::string::npos) << out;
  EXPECT_NE(out.find("spline 4\n"), std::string::npos) << out;
  EXPECT_NE(out.find("xrecord [(1, '設定'), (40, 0.25), (90, 12)]\n"), std::string::npos) << out;
}

TEST_F(DxfInteropTest, WhatEzdxfWritesLoadsHereAndSurvivesOurSave) {
  const std::string theirs = (dir_ / "theirs.dxf").string();
  const std::string ours = (dir_ / "ours.dxf").string();
  Python(R"(import ezdxf
doc = ezdxf.new("R2010")
doc.layers.add("配線", color=4)
doc.appids.new("RQ_ATTR")
msp = doc.modelspace()
line = msp.add_line((0, 0), (10, 5), dxfattribs={"layer": "配線"})
line.set_xdata("RQ_ATTR", [(1000, "S001|盤1|2|1|55|0|"), (1070, 3), (1040, 0.5)])
circle = msp.add_circle((3, 4), 2, dxfattribs={"layer": "配線"})
msp.add_text("負荷", dxfattribs={"height": 3.5, "layer": "配線"})
g = doc.groups.new("RT_GROUP")
g.extend([line, circle])
doc.saveas(")" +
         theirs + R"(")
)");
  DxfReadResult r = ReadDxfFile(theirs);
  ASSERT_TRUE(r.ok()) << platform::WideToUtf8(r.error);
  AcDbDatabase& db = *r.database;
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers), Acad::eOk);
  AcDbObjectId layer_id;
  EXPECT_EQ(layers->getAt(L"配線", layer_id), Acad::eOk);
  layers->close();
  AcDbDictionary* groups = nullptr;
  ASSERT_EQ(db.getGroupDictionary(groups), Acad::eOk);
  AcDbObjectId group_id;
  EXPECT_EQ(groups->getAt(L"RT_GROUP", group_id), Acad::eOk);
  groups->close();
  AcDbGroup* group = nullptr;
  ASSERT_EQ(acdbOpenObject(group, group_id, AcDb::kForRead), Acad::eOk);
  AcDbObjectIdArray members;
  group->allEntityIds(members);
  group->close();
  ASSERT_EQ(members.length(), 2);
  // ezdxf does not keep the order of group members; the line is one of them.
  AcDbLine* line = nullptr;
  if (acdbOpenObject(line, members[0], AcDb::kForRead) != Acad::eOk) {
    ASSERT_EQ(acdbOpenObject(line, members[1], AcDb::kForRead), Acad::eOk);
  }
  EXPECT_EQ(line->layerId(), layer_id);
  resbuf* xdata = line->xData(L"RQ_ATTR");
  line->close();
  ASSERT_NE(xdata, nullptr);
  ASSERT_NE(xdata->rbnext, nullptr);
  EXPECT_STREQ(xdata->rbnext->resval.rstring, L"S001|盤1|2|1|55|0|");
  acutRelRb(xdata);

  std::wstring error;
  ASSERT_TRUE(WriteDxfFile(db, ours, &error)) << platform::WideToUtf8(error);
  const std::string out = Python(R"(import ezdxf
doc = ezdxf.readfile(")" + ours + R"(")
print("errors", len(doc.audit().errors))
msp = doc.modelspace()
print("entities", " ".join(e.dxftype() + "@" + e.dxf.layer for e in msp))
line = msp.query("LINE")[0]
print("xdata", [(t.code, t.value) for t in line.get_xdata("RQ_ATTR")])
print("group", " ".join(sorted(e.dxftype() for e in doc.groups.get("RT_GROUP"))))
print("text", msp.query("TEXT")[0].dxf.text, msp.query("TEXT")[0].dxf.height)
print("layer", doc.layers.get("配線").color)
)");
  EXPECT_NE(out.find("errors 0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("entities LINE@配線 CIRCLE@配線 TEXT@配線\n"), std::string::npos) << out;
  EXPECT_NE(out.find("xdata [(1000, 'S001|盤1|2|1|55|0|'), (1070, 3), (1040, 0.5)]\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("group CIRCLE LINE\n"), std::string::npos) << out;
  EXPECT_NE(out.find("text 負荷 3.5\n"), std::string::npos) << out;
  EXPECT_NE(out.find("layer 4\n"), std::string::npos) << out;
}

}  // namespace
}  // namespace host
