// Note lines from an element's wires and the palette's note boxes.
#include "annotation/note_lines.h"

#include "app/palette_access.h"
#include "attributes/row_writer.h"

namespace {

constexpr wchar_t kPartEnd = L'!';
constexpr wchar_t kAfterTrunkNumber[] = L"\u3000";
constexpr wchar_t kItemOpen[] = L"\uFF08";
constexpr wchar_t kItemClose[] = L"\uFF09";

}  // namespace

CString ComposeNoteLine(const CString& raw, const bool flags[3]) {
  CString parts[3];
  int start = 0;
  for (CString& part : parts) {
    if (start >= raw.GetLength()) break;
    int end = raw.Find(kPartEnd, start);
    if (end < 0) end = raw.GetLength();
    part = raw.Mid(start, end - start);
    start = end + 1;
  }
  CString line;
  if (flags[0]) line += parts[0] + kAfterTrunkNumber;
  if (flags[1]) line += parts[1];
  if (flags[2]) line += CString(kItemOpen) + parts[2] + kItemClose;
  return line;
}

void ComposeNoteLines(const CStringArray& raws, const bool flags[3], CStringArray& lines) {
  lines.RemoveAll();
  for (INT_PTR i = 0; i < raws.GetSize(); ++i) lines.Add(ComposeNoteLine(raws[i], flags));
}

bool BuildNoteLines(AcDbObjectId id, const PaletteAccess& palette, CStringArray& lines) {
  lines.RemoveAll();
  CStringArray raws;
  if (!ReadWiringLines(id, raws) || raws.IsEmpty()) return false;
  bool flags[3] = {false, false, false};
  palette.GetNoteFlags(flags);
  ComposeNoteLines(raws, flags, lines);
  return true;
}
