// The DXF reader on drawings with more entities than it holds the groups of at once: every
// entity, attribute and XData arrives, and faults late in the entities are reported as in a
// small drawing.
#include <acutads.h>
#include <dbents.h>
#include <dbsymtb.h>
#include <gtest/gtest.h>
#include "platform/acad/dbhost.h"
#include "platform/acad/kept_groups.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dxf_test_support.h"
#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_writer.h"
#include "large_drawing_support.h"

namespace host {
namespace {

using Groups = std::vector<std::pair<int, std::string>>;
using testing::DxfText;
using testing::Hex;
using testing::kRefs;
using testing::LineOf;
using testing::References;
using testing::RefHandle;
using testing::SmallDrawing;
using testing::W;
using testing::XDataText;

TEST(DxfLargeDrawingTest, EveryEntityAttributeAndXDataArrives) {
  const std::string text = DxfText(SmallDrawing(References(kRefs)));
  DxfReadResult r = ReadDxf(text);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_TRUE(r.warnings.empty());
  AcDbDatabase& db = *r.database;
  int checked = 0;
  for (int i = 0; i < kRefs; ++i) {
    AcDbObjectId id;
    ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(RefHandle(i))), Acad::eOk) << i;
    AcDbBlockReference* ref = nullptr;
    ASSERT_EQ(acdbOpenObject(ref, id, AcDb::kForRead), Acad::eOk) << i;
    EXPECT_EQ(ref->position().x, i);
    ASSERT_EQ(ref->attributeIds().size(), 1u) << i;
    AcDbObjectId attr_id = ref->attributeIds()[0];
    ref->close();
    EXPECT_EQ(attr_id.handle().value(), RefHandle(i) + 1);
    AcDbAttribute* attr = nullptr;
    ASSERT_EQ(acdbOpenObject(attr, attr_id, AcDb::kForRead), Acad::eOk) << i;
    EXPECT_EQ(std::wstring(attr->textStringConst()), L"T" + std::to_wstring(i));
    attr->close();
    EXPECT_EQ(XDataText(id), L"E" + std::to_wstring(i));
    AcDbObjectId seqend;
    ASSERT_EQ(db.getAcDbObjectId(seqend, false, AcDbHandle(RefHandle(i) + 2)), Acad::eOk) << i;
    EXPECT_TRUE(seqend.isValid());
    ++checked;
  }
  EXPECT_EQ(checked, kRefs);
  // The small drawing's own entities, before and after the references, are there too.
  EXPECT_EQ(XDataText(AcDbObjectId(db.stubFor(AcDbHandle(0x30), false))), L"3");
  AcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(space->entityIds().size(), static_cast<size_t>(2 + kRefs));
  space->close();
  // Saved and read again, the drawing gives the same bytes.
  std::string saved = WriteDxf(db);
  DxfReadResult again = ReadDxf(saved);
  ASSERT_TRUE(again.ok()) << again.error;
  EXPECT_EQ(WriteDxf(*again.database), saved);
}

TEST(DxfLargeDrawingTest, TheEntitiesBytesAreToldDoneInOrderAndNothingElse) {
  const std::string text = DxfText(SmallDrawing(References(kRefs)));
  std::vector<std::pair<const char*, const char*>> done;
  DxfReadResult r =
      ReadDxf(text, [&done](const char* from, const char* to) { done.emplace_back(from, to); });
  ASSERT_TRUE(r.ok()) << r.error;
  ASSERT_GE(done.size(), 2u);
  // From the first entity to the ENDSEC after the last, one piece after the other.
  const size_t first = text.find("  0\nINSERT\n");
  const size_t endsec = text.find("  0\nENDSEC\n", text.find("E" + std::to_string(kRefs - 1)));
  EXPECT_EQ(done.front().first, text.data() + first);
  EXPECT_EQ(done.back().second, text.data() + endsec);
  for (size_t i = 1; i < done.size(); ++i) EXPECT_EQ(done[i].first, done[i - 1].second) << i;

  // Saved to a file a piece at a time, the drawing is the same text.
  const std::string path = ::testing::TempDir() + "dxf_large_drawing.dxf";
  std::wstring error;
  ASSERT_TRUE(WriteDxfFile(*r.database, path, &error)) << error;
  const std::string saved = WriteDxf(*r.database);
  ASSERT_GT(saved.size(), 1u << 20);  // more than one piece
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::string on_disk;
  char buf[65536];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) on_disk.append(buf, n);
  std::fclose(f);
  std::remove(path.c_str());
  EXPECT_TRUE(on_disk == saved) << on_disk.size() << " " << saved.size();
  // And read from that file (mapped, its pages given back as they are done), the same again.
  ASSERT_TRUE(WriteDxfFile(*r.database, path, &error)) << error;
  DxfReadResult from_file = ReadDxfFile(path);
  std::remove(path.c_str());
  ASSERT_TRUE(from_file.ok()) << from_file.error;
  EXPECT_TRUE(WriteDxf(*from_file.database) == saved);
}

