// PatternData: one pattern of a project, a named table of 100 rows of wiring information.
//
// The rows are held column by column, as the project file and the palette's controls see them:
// each of the nine columns is an array of exactly kPatternRows entries, row 0 to 99. Every
// operation on rows treats the nine columns alike; Text() gives the eight string columns by
// their column number so that such operations need not name each array.
//
// A pattern is a plain value: copying one copies every row (the palette copies patterns).
#pragma once

#include <afx.h>

// Rows of one pattern.
constexpr int kPatternRows = 100;

// Pattern types and conduit selections as stored in PatternData.
constexpr int kPatternTypeTrunk = 0;    // 幹線
constexpr int kPatternTypeGeneral = 1;  // 一般
constexpr int kConduitNone = 0;
constexpr int kConduitIndoor = 1;       // 屋内
constexpr int kConduitOutdoor = 2;      // 屋外
constexpr int kConduitUnderground = 3;  // 地中

// The pattern that the system-number search builds. It lives only in memory: it is never saved,
// and edits to it do not mark the project as modified.
inline constexpr wchar_t kSearchPatternName[] = L"系統番号検索";

// The nine row columns in the order of the project file's row keys. The columns, the members of
// PatternData and the keys keep the romanised Japanese names that project files have always used:
//   kouji   工事 "construction work": the construction item (工事項目) a wire belongs to
//   keitou  系統 "system": the system number (系統番号) of the circuit
//   ban     盤 "panel": the panel or load name (盤/負荷名称) the wire runs to
//   hsize1  the wire size (配線サイズ); hsize2 to hsize4 the conduit sizes (電線管サイズ) indoors
//           (屋内), outdoors (屋外) and underground (地中)
//   onRack  on a cable rack (ラック上); memo the remarks (備考)
enum PatternColumn {
  kColumnKouji,   // 工事項目: construction item (display name from the master list)
  kColumnKeitou,  // 系統番号: system number
  kColumnBan,     // 盤/負荷名称: panel or load name(s), "," between several
  kColumnHsize1,  // 配線サイズ: wire size
  kColumnHsize2,  // 電線管サイズ 屋内: conduit size indoors
  kColumnHsize3,  // 屋外: conduit size outdoors
  kColumnHsize4,  // 地中: conduit size underground
  kColumnOnRack,  // ラック上: 1 on a cable rack, else 0 (the one numeric column)
  kColumnMemo,    // 備考: remarks
  kPatternColumns
};

// The key stem of a column in the project file ("KOUJI" ... "MEMO").
const wchar_t* PatternColumnKey(PatternColumn column);

class PatternData {
 public:
  // A fresh pattern is cleared (see Clear).
  PatternData() = default;

  // Empty name, type 0 (trunk), conduit selection 0, every check false, every string empty and
  // every on-rack flag 0.
  void Clear();
  // Row `row` (0 to 99) becomes empty and unchecked. Out-of-range rows are ignored.
  void ClearRow(int row);
  // True when the eight string columns of the row are empty and its on-rack flag is 0; the
  // check flag does not count. Out-of-range rows count as empty.
  bool IsRowEmpty(int row) const;
  // Copies the nine values of row `from` into row `to` (the check flag is not a value).
  void CopyRow(int from, int to);
  // The number of rows before the last non-empty one, plus one: 0 for a pattern without rows.
  int UsedRows() const;

  // The string column `column` (not kColumnOnRack) of the row. `column` and `row` must be in
  // range; a wrong column gives the remarks.
  CString& Text(PatternColumn column, int row);
  const CString& Text(PatternColumn column, int row) const;

  // The search pattern of the system-number search (exact, case-sensitive name).
  bool IsSearchPattern() const { return name == kSearchPatternName; }

  CString name;
  int type = kPatternTypeTrunk;  // kPatternTypeTrunk or kPatternTypeGeneral
  int pipeSel = kConduitNone;    // kConduitNone ... kConduitUnderground
  bool checked[kPatternRows] = {};
  CString kouji[kPatternRows];   // construction item names (see PatternColumn for the names)
  CString keitou[kPatternRows];  // system numbers
  CString ban[kPatternRows];     // panel or load names
  CString hsize1[kPatternRows];
  CString hsize2[kPatternRows];
  CString hsize3[kPatternRows];
  CString hsize4[kPatternRows];
  int onRack[kPatternRows] = {};
  CString memo[kPatternRows];
};
