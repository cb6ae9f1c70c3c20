// VuRida.dll's memory of one drawing between calls of its route functions: the connection
// points of the route elements it was asked about (in a spatial index), the members of the
// lists and groups it was asked with, and the order of the group dictionary.
//
// It listens to the drawing (AcDbDatabaseReactor), so that what it keeps is never stale: an
// element that is moved, erased or unerased is read again at the next question, a group whose
// members change is read again, and everything about a drawing is dropped when the drawing goes.
// An element changed in place (its XData, its colour) keeps its points without reading its block
// again, as long as it references the same block with the same position, rotation, scale and
// normal and neither that block nor the layers changed.
// A question then costs what the answer costs, not what the list or the drawing holds.
#pragma once

#include <deque>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include <dbmain.h>
#include <gepnt3d.h>
#include <gescl3d.h>
#include <gevec3d.h>

#include "maker/connect_index.h"

namespace vurida {

// The members of a route list or group: each id with the position where it first comes.
using Membership = std::unordered_map<AcDbObjectId, int>;

// The same for the elements a RouteIndex knows, by the index's element number, each with its
// id, so that a question looks a candidate up in one array next to its neighbours' entries and
// reads its id from the same line, rather than from a hash table spread over memory and then
// from the list. Members numbered close together (as a list or a group read in order are) are
// kept in one array over their range; scattered ones in a hash map.
class Positions {
 public:
  struct Member {
    AcDbObjectId id;
    int position = -1;  // -1: not a member
  };
  // An element read from a list or group: its number in the index, where it comes, its id.
  struct Read {
    int element;
    int position;
    AcDbObjectId id;
  };
  // What a question reads of a Positions: a few words, copied where it is found fast. Valid
  // while its Positions is neither assigned again nor destroyed.
  struct View {
    const Member* dense = nullptr;
    size_t size = 0;
    int first = 0;
    const std::unordered_map<int, Member>* scattered = nullptr;  // used when not null
    // Every element of the dense range is a member (as in a list or group read in order), so
    // that a question need not read the array to know whether an element is one.
    bool complete = false;

    bool Holds(int element) const {
      return complete ? static_cast<size_t>(element - first) < size : Of(element) != nullptr;
    }

    // The member that is `element`, or null when it is not a member.
    const Member* Of(int element) const {
      if (scattered == nullptr) {
        const size_t i = static_cast<size_t>(element - first);
        return i < size && dense[i].position >= 0 ? &dense[i] : nullptr;
      }
      auto it = scattered->find(element);
      return it == scattered->end() ? nullptr : &it->second;
    }
  };

  // The position of `element`, or -1 when it is not a member.
  int Of(int element) const {
    const Member* member = view().Of(element);
    return member == nullptr ? -1 : member->position;
  }
  View view() const {
    return View{dense_.data(), dense_.size(), first_, sparse_ ? &scattered_ : nullptr, complete_};
  }
  // From the elements read, in position order; an element keeps its first position.
  void Assign(const std::vector<Read>& members);

 private:
  int first_ = 0;
  bool sparse_ = false;
  bool complete_ = false;
  std::vector<Member> dense_;
  std::unordered_map<int, Member> scattered_;
};

class RouteIndex final : public AcDbDatabaseReactor {
 public:
  // The index of `db`, made on first use (null for a null db). It lives until the drawing is
  // destroyed; nothing else may delete it.
  static RouteIndex* Of(AcDbDatabase* db);
  ~RouteIndex() override;
  RouteIndex(const RouteIndex&) = delete;
  RouteIndex& operator=(const RouteIndex&) = delete;

  // The members of a list. Asked again with the same content (the same array, or a copy of it:
  // AcArray::contentStamp) it answers from memory; a few lists are kept at once. Members of
  // other drawings are left out: they cannot be connected to anything here.
  const Positions& ListMembers(const AcDbObjectIdArray& members);
  // The members of a group, or null when the group cannot be opened (erased, no group). With
  // `connections` their connection points are read too, for Connected.
  const Membership* GroupMembers(AcDbObjectId group, bool connections);
  // The index asked last, with the view of `group` into `view`, when the group was asked about
  // there before; null otherwise (then ask Of(group.database())->GroupPositions). Reads no stub.
  static RouteIndex* RecentGroupPositions(AcDbObjectId group, Positions::View& view);
  // The view of `group` for Connected (the members' connection points read), false when the
  // group cannot be opened. Found without touching the group's own records when it was asked
  // before, since a trace asks about many groups, each many times.
  bool GroupPositions(AcDbObjectId group, Positions::View& view);