TEST(DxfLargeDrawingTest, FaultsLateInTheEntitiesAreReportedAsInASmallDrawing) {
  // The last reference takes the handle of the first one's attribute.
  Groups twice = References(kRefs);
  const std::string last = Hex(RefHandle(kRefs - 1));
  for (auto& [code, value] : twice)
    if (code == 5 && value == last) value = Hex(RefHandle(0) + 1);
  const std::string twice_text = DxfText(SmallDrawing(twice));
  const int first = LineOf(twice_text, "  5\n" + Hex(RefHandle(0) + 1) + "\n");
  const int second = LineOf(twice_text, "  5\n" + Hex(RefHandle(0) + 1) + "\n",
                            "E" + std::to_string(kRefs - 2) + "\n");
  DxfReadResult r = ReadDxf(twice_text);
  EXPECT_FALSE(r.ok());
  // Both named by the line of their record's 0 group, two before the 5.
  EXPECT_EQ(r.error, L"line " + std::to_wstring(second - 2) + L": handle " +
                         W(Hex(RefHandle(0) + 1)) + L" is used twice (first on line " +
                         std::to_wstring(first - 2) + L")");

  // A group after the entities takes the handle of one of them.
  const std::string group_text =
      DxfText(SmallDrawing(References(kRefs), {{0, "GROUP"},
                                               {5, Hex(RefHandle(kRefs / 2))},
                                               {330, "D"},
                                               {100, "AcDbGroup"},
                                               {300, ""},
                                               {70, "0"},
                                               {71, "1"}}));
  const std::string ref_handle = "  5\n" + Hex(RefHandle(kRefs / 2)) + "\n";
  r = ReadDxf(group_text);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(
      r.error,
      L"line " +
          std::to_wstring(LineOf(group_text, "  0\nGROUP\n  5\n" + Hex(RefHandle(kRefs / 2)))) +
          L": handle " + W(Hex(RefHandle(kRefs / 2))) + L" is used twice (first on line " +
          std::to_wstring(LineOf(group_text, ref_handle) - 2) + L")");

  // A number that is none in the last attribute.
  Groups bad = References(kRefs);
  bad[bad.size() - 10].second = "abc";  // the 40 of the last ATTRIB
  ASSERT_EQ(bad[bad.size() - 10].first, 40);
  const std::string bad_text = DxfText(SmallDrawing(bad));
  r = ReadDxf(bad_text);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.error, L"line " + std::to_wstring(LineOf(bad_text, "\nabc\n") + 1) +
                         L": group 40 needs a number, found \"abc\"");
}

TEST(DxfLargeDrawingTest, ANameWhereAHandleBelongsLateInTheEntitiesIsAWarningWithItsLine) {
  Groups g = References(kRefs);
  g.push_back({0, "TEXT"});
  g.push_back({5, "FFFF0"});
  g.push_back({330, "1F"});
  g.push_back({100, "AcDbEntity"});
  g.push_back({8, "0"});
  g.push_back({100, "AcDbText"});
  g.push_back({10, "0.0"});
  g.push_back({20, "0.0"});
  g.push_back({30, "0.0"});
  g.push_back({40, "2.5"});
  g.push_back({1, "x"});
  g.push_back({340, "Standard"});
  const std::string text = DxfText(SmallDrawing(g));
  DxfReadResult r = ReadDxf(text);
  ASSERT_TRUE(r.ok()) << r.error;
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_EQ(r.warnings[0],
            L"line " + std::to_wstring(LineOf(text, "\nStandard\n", "FFFF0") + 1) +
                L": group 340 holds \"Standard\" where a handle belongs; kept as text");
  AcDbObjectId last;
  EXPECT_EQ(r.database->getAcDbObjectId(last, false, AcDbHandle(RefHandle(kRefs - 1))), Acad::eOk);
  EXPECT_EQ(XDataText(last), L"E" + std::to_wstring(kRefs - 1));
}

