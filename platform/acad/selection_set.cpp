// Selection sets: acedSSGet with its modes and filters, the set functions and the pick-first set.
#include "platform/acad/selection_set.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <string>
#include <utility>

#include <aced.h>
#include <acutads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbmain.h>
#include <dbsymtb.h>
#include "platform/acad/editor_input.h"
#include "platform/acad/hit_test.h"
#include "platform/acad/id_table.h"
#include "platform/acad/selection_filter.h"

namespace platform::acad {
namespace {

// The second word of a selection set's name, so that an entity name is never taken for one.
constexpr int64_t kSetTag = 0x5353'4E41'4D45;  // "SSNAME"

std::map<int64_t, std::vector<AcDbObjectId>>& Sets() {
  static std::map<int64_t, std::vector<AcDbObjectId>> sets;
  return sets;
}
int64_t g_next_set = 1;
std::vector<AcDbObjectId> g_pickfirst;

AcDbDatabase* WorkingDatabase() {
  auto* services = acdbHostApplicationServices();
  return services ? services->workingDatabase() : nullptr;
}

void AddUnique(std::vector<AcDbObjectId>& ids, const AcDbObjectId& id) {
  if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
}

// The ids in their first order without repeats. A whole-drawing selection holds every entity,
// so this must not compare each id with all before it.
std::vector<AcDbObjectId> WithoutRepeats(const std::vector<AcDbObjectId>& ids) {
  std::vector<AcDbObjectId> out;
  IdSet seen;
  bool null_seen = false;
  out.reserve(ids.size());
  seen.reserve(ids.size());
  for (const AcDbObjectId& id : ids) {
    if (id.isNull() ? !std::exchange(null_seen, true) : seen.insert(id)) out.push_back(id);
  }
  return out;
}

// Whether ids may repeat in a list that Filtered is given.
enum class Repeats { kPossible, kNone };

// Entities of `ids` that pass `filter` (and, with `thawed_only`, lie on a layer that is not
// frozen), in order, each once.
std::vector<AcDbObjectId> Filtered(const std::vector<AcDbObjectId>& ids, const resbuf* filter,
                                   bool thawed_only, Repeats repeats = Repeats::kPossible) {
  std::vector<AcDbObjectId> out;
  // The layer asked about last: a floor's elements mostly share a few layers.
  AcDbObjectId last_layer;
  bool last_frozen = false;
  for (const AcDbObjectId& id : ids) {
    AcDbEntity* e = nullptr;
    if (id.isErased() || acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) continue;
    bool pass = EntityPassesFilter(e, filter);
    if (pass && thawed_only) {
      const AcDbObjectId layer_id = e->layerId();
      if (layer_id != last_layer) {
        last_layer = layer_id;
        last_frozen = false;
        AcDbLayerTableRecord* layer = nullptr;
        if (acdbOpenObject(layer, layer_id, AcDb::kForRead) == Acad::eOk) {
          last_frozen = layer->isFrozen();
          layer->close();
        }
      }
      pass = !last_frozen;
    }
    e->close();
    if (pass) out.push_back(id);
  }
  return repeats == Repeats::kNone ? out : WithoutRepeats(out);
}

std::vector<AcDbObjectId> ModelSpaceEntities() {
  std::vector<AcDbObjectId> ids;
  AcDbDatabase* db = WorkingDatabase();
  if (db == nullptr) return ids;
  AcDbBlockTableRecord* space = nullptr;
  if (acdbOpenObject(space, db->modelSpaceId(), AcDb::kForRead) != Acad::eOk) return ids;
  ids = space->entityIds();
  space->close();
  return ids;
}

// The entity that a pick by handle names, when it is a top-level entity of model space.
bool TopLevelByHandle(uint64_t handle, AcDbObjectId& id) {
  AcDbDatabase* db = WorkingDatabase();
  if (db == nullptr || db->getAcDbObjectId(id, false, AcDbHandle(handle)) != Acad::eOk)
    return false;
  AcDbEntity* e = nullptr;
  if (id.isErased() || acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) return false;
  const bool top = e->ownerId() == db->modelSpaceId();
  e->close();
  return top;
}

// The user's own selection: picks until Enter (or, with `single`, until the first pick that
// adds something). RTNORM, RTERROR when nothing was chosen, RTCAN.
int UserSelection(const resbuf* filter, bool single, std::vector<AcDbObjectId>& chosen) {
  const ACHAR* prompt = L"\nオブジェクトを選択: ";
  const std::wstring what = DescribePrompt(L"object selection", prompt);
  for (;;) {
    PrintText(prompt);
    auto input = AwaitEditorInput(IsPickAnswer, what, "select");
    if (input.outcome != InputOutcome::kAction) return RTCAN;
    EchoLineEnd();
    const UserAction& a = input.action;
    if (a.kind == ActionKind::kEnter || a.kind == ActionKind::kTyped) break;
    std::vector<AcDbObjectId> picked;
    if (a.kind == ActionKind::kPick) {
      for (uint64_t h : a.handles) {
        AcDbObjectId id;
        if (!TopLevelByHandle(h, id)) {
          ReportMismatch(a, what + L" (no entity of the drawing has that handle)");
          return RTCAN;
        }
        picked.push_back(id);
      }
    } else if (AcDbDatabase* db = WorkingDatabase()) {
      if (auto hit =
              PickEntityAt(db->modelSpaceId(), AcGePoint3d(a.x, a.y, 0), PickAperture(), false))
        picked.push_back(hit->entity);
    }
    const size_t before = chosen.size();
    for (const AcDbObjectId& id : Filtered(picked, filter, false)) AddUnique(chosen, id);
    if (single && chosen.size() > before) break;
  }
  return chosen.empty() ? RTERROR : RTNORM;
}

std::wstring Upper(const ACHAR* s) {
  std::wstring u = s ? s : L"";
  for (auto& c : u) c = static_cast<wchar_t>(std::towupper(c));
  return u;
}

}  // namespace

void SetPickfirst(const std::vector<AcDbObjectId>& ids) {
  g_pickfirst = ids;
}
void ClearPickfirst() {
  g_pickfirst.clear();
}
const std::vector<AcDbObjectId>& Pickfirst() {
  return g_pickfirst;
}

std::vector<AcDbObjectId> InRectangle(const ads_point a, const ads_point b,
                                      RectangleSelection mode) {
  const PlanRectangle r{std::min(a[0], b[0]), std::min(a[1], b[1]), std::max(a[0], b[0]),
                        std::max(a[1], b[1])};
  std::vector<AcDbObjectId> ids;
  for (const AcDbObjectId& id : ModelSpaceEntities()) {
    AcGePoint3d lo, hi;
    if (id.isErased() || !EntityBox(id, lo, hi)) continue;
    const bool inside = lo.x >= r.x0 && hi.x <= r.x1 && lo.y >= r.y0 && hi.y <= r.y1;
    if (inside || (mode == RectangleSelection::kCrossing && EntityMeetsRectangle(id, r)))
      ids.push_back(id);
  }
  return ids;
}

size_t OpenSelectionSetCount() {
  return Sets().size();
}
void FreeAllSelectionSets() {
  Sets().clear();
}

void NewSelectionSet(const std::vector<AcDbObjectId>& ids, ads_name ss) {
  const int64_t serial = g_next_set++;
  Sets()[serial] = WithoutRepeats(ids);
  ss[0] = serial;
  ss[1] = kSetTag;
}

std::vector<AcDbObjectId>* FindSelectionSet(const ads_name ss) {
  if (ss == nullptr || ss[1] != kSetTag) return nullptr;
  auto it = Sets().find(ss[0]);
  return it == Sets().end() ? nullptr : &it->second;
}

}  // namespace platform::acad

