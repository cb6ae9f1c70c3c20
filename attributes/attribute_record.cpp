// The wiring attribute record list: record values, further-wire records, reading and writing.
#include "attributes/attribute_record.h"

#include <windows.h>

#include <ApiComn.h>

const wchar_t* const kAttrApp = L"RQ_ATTR";
const wchar_t* const kLinkApp = L"RQ_LINK";
const wchar_t* const kAutoFlagApp = L"RQPX_AUTOFLAG";
const wchar_t* const kBanLinkApp = L"RQPX_BANLINK";

const wchar_t* const kTagPartNumber = L"S001";
const wchar_t* const kTagSize = L"S002";
const wchar_t* const kTagTrunkNumber = L"S004";
const wchar_t* const kTagPanelName = L"S3B9";
const wchar_t* const kTagItemCode = L"S501";
const wchar_t* const kTagSavedColour = L"$P13";
const wchar_t* const kWireTagPrefix = L"PX";

const wchar_t* const kRecordTail = L"|2|1|55|0|";

CString RecordValue(const CString& record) {
  const int first = record.Find(L'|');
  if (first < 0) return CString();
  const int second = record.Find(L'|', first + 1);
  if (second < 0) return CString();
  return record.Mid(first + 1, second - first - 1);
}

CString MakeRecord(const wchar_t* tag, const wchar_t* value) {
  CString record(tag);
  record += L"|";
  record += value;
  record += kRecordTail;
  return record;
}

CString MakeWireRecord(int index, const wchar_t* systemNumber, const wchar_t* sizeText,
                       const wchar_t* panelName, const wchar_t* itemCode) {
  CString record;
  record.Format(L"PX%02d|%s%c%s%c%s%c%s%c|2|1|55|0|", index, systemNumber, kWireFieldSeparator,
                sizeText, kWireFieldSeparator, panelName, kWireFieldSeparator, itemCode,
                kWireFieldSeparator);
  return record;
}

bool IsWireRecord(const CString& record) {
  return record.GetLength() >= 2 && record.Left(2) == kWireTagPrefix;
}

int NextWireIndex(const CStringArray& list) {
  int next = 2;
  for (INT_PTR i = 0; i < list.GetSize(); ++i) {
    const CString& record = list[i];
    if (!IsWireRecord(record)) continue;
    // Only the digits right after "PX" count: "PX05|..." is 5, "PXA|..." is 0. A run of digits
    // too long for an int stops growing rather than overflowing.
    int number = 0;
    for (int k = 2;
         k < record.GetLength() && record[k] >= L'0' && record[k] <= L'9' && number < 100000000;
         ++k) {
      number = number * 10 + (record[k] - L'0');
    }
    if (number >= next) next = number + 1;
  }
  return next;
}

void RemoveWireRecords(CStringArray& list) {
  for (INT_PTR i = list.GetSize() - 1; i >= 0; --i) {
    if (IsWireRecord(list[i])) list.RemoveAt(i);
  }
}

bool ReadAttributeRecords(AcDbObjectId id, CStringArray& list) {
  return ApiComn_extractAttributesArrayID(id, kAttrApp, list, 0) == 0;
}

bool WriteAttributeRecords(AcDbObjectId id, const CStringArray& list) {
  return ApiComn_appendAttributesArray(id, kAttrApp, list, 1) == 0;
}

bool ReadAttributeRecords(AcDbObject* element, CStringArray& list) {
  return ApiComn_extractAttributesArray(element, kAttrApp, list) == 0;
}

bool WriteAttributeRecords(AcDbObject* element, const CStringArray& list) {
  return ApiComn_appendAttributesArray(element, kAttrApp, list, 1) == 0;
}
