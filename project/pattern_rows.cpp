// Row operations on one pattern: whole rows, values and check flags together.
#include "project/pattern_rows.h"

#include <utility>

namespace {

bool InRange(int row) {
  return row >= 0 && row < kPatternRows;
}

// Row `to` becomes a copy of row `from`, check flag included.
void CopyWholeRow(PatternData& pattern, int from, int to) {
  pattern.CopyRow(from, to);
  pattern.checked[to] = pattern.checked[from];
}

}  // namespace

bool InsertBlankRow(PatternData& pattern, int row) {
  if (!InRange(row) || !pattern.IsRowEmpty(kPatternRows - 1)) return false;
  // Only the rows up to the last non-empty one move: the empty rows after it absorb the shift,
  // and the last row is known to be empty, so nothing falls off the end.
  int last = kPatternRows - 1;
  while (last >= row && pattern.IsRowEmpty(last)) --last;
  for (int k = last; k >= row; --k) CopyWholeRow(pattern, k, k + 1);
  pattern.ClearRow(row);
  return true;
}

bool DeleteRow(PatternData& pattern, int row) {
  if (!InRange(row)) return false;
  for (int k = row; k < kPatternRows - 1; ++k) CopyWholeRow(pattern, k + 1, k);
  pattern.ClearRow(kPatternRows - 1);
  return true;
}

bool SwapRows(PatternData& pattern, int a, int b) {
  if (!InRange(a) || !InRange(b)) return false;
  if (a == b) return true;
  for (int c = 0; c < kPatternColumns; ++c) {
    const auto column = static_cast<PatternColumn>(c);
    if (column != kColumnOnRack) std::swap(pattern.Text(column, a), pattern.Text(column, b));
  }
  std::swap(pattern.onRack[a], pattern.onRack[b]);
  std::swap(pattern.checked[a], pattern.checked[b]);
  return true;
}

int CompactRows(PatternData& pattern) {
  int filled = 0;
  int moved = 0;
  for (int row = 0; row < kPatternRows; ++row) {
    if (pattern.IsRowEmpty(row)) continue;
    if (row != filled) {
      CopyWholeRow(pattern, row, filled);
      ++moved;
    }
    ++filled;
  }
  // What is left below the filled rows is either empty already or a row that moved up.
  for (int row = filled; row < kPatternRows; ++row) pattern.ClearRow(row);
  return moved;
}

int LeadingRows(const PatternData& pattern) {
  int rows = 0;
  while (rows < kPatternRows && !pattern.IsRowEmpty(rows)) ++rows;
  return rows;
}

bool AnyRowChecked(const PatternData& pattern) {
  for (int row = 0; row < kPatternRows; ++row) {
    if (pattern.checked[row] && !pattern.IsRowEmpty(row)) return true;
  }
  return false;
}

int CopyMatchingRows(const PatternData& pattern, const CString& key, PatternData& found) {
  const int rows = LeadingRows(pattern);
  int copied = 0;
  for (int row = 0; row < rows; ++row) {
    CString number = pattern.keitou[row];
    if (number.MakeUpper().Find(key) < 0) continue;
    for (int c = 0; c < kPatternColumns; ++c) {
      const auto column = static_cast<PatternColumn>(c);
      if (column != kColumnOnRack) found.Text(column, copied) = pattern.Text(column, row);
    }
    found.onRack[copied] = pattern.onRack[row];
    found.checked[copied] = false;
    ++copied;
  }
  return copied;
}

bool SetImportedRow(PatternData& pattern, int row, const CStringArray& values) {
  if (!InRange(row)) return false;
  auto value = [&](ImportedColumn column) { return values.GetAt(column); };
  pattern.ClearRow(row);
  pattern.kouji[row] = value(kImportedKouji);
  pattern.keitou[row] = value(kImportedKeitou);
  pattern.ban[row] = value(kImportedBan);
  pattern.hsize1[row] = value(kImportedHsize1);
  pattern.hsize2[row] = value(kImportedHsize2);
  pattern.hsize3[row] = value(kImportedHsize3);
  pattern.onRack[row] = value(kImportedOnRack) == kOnRackMark ? 1 : 0;
  pattern.memo[row] = value(kImportedMemo);
  return true;
}

void AppendRowStrings(const PatternData& pattern, int row, const CString& item,
                      CStringArray& values) {
  values.Add(item);
  values.Add(pattern.keitou[row]);
  values.Add(pattern.ban[row]);
  values.Add(pattern.hsize1[row]);
  values.Add(pattern.hsize2[row]);
  values.Add(pattern.hsize3[row]);
  values.Add(pattern.hsize4[row]);
  values.Add(pattern.onRack[row] != 0 ? kOnRackMark : L"");
  values.Add(pattern.memo[row]);
}
