// CAttributeData: record access on "RQ_ATTR" string lists and block attribute values.
//
// A record is a sequence of fields, each followed by "|": the tag, the value, then further
// fields kept as they are ("S004|12|2|1|55|0|"). The value is the text between the first and
// the second "|" (empty when the record has fewer than two).
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <dbid.h>

class CAttributeData {
 public:
  // Copies into `record` the first record of `list` whose tag equals `tag` (case-sensitive).
  // Result 0; 1 when there is none (`record` then empty).
  static int GetAtAtt(const CStringArray& list, const wchar_t* tag, CString& record);

  // Replaces the value of the first record of `list` whose tag equals `tag`, keeping its further
  // fields (a record with no value field gets one). Result 0; 1 when there is no such record:
  // nothing is added.
  static int SetAtAtt(CStringArray& list, const wchar_t* tag, const wchar_t* value);

  // The text of the attribute with tag `tag` (compared without regard to case, as AutoCAD
  // does) of block reference `id`, or empty text when it has none or cannot be opened.
  static CString GetValueAttID(AcDbObjectId id, const wchar_t* tag);
};