  // Into `blocks` (emptied first), in member order: every member of `members` other than
  // `from` that has a connection point within AcGeContext::gTol.equalPoint() of `point`, in x
  // and y only for `dimension` 2, each once, at most `maxCount` (0: all).
  void Connected(const Positions::View& members, AcDbObjectId from, const AcGePoint3d& point,
                 int maxCount, int dimension, AcDbObjectIdArray& blocks);

  // The position of `group` in the drawing's group dictionary; -1 when it is not an entry, -2
  // when the dictionary cannot be read.
  int GroupOrder(AcDbObjectId group);

  void objectModified(const AcDbDatabase* dwg, const AcDbObject* dbObj) override;
  void objectErased(const AcDbDatabase* dwg, const AcDbObject* dbObj,
                    Adesk::Boolean pErased) override;
  void goodbye(const AcDbDatabase* dwg) override;

 private:
  // One element asked about, with what the grids hold of it.
  struct Element {
    AcDbObjectId id;
    AcDbObjectId block;  // the block it references: a change to the block moves its points
    AcGePoint3dArray points;
    bool dirty = false;
    // The placement its points were read with, when `placed`: a change to the element that
    // keeps its block and placement (its XData, its colour) leaves the points where they were.
    bool placed = false;
    AcGePoint3d position;
    double rotation = 0;
    AcGeScale3d scale;
    AcGeVector3d normal;
  };
  struct CachedGroup {
    Membership members;
    AcDbObjectIdArray ids;  // the members in order, repeats included
    bool indexed = false;   // the members' connection points are known, and `positions` made
    Positions positions;
  };
  struct CachedList {
    unsigned long long stamp = 0;
    Positions members;
  };

  explicit RouteIndex(AcDbDatabase* db);
  // The cached group, read (and with `connections` its members' points read) when missing;
  // null when the group cannot be opened.
  CachedGroup* Group(AcDbObjectId group, bool connections);
  void DropGroup(AcDbObjectId group);
  // The element's number, made (and read, and indexed) the first time.
  int Know(AcDbObjectId id);
  // Marks an element to be read again at the next question; with `samePlacement`, only when it
  // no longer has the placement its points were read with (the element itself changed, and
  // nothing that it shows).
  void MarkDirty(AcDbObjectId id, bool samePlacement = false);
  // Reads again every element that changed since the last question.
  void CatchUp();
  void Reread(int element);
  ConnectIndex& Grid(int dimension);

  AcDbDatabase* db_;
  std::vector<Element> elements_;
  std::unordered_map<AcDbObjectId, int> element_of_;
  std::vector<int> dirty_;
  std::vector<int> later_;  // could not be read (open for write): read at the next question
  std::unordered_set<AcDbObjectId> changed_blocks_;
  std::unique_ptr<ConnectIndex> grids_[2];  // plan view (2) and 3D (3), made when first asked
  std::deque<CachedList> lists_;            // most recent first
  std::unordered_map<AcDbObjectId, CachedGroup> groups_;
  std::unordered_map<AcDbObjectId, int> group_order_;
  bool group_order_known_ = false;
  // Kept between questions so that a question allocates nothing.
  std::vector<ConnectIndex::Hit> hits_;
  std::vector<const Positions::Member*> found_;
  std::vector<ConnectIndex::Hit> candidates_;
  AcDbObjectId last_answer_;  // the first element of the last answer, if any
  std::vector<Positions::Read> reading_;
  // The views of the groups asked with, by the group's stub: a flat open-addressing table,
  // small enough to stay in cache, emptied whenever a cached group is dropped.
  struct GroupSlot {
    const AcDbStub* group = nullptr;
    Positions::View view;
  };
  std::vector<GroupSlot> group_slots_;
  size_t group_slots_used_ = 0;
  const GroupSlot* FindGroupSlot(const AcDbStub* group) const;
  void AddGroupSlot(const GroupSlot& slot);
};

}  // namespace vurida
