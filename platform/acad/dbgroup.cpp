// AcDbGroup: ordered members, with the group kept as a persistent reactor on each member.
#include <dbgroup.h>

#include <algorithm>

#include <acutads.h>
#include <dbdict.h>
#include "platform/acad/dbstub.h"
#include "platform/acad/id_table.h"

using platform::acad::internal::Peek;

struct AcDbGroup::MemberIndex {
  platform::acad::IdSet ids;
};

namespace {
// Smaller groups are searched in order: their set would cost more than it saves.
constexpr size_t kIndexFrom = 32;
}  // namespace

bool AcDbGroup::IsMember(AcDbObjectId id) const {
  if (members_.size() < kIndexFrom)
    return std::find(members_.begin(), members_.end(), id) != members_.end();
  if (!index_.index) {
    auto made = std::make_shared<MemberIndex>();
    made->ids.reserve(members_.size());
    for (const AcDbObjectId& member : members_) made->ids.insert(member);
    index_.index = std::move(made);
  }
  return index_.index->ids.count(id) != 0;
}

ACRX_DEFINE_MEMBERS(AcDbGroup, AcDbObject, L"GROUP")
ACDB_DEFINE_COPYING(AcDbGroup)

AcDbGroup::AcDbGroup(const ACHAR* grpDesc, bool selectable)
    : description_(grpDesc ? grpDesc : L""), selectable_(selectable) {}

const ACHAR* AcDbGroup::name() const {
  assertReadEnabled();
  return name_.c_str();
}

Acad::ErrorStatus AcDbGroup::getName(ACHAR*& pName) const {
  pName = acutNewString(name());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::setName(const ACHAR* newName) {
  assertWriteEnabled();
  if (newName == nullptr || *newName == 0) return Acad::eInvalidInput;
  auto* dict = platform::acad::internal::PeekAs<AcDbDictionary>(ownerId());
  if (dict == nullptr) {
    name_ = newName;
    return Acad::eOk;
  }
  platform::acad::internal::InternalAccess access(dict, true);
  return dict->setName(name_.c_str(), newName);
}

const ACHAR* AcDbGroup::description() const {
  assertReadEnabled();
  return description_.c_str();
}

Acad::ErrorStatus AcDbGroup::setDescription(const ACHAR* grpDesc) {
  assertWriteEnabled();
  description_ = grpDesc ? grpDesc : L"";
  return Acad::eOk;
}

bool AcDbGroup::isSelectable() const {
  assertReadEnabled();
  return selectable_;
}

Acad::ErrorStatus AcDbGroup::setSelectable(bool selectable) {
  assertWriteEnabled();
  selectable_ = selectable;
  return Acad::eOk;
}

bool AcDbGroup::isAnonymous() const {
  assertReadEnabled();
  return !name_.empty() && name_[0] == L'*';
}

Acad::ErrorStatus AcDbGroup::append(AcDbObjectId id) {
  assertWriteEnabled();
  if (id.isNull()) return Acad::eNullObjectId;
  if (database() == nullptr || id.database() != database()) return Acad::eNotInDatabase;
  if (id.isErased()) return Acad::eWasErased;
  if (IsMember(id)) return Acad::eAlreadyInGroup;
  members_.push_back(id);
  if (index_.index) index_.index->ids.insert(id);
  if (AcDbObject* member = Peek(id)) member->addPersistentReactor(objectId());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::append(const AcDbObjectIdArray& ids) {
  for (const AcDbObjectId& id : ids) {
    Acad::ErrorStatus es = append(id);
    if (es != Acad::eOk) return es;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::prepend(AcDbObjectId id) {
  Acad::ErrorStatus es = append(id);
  if (es == Acad::eOk) std::rotate(members_.begin(), members_.end() - 1, members_.end());
  return es;
}

Acad::ErrorStatus AcDbGroup::remove(AcDbObjectId id) {
  assertWriteEnabled();
  auto it = std::find(members_.begin(), members_.end(), id);
  if (it == members_.end()) return Acad::eNotInGroup;
  members_.erase(it);
  index_.index.reset();
  if (AcDbObject* member = Peek(id)) member->removePersistentReactor(objectId());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::clear() {
  assertWriteEnabled();
  for (const AcDbObjectId& id : members_)
    if (AcDbObject* member = Peek(id)) member->removePersistentReactor(objectId());
  members_.clear();
  index_.index.reset();
  return Acad::eOk;
}

bool AcDbGroup::has(const AcDbEntity* pEntity) const {
  return pEntity != nullptr && has(pEntity->objectId());
}

bool AcDbGroup::has(AcDbObjectId id) const {
  assertReadEnabled();
  return !id.isNull() && !id.isErased() && IsMember(id);
}

Adesk::UInt32 AcDbGroup::numEntities() const {
  assertReadEnabled();
  return static_cast<Adesk::UInt32>(std::count_if(
      members_.begin(), members_.end(), [](const AcDbObjectId& id) { return !id.isErased(); }));
}

Adesk::UInt32 AcDbGroup::allEntityIds(AcDbObjectIdArray& ids) const {
  assertReadEnabled();
  ids.removeAll();
  for (const AcDbObjectId& id : members_)
    if (!id.isErased()) ids.append(id);
  return static_cast<Adesk::UInt32>(ids.length());
}
