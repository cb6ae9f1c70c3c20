// The objects of a DXF file: dictionaries, groups, and the objects kept as read.
#include "host/dxf/dxf_read_builder.h"
#include "platform/acad/kept_groups.h"

#include <acutads.h>
#include <dbdict.h>
#include <dbelipse.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbhatch.h>
#include "platform/acad/dbhost.h"
#include <dbpl.h>
#include <dbsymtb.h>
#include "platform/win/wide_string.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

#include "host/dxf/dxf_objects.h"

namespace host::dxf_in {

// ---- Objects ----

void Builder::ReadObjects() {
  struct Deferred {
    const Record* record;
    AcDbObjectId id;
  };
  std::vector<Deferred> dictionaries, groups;
  for (const Record& r : file_.objects) {
    AcDbObject* obj = nullptr;
    Split s;
    if (r.type == "DICTIONARY") {
      s = SplitRecord(r, [](int c) { return c == 3 || c == 350 || c == 360; });
      obj = new AcDbDictionary;
    } else if (r.type == "GROUP") {
      s = SplitRecord(r, [](int c) { return c == 300 || c == 70 || c == 71 || c == 340; });
      auto* group = new AcDbGroup(StringOr(s.values, 300).c_str(), IntOr(s.values, 71, 1) != 0);
      obj = group;
    } else {
      auto* kept = new DxfUnknownObject(Wide(r.type));
      platform::acad::SetKeptGroups(*kept, AllGroups(r));
      AcDbObjectId id = AddRoot(kept, &r);
      (void)id;
      SetOwner(kept, r.owner);
      kept->close();
      continue;
    }
    platform::acad::SetKeptGroups(*obj, std::move(s.raw));
    AcDbObjectId id = AddRoot(obj, &r);
    SetOwner(obj, r.owner);
    obj->close();
    if (!s.xdata.empty()) xdata_later_.push_back({id, s.xdata, r.line});
    if (r.type == "DICTIONARY") {
      dictionaries.push_back({&r, id});
      if (roots_.named_objects.isNull()) roots_.named_objects = id;
    } else {
      groups.push_back({&r, id});
    }
  }
  if (roots_.named_objects.isNull()) {
    auto* nod = new AcDbDictionary;
    roots_.named_objects = AddRoot(nod, nullptr);
    nod->close();
  }
  for (const Deferred& d : dictionaries) {
    AcDbDictionary* dict = nullptr;
    if (acdbOpenObject(dict, d.id, AcDb::kForWrite) != Acad::eOk) continue;
    std::wstring key;
    for (const Group& g : d.record->groups) {
      if (g.code == 3) key = Wide(g);
      if ((g.code == 350 || g.code == 360) && !key.empty()) {
        AcDbObjectId target;
        AcDbObject* entry = nullptr;
        if (db_->getAcDbObjectId(target, false, Handle(g)) == Acad::eOk &&
            acdbOpenObject(entry, target, AcDb::kForRead) == Acad::eOk) {
          AcDbObjectId ignored;
          dict->setAt(key.c_str(), entry, ignored);
          entry->close();
        } else {
          result_->warnings.push_back(LineError(g.line, L"dictionary entry \"" + key +
                                                            L"\" names a missing object " +
                                                            Wide(g) + L"; left out"));
        }
        key.clear();
      }
    }
    if (d.id == roots_.named_objects) dict->getAt(L"ACAD_GROUP", roots_.group_dictionary);
    dict->close();
  }
  if (roots_.group_dictionary.isNull()) {
    AcDbDictionary* nod = nullptr;
    if (acdbOpenObject(nod, roots_.named_objects, AcDb::kForWrite) == Acad::eOk) {
      auto* groups_dict = new AcDbDictionary;
      if (nod->setAt(L"ACAD_GROUP", groups_dict, roots_.group_dictionary) == Acad::eOk)
        groups_dict->close();
      else
        delete groups_dict;
      nod->close();
    }
  }
  db_->setRoots(roots_);
  std::vector<AcDbObjectId> members;
  for (const Deferred& d : groups) {
    AcDbGroup* group = nullptr;
    if (acdbOpenObject(group, d.id, AcDb::kForWrite) != Acad::eOk) continue;
    // The members are found by their records alone (an entity that is there and not erased),
    // then appended while the objects a few members on are fetched into the cache: a large
    // floor's groups name every element, and each is a visit to memory of its own.
    members.clear();
    for (const Group& g : d.record->groups) {
      if (g.code != 340) continue;
      AcDbObjectId member;
      const AcRxClass* cls = nullptr;
      if (db_->getAcDbObjectId(member, false, Handle(g)) == Acad::eOk &&
          (cls = member.objectClass()) != nullptr && cls->isDerivedFrom(AcDbEntity::desc()) &&
          !member.isErased()) {
        members.push_back(member);
      } else {
        result_->warnings.push_back(LineError(g.line, std::wstring(L"group \"") + group->name() +
                                                          L"\" names a missing entity " + Wide(g) +
                                                          L"; left out"));
      }
    }
    platform::acad::VisitFetchingAhead(members, 8, [group](AcDbObjectId id) { group->append(id); });
    group->close();
  }
  for (const Pending& p : xdata_later_) ApplyXData(p, &result_->warnings);
}

}  // namespace host::dxf_in
