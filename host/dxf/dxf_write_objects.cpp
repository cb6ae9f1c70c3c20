// The OBJECTS section: dictionaries, groups and the objects kept as read.
#include "host/dxf/dxf_write_parts.h"
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
#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"

#include <algorithm>
#include <cmath>

#include "host/dxf/dxf_objects.h"

namespace host::dxf_out {

void Writer::Objects() {
  Section(L"OBJECTS");
  WriteObject(db_.namedObjectsDictionaryId());
  for (AcDbObjectId id : all_ids_) {
    if (written_.count(id) || id.isErased() || id.objectClass() == nullptr) continue;
    const AcRxClass* cls = id.objectClass();
    if (cls->isDerivedFrom(AcDbDictionary::desc()) || cls->isDerivedFrom(AcDbGroup::desc()) ||
        cls->isDerivedFrom(DxfUnknownObject::desc()))
      WriteObject(id);
  }
  EndSection();
}

void Writer::WriteObject(AcDbObjectId id) {
  if (written_.count(id) || id.isNull()) return;
  AcDbObject* obj = nullptr;
  if (acdbOpenObject(obj, id, AcDb::kForRead) != Acad::eOk) return;
  written_.insert(id);
  if (auto* dict = AcDbDictionary::cast(obj)) {
    bool hard = false;
    for (const auto& g : platform::acad::KeptGroups(*obj))
      if (g.code == 280 && g.value == L"1") hard = true;
    Lines entries;
    AcDbDictionaryIterator* it = dict->newIterator();
    for (; !it->done(); it->next()) {
      if (it->objectId().isErased()) continue;
      entries.Add(3, it->name());
      entries.AddHex(hard ? 360 : 350, it->objectId().handle());
    }
    delete it;
    Lines head;
    if (platform::acad::KeptGroups(*obj).empty()) head.AddUtf8(281, "1");
    WriteModelled("DICTIONARY", obj, {}, OwnerOf(obj), {Subclass{"AcDbDictionary", head, entries}});
  } else if (auto* group = AcDbGroup::cast(obj)) {
    Lines g{{300, group->description()},
            {70, group->isAnonymous() ? L"1" : L"0"},
            {71, group->isSelectable() ? L"1" : L"0"}};
    AcDbObjectIdArray members;
    group->allEntityIds(members);
    for (int i = 0; i < members.length(); ++i) g.AddHex(340, members[i].handle());
    WriteModelled("GROUP", obj, {}, OwnerOf(obj), {Subclass{"AcDbGroup", g, {}}});
  } else if (auto* kept = DxfUnknownObject::cast(obj)) {
    Put(0, kept->dxfName());
    PutKept(kept);
  }
  obj->close();
}

}  // namespace host::dxf_out