using namespace platform::acad;

int acedSSGet(const ACHAR* mode, const void* pt1, const void* pt2, const struct resbuf* filter,
              ads_name ss) {
  const std::wstring m = Upper(mode);
  std::vector<AcDbObjectId> ids;
  if (mode == nullptr || m == L"_:S" || m == L":S") {
    const int rc = UserSelection(filter, mode != nullptr, ids);
    if (rc != RTNORM) return rc;
  } else if (m == L"I" || m == L"_I") {
    ids = Filtered(Pickfirst(), filter, false);
  } else if (m == L"X" || m == L"_X") {
    // A block's entities are each in it once.
    ids = Filtered(ModelSpaceEntities(), filter, false, Repeats::kNone);
  } else if (m == L"A" || m == L"_A") {
    ids = Filtered(ModelSpaceEntities(), filter, true, Repeats::kNone);
  } else if ((m == L"W" || m == L"_W" || m == L"C" || m == L"_C") && pt1 && pt2) {
    ids = Filtered(
        InRectangle(static_cast<const ads_real*>(pt1), static_cast<const ads_real*>(pt2),
                    m.back() == L'C' ? RectangleSelection::kCrossing : RectangleSelection::kWindow),
        filter, false);
  } else {
    return RTERROR;
  }
  if (ids.empty()) return RTERROR;  // AutoCAD never hands out an empty set
  NewSelectionSet(ids, ss);
  return RTNORM;
}

