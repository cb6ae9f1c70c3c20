// PaletteAccess: what the drawing commands read from the palette, without the palette's window.
//
// The commands of attributes/ and annotation/ need a few answers from the open palette: the
// checked rows and their values, the conduit, type and note choices and the list table's sizes.
// They ask through this interface, so that they depend on none of the palette's controls, models
// or dialogs; CMainDlg (palette/main_dialog.h) implements it. The palette itself stays reachable
// as PaletteInstance (app/harnex_module.h) for what owns it.
//
// Every answer describes the palette as it stands at the call: the model as of the last collect
// (a button collects before it sends its command), the radio buttons and check boxes as they are
// now. Row indices are 0 to 99 of the current pattern; a row is empty as PatternData::IsRowEmpty
// says. Row data is nine strings in column order: construction item, system number, panel or load
// name, wire size, conduit size indoors, outdoors and underground, "○" for a row on a rack (else
// empty), remarks.
#pragma once

#include <afx.h>
#include <afxcoll.h>

class PaletteAccess {
 public:
  PaletteAccess(const PaletteAccess&) = delete;
  PaletteAccess& operator=(const PaletteAccess&) = delete;

  // Frees every CStringArray* that `rows` holds (VuRida_RemoveAllFree) and empties it, then adds
  // one new CStringArray of the nine strings of each row from row 0 up to, not including, the
  // first empty row (at most 100), the construction item as its name as stored. The caller owns
  // the new arrays and frees them with VuRida_RemoveAllFree. Always TRUE; without a current
  // pattern `rows` stays empty.
  virtual BOOL GetAllRowData(CPtrArray& rows) const = 0;

  // Empties `values` and fills it with the nine strings of `row`, the construction item as its
  // code: the code of the name in the list of the pattern's type, else in the other type's list
  // (ConstructionItems::CodeOf), empty when neither holds the name. An empty row gives nine empty
  // strings. False, with `values` empty, when `row` is outside 0 to 99 or there is no current
  // pattern.
  virtual bool GetRowData(int row, CStringArray& values) const = 0;

  // The checked row for a panel list: `text` and each row's panel or load name are split at ","
  // into parts trimmed of white space (a text without "," is one part, untrimmed). The walk over
  // rows 0 up to the first empty row (at most 100) stops at the first row that has as many parts
  // as `text` and whose pairs of parts (every part of `text` with every part of the row) equal
  // without regard to case number as many as the parts of `text`: so "P-1, L-1" matches
  // "l-1,p-1" but not "P-1". True, with `row` set, when that row is checked. False (and `row`
  // unchanged) when no row matches, when the first matching row is not checked (later rows are
  // not looked at) or without a current pattern.
  virtual bool FindCheckedRowByPanelName(const CString& text, int& row) const = 0;

  // Empties `rows` and adds, ascending, every row 0 to 99 that is checked and not empty. Result:
  // their number (0 without a current pattern).
  virtual int GetCheckedRows(CUIntArray& rows) const = 0;

  // The list table's sizes as the palette holds them: read from the settings file when the
  // palette opened, replaced by OK in the list details ("詳"). No pointer may be null.
  virtual void GetListSettings(double* textHeight, double* textWidth, double* rowHeight,
                               double* leftMargin, double* rightMargin) const = 0;

  // flags[i] is whether note check box 341 + i is checked: 0 "幹線番号を記入", 1 "配線ｻｲｽﾞを記入",
  // 2 "工事区分を記入".
  virtual void GetNoteFlags(bool flags[3]) const = 0;

  // What the conduit check boxes show, not the pattern's stored choice: 1 "屋内" (398), else 2
  // "屋外" (399), else 3 "地中" (400), else 0.
  virtual int GetConduitChoice() const = 0;

  // Sets `name` to the name of the construction item with `code` (the general list's name over
  // the trunk list's), "不明" when neither list holds the code, and returns it.
  virtual CString ConstructionItemName(CString& name, const CString& code) const = 0;

  // What the radio buttons show, not the pattern's stored type: 0 for "幹線" (211) checked,
  // else 1.
  virtual int GetPatternType() const = 0;

 protected:
  PaletteAccess() = default;
  // The palette is owned and destroyed as a window (palette/palette_command.cpp), never through
  // this interface.
  ~PaletteAccess() = default;
};

// The open palette as the drawing commands see it: PaletteInstance, or null while no palette is
// open. Commands ask again after anything that may have closed the palette (a prompt, a pick)
// rather than keep the result. Defined beside the palette (palette/row_access.cpp).
const PaletteAccess* PaletteAccessInstance();
