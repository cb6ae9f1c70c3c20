// Taking an undo step back and giving it back: objects' states swapped, appended objects taken
// out of the drawing and put back, the header, and the listeners told.
#include "platform/acad/undo_replay.h"

#include <algorithm>
#include <utility>

#include <dbsymtb.h>
#include "platform/acad/dbstub.h"

namespace platform::acad::internal {

namespace {

enum class Told { kModified, kModifiedAndErased, kGone, kBack };
struct Notice {
  AcDbStub* stub;
  AcDbObject* object;
  Told told;
};

std::vector<AcDbObjectId>* EntitiesOf(AcDbObjectId owner) {
  auto* block = PeekAs<AcDbBlockTableRecord>(owner);
  // The list is the block's own, edited here as its append edits it.
  return block ? &const_cast<std::vector<AcDbObjectId>&>(block->entityIds()) : nullptr;
}

void TakeOut(UndoEntry& e, std::vector<Notice>* notices) {
  AcDbStub* stub = e.stub;
  AcDbObject* object = stub->object.release();
  e.state.reset(object);
  stub->cls = nullptr;
  stub->purged = true;  // opens as erased
  e.position = kNowhere;
  if (AcDbEntity::cast(object) != nullptr) {
    if (std::vector<AcDbObjectId>* ids = EntitiesOf(stub->owner)) {
      const AcDbObjectId id(stub);
      for (size_t i = ids->size(); i-- > 0;) {
        if ((*ids)[i] == id) {
          ids->erase(ids->begin() + static_cast<std::ptrdiff_t>(i));
          e.position = i;
          break;
        }
      }
    }
  }
  notices->push_back(Notice{stub, object, Told::kGone});
}

void PutBack(UndoEntry& e, std::vector<Notice>* notices) {
  AcDbStub* stub = e.stub;
  AcDbObject* object = e.state.release();
  stub->object.reset(object);
  stub->cls = object->isA();
  stub->purged = false;
  if (e.position != kNowhere) {
    if (std::vector<AcDbObjectId>* ids = EntitiesOf(stub->owner)) {
      const size_t at = std::min(e.position, ids->size());
      ids->insert(ids->begin() + static_cast<std::ptrdiff_t>(at), AcDbObjectId(stub));
    }
    e.position = kNowhere;
  }
  notices->push_back(Notice{stub, object, Told::kBack});
}

void Exchange(UndoEntry& e, std::vector<Notice>* notices) {
  AcDbStub* stub = e.stub;
  AcDbObject* object = stub->object.get();
  if (object != nullptr && e.xdata_only) {
    char*& now = AcDbUndoAccess::XData(object);
    char* given = e.xdata.release();
    e.xdata.reset(now);
    now = given;
  } else if (object != nullptr && e.state) {
    std::unique_ptr<AcDbObject> now(static_cast<AcDbObject*>(object->clone()));
    object->copyFrom(e.state.get());
    e.state = std::move(now);
  }
  const bool was_erased = stub->erased;
  std::swap(stub->erased, e.erased);
  std::swap(stub->owner, e.owner);
  if (object != nullptr) {
    notices->push_back(Notice{
        stub, object, was_erased != stub->erased ? Told::kModifiedAndErased : Told::kModified});
  }
}

}  // namespace

void ReplayUndoStep(AcDbDatabase* db, UndoStep& step, bool back, bool* replaying) {
  *replaying = true;
  std::vector<Notice> notices;
  auto one = [&](UndoEntry& e) {
    if (!e.appended) {
      Exchange(e, &notices);
    } else if (back) {
      TakeOut(e, &notices);
    } else {
      PutBack(e, &notices);
    }
  };
  if (back) {
    for (auto it = step.entries.rbegin(); it != step.entries.rend(); ++it) one(*it);
  } else {
    for (UndoEntry& e : step.entries) one(e);
  }
  AcDbUndoAccess::Swap(*db, step.header);
  *replaying = false;
  // The listeners hear of it once the whole step is done, each object readable as in a notify.
  for (const Notice& n : notices) {
    ++n.stub->notifiers;
    switch (n.told) {
      case Told::kModifiedAndErased:
        db->notifyErased(n.object, n.stub->erased);
        db->notifyModified(n.object);
        break;
      case Told::kModified:
        db->notifyModified(n.object);
        break;
      case Told::kGone:
        db->notifyErased(n.object, true);
        break;
      case Told::kBack:
        db->notifyAppended(n.object);
        break;
    }
    --n.stub->notifiers;
  }
}

}  // namespace platform::acad::internal
