// VuRida.dll: route kinds ("RQ_LINK" XData) and the route groups that hold an element.
#include <cwchar>

#include <dbdict.h>
#include <dbgroup.h>
#include <dbmain.h>

#include "ApiComn.h"
#include "RootComn.h"
#include "maker_util.h"

namespace {

constexpr int kRouteElement = 3;

// The first string of "RQ_LINK" read as a decimal integer; false when there is none.
bool ParseKind(const CString& text, int& kind) {
  const wchar_t* begin = text.GetString();
  while (*begin == L' ') ++begin;
  wchar_t* end = nullptr;
  const long value = std::wcstol(begin, &end, 10);
  if (end == begin) return false;
  while (*end == L' ') ++end;
  if (*end != L'\0') return false;
  kind = static_cast<int>(value);
  return true;
}

bool HoldsRouteElement(const AcDbObjectIdArray& members) {
  for (int i = 0; i < members.length(); ++i) {
    int kind = -1;
    if (RootComn_GetBlockRootKind(members[i], kind) == 0 && kind == kRouteElement) return true;
  }
  return false;
}

}  // namespace

int RootComn_GetBlockRootKind(AcDbObjectId id, int& kind) {
  CStringArray link;
  const int found = ApiComn_extractAttributesArrayID(id, L"RQ_LINK", link, 0);
  if (found != 0) return found;
  if (link.GetSize() == 0) return 1;
  return ParseKind(link[0], kind) ? 0 : 1;
}

int RootComn_GetRootGroups(AcDbObjectId id, int& count, AcDbObjectIdArray& groups,
                           CStringArray& names, CUIntArray& sizes, int kind, int maxCount) {
  count = 0;
  groups.removeAll();
  names.RemoveAll();
  sizes.RemoveAll();
  AcDbDatabase* db = id.database() ? id.database() : maker::WorkingDatabase();
  if (db == nullptr) return -1;
  AcDbDictionary* dictionary = nullptr;
  if (db->getGroupDictionary(dictionary, AcDb::kForRead) != Acad::eOk) return -1;
  AcDbDictionaryIterator* it = dictionary->newIterator();
  for (; it != nullptr && !it->done(); it->next()) {
    if (maxCount > 0 && count >= maxCount) break;
    AcDbGroup* group = nullptr;
    if (acdbOpenObject(group, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
    AcDbObjectIdArray members;
    group->allEntityIds(members);
    group->close();
    if (!maker::Contains(members, id)) continue;
    if (kind == kRouteElement && !HoldsRouteElement(members)) continue;
    groups.append(it->objectId());
    names.Add(it->name());
    sizes.Add(static_cast<UINT>(members.length()));
    ++count;
  }
  delete it;
  dictionary->close();
  return count > 0 ? 0 : 1;
}
