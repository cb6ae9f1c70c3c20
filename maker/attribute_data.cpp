// VuRida.dll: CAttributeData, records of "RQ_ATTR" lists and block attribute values.
#include <cwchar>
#include <memory>
#include <string>
#include <string_view>

#include <dbents.h>
#include <dbmain.h>

#include <AttributeData.h>

namespace {

constexpr wchar_t kFieldEnd = L'|';

// The tag of a record: the text before its first "|", or the whole record without one.
std::wstring_view TagOf(std::wstring_view record) {
  return record.substr(0, record.find(kFieldEnd));
}

INT_PTR FindRecord(const CStringArray& list, const wchar_t* tag) {
  if (tag == nullptr) return -1;
  for (INT_PTR i = 0; i < list.GetSize(); ++i) {
    if (TagOf(list[i].str()) == tag) return i;
  }
  return -1;
}

}  // namespace

int CAttributeData::GetAtAtt(const CStringArray& list, const wchar_t* tag, CString& record) {
  record.Empty();
  const INT_PTR index = FindRecord(list, tag);
  if (index < 0) return 1;
  record = list[index];
  return 0;
}

int CAttributeData::SetAtAtt(CStringArray& list, const wchar_t* tag, const wchar_t* value) {
  const INT_PTR index = FindRecord(list, tag);
  if (index < 0) return 1;
  const std::wstring& record = list[index].str();
  const std::wstring new_value = value ? value : L"";
  const size_t first = record.find(kFieldEnd);
  std::wstring updated;
  if (first == std::wstring::npos) {
    updated = record + kFieldEnd + new_value + kFieldEnd;
  } else {
    const size_t second = record.find(kFieldEnd, first + 1);
    updated = record.substr(0, first + 1) + new_value + kFieldEnd;
    if (second != std::wstring::npos) updated += record.substr(second + 1);
  }
  list.SetAt(index, updated.c_str());
  return 0;
}

CString CAttributeData::GetValueAttID(AcDbObjectId id, const wchar_t* tag) {
  CString value;
  if (tag == nullptr) return value;
  AcDbBlockReference* reference = nullptr;
  if (acdbOpenObject(reference, id, AcDb::kForRead) != Acad::eOk) return value;
  std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
  for (; it && !it->done(); it->step()) {
    AcDbAttribute* attribute = nullptr;
    if (acdbOpenObject(attribute, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
    const bool match = _wcsicmp(attribute->tagConst(), tag) == 0;
    if (match) value = attribute->textStringConst();
    attribute->close();
    if (match) break;
  }
  reference->close();
  return value;
}