// The handles the file gives its objects (group 5 values, 105 of a dimension style), from its
// text.
std::vector<unsigned long long> FileHandles(const std::string& text) {
  std::vector<unsigned long long> handles;
  size_t pos = text.find("  0\nENDSEC\n");  // after the header, whose $HANDSEED is no handle
  std::string code, value;
  auto line = [&](std::string* out) {
    const size_t end = text.find('\n', pos);
    if (end == std::string::npos) return false;
    *out = text.substr(pos, end - pos);
    pos = end + 1;
    return true;
  };
  while (line(&code) && line(&value))
    if (code == "  5" || code == "105") handles.push_back(std::stoull(value, nullptr, 16));
  return handles;
}

// Objects of the drawing whose handle the file does not give and is not above `above`.
int MadeAtOrBelow(AcDbDatabase& db, const std::vector<unsigned long long>& file,
                  unsigned long long above) {
  int n = 0;
  for (const AcDbObjectId& id : platform::acad::AllObjectIds(db)) {
    const unsigned long long h = id.handle().value();
    if (std::find(file.begin(), file.end(), h) == file.end() && h <= above) {
      ++n;
      ADD_FAILURE() << std::hex << h << " " << (id.objectClass() ? id.objectClass()->name() : L"?");
    }
  }
  return n;
}

Groups LineOn(const std::string& handle, const std::string& layer) {
  Groups g = {{0, "LINE"},       {330, "1F"}, {100, "AcDbEntity"}, {8, layer},
              {100, "AcDbLine"}, {10, "1.0"}, {20, "2.0"},         {30, "0.0"},
              {11, "3.0"},       {21, "4.0"}, {31, "0.0"}};
  if (!handle.empty()) g.insert(g.begin() + 1, {5, handle});
  return g;
}

// Objects the reader makes take handles above every handle of the file, the entities' included,
// whether made before the entities are read or while they are; the entities' end is found by
// their text without being fooled by a value that reads "ENDSEC".
TEST(DxfLargeDrawingTest, HandlesAndTheEndOfTheEntitiesAreAsWhenReadWhole) {
  // The file's seed (100) is below the references' handles; objects the drawing lacks are made
  // before the entities, a layer while they are read. A text reads "ENDSEC".
  Groups g = References(kRefs);
  const Groups line = LineOn("FFFF0", "NEW");
  g.insert(g.end(), line.begin(), line.end());
  g.insert(g.end(), {{0, "MTEXT"},
                     {5, "FFFF1"},
                     {330, "1F"},
                     {100, "AcDbEntity"},
                     {8, "0"},
                     {100, "AcDbMText"},
                     {1, "ENDSEC"},
                     {3, "0"},
                     {1, "ENDSEC"}});
  const std::string text = DxfText(SmallDrawing(g));
  size_t done = 0;
  const char* done_to = nullptr;
  DxfReadResult r = ReadDxf(text, [&](const char*, const char* to) {
    ++done;
    done_to = to;
  });
  ASSERT_TRUE(r.ok()) << r.error;
  // Read a run at a time, up to the entities' end.
  EXPECT_GE(done, 2u);
  EXPECT_EQ(done_to, text.data() + text.find("  0\nENDSEC\n", text.find("FFFF1")));
  const std::vector<unsigned long long> handles = FileHandles(text);
  EXPECT_EQ(MadeAtOrBelow(*r.database, handles, 0xFFFF1), 0);
  AcDbObjectId layer_id;
  {
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(r.database->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(layers->getAt(L"NEW", layer_id), Acad::eOk);
    layers->close();
  }
  AcDbObjectId mtext_id;
  ASSERT_EQ(r.database->getAcDbObjectId(mtext_id, false, AcDbHandle(0xFFFF1)), Acad::eOk);
  AcDbEntity* mtext = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(mtext, mtext_id, AcDb::kForRead), Acad::eOk);
  int endsec = 0;
  for (const platform::acad::RawGroup& raw : platform::acad::KeptGroups(*mtext))
    endsec += raw.value == L"ENDSEC" ? 1 : 0;
  mtext->close();
  EXPECT_EQ(endsec, 2);

  // Saved, the drawing lacks nothing and its seed is above its handles; a line with a handle
  // above that seed on a layer the file lacks makes the layer while the entities are read.
  std::string saved = WriteDxf(*r.database);
  const size_t entities = saved.find("ENTITIES");
  const size_t end = saved.find("  0\nENDSEC\n", entities);
  ASSERT_NE(end, std::string::npos);
  saved.insert(end, DxfText(LineOn("FFFFFF0", "NEWER")));
  DxfReadResult again = ReadDxf(saved);
  ASSERT_TRUE(again.ok()) << again.error;
  EXPECT_EQ(MadeAtOrBelow(*again.database, FileHandles(saved), 0xFFFFFF0), 0);

  // A line without a handle gets one above the file's.
  Groups without = References(kRefs);
  const Groups bare = LineOn("", "0");
  // Between the first reference's SEQEND and the second reference.
  const auto second =
      std::find(without.begin() + 1, without.end(), std::pair<int, std::string>{0, "INSERT"});
  without.insert(second, bare.begin(), bare.end());
  const std::string without_text = DxfText(SmallDrawing(without));
  r = ReadDxf(without_text);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(MadeAtOrBelow(*r.database, FileHandles(without_text), RefHandle(kRefs - 1) + 2), 0);
  int lines = 0;
  for (const AcDbObjectId& id : platform::acad::AllObjectIds(*r.database))
    lines += id.objectClass() != nullptr && id.objectClass()->isDerivedFrom(AcDbLine::desc());
  EXPECT_EQ(lines, 2);  // the small drawing's and this one
}

