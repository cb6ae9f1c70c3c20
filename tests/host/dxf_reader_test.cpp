// The DXF reader: what a drawing file gives the database, code pages, and refused files.
#include "host/dxf/dxf_reader.h"
#include "platform/acad/kept_groups.h"

#include <acutads.h>
#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include "platform/acad/dbhost.h"
#include <dbsymtb.h>
#include <gtest/gtest.h>
#include "platform/win/text_encoding.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "dxf_test_support.h"
#include "host/dxf/dxf_objects.h"

namespace host {
namespace {

using testing::DxfText;
using testing::IdOf;
using testing::SmallDrawing;

TEST(DxfReaderTest, ReadsHeaderTablesBlocksAndEntities) {
  DxfReadResult r = ReadDxf(DxfText(SmallDrawing()));
  ASSERT_TRUE(r.ok()) << r.error;
  AcDbDatabase& db = *r.database;
  EXPECT_EQ(r.version, L"AC1024");
  EXPECT_DOUBLE_EQ(db.dimscale(), 2.5);
  EXPECT_EQ(DxfHeaderValue(db, L"$INSUNITS"), L"4");
  EXPECT_EQ(DxfHeaderValue(db, L"$DWGCODEPAGE"), L"ANSI_932");
  EXPECT_GE(db.handseed().value(), 0x100u);

  AcDbLayerTableRecord* layer = nullptr;
  ASSERT_EQ(acdbOpenObject(layer, IdOf(db, L"11"), AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(layer->name(), L"RQ_CONNECT");
  EXPECT_EQ(layer->color().colorIndex(), 3);
  layer->close();

  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, IdOf(db, L"30"), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(ref->ownerId(), db.modelSpaceId());
  EXPECT_EQ(ref->blockTableRecord(), IdOf(db, L"20"));
  EXPECT_DOUBLE_EQ(ref->position().x, 10.0);
  EXPECT_DOUBLE_EQ(ref->position().y, 20.0);
  EXPECT_NEAR(ref->rotation(), 3.14159265358979 / 2, 1e-12);
  EXPECT_EQ(ref->colorIndex(), 5);
  ASSERT_EQ(ref->attributeIds().size(), 1u);
  EXPECT_EQ(ref->attributeIds()[0], IdOf(db, L"31"));
  resbuf* xdata = ref->xData(L"RQ_LINK");
  ref->close();
  ASSERT_NE(xdata, nullptr);
  const resbuf* rb = xdata->rbnext;
  ASSERT_NE(rb, nullptr);
  EXPECT_EQ(rb->restype, 1000);
  EXPECT_STREQ(rb->resval.rstring, L"3");
  rb = rb->rbnext;
  EXPECT_EQ(rb->restype, 1070);
  EXPECT_EQ(rb->resval.rint, 7);
  rb = rb->rbnext;
  EXPECT_EQ(rb->restype, 1071);
  EXPECT_EQ(rb->resval.rlong, 70000);
  rb = rb->rbnext;
  EXPECT_EQ(rb->restype, 1040);
  EXPECT_DOUBLE_EQ(rb->resval.rreal, 1.5);
  rb = rb->rbnext;
  EXPECT_EQ(rb->restype, 1010);
  EXPECT_DOUBLE_EQ(rb->resval.rpoint[2], 3.0);
  rb = rb->rbnext;
  EXPECT_EQ(rb->restype, 1002);
  rb = rb->rbnext;
  EXPECT_EQ(rb->restype, 1005);
  EXPECT_STREQ(rb->resval.rstring, L"33");
  acutRelRb(xdata);

  AcDbAttribute* attr = nullptr;
  ASSERT_EQ(acdbOpenObject(attr, IdOf(db, L"31"), AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(attr->tagConst(), L"ETAT");
  EXPECT_STREQ(attr->textStringConst(), L"1");
  attr->close();

  AcDbPoint* point = nullptr;
  ASSERT_EQ(acdbOpenObject(point, IdOf(db, L"22"), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(point->ownerId(), IdOf(db, L"20"));
  EXPECT_EQ(point->layerId(), IdOf(db, L"11"));
  EXPECT_DOUBLE_EQ(point->position().x, 100.0);
  point->close();

  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, IdOf(db, L"33"), AcDb::kForRead), Acad::eOk);
  EXPECT_DOUBLE_EQ(line->endPoint().y, 25.0);
  line->close();
  EXPECT_EQ(platform::acad::DescribeOpenObjects(db), L"");
}

TEST(DxfReaderTest, GroupsComeFromTheGroupDictionary) {
  DxfReadResult r = ReadDxf(DxfText(SmallDrawing()));
  ASSERT_TRUE(r.ok()) << r.error;
  AcDbDatabase& db = *r.database;
  EXPECT_EQ(db.groupDictionaryId(), IdOf(db, L"D"));
  AcDbDictionary* groups = nullptr;
  ASSERT_EQ(db.getGroupDictionary(groups), Acad::eOk);
  AcDbObjectId group_id;
  EXPECT_EQ(groups->getAt(L"R1", group_id), Acad::eOk);
  groups->close();
  AcDbGroup* group = nullptr;
  ASSERT_EQ(acdbOpenObject(group, group_id, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(group->name(), L"R1");
  EXPECT_STREQ(group->description(), L"route 1");
  AcDbObjectIdArray members;
  group->allEntityIds(members);
  group->close();
  ASSERT_EQ(members.length(), 2);
  EXPECT_EQ(members[0], IdOf(db, L"30"));
  EXPECT_EQ(members[1], IdOf(db, L"33"));
}

TEST(DxfReaderTest, UnmodelledEntitiesKeepTheirGroups) {
  DxfReadResult r = ReadDxf(DxfText(SmallDrawing({{0, "MTEXT"},
                                                  {5, "50"},
                                                  {330, "1F"},
                                                  {100, "AcDbEntity"},
                                                  {8, "RQ_CONNECT"},
                                                  {100, "AcDbMText"},
                                                  {10, "1.0"},
                                                  {20, "2.0"},
                                                  {30, "0.0"},
                                                  {40, "3.0"},
                                                  {1, "A\\PB"}})));
  ASSERT_TRUE(r.ok()) << r.error;
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, IdOf(*r.database, L"50"), AcDb::kForRead), Acad::eOk);
  auto* kept = DxfUnknownEntity::cast(e);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->dxfName(), L"MTEXT");
  EXPECT_EQ(e->layerId(), IdOf(*r.database, L"11"));
  // Every group after the type, handle and owner included, in file order.
  ASSERT_EQ(platform::acad::KeptGroups(*e).size(), 10u);
  EXPECT_EQ(platform::acad::KeptGroups(*e)[0].code, 5);
  EXPECT_EQ(platform::acad::KeptGroups(*e)[0].value, L"50");
  EXPECT_EQ(platform::acad::KeptGroups(*e)[9].code, 1);
  EXPECT_EQ(platform::acad::KeptGroups(*e)[9].value, L"A\\PB");
  e->close();
}

TEST(DxfReaderTest, CodePage932BeforeAc1021) {
  // AC1018 with ANSI_932: Shift-JIS bytes and a \U+ escape for a character outside it.
  const std::string layer = platform::WideToCp932(L"配線");
  const std::string text = platform::WideToCp932(L"盤ﾃｽﾄ") + "\\U+2460";
  std::string dxf = DxfText({{0, "SECTION"},
                             {2, "HEADER"},
                             {9, "$ACADVER"},
                             {1, "AC1018"},
                             {9, "$DWGCODEPAGE"},
                             {3, "ANSI_932"},
                             {0, "ENDSEC"},
                             {0, "SECTION"},
                             {2, "TABLES"},
                             {0, "TABLE"},
                             {2, "LAYER"},
                             {5, "2"},
                             {70, "1"},
                             {0, "LAYER"},
                             {5, "10"},
                             {100, "AcDbSymbolTableRecord"},
                             {100, "AcDbLayerTableRecord"},
                             {2, layer},
                             {70, "0"},
                             {62, "1"},
                             {6, "Continuous"},
                             {0, "ENDTAB"},
                             {0, "ENDSEC"},
                             {0, "SECTION"},
                             {2, "ENTITIES"},
                             {0, "TEXT"},
                             {5, "40"},
                             {100, "AcDbEntity"},
                             {8, layer},
                             {100, "AcDbText"},
                             {10, "0"},
                             {20, "0"},
                             {30, "0"},
                             {40, "2.5"},
                             {1, text},
                             {0, "ENDSEC"},
                             {0, "EOF"}});
  DxfReadResult r = ReadDxf(dxf);
  ASSERT_TRUE(r.ok()) << r.error;
  AcDbText* t = nullptr;
  ASSERT_EQ(acdbOpenObject(t, IdOf(*r.database, L"40"), AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(t->textStringConst(), L"盤ﾃｽﾄ①");
  ACHAR* name = t->layer();
  EXPECT_STREQ(name, L"配線");
  acutDelString(name);
  t->close();
}

TEST(DxfReaderTest, Utf8FromAc1021) {
  std::string dxf = DxfText({{0, "SECTION"},
                             {2, "HEADER"},
                             {9, "$ACADVER"},
                             {1, "AC1027"},
                             {0, "ENDSEC"},
                             {0, "SECTION"},
                             {2, "ENTITIES"},
                             {0, "TEXT"},
                             {5, "40"},
                             {8, "0"},
                             {10, "0"},
                             {20, "0"},
                             {30, "0"},
                             {40, "2.5"},
                             {1, "負荷\\U+0041"},
                             {0, "ENDSEC"},
                             {0, "EOF"}});
  DxfReadResult r = ReadDxf(dxf);
  ASSERT_TRUE(r.ok()) << r.error;
  AcDbText* t = nullptr;
  ASSERT_EQ(acdbOpenObject(t, IdOf(*r.database, L"40"), AcDb::kForRead), Acad::eOk);
  // From AC1021 on, text is UTF-8 and a backslash sequence is the text itself.
  EXPECT_STREQ(t->textStringConst(), L"負荷\\U+0041");
  t->close();
}

struct BadFile {
  const char* name;
  std::string text;
  std::wstring error;
};

TEST(DxfReaderTest, BadFilesAreRefusedWithTheLine) {
  const std::string good = DxfText(SmallDrawing());
  // Cut after the ENTITIES line: the line after the last one is where EOF was due.
  std::string truncated = good.substr(0, good.find("ENTITIES") + 9);
  const std::wstring truncated_line =
      std::to_wstring(std::count(truncated.begin(), truncated.end(), '\n') + 1);
  std::string bad_code = DxfText({{0, "SECTION"}, {2, "ENTITIES"}}) + "X1\nfoo\n" +
                         DxfText({{0, "ENDSEC"}, {0, "EOF"}});
  std::string not_number = DxfText({{0, "SECTION"},
                                    {2, "ENTITIES"},
                                    {0, "LINE"},
                                    {5, "40"},
                                    {8, "0"},
                                    {10, "abc"},
                                    {0, "ENDSEC"},
                                    {0, "EOF"}});
  // A section of a kind the drawing does not know is kept, but it must still end.
  std::string unended = DxfText({{0, "SECTION"}, {2, "PICTURES"}, {90, "5"}, {0, "EOF"}});
  // A section begun inside another, whether the drawing models it or keeps it.
  std::string nested = DxfText({{0, "SECTION"}, {2, "ENTITIES"}, {0, "SECTION"}, {2, "OBJECTS"},
                                {0, "ENDSEC"}, {0, "EOF"}});
  std::string nested_kept = DxfText({{0, "SECTION"}, {2, "PICTURES"}, {0, "SECTION"},
                                     {2, "OBJECTS"}, {0, "ENDSEC"}, {0, "EOF"}});
  std::string twice = DxfText({{0, "SECTION"},
                               {2, "ENTITIES"},
                               {0, "LINE"},
                               {5, "40"},
                               {8, "0"},
                               {0, "POINT"},
                               {5, "40"},
                               {8, "0"},
                               {0, "ENDSEC"},
                               {0, "EOF"}});
  std::string old = DxfText(
      {{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1009"}, {0, "ENDSEC"}, {0, "EOF"}});
  const BadFile cases[] = {
      {"truncated", truncated,
       L"line " + truncated_line + L": the file ends without EOF (truncated?)"},
      {"group code", bad_code, L"line 5: a group code was expected, found \"X1\""},
      {"number", not_number, L"line 12: group 10 needs a number, found \"abc\""},
      {"section", unended, L"line 7: EOF inside a section (ENDSEC missing)"},
      {"nested", nested, L"line 5: SECTION inside a section (ENDSEC missing)"},
      {"nested kept", nested_kept, L"line 5: SECTION inside a section (ENDSEC missing)"},
      {"handle twice", twice, L"line 11: handle 40 is used twice (first on line 5)"},
      {"version", old, L"line 1: drawing version AC1009 is not supported (AC1015 to AC1032 are)"},
      {"empty", "", L"line 1: the file ends without EOF (truncated?)"},
  };
  for (const BadFile& c : cases) {
    DxfReadResult r = ReadDxf(c.text);
    EXPECT_FALSE(r.ok()) << c.name;
    EXPECT_EQ(r.error, c.error) << c.name;
  }
}

// A name is looked up in its own table: the linetype "RT100" is none, though a block is named so
// and a reference to it was read just before; no block is named "Standard" as the text style of
// the attribute read before.
TEST(DxfReaderTest, NamesAreLookedUpInTheirOwnTable) {
  DxfReadResult r = ReadDxf(DxfText(SmallDrawing({{0, "LINE"},
                                                  {5, "50"},
                                                  {330, "1F"},
                                                  {100, "AcDbEntity"},
                                                  {8, "RT100"},
                                                  {6, "RT100"},
                                                  {100, "AcDbLine"},
                                                  {10, "0.0"},
                                                  {20, "0.0"},
                                                  {30, "0.0"},
                                                  {11, "1.0"},
                                                  {21, "1.0"},
                                                  {31, "0.0"},
                                                  // No block is named as the text style.
                                                  {0, "INSERT"},
                                                  {5, "51"},
                                                  {330, "1F"},
                                                  {100, "AcDbEntity"},
                                                  {8, "0"},
                                                  {100, "AcDbBlockReference"},
                                                  {2, "Standard"},
                                                  {10, "0.0"},
                                                  {20, "0.0"},
                                                  {30, "0.0"}})));
  ASSERT_TRUE(r.ok()) << r.error;
  AcDbEntity* kept = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(kept, IdOf(*r.database, L"51"), AcDb::kForRead), Acad::eOk);
  EXPECT_NE(DxfUnknownEntity::cast(kept), nullptr);
  kept->close();
  AcDbObjectId by_layer, layer, block;
  AcDbLinetypeTable* linetypes = nullptr;
  ASSERT_EQ(r.database->getLinetypeTable(linetypes, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(linetypes->getAt(L"ByLayer", by_layer), Acad::eOk);
  linetypes->close();
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(r.database->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(layers->getAt(L"RT100", layer), Acad::eOk);  // made, with a warning
  layers->close();
  AcDbBlockTable* blocks = nullptr;
  ASSERT_EQ(r.database->getBlockTable(blocks, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(blocks->getAt(L"RT100", block), Acad::eOk);
  blocks->close();
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, IdOf(*r.database, L"50"), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(e->linetypeId(), by_layer);
  EXPECT_EQ(e->layerId(), layer);
  EXPECT_NE(e->layerId(), block);
  e->close();
}

TEST(DxfReaderTest, AGroupNamingAMissingEntityIsRepaired) {
  DxfReadResult r = ReadDxf(DxfText(SmallDrawing({}, {{0, "GROUP"},
                                                      {5, "41"},
                                                      {330, "D"},
                                                      {100, "AcDbGroup"},
                                                      {300, ""},
                                                      {70, "0"},
                                                      {71, "1"},
                                                      {340, "33"},
                                                      {340, "99"}})));
  ASSERT_TRUE(r.ok()) << r.error;
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_NE(r.warnings[0].find(L"names a missing entity 99; left out"), std::wstring::npos)
      << r.warnings[0];
  EXPECT_EQ(r.warnings[0].rfind(L"line ", 0), 0u);
  AcDbGroup* group = nullptr;
  ASSERT_EQ(acdbOpenObject(group, IdOf(*r.database, L"41"), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(group->numEntities(), 1u);
  group->close();
}

TEST(DxfReaderTest, ABlockWithoutItsRecordGetsOneAndItsReferencesFindIt) {
  // Older writers leave the block record out; the references before and after the block is
  // read must all end up on the record that is made for it.
  std::string text = DxfText(SmallDrawing({{0, "INSERT"},
                                           {5, "90"},
                                           {330, "1F"},
                                           {100, "AcDbEntity"},
                                           {8, "0"},
                                           {100, "AcDbBlockReference"},
                                           {2, "OLD1"},
                                           {10, "1.0"},
                                           {20, "2.0"},
                                           {30, "0.0"}}));
  const std::string block = DxfText({{0, "BLOCK"},
                                     {5, "91"},
                                     {100, "AcDbEntity"},
                                     {8, "0"},
                                     {100, "AcDbBlockBegin"},
                                     {2, "OLD1"},
                                     {70, "0"},
                                     {10, "0.0"},
                                     {20, "0.0"},
                                     {30, "0.0"},
                                     {0, "INSERT"},
                                     {5, "92"},
                                     {100, "AcDbEntity"},
                                     {8, "0"},
                                     {100, "AcDbBlockReference"},
                                     {2, "RT100"},
                                     {10, "0.0"},
                                     {20, "0.0"},
                                     {30, "0.0"},
                                     {0, "ENDBLK"},
                                     {5, "93"},
                                     {100, "AcDbEntity"},
                                     {8, "0"},
                                     {100, "AcDbBlockEnd"}});
  const size_t blocks = text.find("  2\nBLOCKS\n");
  ASSERT_NE(blocks, std::string::npos);
  text.insert(blocks + 11, block);
  DxfReadResult r = ReadDxf(text);
  ASSERT_TRUE(r.ok()) << platform::WideToUtf8(r.error);
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, IdOf(*r.database, L"90"), AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* btr = nullptr;
  ASSERT_EQ(acdbOpenObject(btr, ref->blockTableRecord(), AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(btr->name(), L"OLD1");
  ASSERT_EQ(btr->entityIds().size(), 1u);
  EXPECT_EQ(btr->entityIds()[0], IdOf(*r.database, L"92"));
  btr->close();
  ref->close();
}

TEST(DxfReaderTest, AMissingFileNamesItsPath) {
  DxfReadResult r = ReadDxfFile("/nonexistent/drawing.dxf");
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.error, L"/nonexistent/drawing.dxf: cannot be opened");
}

// A reference's SEQEND that names its reference, or another object (the block that holds the
// reference, as some writers have it), as owner is made as the writer makes it and keeps no
// groups; one whose owner is not written as a handle is written is kept as read. Each is saved
// as read, and again the same.
TEST(DxfReaderTest, AReferencesSeqendKeepsTheOwnerItWasReadWith) {
  auto reference = [](const std::string& handle, const std::string& seqend_owner) {
    std::vector<std::pair<int, std::string>> g = {{0, "INSERT"},
                                                  {5, handle},
                                                  {330, "1F"},
                                                  {100, "AcDbEntity"},
                                                  {8, "0"},
                                                  {100, "AcDbBlockReference"},
                                                  {66, "1"},
                                                  {2, "RT100"},
                                                  {10, "0.0"},
                                                  {20, "0.0"},
                                                  {30, "0.0"},
                                                  {0, "ATTRIB"},
                                                  {5, handle + "1"},
                                                  {330, handle},
                                                  {100, "AcDbEntity"},
                                                  {8, "0"},
                                                  {100, "AcDbText"},
                                                  {10, "0.0"},
                                                  {20, "0.0"},
                                                  {30, "0.0"},
                                                  {40, "2.5"},
                                                  {1, "S1"},
                                                  {100, "AcDbAttribute"},
                                                  {2, "ETAT"},
                                                  {70, "0"},
                                                  {0, "SEQEND"},
                                                  {5, handle + "2"},
                                                  {330, seqend_owner},
                                                  {100, "AcDbEntity"},
                                                  {8, "0"}};
    return g;
  };
  std::vector<std::pair<int, std::string>> extra;
  for (const auto& [handle, owner] : std::vector<std::pair<std::string, std::string>>{
           {"50", "1F"}, {"60", "60"}, {"70", "1f"}, {"80", "01F"}}) {
    const auto g = reference(handle, owner);
    extra.insert(extra.end(), g.begin(), g.end());
  }
  const std::string text = DxfText(SmallDrawing(extra));
  DxfReadResult r = ReadDxf(text);
  ASSERT_TRUE(r.ok()) << r.error;
  auto kept_count = [&](const wchar_t* hex) {
    AcDbObject* seqend = nullptr;
    EXPECT_EQ(acdbOpenObject(seqend, IdOf(*r.database, hex), AcDb::kForRead), Acad::eOk) << hex;
    if (seqend == nullptr) return size_t{99};
    EXPECT_NE(DxfUnknownObject::cast(seqend), nullptr) << hex;
    const size_t n = platform::acad::KeptGroups(*seqend).size();
    seqend->close();
    return n;
  };
  EXPECT_EQ(kept_count(L"502"), 0u);  // the block that holds the reference
  EXPECT_EQ(kept_count(L"602"), 0u);  // the reference
  EXPECT_EQ(kept_count(L"702"), 4u);  // lower-case digits: as read
  EXPECT_EQ(kept_count(L"802"), 4u);  // a leading zero: as read
  const std::string saved = testing::SaveTwice(text);
  for (const char* seqend : {"  0\nSEQEND\n  5\n502\n330\n1F\n100\nAcDbEntity\n  8\n0\n",
                             "  0\nSEQEND\n  5\n602\n330\n60\n100\nAcDbEntity\n  8\n0\n",
                             "  0\nSEQEND\n  5\n702\n330\n1f\n100\nAcDbEntity\n  8\n0\n",
                             "  0\nSEQEND\n  5\n802\n330\n01F\n100\nAcDbEntity\n  8\n0\n"})
    EXPECT_NE(saved.find(seqend), std::string::npos) << seqend;
}

}  // namespace
}  // namespace host
