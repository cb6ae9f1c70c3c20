// `show palette`: the palette as the user reads it, in aligned columns.
#include "tools/palette_view.h"

#include <gtest/gtest.h>

#include <sstream>

#include "palette/main_dialog.h"
#include "palette_test_support.h"
#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"

namespace palette_test {
namespace {

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::wistringstream in(text);
  for (std::wstring line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The display column (full-width characters take two) at which `part` starts in `line`.
size_t ColumnOf(const std::wstring& line, const std::wstring& part) {
  const size_t at = line.find(part);
  if (at == std::wstring::npos) return std::wstring::npos;
  size_t column = 0;
  for (size_t i = 0; i < at; ++i) column += platform::IsFullWidthChar(line[i]) ? 2 : 1;
  return column;
}

class PaletteViewTest : public PaletteSessionTest {};

TEST_F(PaletteViewTest, ShowsTheProjectThePatternsTheChoicesAndTheRowsInColumns) {
  Start();
  EXPECT_EQ(tools::DescribePalette(), L"[palette] no palette");

  SetLastProject(L"NAME", L"サンプルビル");
  SetLastProject(L"PATTERN", L"受変電から分電盤");
  ASSERT_EQ(Run(L"command RQ_HARNEX\nclick 239\nclick 220\nclick 341\nclick 342\n"), 0)
      << StopReason();
  const std::vector<std::wstring> lines = Lines(tools::DescribePalette());
  ASSERT_EQ(lines.size(), 17u) << tools::DescribePalette();
  EXPECT_EQ(lines[0], L"[palette] 複数配線情報設定");
  EXPECT_EQ(lines[1], L"プロジェクト: サンプルビル");
  EXPECT_EQ(lines[2], L"パターン: 受変電から分電盤  [*受変電から分電盤 | 1F照明・コンセント]");
  EXPECT_EQ(lines[3], L"種別: (*)幹線 ( )一般   電線管: [ ]屋内 [ ]屋外 [x]地中");
  EXPECT_EQ(lines[4], L"Page:1");
  // Head, then rows 1 to 10: row 2 checked, row 3 marked.
  EXPECT_TRUE(lines[6].starts_with(L" [ ] 1 ")) << platform::WideToUtf8(lines[6]);
  EXPECT_TRUE(lines[7].starts_with(L" [x] 2 ")) << platform::WideToUtf8(lines[7]);
  EXPECT_TRUE(lines[8].starts_with(L">[ ] 3 ")) << platform::WideToUtf8(lines[8]);
  EXPECT_EQ(lines[15], L" [ ] 10");
  // The note options as the user left them: the first ticked, the second cleared.
  EXPECT_EQ(lines[16], L"注記: [x]幹線番号を記入 [ ]配線ｻｲｽﾞを記入 [x]工事区分を記入");
  // Every value starts under its head, whatever the widths of the texts before it.
  EXPECT_EQ(ColumnOf(lines[5], L"系統番号"), ColumnOf(lines[6], L"1L-1"));
  EXPECT_EQ(ColumnOf(lines[5], L"系統番号"), ColumnOf(lines[8], L"E-1"));
  EXPECT_EQ(ColumnOf(lines[5], L"盤/負荷名称"), ColumnOf(lines[8], L"非常用発電機"));
  EXPECT_EQ(ColumnOf(lines[5], L"地中"), ColumnOf(lines[7], L"(FEP80)"));
  EXPECT_EQ(ColumnOf(lines[5], L"ﾗｯｸ上"), ColumnOf(lines[7], L"x "));
  EXPECT_EQ(ColumnOf(lines[5], L"備考"), ColumnOf(lines[7], L"ラック上は2段目"));
  EXPECT_EQ(lines[6].find(L"ラック上"), std::wstring::npos);

  // Hidden, and without a project.
  ASSERT_EQ(Run(L"click 202\n"), 0) << StopReason();
  ::ShowWindow(::GetParent(Palette()->m_hWnd), SW_HIDE);
  const std::vector<std::wstring> empty = Lines(tools::DescribePalette());
  EXPECT_EQ(empty[0], L"[palette] 複数配線情報設定 (非表示)");
  EXPECT_EQ(empty[1], L"プロジェクト:  (無効)");
  EXPECT_EQ(empty[2], L"パターン:   []");
}

}  // namespace
}  // namespace palette_test