// Lines after the entities read a run at a time are numbered as read: a warning about a group
// names its line.
TEST(DxfLargeDrawingTest, LinesAfterTheEntitiesAreNumberedAsInTheFile) {
  const std::string text = DxfText(SmallDrawing(References(kRefs), {{0, "GROUP"},
                                                                    {5, "FFFF0"},
                                                                    {330, "D"},
                                                                    {100, "AcDbGroup"},
                                                                    {300, ""},
                                                                    {70, "0"},
                                                                    {71, "1"},
                                                                    {340, "99"}}));
  size_t done = 0;
  DxfReadResult r = ReadDxf(text, [&done](const char*, const char*) { ++done; });
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_GE(done, 2u);
  ASSERT_EQ(r.warnings.size(), 1u);
  const int line = LineOf(text, "340\n99\n", "FFFF0");
  EXPECT_EQ(r.warnings[0].rfind(L"line " + std::to_wstring(line) + L": group \"", 0), 0u)
      << r.warnings[0];
  EXPECT_NE(r.warnings[0].find(L"names a missing entity 99; left out"), std::wstring::npos);
}

// A value "0" and then "ENDSEC" where a group code belongs: refused as when read whole.
TEST(DxfLargeDrawingTest, AFaultInTheFirstRunEndsTheReadingWhileTheRestIsLexedAhead) {
  // The second reference takes the handle of the first one's attribute: the database refuses it
  // while the runs after it are being lexed. Four times the references, so that the lexing is
  // far from done when the fault comes.
  Groups twice = References(4 * kRefs);
  const std::string second = Hex(RefHandle(1));
  for (auto& [code, value] : twice)
    if (code == 5 && value == second) value = Hex(RefHandle(0) + 1);
  const std::string text = DxfText(SmallDrawing(twice));
  const int first = LineOf(text, "  5\n" + Hex(RefHandle(0) + 1) + "\n");
  const int again = LineOf(text, "  5\n" + Hex(RefHandle(0) + 1) + "\n", "T0\n");
  for (int i = 0; i < 3; ++i) {
    DxfReadResult r = ReadDxf(text);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.error, L"line " + std::to_wstring(again - 2) + L": handle " +
                           W(Hex(RefHandle(0) + 1)) + L" is used twice (first on line " +
                           std::to_wstring(first - 2) + L")");
  }
}

TEST(DxfLargeDrawingTest, AnEndInTheWrongPlaceIsAFaultAsWhenReadWhole) {
  std::string text = DxfText(SmallDrawing(References(kRefs)));
  const size_t at = text.find("  8\n0\n", text.find("INSERT")) + 6;
  text.insert(at, "ENDSEC\n");
  const int line = static_cast<int>(std::count(text.begin(), text.begin() + at, '\n')) + 1;
  DxfReadResult r = ReadDxf(text);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.error,
            L"line " + std::to_wstring(line) + L": a group code was expected, found \"ENDSEC\"");
}

}  // namespace
}  // namespace host
