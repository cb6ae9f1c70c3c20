// VuRida.dll: which members of a route list or group are connected to an element at a point.
//
// Tracing a route asks this question once per connection point of every element it passes,
// with the same list or group each time. The drawing's RouteIndex remembers the members of the
// lists and groups asked with and keeps the connection points of those members in a spatial
// index that follows the drawing's changes, so that a question looks only at the elements near
// the point.
#include <dbmain.h>

#include <RootComn.h>
#include "maker/route_index.h"

namespace {

// The drawing of a list: that of its first member that has one.
AcDbDatabase* DatabaseOf(const AcDbObjectIdArray& members) {
  for (const AcDbObjectId& id : members) {
    if (id.database() != nullptr) return id.database();
  }
  return nullptr;
}

}  // namespace

int RootComn_GetConnectBlock7(const AcDbObjectIdArray& members, AcDbObjectId from,
                              const AcGePoint3d& point, AcDbObjectIdArray& blocks, int& count,
                              int maxCount, int dimension) {
  blocks.removeAll();
  count = 0;
  vurida::RouteIndex* index = vurida::RouteIndex::Of(DatabaseOf(members));
  if (index == nullptr) return 1;
  index->Connected(index->ListMembers(members).view(), from, point, maxCount,
                   dimension == 2 ? 2 : 3, blocks);
  count = blocks.length();
  return count > 0 ? 0 : 1;
}

int RootComn_GetConnectBlock5(AcDbObjectId group, AcDbObjectId from, const AcGePoint3d& point,
                              AcDbObjectIdArray& blocks, int& count, int maxCount, int dimension) {
  blocks.removeAll();
  count = 0;
  vurida::Positions::View members;
  vurida::RouteIndex* index = vurida::RouteIndex::RecentGroupPositions(group, members);
  if (index == nullptr) {
    index = vurida::RouteIndex::Of(group.database());
    if (index == nullptr || !index->GroupPositions(group, members)) return -1;
  }
  index->Connected(members, from, point, maxCount, dimension == 2 ? 2 : 3, blocks);
  count = blocks.length();
  return count > 0 ? 0 : 1;
}
