// The run markers of an automatic assignment.
#include "attributes/run_marks.h"

#include <windows.h>

#include <ApiComn.h>

#include "attributes/attribute_record.h"

namespace {

// The first string of `app` on `id`; empty when the element has none.
CString FirstString(AcDbObjectId id, const wchar_t* app) {
  CStringArray list;
  if (ApiComn_extractAttributesArrayID(id, app, list, 0) != 0 || list.IsEmpty()) return CString();
  return list[0];
}

bool WriteOneString(AcDbObjectId id, const wchar_t* app, const wchar_t* text) {
  CStringArray list;
  list.Add(text);
  return ApiComn_appendAttributesArray(id, app, list, 1) == 0;
}

bool HasXData(AcDbObjectId id, const wchar_t* app) {
  CStringArray unused;
  return ApiComn_extractAttributesArrayID(id, app, unused, 0) == 0;
}

}  // namespace

int ReadAutoFlag(AcDbObjectId id) {
  return _wtoi(FirstString(id, kAutoFlagApp));
}

bool WriteAutoFlag(AcDbObjectId id, int n) {
  CString text;
  text.Format(L"%d", n);
  return WriteOneString(id, kAutoFlagApp, text);
}

bool ReadAutoFlagStrings(AcDbObject* element, CStringArray& strings) {
  return ApiComn_extractAttributesArray(element, kAutoFlagApp, strings) == 0;
}

int AutoFlagValue(const CStringArray& strings) {
  return strings.IsEmpty() ? 0 : _wtoi(strings[0]);
}

CString AutoFlagText(int n) {
  CString text;
  text.Format(L"%d", n);
  return text;
}

bool WriteAutoFlag(AcDbObject* element, int n) {
  CStringArray list;
  list.Add(AutoFlagText(n));
  return ApiComn_appendAttributesArray(element, kAutoFlagApp, list, 1) == 0;
}

CString ReadBanLink(AcDbObjectId id) {
  return FirstString(id, kBanLinkApp);
}

bool WriteBanLink(AcDbObjectId id, const wchar_t* text) {
  return WriteOneString(id, kBanLinkApp, text);
}

void ClearRunMarks(const AcDbObjectIdArray& ids) {
  for (int i = 0; i < ids.length(); ++i) {
    for (const wchar_t* app : {kAutoFlagApp, kBanLinkApp}) {
      if (HasXData(ids[i], app)) ApiComn_removeXData(ids[i], app);
    }
  }
}

std::vector<CString> PanelListNames(const CString& text) {
  std::vector<CString> parts;
  if (text.Find(L',') < 0) {
    parts.push_back(text);
    return parts;
  }
  int start = 0;
  for (;;) {
    const int comma = text.Find(L',', start);
    CString part = comma < 0 ? text.Mid(start) : text.Mid(start, comma - start);
    parts.push_back(part.Trim());
    if (comma < 0) return parts;
    start = comma + 1;
  }
}
