// VuRida.dll's memory of a drawing, kept right by listening to the drawing's changes.
#include "maker/route_index.h"

#include <algorithm>
#include <utility>

#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbsymtb.h>
#include <gegbl.h>

#include <VuRida.h>

namespace vurida {
namespace {

// An id as the grid's tag, and back: the id's stub names the object for the drawing's life.
uint64_t TagOf(AcDbObjectId id) {
  return reinterpret_cast<uintptr_t>(id.stub());
}
AcDbObjectId IdOf(uint64_t tag) {
  return AcDbObjectId(reinterpret_cast<AcDbStub*>(static_cast<uintptr_t>(tag)));
}

// A trace alternates between a few lists at most (the network, the groups of one element).
constexpr size_t kCachedLists = 4;

// The reference stands where the element's points were read: the same position, rotation,
// scale and normal, compared exactly, as any change moves the points.
template <typename Element>
bool SamePlacement(const Element& e, const AcDbBlockReference& reference) {
  const AcGePoint3d p = reference.position();
  const AcGeScale3d s = reference.scaleFactors();
  const AcGeVector3d n = reference.normal();
  return p.x == e.position.x && p.y == e.position.y && p.z == e.position.z &&
         reference.rotation() == e.rotation && s.sx == e.scale.sx && s.sy == e.scale.sy &&
         s.sz == e.scale.sz && n.x == e.normal.x && n.y == e.normal.y && n.z == e.normal.z;
}

// The indexes of the drawings alive. An entry goes with its drawing (goodbye), so a later
// drawing at the same address never finds the old one's.
std::unordered_map<const AcDbDatabase*, std::unique_ptr<RouteIndex>>& Indexes() {
  static std::unordered_map<const AcDbDatabase*, std::unique_ptr<RouteIndex>> indexes;
  return indexes;
}

// The index asked last: a trace asks one drawing many times, and a group it asked about before
// is found there without reading the group's stub for its drawing.
RouteIndex* recent = nullptr;

}  // namespace

void Positions::Assign(const std::vector<Read>& members) {
  dense_.clear();
  scattered_.clear();
  first_ = 0;
  sparse_ = false;
  complete_ = false;
  if (members.empty()) return;
  int lo = members.front().element, hi = lo;
  for (const Read& read : members) {
    lo = std::min(lo, read.element);
    hi = std::max(hi, read.element);
  }
  // An array over the range costs at most a few entries per member; past that, a hash map.
  const size_t range = static_cast<size_t>(hi - lo) + 1;
  if (range > 4 * members.size() + 64) {
    sparse_ = true;
    scattered_.reserve(members.size());
    for (const Read& read : members)
      scattered_.emplace(read.element, Member{read.id, read.position});
    return;
  }
  first_ = lo;
  dense_.assign(range, Member{});
  size_t held = 0;
  for (const Read& read : members) {
    Member& member = dense_[static_cast<size_t>(read.element - lo)];
    if (member.position >= 0) continue;
    member = Member{read.id, read.position};
    ++held;
  }
  complete_ = held == range;
}

RouteIndex* RouteIndex::Of(AcDbDatabase* db) {
  if (db == nullptr) return nullptr;
  auto& indexes = Indexes();
  auto it = indexes.find(db);
  if (it != indexes.end()) return recent = it->second.get();
  std::unique_ptr<RouteIndex> index(new RouteIndex(db));
  RouteIndex* raw = index.get();
  indexes.emplace(db, std::move(index));
  return recent = raw;
}

RouteIndex* RouteIndex::RecentGroupPositions(AcDbObjectId group, Positions::View& view) {
  // A stub lives as long as its drawing, and the index goes with the drawing, so a stub found in
  // the index's table is that drawing's group and not a later object at the same address.
  if (recent == nullptr || group.isNull()) return nullptr;
  const GroupSlot* slot = recent->FindGroupSlot(group.stub());
  if (slot == nullptr) return nullptr;
  view = slot->view;
  return recent;
}

RouteIndex::RouteIndex(AcDbDatabase* db) : db_(db) {
  db_->addReactor(this);
}

RouteIndex::~RouteIndex() {
  if (recent == this) recent = nullptr;
  if (db_ != nullptr) db_->removeReactor(this);
}

void RouteIndex::goodbye(const AcDbDatabase* dwg) {
  if (dwg != db_) return;
  db_->removeReactor(this);
  db_ = nullptr;
  Indexes().erase(dwg);  // deletes this: nothing may follow
}

void RouteIndex::objectModified(const AcDbDatabase*, const AcDbObject* dbObj) {
  const AcDbObjectId id = dbObj->objectId();
  if (AcDbGroup::cast(dbObj) != nullptr) {
    DropGroup(id);
    group_order_known_ = false;  // a group's name is its key in the dictionary
    return;
  }
  if (id == db_->groupDictionaryId()) {
    group_order_known_ = false;
    return;
  }
  if (AcDbLayerTableRecord::cast(dbObj) != nullptr) {
    // A renamed layer can make points connection points, or stop them being ones.
    for (const Element& e : elements_) MarkDirty(e.id);
    return;
  }
  if (AcDbBlockTableRecord::cast(dbObj) != nullptr) {
    if (id != db_->modelSpaceId()) changed_blocks_.insert(id);
    return;
  }
  // An entity inside a block definition moves the connection points of the block's references.
  const AcDbObjectId owner = dbObj->ownerId();
  if (!owner.isNull() && owner != db_->modelSpaceId() && owner.objectClass() != nullptr &&
      owner.objectClass()->isDerivedFrom(AcDbBlockTableRecord::desc())) {
    changed_blocks_.insert(owner);
  }
  MarkDirty(id, true);
}

void RouteIndex::objectErased(const AcDbDatabase* dwg, const AcDbObject* dbObj, Adesk::Boolean) {
  // An erased member leaves the answers of its groups (AcDbGroup::allEntityIds), an unerased
  // one comes back: the groups it belongs to are read again.
  for (const AcDbObjectId& reactor : dbObj->getPersistentReactorIds()) DropGroup(reactor);
  objectModified(dwg, dbObj);
}

void RouteIndex::MarkDirty(AcDbObjectId id, bool samePlacement) {
  auto it = element_of_.find(id);
  if (it == element_of_.end()) return;
  Element& e = elements_[it->second];
  if (!samePlacement) e.placed = false;
  if (e.dirty) return;
  e.dirty = true;
  dirty_.push_back(it->second);
}

ConnectIndex& RouteIndex::Grid(int dimension) {
  std::unique_ptr<ConnectIndex>& grid = grids_[dimension == 2 ? 0 : 1];
  if (!grid) {
    grid = std::make_unique<ConnectIndex>(dimension);
    for (size_t i = 0; i < elements_.size(); ++i) {
      for (const AcGePoint3d& p : elements_[i].points)
        grid->Add(static_cast<int>(i), p.x, p.y, p.z, TagOf(elements_[i].id));
    }
  }
  return *grid;
}

void RouteIndex::Reread(int element) {
  Element& e = elements_[element];
  e.dirty = false;
  // An erased element, or one that is not a block reference, has no connection points. One
  // that someone has open for write now (or whose block is) is read again at the next question:
  // closing it without a change would tell nothing.
  AcDbBlockReference* reference = nullptr;
  const Acad::ErrorStatus es = acdbOpenObject(reference, e.id, AcDb::kForRead);
  // Most changes to a route element are to its records and colour: its points stay.
  if (es == Acad::eOk && e.placed && reference->blockTableRecord() == e.block &&
      SamePlacement(e, *reference)) {
    reference->close();
    return;
  }
  for (auto& grid : grids_) {
    if (!grid) continue;
    for (const AcGePoint3d& p : e.points) grid->Remove(element, p.x, p.y, p.z);
  }
  e.points.removeAll();
  e.block.setNull();
  e.placed = false;
  if (es == Acad::eWasOpenedForWrite) {
    later_.push_back(element);
    return;
  }
  if (es != Acad::eOk) return;
  e.block = reference->blockTableRecord();
  e.position = reference->position();
  e.rotation = reference->rotation();
  e.scale = reference->scaleFactors();
  e.normal = reference->normal();
  reference->close();
  if (VuRida_GetConnectPoint(e.id, e.points, RQCONECT_LAYER, nullptr) < 0) {
    e.points.removeAll();
    later_.push_back(element);
    return;
  }
  e.placed = true;
  for (auto& grid : grids_) {
    if (!grid) continue;
    for (const AcGePoint3d& p : e.points) grid->Add(element, p.x, p.y, p.z, TagOf(e.id));
  }
}

int RouteIndex::Know(AcDbObjectId id) {
  auto [it, added] = element_of_.emplace(id, static_cast<int>(elements_.size()));
  if (!added) return it->second;
  Element e;
  e.id = id;
  elements_.push_back(std::move(e));
  Reread(it->second);
  return it->second;
}

void RouteIndex::CatchUp() {
  if (!changed_blocks_.empty()) {
    for (const Element& e : elements_) {
      if (changed_blocks_.count(e.block) != 0) MarkDirty(e.id);
    }
    changed_blocks_.clear();
  }
  // Rereading opens elements, which tells nothing (read opens change nothing).
  for (int element : std::exchange(later_, {})) MarkDirty(elements_[element].id);
  for (int element : std::exchange(dirty_, {})) Reread(element);
}

const Positions& RouteIndex::ListMembers(const AcDbObjectIdArray& members) {
  const unsigned long long stamp = members.contentStamp();
  for (auto it = lists_.begin(); it != lists_.end(); ++it) {
    if (it->stamp != stamp) continue;
    if (it != lists_.begin()) {
      CachedList found = std::move(*it);
      lists_.erase(it);
      lists_.push_front(std::move(found));
    }
    return lists_.front().members;
  }
  CachedList list;
  list.stamp = stamp;
  reading_.clear();
  reading_.reserve(members.length());
  for (int i = 0; i < members.length(); ++i) {
    const AcDbObjectId id = members[i];
    if (id.isNull() || id.database() != db_) continue;
    reading_.push_back({Know(id), i, id});
  }
  list.members.Assign(reading_);
  lists_.push_front(std::move(list));
  if (lists_.size() > kCachedLists) lists_.pop_back();
  return lists_.front().members;
}

RouteIndex::CachedGroup* RouteIndex::Group(AcDbObjectId group, bool connections) {
  if (group.isNull()) return nullptr;
  // A cached group is never erased: erasing it drops it from the cache (objectErased).
  auto cached = groups_.find(group);
  if (cached == groups_.end()) {
    if (group.isErased()) return nullptr;
    AcDbGroup* opened = nullptr;
    if (acdbOpenObject(opened, group, AcDb::kForRead) != Acad::eOk) return nullptr;
    AcDbObjectIdArray ids;
    opened->allEntityIds(ids);
    opened->close();
    CachedGroup read;
    read.members.reserve(ids.length());
    for (int i = 0; i < ids.length(); ++i) read.members.emplace(ids[i], i);
    read.ids = std::move(ids);
    cached = groups_.emplace(group, std::move(read)).first;
  }
  if (connections && !cached->second.indexed) {
    // Read in member order, so that neighbours get neighbouring numbers, and a question about
    // a joint finds both of its elements' positions in one cache line.
    const AcDbObjectIdArray& ids = cached->second.ids;
    reading_.clear();
    for (int i = 0; i < ids.length(); ++i) {
      if (!ids[i].isNull()) reading_.push_back({Know(ids[i]), i, ids[i]});
    }
    cached->second.positions.Assign(reading_);
    cached->second.indexed = true;
  }
  return &cached->second;
}

const Membership* RouteIndex::GroupMembers(AcDbObjectId group, bool connections) {
  CachedGroup* cached = Group(group, connections);
  return cached == nullptr ? nullptr : &cached->members;
}

void RouteIndex::DropGroup(AcDbObjectId group) {
  if (groups_.erase(group) == 0) return;
  // Views may point into the dropped group; groups change rarely, questions often.
  std::fill(group_slots_.begin(), group_slots_.end(), GroupSlot{});
  group_slots_used_ = 0;
}

namespace {
size_t SlotHome(const AcDbStub* group, size_t mask) {
  return static_cast<size_t>((reinterpret_cast<uintptr_t>(group) >> 4) * 0x9E3779B97F4A7C15ull >>
                             20) &
         mask;
}
}  // namespace

const RouteIndex::GroupSlot* RouteIndex::FindGroupSlot(const AcDbStub* group) const {
  if (group_slots_.empty()) return nullptr;
  const size_t mask = group_slots_.size() - 1;
  for (size_t i = SlotHome(group, mask);; i = (i + 1) & mask) {
    if (group_slots_[i].group == group) return &group_slots_[i];
    if (group_slots_[i].group == nullptr) return nullptr;
  }
}

void RouteIndex::AddGroupSlot(const GroupSlot& slot) {
  if ((group_slots_used_ + 1) * 2 > group_slots_.size()) {
    std::vector<GroupSlot> old(std::max<size_t>(64, group_slots_.size() * 2));
    old.swap(group_slots_);
    group_slots_used_ = 0;
    for (const GroupSlot& kept : old) {
      if (kept.group != nullptr) AddGroupSlot(kept);
    }
  }
  const size_t mask = group_slots_.size() - 1;
  size_t i = SlotHome(slot.group, mask);
  while (group_slots_[i].group != nullptr && group_slots_[i].group != slot.group)
    i = (i + 1) & mask;
  if (group_slots_[i].group == nullptr) ++group_slots_used_;
  group_slots_[i] = slot;
}

bool RouteIndex::GroupPositions(AcDbObjectId group, Positions::View& view) {
  if (const GroupSlot* slot = FindGroupSlot(group.stub())) {
    view = slot->view;
    return true;
  }
  CachedGroup* cached = Group(group, true);
  if (cached == nullptr) return false;
  view = cached->positions.view();
  AddGroupSlot(GroupSlot{group.stub(), view});
  return true;
}

void RouteIndex::Connected(const Positions::View& members, AcDbObjectId from,
                           const AcGePoint3d& point, int maxCount, int dimension,
                           AcDbObjectIdArray& blocks) {
  blocks.removeAll();
  CatchUp();
  const double tol = AcGeContext::gTol.equalPoint();
  const ConnectIndex& grid = Grid(dimension);
  grid.Near(point.x, point.y, point.z, tol, hits_);
  // The grid's points carry their ids, and the members of a list or group read in order fill
  // their range, so that the usual question reads the grid's line and nothing else. A caller
  // that asks about an element it was just given is tracing and will ask about this answer
  // next, so its grid lines are fetched now; for one that jumps around that would only fetch
  // lines it never reads.
  const uint64_t skip = TagOf(from);
  const bool tracing = from == last_answer_;
  last_answer_ = AcDbObjectId::kNull;
  candidates_.clear();
  for (const ConnectIndex::Hit& hit : hits_) {
    if (hit.tag == skip || !members.Holds(hit.member)) continue;
    candidates_.push_back(hit);
    if (tracing) grid.Prefetch(hit.member);
  }
  if (candidates_.size() == 1) {
    blocks.append(IdOf(candidates_.front().tag));
  } else if (!candidates_.empty()) {
    // Several: in member order, which only the members' table knows.
    found_.clear();
    for (const ConnectIndex::Hit& hit : candidates_) found_.push_back(members.Of(hit.member));
    std::sort(found_.begin(), found_.end(),
              [](const auto* a, const auto* b) { return a->position < b->position; });
    for (const Positions::Member* member : found_) {
      if (maxCount > 0 && blocks.length() >= maxCount) break;
      blocks.append(member->id);
    }
  }
  if (!blocks.isEmpty()) last_answer_ = blocks.first();
}

int RouteIndex::GroupOrder(AcDbObjectId group) {
  if (!group_order_known_) {
    group_order_.clear();
    AcDbDictionary* dictionary = nullptr;
    if (db_->getGroupDictionary(dictionary, AcDb::kForRead) != Acad::eOk) return -2;
    std::unique_ptr<AcDbDictionaryIterator> it(dictionary->newIterator());
    for (int i = 0; it && !it->done(); it->next(), ++i) group_order_.emplace(it->objectId(), i);
    dictionary->close();
    group_order_known_ = true;
  }
  auto it = group_order_.find(group);
  return it == group_order_.end() ? -1 : it->second;
}

}  // namespace vurida
