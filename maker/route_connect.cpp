// VuRida.dll: which members of a route list or group are connected to an element at a point.
//
// Tracing a route asks this question once per connection point of every element it passes, with
// the same list each time. Each list gets a spatial index of its members' connection points,
// built on the first query; later queries look only at the members near the point. Members found
// near the point are checked against their current geometry before they are answered, and an
// index whose answer turns out stale is rebuilt.
#include <list>
#include <memory>
#include <vector>

#include <dbgroup.h>
#include <dbmain.h>
#include <gegbl.h>

#include "RootComn.h"
#include "VuRida.h"
#include "connect_index.h"
#include "maker_util.h"

namespace {

struct CachedList {
  AcDbDatabase* database = nullptr;
  AcDbHandle handseed;  // new objects (a rebuilt drawing) make the index stale
  int dimension = 3;
  std::vector<AcDbObjectId> members;
  std::vector<AcGePoint3dArray> points;  // connection points per member, as indexed
  std::unique_ptr<vurida::ConnectIndex> index;
};

// A few lists at once: a trace alternates between the groups of one element.
constexpr size_t kCachedLists = 8;

std::list<CachedList>& Cache() {
  static std::list<CachedList> cache;
  return cache;
}

bool SameMembers(const std::vector<AcDbObjectId>& a, const AcDbObjectIdArray& b) {
  if (a.size() != static_cast<size_t>(b.length())) return false;
  for (int i = 0; i < b.length(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

AcGePoint3dArray PointsOf(AcDbObjectId id) {
  AcGePoint3dArray points;
  VuRida_GetConnectPoint(id, points, RQCONECT_LAYER, nullptr);
  return points;
}

bool Matches(const AcGePoint3d& a, const AcGePoint3d& b, int dimension) {
  const double tol = AcGeContext::gTol.equalPoint();
  if (dimension == 2) return AcGePoint3d(a.x, a.y, 0).isEqualTo(AcGePoint3d(b.x, b.y, 0));
  return a.distanceTo(b) <= tol;
}

CachedList Build(AcDbDatabase* db, const AcDbObjectIdArray& members, int dimension) {
  CachedList entry;
  entry.database = db;
  entry.handseed = db ? db->handseed() : AcDbHandle();
  entry.dimension = dimension;
  entry.index = std::make_unique<vurida::ConnectIndex>(dimension);
  for (int i = 0; i < members.length(); ++i) {
    entry.members.push_back(members[i]);
    entry.points.push_back(PointsOf(members[i]));
    for (int k = 0; k < entry.points.back().length(); ++k) {
      const AcGePoint3d& p = entry.points.back()[k];
      entry.index->Add(i, p.x, p.y, p.z);
    }
  }
  return entry;
}

// The cached index of the list, built or rebuilt as needed, moved to the front.
CachedList& IndexFor(const AcDbObjectIdArray& members, int dimension, bool force_rebuild) {
  AcDbDatabase* db = members.isEmpty() ? nullptr : members[0].database();
  auto& cache = Cache();
  for (auto it = cache.begin(); it != cache.end(); ++it) {
    if (it->database == db && it->dimension == dimension && SameMembers(it->members, members)) {
      if (force_rebuild || (db && it->handseed != db->handseed())) {
        *it = Build(db, members, dimension);
      }
      cache.splice(cache.begin(), cache, it);
      return cache.front();
    }
  }
  cache.push_front(Build(db, members, dimension));
  if (cache.size() > kCachedLists) cache.pop_back();
  return cache.front();
}

// The members near `point` by the index, confirmed against their current connection points.
// False when a member's geometry no longer matches what was indexed.
bool Query(CachedList& entry, AcDbObjectId from, const AcGePoint3d& point, int maxCount,
           AcDbObjectIdArray& blocks) {
  const double tol = AcGeContext::gTol.equalPoint();
  for (int member : entry.index->Near(point.x, point.y, point.z, tol)) {
    const AcDbObjectId id = entry.members[member];
    if (id == from) continue;
    const AcGePoint3dArray now = PointsOf(id);
    if (now.length() != entry.points[member].length()) return false;
    bool connected = false;
    for (int k = 0; k < now.length(); ++k) {
      if (!now[k].isEqualTo(entry.points[member][k])) return false;
      connected = connected || Matches(now[k], point, entry.dimension);
    }
    if (!connected) continue;
    if (maker::Contains(blocks, id)) continue;  // a member listed twice is answered once
    blocks.append(id);
    if (maxCount > 0 && blocks.length() >= maxCount) break;
  }
  return true;
}

}  // namespace

int RootComn_GetConnectBlock7(const AcDbObjectIdArray& members, AcDbObjectId from,
                              const AcGePoint3d& point, AcDbObjectIdArray& blocks, int& count,
                              int maxCount, int dimension) {
  blocks.removeAll();
  count = 0;
  if (dimension != 2) dimension = 3;
  if (members.isEmpty()) return 1;
  if (!Query(IndexFor(members, dimension, false), from, point, maxCount, blocks)) {
    blocks.removeAll();
    Query(IndexFor(members, dimension, true), from, point, maxCount, blocks);
  }
  count = blocks.length();
  return count > 0 ? 0 : 1;
}

int RootComn_GetConnectBlock5(AcDbObjectId group, AcDbObjectId from, const AcGePoint3d& point,
                              AcDbObjectIdArray& blocks, int& count, int maxCount, int dimension) {
  blocks.removeAll();
  count = 0;
  AcDbGroup* opened = nullptr;
  if (acdbOpenObject(opened, group, AcDb::kForRead) != Acad::eOk) return -1;
  AcDbObjectIdArray members;
  opened->allEntityIds(members);
  opened->close();
  return RootComn_GetConnectBlock7(members, from, point, blocks, count, maxCount, dimension);
}
