// A saved file's pieces are written on a thread of their own: in order, each once, a failed
// write reported, and a large drawing's file the same bytes as its text made in memory.
#include "host/dxf/dxf_write_sink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "dxf_test_support.h"
#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_writer.h"
#include "large_drawing_support.h"

namespace host {
namespace {

using dxf_out::PieceSink;
using dxf_out::TextBuffer;

class DxfWriteSinkTest : public testing::DxfFileTest {
 protected:
  std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
};

TEST_F(DxfWriteSinkTest, PiecesArriveInOrderAndFailedWritesAreTold) {
  const std::filesystem::path path = dir_ / "pieces.txt";
  std::string expected;
  {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    PieceSink sink(file);
    TextBuffer piece;
    for (int i = 0; i < 40; ++i) {
      // Pieces of different sizes, each of its own text.
      const std::string text(static_cast<size_t>(1000 + 997 * i), static_cast<char>('a' + i % 26));
      piece += text;
      expected += text;
      sink.Put(&piece, i == 39);
      EXPECT_TRUE(piece.empty()) << i;
    }
    EXPECT_TRUE(sink.Finish());
    std::fclose(file);
  }
  EXPECT_EQ(Read(path), expected);

  // A file of one piece, and an empty last piece after others.
  const std::filesystem::path one = dir_ / "one.txt";
  {
    std::FILE* file = std::fopen(one.c_str(), "wb");
    PieceSink sink(file);
    TextBuffer piece;
    piece += "only";
    sink.Put(&piece, true);
    EXPECT_TRUE(sink.Finish());
    std::fclose(file);
  }
  EXPECT_EQ(Read(one), "only");

  // A disk that is full: the writes fail, on the sink's thread and on the caller's.
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  for (bool many : {true, false}) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    // Unbuffered: each write reaches the device, as a large piece does.
    std::setvbuf(full, nullptr, _IONBF, 0);
    PieceSink sink(full);
    TextBuffer piece;
    for (int i = 0; i < (many ? 5 : 1); ++i) {
      piece += std::string(1 << 16, 'x');
      sink.Put(&piece, !many || i == 4);
    }
    EXPECT_FALSE(sink.Finish()) << many;
    std::fclose(full);
  }
}

TEST_F(DxfWriteSinkTest, ALargeDrawingsFileIsItsTextInMemory) {
  DxfReadResult r =
      ReadDxf(testing::DxfText(testing::SmallDrawing(testing::References(testing::kRefs))));
  ASSERT_TRUE(r.ok()) << r.error;
  const std::string text = WriteDxf(*r.database);
  ASSERT_GT(text.size(), size_t{3} << 19);  // pieces of 1 MiB
  const std::filesystem::path path = dir_ / "large.dxf";
  std::wstring error;
  ASSERT_TRUE(WriteDxfFile(*r.database, path.string(), &error));
  const std::string saved = Read(path);
  EXPECT_EQ(saved.size(), text.size());
  EXPECT_TRUE(saved == text) << testing::FirstDifference(saved, text);
}

}  // namespace
}  // namespace host
