// The plain-text view of the palette for `show palette`: what a user sees of it.
//
//   [palette] 複数配線情報設定
//   プロジェクト: サンプルビル
//   パターン: 1F動力  [1F動力 | 1F電灯 | *系統番号検索]      (the box's list, its choice marked)
//   種別: (*)幹線 ( )一般   電線管: [x]屋内 [ ]屋外 [ ]地中
//   Page:1
//        行 工事項目   系統番号 盤/負荷名称 配線サイズ ...
//   >[x] 1  動力幹線   P-1      1F-P1       CV60sq ...
//   ...                                                     (ten control rows)
//   注記: [ ]幹線番号を記入 [x]配線ｻｲｽﾞを記入 [x]工事区分を記入
//
// Each control row shows its radio button (">" when it marks the row), its check box ("[x]" or
// "[ ]"), its row number on the page, then the nine values as the controls show them, the
// on-rack box as "x" or blank. The columns are aligned by display width (full-width characters
// take two places). The last line shows the three note check boxes. A palette whose
// palette set is hidden says so on its first line; a disabled palette (no project) says
// "(無効)" after the project name. Without a palette window the view is "[palette] no palette".
// A wire size whose edit is highlighted (black on yellow while its row's size detail was asked
// for) stands between "<" and ">".
#pragma once

#include <string>

namespace tools {

std::wstring DescribePalette();

}  // namespace tools
