// The wiring attribute record list: the "RQ_ATTR" XData of a route element as records.
//
// A record is a sequence of fields, each followed by "|": the tag, the value, then further fields
// that Harnex keeps as they are. Records that Harnex creates carry the further fields
// "2", "1", "55", "0", so they read TAG "|" VALUE "|2|1|55|0|".
//
//   "S001"  part number of a part block (the route tools write it; Harnex only reads it)
//   "S002"  size text of the first wire     "S004"  trunk (system) number of the first wire
//   "S3B9"  panel/load name of the first wire  "S501"  construction item code of the first wire
//   "$P13"  colour index saved by the settings check, empty when none is saved
//   "PX02", "PX03", ...  one further wire each, value SYSTEM!SIZE!PANEL!CODE!
//
// The list is read and written whole through the utility library (ApiComn_*); this file never
// looks at the XData groups themselves. Every other part of Harnex goes through these functions
// and the ones beside them in attributes/ rather than touching route XData directly.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <dbid.h>

class AcDbObject;

// The applications of the route tools' XData and of Harnex's run markers.
extern const wchar_t* const kAttrApp;      // "RQ_ATTR": the record list
extern const wchar_t* const kLinkApp;      // "RQ_LINK": route kind and links of the route tools
extern const wchar_t* const kAutoFlagApp;  // "RQPX_AUTOFLAG"
extern const wchar_t* const kBanLinkApp;   // "RQPX_BANLINK" (ban: panel or load)

// Record tags.
extern const wchar_t* const kTagPartNumber;   // "S001"
extern const wchar_t* const kTagSize;         // "S002"
extern const wchar_t* const kTagTrunkNumber;  // "S004"
extern const wchar_t* const kTagPanelName;    // "S3B9"
extern const wchar_t* const kTagItemCode;     // "S501"
extern const wchar_t* const kTagSavedColour;  // "$P13"
extern const wchar_t* const kWireTagPrefix;   // "PX"

// The further fields of every record Harnex creates, with the "|" that ends the value before
// them: "|2|1|55|0|".
extern const wchar_t* const kRecordTail;

// The separator after each of the four fields of a further wire's value.
constexpr wchar_t kWireFieldSeparator = L'!';

// The value field of `record`: the text between its first and its second "|"; empty when the
// record has fewer than two "|".
CString RecordValue(const CString& record);

// A new record TAG|VALUE|2|1|55|0|.
CString MakeRecord(const wchar_t* tag, const wchar_t* value);

// The record of a further wire, "PX%02d|SYSTEM!SIZE!PANEL!CODE!|2|1|55|0|", for the wire
// `index` (2 for the second wire of an element).
CString MakeWireRecord(int index, const wchar_t* systemNumber, const wchar_t* sizeText,
                       const wchar_t* panelName, const wchar_t* itemCode);

// True when `record` is a further wire's record: its first two characters are "PX" (exact case).
bool IsWireRecord(const CString& record);

// The index for the next further wire: 2 when the list holds no "PX" record, otherwise one more
// than the highest number read after "PX" (decimal digits up to the first other character).
int NextWireIndex(const CStringArray& list);

// Deletes every "PX" record from `list`, keeping the order of the others.
void RemoveWireRecords(CStringArray& list);

// Reads the record list of element `id` into `list` (emptied first). False when the element has
// no "RQ_ATTR" XData or cannot be opened.
bool ReadAttributeRecords(AcDbObjectId id, CStringArray& list);

// Makes `list` the element's whole record list. False when the drawing refuses it (the entity
// cannot be opened for write, or its XData would exceed the 16 KiB the drawing keeps per
// entity); the element then keeps its old list.
bool WriteAttributeRecords(AcDbObjectId id, const CStringArray& list);

// The same two on an element the caller has open, for read or for write as the operation needs;
// it stays open.
bool ReadAttributeRecords(AcDbObject* element, CStringArray& list);
bool WriteAttributeRecords(AcDbObject* element, const CStringArray& list);
