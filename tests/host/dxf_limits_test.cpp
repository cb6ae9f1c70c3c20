// Hostile drawings: blocks that hold themselves, nest too deep or expand beyond reason are
// refused with the line of the reference; a file too large to hold is refused before it is
// read; a line of a megabyte is read like any other.
#include <acutads.h>
#include "platform/acad/block_nesting.h"
#include <dbents.h>
#include <dbsymtb.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include "platform/win/text_encoding.h"
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dxf_test_support.h"
#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_writer.h"

namespace host {
namespace {

using testing::DxfText;
using testing::SmallDrawing;
using Groups = std::vector<std::pair<int, std::string>>;

Groups Insert(const std::string& handle, const std::string& block) {
  return {{0, "INSERT"}, {5, handle}, {100, "AcDbEntity"}, {8, "0"},   {100, "AcDbBlockReference"},
          {2, block},    {10, "0.0"}, {20, "0.0"},         {30, "0.0"}};
}

Groups Point(const std::string& handle) {
  return {{0, "POINT"},       {5, handle}, {100, "AcDbEntity"}, {8, "0"},
          {100, "AcDbPoint"}, {10, "1.0"}, {20, "1.0"},         {30, "0.0"}};
}

// A block definition (without its record, which the reader makes) holding `body`.
Groups Block(const std::string& handle, const std::string& name, const Groups& body) {
  Groups g = {{0, "BLOCK"}, {5, handle}, {100, "AcDbEntity"}, {8, "0"},    {100, "AcDbBlockBegin"},
              {2, name},    {70, "0"},   {10, "0.0"},         {20, "0.0"}, {30, "0.0"}};
  g.insert(g.end(), body.begin(), body.end());
  Groups end = {
      {0, "ENDBLK"}, {5, handle + "E"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbBlockEnd"}};
  g.insert(g.end(), end.begin(), end.end());
  return g;
}

// A prefix and a number: "E" and 7 give "E7". Appended, which the release build's g++ accepts
// (it misreads "E" + std::to_string(7) at -O3 as an overlapping copy).
std::string Named(const char* prefix, int number) {
  std::string name = prefix;
  name += std::to_string(number);
  return name;
}

void Append(Groups* to, const Groups& more) {
  to->insert(to->end(), more.begin(), more.end());
}

// The small test drawing with these blocks (and a record for each in the block table, so that
// a reference may come before its block) and these model space entities.
std::string Drawing(const Groups& blocks, const Groups& entities) {
  std::string text = DxfText(SmallDrawing(entities));
  const size_t table = text.find("  2\nBLOCK_RECORD\n");
  const size_t table_end = text.find("  0\nENDTAB\n", table);
  if (table == std::string::npos || table_end == std::string::npos) return "";
  Groups records;
  int n = 0;
  for (size_t i = 0; i + 1 < blocks.size(); ++i) {
    if (blocks[i].first != 0 || blocks[i].second != "BLOCK") continue;
    size_t name = i + 1;
    while (name < blocks.size() && blocks[name].first != 2) ++name;
    Append(&records, {{0, "BLOCK_RECORD"},
                      {5, std::to_string(700000 + n++)},
                      {330, "1"},
                      {100, "AcDbSymbolTableRecord"},
                      {100, "AcDbBlockTableRecord"},
                      {2, blocks[name].second}});
  }
  text.insert(table_end, DxfText(records));
  const size_t at = text.find("  2\nBLOCKS\n");
  if (at == std::string::npos) return "";
  text.insert(at + 11, DxfText(blocks));
  return text;
}

// The line of the group code "  0" before the INSERT with that handle: the line the reader
// names for it.
int LineOfInsert(const std::string& text, const std::string& handle) {
  const size_t at = text.find("  0\nINSERT\n  5\n" + handle + "\n");
  if (at == std::string::npos) return -1;
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
}

std::string Error(const std::string& text) {
  DxfReadResult r = ReadDxf(text);
  return r.ok() ? "<read>" : platform::WideToUtf8(r.error);
}

std::string LineError(int line, const std::string& what) {
  return Named("line ", line) + ": " + what;
}

TEST(DxfLimitsTest, ABlockThatHoldsItselfIsRefusedAtTheReferenceThatClosesTheLoop) {
  // Directly.
  std::string text = Drawing(Block("A0", "LOOP", Insert("A1", "LOOP")), Insert("A2", "LOOP"));
  EXPECT_EQ(Error(text),
            LineError(LineOfInsert(text, "A1"), "the block \"LOOP\" is inserted into itself"));

  // Through another block: PING holds PONG, PONG holds PING; the walk starts at PING, the file's
  // first block with a reference, so the loop closes at the reference inside PONG.
  Groups blocks = Block("B0", "PING", Insert("B1", "PONG"));
  Append(&blocks, Block("C0", "PONG", Insert("C1", "PING")));
  text = Drawing(blocks, Insert("C2", "PING"));
  EXPECT_EQ(Error(text), LineError(LineOfInsert(text, "C1"),
                                   "the block \"PING\" is inserted into itself through other "
                                   "blocks"));

  // Model space inserted into itself.
  text = Drawing({}, Insert("D1", "*Model_Space"));
  EXPECT_EQ(Error(text), LineError(LineOfInsert(text, "D1"),
                                   "the block \"*Model_Space\" is inserted into itself"));
}

// N blocks N0 ... N<count-1>, each holding a reference of the next, the last a point.
Groups Chain(int count) {
  Groups blocks;
  for (int i = 0; i < count; ++i) {
    Append(&blocks,
           Block(Named("E", i), Named("N", i),
                 i + 1 < count ? Insert(Named("F", i), Named("N", i + 1)) : Point(Named("F", i))));
  }
  return blocks;
}

TEST(DxfLimitsTest, BlocksNestAtMostThirtyTwoDeep) {
  ASSERT_EQ(platform::acad::kMaxBlockNesting, 32);
  // Model space -> N0 -> ... -> N31: 32 references one inside the other.
  std::string text = Drawing(Chain(32), Insert("1000", "N0"));
  EXPECT_EQ(Error(text), "<read>");
  // One more: the reference in model space is the 33rd level.
  text = Drawing(Chain(33), Insert("1000", "N0"));
  EXPECT_EQ(Error(text),
            LineError(LineOfInsert(text, "1000"), "blocks are nested more than 32 deep"));
  // A long chain ends as well, at the first reference that passes the limit.
  text = Drawing(Chain(3000), Insert("100000", "N0"));
  EXPECT_NE(Error(text).find("blocks are nested more than 32 deep"), std::string::npos);
}

TEST(DxfLimitsTest, BlocksThatExpandToMoreThanAMillionEntitiesAreRefused) {
  // LEAF holds 100 points; MID 100 references of LEAF: 10,000 entities through its references.
  // TOP holds `count` references of MID, each reaching MID's 100 references and 10,000 points.
  auto drawing = [](int count) {
    Groups leaf, mid, top;
    for (int i = 0; i < 100; ++i) Append(&leaf, Point(Named("1", 1000 + i)));
    for (int i = 0; i < 100; ++i) Append(&mid, Insert(Named("2", 1000 + i), "LEAF"));
    for (int i = 0; i < count; ++i) Append(&top, Insert(Named("3", 1000 + i), "MID"));
    Groups blocks = Block("A0", "LEAF", leaf);
    Append(&blocks, Block("B0", "MID", mid));
    Append(&blocks, Block("C0", "TOP", top));
    return Drawing(blocks, Insert("D0", "TOP"));
  };
  // 98 × 10,100 = 989,800 through TOP's references; model space reaches those, TOP's own 98
  // and the two entities of the small drawing's RT100: 989,900.
  EXPECT_EQ(Error(drawing(98)), "<read>");
  // 99 × 10,100 = 999,900 through TOP's references; the 100th reaches 1,010,000.
  const std::string text = drawing(100);
  EXPECT_EQ(Error(text), LineError(LineOfInsert(text, "31099"),
                                   "the blocks expand to more than 1000000 entities"));
}

// Entities the drawing's blocks and layouts hold (attributes are their references' own).
long long EntitiesHeld(const std::string& text) {
  DxfReadResult r = ReadDxf(text);
  EXPECT_TRUE(r.ok()) << platform::WideToUtf8(r.error);
  if (!r.ok()) return -1;
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(r.database->getBlockTable(table), Acad::eOk);
  long long held = 0;
  for (AcDbObjectId id : table->recordIds()) {
    AcDbBlockTableRecord* block = nullptr;
    EXPECT_EQ(acdbOpenObject(block, id, AcDb::kForRead), Acad::eOk);
    held += static_cast<long long>(block->entityIds().size());
    block->close();
  }
  table->close();
  return held;
}

TEST(DxfLimitsTest, AFloorOfManyReferencesIsReadWhileRepetitionBeyondSixtyFoldIsNot) {
  // Model space holds `count` references of LEAF, a block of `points` points.
  auto floor = [](int count, int points) {
    Groups leaf, references;
    for (int i = 0; i < points; ++i) Append(&leaf, Point(Named("1", 1000 + i)));
    for (int i = 0; i < count; ++i) Append(&references, Insert(Named("3", 100000 + i), "LEAF"));
    return Drawing(Block("A0", "LEAF", leaf), references);
  };
  const long long base = EntitiesHeld(Drawing({}, {}));
  ASSERT_GT(base, 0);
  // 25,000 references of 50 points reach 1,250,000 entities: more than a million, but 50 times
  // what the file holds. A floor of hundreds of thousands of segments is such a drawing.
  EXPECT_EQ(Error(floor(25000, 50)), "<read>");

  // 20,000 references of 100 points would reach 2,000,000, 100 times the file: refused at the
  // first reference past 64 times the entities held. The small drawing's own reference, before
  // those, reaches the two entities of RT100.
  const std::string text = floor(20000, 100);
  const long long cap = 64 * (base + 100 + 20000);
  const long long passing = (cap - 2) / 100 + 1;  // 2 + 100 × passing > cap
  ASSERT_LT(passing, 20000);
  EXPECT_EQ(Error(text),
            LineError(LineOfInsert(text, Named("3", 100000 + static_cast<int>(passing) - 1)),
                      "the blocks expand to more than " + std::to_string(cap) + " entities"));
}

TEST(DxfLimitsTest, ALineOfAMegabyteIsReadAndWrittenWhole) {
  const std::string long_text(1 << 20, 'x');
  Groups text_entity = {{0, "TEXT"},       {5, "E0"},     {100, "AcDbEntity"}, {8, "0"},
                        {100, "AcDbText"}, {10, "0.0"},   {20, "0.0"},         {30, "0.0"},
                        {40, "2.5"},       {1, long_text}};
  DxfReadResult r = ReadDxf(Drawing({}, text_entity));
  ASSERT_TRUE(r.ok()) << platform::WideToUtf8(r.error);
  const std::string written = WriteDxf(*r.database);
  EXPECT_NE(written.find("\n" + long_text + "\n"), std::string::npos);
  DxfReadResult again = ReadDxf(written);
  ASSERT_TRUE(again.ok()) << platform::WideToUtf8(again.error);
  AcDbObjectId id;
  ASSERT_EQ(again.database->getAcDbObjectId(id, false, AcDbHandle(L"E0")), Acad::eOk);
  AcDbText* text = nullptr;
  ASSERT_EQ(acdbOpenObject(text, id, AcDb::kForRead), Acad::eOk);
  ACHAR* read_back = text->textString();
  EXPECT_EQ(std::wstring(read_back).size(), long_text.size());
  acutDelString(read_back);
  text->close();
}

TEST(DxfLimitsTest, ValuesTheDrawingHasNoRoomForAreMendedWithAWarning) {
  Groups text_entity = {{0, "TEXT"},
                        {5, "E0"},
                        {100, "AcDbEntity"},
                        {8, "0"},
                        {62, "-9223372036854775808"},
                        {370, "7"},
                        {100, "AcDbText"},
                        {10, "0.0"},
                        {20, "0.0"},
                        {30, "0.0"},
                        {40, "2.5"},
                        {1, "abc"},
                        {72, "9"},
                        {73, "-1"}};
  const std::string text = Drawing({}, text_entity);
  DxfReadResult r = ReadDxf(text);
  ASSERT_TRUE(r.ok()) << platform::WideToUtf8(r.error);
  const int line = 1 + static_cast<int>(std::count(
                           text.begin(), text.begin() + text.find("  0\nTEXT\n  5\nE0\n"), '\n'));
  const std::string at = LineError(line, "");
  // One warning a value, in no particular order.
  std::vector<std::string> warnings;
  for (const std::wstring& w : r.warnings) warnings.push_back(platform::WideToUtf8(w));
  std::sort(warnings.begin(), warnings.end());
  EXPECT_EQ(warnings,
            (std::vector<std::string>{at + "horizontal alignment 9 is unknown; 0 is used",
                                      at + "lineweight 7 is unknown; -1 is used",
                                      at + "vertical alignment -1 is unknown; 0 is used"}));
  AcDbObjectId id;
  ASSERT_EQ(r.database->getAcDbObjectId(id, false, AcDbHandle(L"E0")), Acad::eOk);
  AcDbText* read = nullptr;
  ASSERT_EQ(acdbOpenObject(read, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(read->lineWeight(), AcDb::kLnWtByLayer);
  EXPECT_EQ(read->horizontalMode(), AcDb::kTextLeft);
  EXPECT_EQ(read->verticalMode(), AcDb::kTextBase);
  EXPECT_EQ(read->colorIndex(), 256);  // the most negative number is no colour: by layer
  read->close();
}

// A file of the given size that takes no room on the disk: its bytes are never written.
std::string SparseFile(const std::string& name, uint64_t size) {
  const std::string path =
      (std::filesystem::temp_directory_path() / (name + std::to_string(getpid()))).string();
  std::ofstream(path).close();
  std::filesystem::resize_file(path, size);
  return path;
}

TEST(DxfLimitsTest, AFileLargerThanTheLimitIsRefusedBeforeItIsRead) {
  ASSERT_EQ(kMaxDxfFileBytes, 256ull << 20);
  const std::string path = SparseFile("harnex_huge.dxf", kMaxDxfFileBytes + 1);
  DxfReadResult r = ReadDxfFile(path);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(platform::WideToUtf8(r.error),
            path + ": the drawing is larger than 256 MiB and is not read");
  std::filesystem::remove(path);
}

// Runs the built program; returns its exit status and what it wrote to standard error.
int RunProgram(const std::string& args, std::string* err) {
  const std::filesystem::path program =
      std::filesystem::current_path().parent_path() / "harnex-host";
  if (!std::filesystem::exists(program)) {
    *err = "no program at " + program.string();
    return -1;
  }
  const std::string err_file =
      std::filesystem::temp_directory_path() / ("harnex_limits_err" + std::to_string(getpid()));
  const int raw =
      std::system((program.string() + " " + args + " </dev/null >/dev/null 2>" + err_file).c_str());
  std::ifstream in(err_file);
  err->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  std::filesystem::remove(err_file);
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(DxfLimitsTest, TheHostRefusesSuchDrawingsWithTheirMessage) {
  const std::string huge = SparseFile("harnex_huge_host.dxf", kMaxDxfFileBytes + 1);
  std::string err;
  EXPECT_EQ(RunProgram("--drawing " + huge + " -", &err), 1);
  EXPECT_NE(err.find(huge + ": the drawing is larger than 256 MiB and is not read"),
            std::string::npos)
      << err;
  std::filesystem::remove(huge);

  const std::string loop = SparseFile("harnex_loop.dxf", 0);
  const std::string text = Drawing(Block("A0", "LOOP", Insert("A1", "LOOP")), Insert("A2", "LOOP"));
  std::ofstream(loop, std::ios::binary) << text;
  EXPECT_EQ(RunProgram("--drawing " + loop + " -", &err), 1);
  EXPECT_NE(
      err.find(LineError(LineOfInsert(text, "A1"), "the block \"LOOP\" is inserted into itself")),
      std::string::npos)
      << err;
  std::filesystem::remove(loop);
}

}  // namespace
}  // namespace host
