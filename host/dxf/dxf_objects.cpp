// Objects kept as DXF groups, and the group-code value types.
#include "host/dxf/dxf_objects.h"
#include "platform/acad/dbhost.h"
#include "platform/acad/kept_groups.h"

ACRX_DEFINE_MEMBERS(host::DxfUnknownObject, AcDbObject, L"")
ACRX_DEFINE_MEMBERS(host::DxfUnknownEntity, AcDbEntity, L"")
ACDB_DEFINE_COPYING(host::DxfUnknownObject)
ACDB_DEFINE_COPYING(host::DxfUnknownEntity)

namespace host {

const std::wstring* DxfTypeName(std::wstring name) {
  return platform::acad::SharedText(name);
}

DxfValueType DxfTypeOfCode(int code) {
  const int c = code;
  if (c == 5 || c == 105 || (c >= 320 && c <= 369) || (c >= 390 && c <= 399) ||
      (c >= 480 && c <= 481))
    return DxfValueType::kHandle;
  if ((c >= 10 && c <= 59) || (c >= 110 && c <= 149) || (c >= 210 && c <= 239) ||
      (c >= 460 && c <= 469) || (c >= 1010 && c <= 1059))
    return DxfValueType::kReal;
  if ((c >= 60 && c <= 99) || (c >= 160 && c <= 179) || (c >= 270 && c <= 299) ||
      (c >= 370 && c <= 389) || (c >= 400 && c <= 409) || (c >= 420 && c <= 429) ||
      (c >= 440 && c <= 459) || (c >= 1060 && c <= 1071))
    return DxfValueType::kInteger;
  return DxfValueType::kString;
}

std::wstring DxfHeaderValue(const AcDbDatabase& db, const std::wstring& name) {
  const auto& groups = platform::acad::KeptHeader(db);
  bool in_section = false;
  for (size_t i = 0; i + 1 < groups.size(); ++i) {
    if (groups[i].code == kDxfSectionStart) in_section = true;
    if (groups[i].code == kDxfSectionEnd) in_section = false;
    if (!in_section && groups[i].code == 9 && groups[i].value == name)
      return groups[i + 1].value.wide();
  }
  return L"";
}

bool DxfFollowsInSequence(std::string_view type) {
  return type == "VERTEX" || type == "ATTRIB" || type == "SEQEND";
}

bool DxfFollowsInSequence(std::wstring_view type) {
  return type == L"VERTEX" || type == L"ATTRIB" || type == L"SEQEND";
}

}  // namespace host
