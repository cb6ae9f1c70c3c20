// The run markers of an automatic assignment: XData that lives on route elements only while one
// run lasts and is cleared at its end.
//
//   "RQPX_AUTOFLAG"  one decimal string: absent or 0, the element has not been written in this
//                    run; otherwise one more than the index of the last wire written (1 after
//                    the first wire).
//   "RQPX_BANLINK"   one string: the comma-separated panel/load names of the rows whose traces
//                    passed through this hatched panel block and reached the terminal route
//                    (ban, romanised 盤: panel or load; the link of names a panel has passed on).
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <dbid.h>

#include <vector>

class AcDbObject;

// The first string of the element's "RQPX_AUTOFLAG" as a decimal integer; 0 when it has none.
int ReadAutoFlag(AcDbObjectId id);
// Makes the element's "RQPX_AUTOFLAG" the one string `n` in decimal. False when the drawing
// refuses it.
bool WriteAutoFlag(AcDbObjectId id, int n);
// The strings of the "RQPX_AUTOFLAG" of an element the caller has open into `strings` (emptied
// first); false when it has none. AutoFlagValue gives what ReadAutoFlag would.
bool ReadAutoFlagStrings(AcDbObject* element, CStringArray& strings);
int AutoFlagValue(const CStringArray& strings);
// WriteAutoFlag on an element the caller has open for write; it stays open.
bool WriteAutoFlag(AcDbObject* element, int n);
// The text of marker value `n`: decimal.
CString AutoFlagText(int n);

// The first string of the element's "RQPX_BANLINK", or empty text when it has none.
CString ReadBanLink(AcDbObjectId id);
// The names of a panel/load list (a row's panel/load name, a panel's link) split at ",", each
// part trimmed; a text without "," is one part as it stands.
std::vector<CString> PanelListNames(const CString& text);
// Makes the element's "RQPX_BANLINK" the one string `text`. False when the drawing refuses it.
bool WriteBanLink(AcDbObjectId id, const wchar_t* text);

// Removes both markers from every element of `ids` that has them; other XData stays.
void ClearRunMarks(const AcDbObjectIdArray& ids);
