// Reading record files: encodings, blank lines, field splitting, freeing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <VuRida.h>

namespace {

class ConfigFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("maker_config_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::wstring Write(const std::string& name, const std::string& bytes) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.wstring();
  }

  std::filesystem::path dir_;
};

std::vector<std::vector<std::wstring>> Fields(const CPtrArray& records) {
  std::vector<std::vector<std::wstring>> out;
  for (INT_PTR i = 0; i < records.GetSize(); ++i) {
    const auto* fields = static_cast<const CStringArray*>(records.GetAt(i));
    std::vector<std::wstring> row;
    for (INT_PTR j = 0; j < fields->GetSize(); ++j) row.push_back((*fields)[j].GetString());
    out.push_back(row);
  }
  return out;
}

using Rows = std::vector<std::vector<std::wstring>>;

TEST_F(ConfigFileTest, Utf8FileSplitsRecordsAndSkipsBlankLines) {
  // "K1|幹線|", a blank line, "-|-", a line of blanks, "ONE", "A||B" with CRLF line ends.
  const std::wstring path =
      Write("list.dat", "K1|\xE5\xB9\xB9\xE7\xB7\x9A|\r\n\r\n-|-\r\n  \t\r\nONE\r\nA||B");
  CPtrArray records;
  ASSERT_EQ(0, VuRida_ReadConfigFile(path.c_str(), records, 0, nullptr, L"|", 0));
  EXPECT_EQ(Fields(records), (Rows{{L"K1", L"幹線"}, {L"-", L"-"}, {L"ONE"}, {L"A", L"", L"B"}}));
  VuRida_RemoveAllFree(records);
  EXPECT_EQ(0, records.GetSize());

  CStringArray lines;
  ASSERT_EQ(0, VuRida_ReadConfigFile(path.c_str(), lines, 0, nullptr, L"|", 0));
  ASSERT_EQ(4, lines.GetSize());
  EXPECT_STREQ(L"K1|幹線|", lines[0]);
  EXPECT_STREQ(L"-|-", lines[1]);
  EXPECT_STREQ(L"A||B", lines[3]);
}

TEST_F(ConfigFileTest, CodePage932FileIsDecoded) {
  // "工事|ｹｰﾌﾞﾙ" and "幹線" in Shift_JIS bytes, LF line ends, blank line between.
  const std::wstring path =
      Write("sjis.dat", "\x8D\x48\x8E\x96|\xB9\xB0\xCC\xDE\xD9\n\n\x8A\xB2\x90\xFC\n");
  CPtrArray records;
  ASSERT_EQ(0, VuRida_ReadConfigFile(path.c_str(), records, 0, nullptr, L"|", 0));
  EXPECT_EQ(Fields(records), (Rows{{L"工事", L"ｹｰﾌﾞﾙ"}, {L"幹線"}}));
  VuRida_RemoveAllFree(records);
}

TEST_F(ConfigFileTest, OptionsAndFailures) {
  const std::wstring path = Write("opts.dat", "header line\n; comment\n  a | b  \n");
  CPtrArray records;
  ASSERT_EQ(0, VuRida_ReadConfigFile(path.c_str(), records, 1, L";", L"|", 1));
  EXPECT_EQ(Fields(records), (Rows{{L"a", L"b"}}));
  VuRida_RemoveAllFree(records);

  // Fields are kept as read unless trimming is asked for.
  ASSERT_EQ(0, VuRida_ReadConfigFile(path.c_str(), records, 0, nullptr, L"|", 0));
  EXPECT_EQ(Fields(records), (Rows{{L"header line"}, {L"; comment"}, {L"  a ", L" b  "}}));
  VuRida_RemoveAllFree(records);

  const std::wstring missing = (dir_ / "missing.dat").wstring();
  EXPECT_NE(0, VuRida_ReadConfigFile(missing.c_str(), records, 0, nullptr, L"|", 0));
  CStringArray lines;
  EXPECT_NE(0, VuRida_ReadConfigFile(missing.c_str(), lines, 0, nullptr, L"|", 0));
  EXPECT_EQ(0, records.GetSize());
  EXPECT_EQ(0, lines.GetSize());
}

}  // namespace
