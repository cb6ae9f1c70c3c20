// VuRida.dll: route kinds ("RQ_LINK" XData) and the route groups that hold an element.
#include <algorithm>
#include <cwchar>
#include <memory>
#include <utility>
#include <vector>

#include <dbdict.h>
#include <dbgroup.h>
#include <dbmain.h>

#include <ApiComn.h>
#include <RootComn.h>
#include "maker/maker_util.h"
#include "maker/route_index.h"

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

bool HoldsRouteElement(const vurida::Membership& members) {
  for (const auto& [member, position] : members) {
    int kind = -1;
    if (RootComn_GetBlockRootKind(member, kind) == 0 && kind == kRouteElement) return true;
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

namespace {

// The groups of the group dictionary that hold `id`, in dictionary order: the way when the
// element itself cannot be read (its caller has it open for write).
std::vector<AcDbObjectId> GroupsByScan(AcDbDatabase* db, AcDbObjectId id) {
  std::vector<AcDbObjectId> found;
  AcDbDictionary* dictionary = nullptr;
  if (db->getGroupDictionary(dictionary, AcDb::kForRead) != Acad::eOk) return found;
  std::unique_ptr<AcDbDictionaryIterator> it(dictionary->newIterator());
  for (; it && !it->done(); it->next()) {
    AcDbGroup* group = nullptr;
    if (acdbOpenObject(group, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
    if (group->has(id)) found.push_back(it->objectId());
    group->close();
  }
  dictionary->close();
  return found;
}

// The groups that hold `id`, in the order of the group dictionary. A group keeps itself among
// the persistent reactors of each of its members, so the element names its own groups.
bool GroupsOf(AcDbDatabase* db, AcDbObjectId id, std::vector<AcDbObjectId>* groups) {
  vurida::RouteIndex* index = vurida::RouteIndex::Of(db);
  if (index->GroupOrder(AcDbObjectId()) == -2) return false;  // no group dictionary
  AcDbObject* element = nullptr;
  const Acad::ErrorStatus es = acdbOpenObject(element, id, AcDb::kForRead);
  if (es == Acad::eWasOpenedForWrite) {
    *groups = GroupsByScan(db, id);
    return true;
  }
  if (es != Acad::eOk) return true;  // erased or no object: in no group
  const AcDbObjectIdArray reactors = element->getPersistentReactorIds();
  element->close();
  std::vector<std::pair<int, AcDbObjectId>> ordered;
  for (const AcDbObjectId& reactor : reactors) {
    if (reactor.isErased() || reactor.objectClass() == nullptr ||
        !reactor.objectClass()->isDerivedFrom(AcDbGroup::desc()))
      continue;
    // A group outside the group dictionary is no route group.
    const int order = index->GroupOrder(reactor);
    if (order >= 0) ordered.emplace_back(order, reactor);
  }
  std::sort(ordered.begin(), ordered.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [order, group] : ordered) groups->push_back(group);
  return true;
}

}  // namespace

int RootComn_GetRootGroups(AcDbObjectId id, int& count, AcDbObjectIdArray& groups,
                           CStringArray& names, CUIntArray& sizes, int kind, int maxCount) {
  count = 0;
  groups.removeAll();
  names.RemoveAll();
  sizes.RemoveAll();
  AcDbDatabase* db = id.database() ? id.database() : maker::WorkingDatabase();
  if (db == nullptr) return -1;
  std::vector<AcDbObjectId> holding;
  if (!GroupsOf(db, id, &holding)) return -1;
  vurida::RouteIndex* index = vurida::RouteIndex::Of(db);
  for (const AcDbObjectId& group_id : holding) {
    if (maxCount > 0 && count >= maxCount) break;
    // The drawing's index remembers the members of a group until they change.
    const vurida::Membership* members = index->GroupMembers(group_id, false);
    if (members == nullptr || members->count(id) == 0) continue;
    if (kind == kRouteElement && !HoldsRouteElement(*members)) continue;
    AcDbGroup* group = nullptr;
    if (acdbOpenObject(group, group_id, AcDb::kForRead) != Acad::eOk) continue;
    names.Add(group->name());
    group->close();
    groups.append(group_id);
    sizes.Add(static_cast<UINT>(members->size()));
    ++count;
  }
  return count > 0 ? 0 : 1;
}
