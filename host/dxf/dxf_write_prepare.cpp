// What a file needs that the database may lack: BLOCK, ENDBLK and SEQEND objects, and the
// tables of the format the database does not model.
#include "host/dxf/dxf_write_parts.h"
#include "platform/acad/kept_groups.h"

#include <acutads.h>
#include <dbdict.h>
#include <dbelipse.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbhatch.h>
#include <dbpl.h>
#include <dbsymtb.h>
#include "platform/acad/dbhost.h"
#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"

#include <algorithm>
#include <cmath>

#include "host/dxf/dxf_objects.h"
#include "platform/acad/undo_history.h"

namespace host::dxf_out {

// ---- Preparation: the BLOCK, ENDBLK and SEQEND objects every block and attributed
// reference needs ----

void Writer::Prepare() {
  // The parts made here are bookkeeping: undo takes them back with the step they follow.
  const platform::acad::ScopedUndoAmend amend(db_);
  // One listing of the drawing's objects serves every later pass (walking the handle table is a
  // walk through memory); what is made below is written with its owner and needs no listing.
  all_ids_ = platform::acad::AllObjectIds(db_);
  written_.reserve(all_ids_.size());
  // Only objects kept as read are looked at here: the class is known without opening. A large
  // floor has one per element (its SEQEND), each a visit to memory of its own: the objects a few
  // on are fetched into the cache while one is looked at.
  std::vector<AcDbObjectId> kept_ids;
  for (AcDbObjectId id : all_ids_) {
    if (id.isErased() || id.objectClass() == nullptr ||
        !id.objectClass()->isDerivedFrom(DxfUnknownObject::desc()))
      continue;
    kept_ids.push_back(id);
  }
  platform::acad::VisitFetchingAhead(kept_ids, 8, [&](AcDbObjectId id) {
    AcDbObject* obj = nullptr;
    if (acdbOpenObject(obj, id, AcDb::kForRead) != Acad::eOk) return;
    if (auto* kept = DxfUnknownObject::cast(obj)) {
      const std::wstring& type = kept->dxfName();
      if (type == L"BLOCK" || type == L"ENDBLK" || type == L"SEQEND")
        PartsOf(type).assign(kept->ownerId(), id);
      else if (type != L"TABLE")
        kept_by_owner_[kept->ownerId()].push_back(id);  // see KeptOwnedBy
      if (type == L"TABLE" && kept->ownerId().isNull()) {
        for (const auto& g : platform::acad::KeptGroups(*kept))
          if (g.code == 2) {
            kept_tables_[g.value] = id;
            break;
          }
      }
    }
    obj->close();
  });
  EnsureDefaultTables();
  AcDbBlockTable* table = nullptr;
  if (db_.getBlockTable(table) != Acad::eOk) return;
  for (AcDbObjectId btr_id : table->recordIds()) {
    if (btr_id.isErased()) continue;
    Ensure(btr_id, L"BLOCK");
    Ensure(btr_id, L"ENDBLK");
    AcDbBlockTableRecord* btr = nullptr;
    if (acdbOpenObject(btr, btr_id, AcDb::kForRead) != Acad::eOk) continue;
    std::vector<AcDbObjectId> refs;
    for (AcDbObjectId e : btr->entityIds()) {
      if (e.isErased() || e.objectClass() == nullptr ||
          !e.objectClass()->isDerivedFrom(AcDbBlockReference::desc()))
        continue;
      refs.push_back(e);
    }
    btr->close();
    for (AcDbObjectId ref_id : refs) {
      // One that has its SEQEND needs nothing made (most do): the reference is not opened.
      if (seqends_.count(ref_id)) continue;
      AcDbBlockReference* ref = nullptr;
      if (acdbOpenObject(ref, ref_id, AcDb::kForRead) != Acad::eOk) continue;
      const std::vector<AcDbObjectId>& attributes = ref->attributeIds();
      const bool attributed = std::any_of(attributes.begin(), attributes.end(), [](AcDbObjectId a) {
        return !a.isErased() && a.isValid();
      });
      ref->close();
      if (attributed) Ensure(ref_id, L"SEQEND");
    }
  }
  table->close();
}

IdMap<AcDbObjectId>& Writer::PartsOf(std::wstring_view type) {
  if (type == L"BLOCK") return blocks_;
  if (type == L"ENDBLK") return block_ends_;
  return seqends_;
}

void Writer::Ensure(AcDbObjectId owner, std::wstring_view type) {
  if (PartsOf(type).count(owner)) return;
  auto* made = new DxfUnknownObject(std::wstring(type));
  AcDbObjectId id;
  if (db_.addAcDbObject(id, made) != Acad::eOk) {
    delete made;
    return;
  }
  made->setOwnerId(owner);
  made->close();
  PartsOf(type).insert(owner, id);
}

// The tables a drawing of this format must have beside those the database models: a viewport
// table with the "*ACTIVE" viewport, the view and UCS tables (empty), and a dimension style
// table with "Standard". A drawing read from a file keeps its own; one made here gets them as
// kept objects, written like those read, so that the next save writes them again unchanged.
void Writer::EnsureDefaultTables() {
  if (!kept_tables_.count(L"VPORT")) AddDefaultTable(L"VPORT", L"VPORT", ActiveViewport());
  if (!kept_tables_.count(L"VIEW")) AddDefaultTable(L"VIEW", L"", {});
  if (!kept_tables_.count(L"UCS")) AddDefaultTable(L"UCS", L"", {});
  if (!kept_tables_.count(L"DIMSTYLE")) {
    AddDefaultTable(L"DIMSTYLE", L"DIMSTYLE",
                    {{100, L"AcDbSymbolTableRecord"},
                     {100, L"AcDbDimStyleTableRecord"},
                     {2, L"Standard"},
                     {70, L"0"}});
  }
}

// The "*ACTIVE" viewport looks at the whole of model space, as a zoom to the extents would.
Groups Writer::ActiveViewport() {
  AcDbExtents all;
  AcDbBlockTableRecord* model = nullptr;
  if (acdbOpenObject(model, db_.modelSpaceId(), AcDb::kForRead) == Acad::eOk) {
    for (AcDbObjectId id : model->entityIds()) {
      if (id.isErased()) continue;
      AcDbEntity* e = nullptr;
      if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
      AcDbExtents box;
      if (e->getGeomExtents(box) == Acad::eOk && box.isValid()) all.addExt(box);
      e->close();
    }
    model->close();
  }
  AcGePoint3d center(0, 0, 0);
  double height = 297, width = 420;
  if (all.isValid()) {
    center = AcGePoint3d((all.minPoint().x + all.maxPoint().x) / 2,
                         (all.minPoint().y + all.maxPoint().y) / 2, 0);
    width = std::max(all.maxPoint().x - all.minPoint().x, 1e-6) * 1.05;
    height = std::max(all.maxPoint().y - all.minPoint().y, 1e-6) * 1.05;
  }
  const double aspect = 1.5;  // a landscape drawing window
  height = std::max(height, width / aspect);
  return {{100, L"AcDbSymbolTableRecord"},
          {100, L"AcDbViewportTableRecord"},
          {2, L"*ACTIVE"},
          {70, L"0"},
          {10, L"0.0"},
          {20, L"0.0"},
          {11, L"1.0"},
          {21, L"1.0"},
          {12, Real(center.x)},
          {22, Real(center.y)},
          {13, L"0.0"},
          {23, L"0.0"},
          {14, L"10.0"},
          {24, L"10.0"},
          {15, L"10.0"},
          {25, L"10.0"},
          {16, L"0.0"},
          {26, L"0.0"},
          {36, L"1.0"},
          {17, L"0.0"},
          {27, L"0.0"},
          {37, L"0.0"},
          {40, Real(height)},
          {41, Real(aspect)},
          {42, L"50.0"},
          {43, L"0.0"},
          {44, L"0.0"},
          {50, L"0.0"},
          {51, L"0.0"},
          {71, L"0"},
          {72, L"100"},
          {73, L"1"},
          {74, L"3"},
          {75, L"0"},
          {76, L"0"},
          {77, L"0"},
          {78, L"0"}};
}

// A table kept as read would be: the table head and, when `record_type` is given, one record
// with `record` as its groups after its handle and owner.
void Writer::AddDefaultTable(const wchar_t* name, const wchar_t* record_type,
                             const Groups& record) {
  auto* table = new DxfUnknownObject(L"TABLE");
  AcDbObjectId table_id;
  if (db_.addAcDbObject(table_id, table) != Acad::eOk) {
    delete table;
    return;
  }
  kept_tables_[name] = table_id;
  const std::wstring table_handle = Hex(table_id.handle());
  const bool has_record = *record_type != L'\0';
  Groups head = {{2, name},
                 {5, table_handle},
                 {330, L"0"},
                 {100, L"AcDbSymbolTable"},
                 {70, has_record ? L"1" : L"0"}};
  if (std::wstring(name) == L"DIMSTYLE") {
    head.push_back({100, L"AcDbDimStyleTable"});
    head.push_back({71, L"0"});
  }
  platform::acad::SetKeptGroups(*table, head);
  if (has_record) {
    auto* rec = new DxfUnknownObject(record_type);
    AcDbObjectId rec_id;
    if (db_.addAcDbObject(rec_id, rec) == Acad::eOk) {
      // A dimension style names its handle with 105, every other record with 5.
      Groups groups = {{std::wstring(name) == L"DIMSTYLE" ? 105 : 5, Hex(rec_id.handle())},
                       {330, table_handle}};
      groups.insert(groups.end(), record.begin(), record.end());
      platform::acad::SetKeptGroups(*rec, groups);
      rec->setOwnerId(table_id);
      rec->close();
      table->children().push_back(rec_id);
    } else {
      delete rec;
    }
  }
  table->close();
}

std::vector<AcDbObjectId> Writer::LiveIds(const std::vector<AcDbObjectId>& ids) {
  std::vector<AcDbObjectId> live;
  for (AcDbObjectId id : ids)
    if (!id.isErased() && id.isValid()) live.push_back(id);
  return live;
}

}  // namespace host::dxf_out
