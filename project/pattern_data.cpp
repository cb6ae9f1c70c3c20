// PatternData: clearing, copying and testing the rows of one pattern.
#include "project/pattern_data.h"

const wchar_t* PatternColumnKey(PatternColumn column) {
  switch (column) {
    case kColumnKouji:
      return L"KOUJI";
    case kColumnKeitou:
      return L"KEITOU";
    case kColumnBan:
      return L"BAN";
    case kColumnHsize1:
      return L"HSIZE1";
    case kColumnHsize2:
      return L"HSIZE2";
    case kColumnHsize3:
      return L"HSIZE3";
    case kColumnHsize4:
      return L"HSIZE4";
    case kColumnOnRack:
      return L"ONRACK";
    case kColumnMemo:
    case kPatternColumns:
      break;
  }
  return L"MEMO";
}

CString& PatternData::Text(PatternColumn column, int row) {
  switch (column) {
    case kColumnKouji:
      return kouji[row];
    case kColumnKeitou:
      return keitou[row];
    case kColumnBan:
      return ban[row];
    case kColumnHsize1:
      return hsize1[row];
    case kColumnHsize2:
      return hsize2[row];
    case kColumnHsize3:
      return hsize3[row];
    case kColumnHsize4:
      return hsize4[row];
    case kColumnOnRack:
    case kColumnMemo:
    case kPatternColumns:
      break;
  }
  return memo[row];
}

const CString& PatternData::Text(PatternColumn column, int row) const {
  return const_cast<PatternData*>(this)->Text(column, row);
}

void PatternData::Clear() {
  name.Empty();
  type = kPatternTypeTrunk;
  pipeSel = kConduitNone;
  for (int row = 0; row < kPatternRows; ++row) ClearRow(row);
}

void PatternData::ClearRow(int row) {
  if (row < 0 || row >= kPatternRows) return;
  checked[row] = false;
  for (int c = 0; c < kPatternColumns; ++c) {
    if (c != kColumnOnRack) Text(PatternColumn(c), row).Empty();
  }
  onRack[row] = 0;
}

bool PatternData::IsRowEmpty(int row) const {
  if (row < 0 || row >= kPatternRows) return true;
  if (onRack[row] != 0) return false;
  for (int c = 0; c < kPatternColumns; ++c) {
    if (c != kColumnOnRack && !Text(PatternColumn(c), row).IsEmpty()) return false;
  }
  return true;
}

void PatternData::CopyRow(int from, int to) {
  if (from < 0 || from >= kPatternRows || to < 0 || to >= kPatternRows || from == to) return;
  for (int c = 0; c < kPatternColumns; ++c) {
    if (c != kColumnOnRack) Text(PatternColumn(c), to) = Text(PatternColumn(c), from);
  }
  onRack[to] = onRack[from];
}

int PatternData::UsedRows() const {
  int used = kPatternRows;
  while (used > 0 && IsRowEmpty(used - 1)) --used;
  return used;
}