int acedSSFree(const ads_name sname) {
  if (FindSelectionSet(sname) == nullptr) return RTERROR;
  Sets().erase(sname[0]);
  return RTNORM;
}

int acedSSLength(const ads_name sname, Adesk::Int32* len) {
  auto* set = FindSelectionSet(sname);
  if (set == nullptr || len == nullptr) return RTERROR;
  *len = static_cast<Adesk::Int32>(set->size());
  return RTNORM;
}

int acedSSName(const ads_name ss, Adesk::Int32 i, ads_name entres) {
  auto* set = FindSelectionSet(ss);
  if (set == nullptr || i < 0 || static_cast<size_t>(i) >= set->size()) return RTERROR;
  // The parameter decays to a pointer here; the SDK's signature wants the array.
  return acdbGetAdsName(*reinterpret_cast<ads_name*>(entres), (*set)[i]) == Acad::eOk ? RTNORM
                                                                                      : RTERROR;
}

int acedSSAdd(const ads_name ename, const ads_name sname, ads_name result) {
  AcDbObjectId id;
  if (ename && acdbGetObjectId(id, ename) != Acad::eOk) return RTERROR;
  if (sname == nullptr) {
    NewSelectionSet(ename ? std::vector<AcDbObjectId>{id} : std::vector<AcDbObjectId>{}, result);
    return RTNORM;
  }
  auto* set = FindSelectionSet(sname);
  if (set == nullptr) return RTERROR;
  if (ename) AddUnique(*set, id);
  if (result != sname) ads_name_set(sname, result);
  return RTNORM;
}

int acedSSDel(const ads_name ename, const ads_name ss) {
  AcDbObjectId id;
  auto* set = FindSelectionSet(ss);
  if (set == nullptr || acdbGetObjectId(id, ename) != Acad::eOk) return RTERROR;
  auto it = std::find(set->begin(), set->end(), id);
  if (it == set->end()) return RTERROR;
  set->erase(it);
  return RTNORM;
}

int acedSSMemb(const ads_name ename, const ads_name ss) {
  AcDbObjectId id;
  auto* set = FindSelectionSet(ss);
  if (set == nullptr || acdbGetObjectId(id, ename) != Acad::eOk) return RTERROR;
  return std::find(set->begin(), set->end(), id) != set->end() ? RTNORM : RTERROR;
}

int acedSSSetFirst(const ads_name pset, const ads_name) {
  if (pset == nullptr) {
    ClearPickfirst();
    return RTNORM;
  }
  auto* set = FindSelectionSet(pset);
  if (set == nullptr) return RTERROR;
  SetPickfirst(*set);
  return RTNORM;
}

int acedSSGetFirst(struct resbuf** gset, struct resbuf** pset) {
  if (gset) *gset = nullptr;
  if (pset == nullptr) return RTNORM;
  *pset = nullptr;
  if (Pickfirst().empty()) return RTNORM;
  *pset = acutNewRb(RTPICKS);
  NewSelectionSet(Pickfirst(), (*pset)->resval.rlname);
  return RTNORM;
}
