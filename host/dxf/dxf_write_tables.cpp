// The TABLES section: modelled tables and their records, and tables kept as read.
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

namespace host::dxf_out {

void Writer::Tables() {
  Section(L"TABLES");
  std::map<std::wstring, AcDbObjectId> kept_tables = kept_tables_;
  const std::pair<const wchar_t*, AcDbObjectId> order[] = {
      {L"VPORT", {}},
      {L"LTYPE", db_.linetypeTableId()},
      {L"LAYER", db_.layerTableId()},
      {L"STYLE", db_.textStyleTableId()},
      {L"VIEW", {}},
      {L"UCS", {}},
      {L"APPID", db_.regAppTableId()},
      {L"DIMSTYLE", {}},
      {L"BLOCK_RECORD", db_.blockTableId()},
  };
  for (const auto& [name, id] : order) {
    if (!id.isNull()) {
      WriteTable(name, id);
    } else if (kept_tables.count(name)) {
      WriteKeptTable(kept_tables[name]);
      kept_tables.erase(name);
    }
  }
  for (const auto& [name, id] : kept_tables) WriteKeptTable(id);
  EndSection();
}

void Writer::WriteKeptTable(AcDbObjectId id) {
  DxfUnknownObject* table = nullptr;
  if (acdbOpenObject(table, id, AcDb::kForRead) != Acad::eOk) return;
  written_.insert(id);
  Put(0, L"TABLE");
  Put(platform::acad::KeptGroups(*table));
  for (AcDbObjectId rec : table->children()) WriteKept(rec);
  table->close();
  Put(0, L"ENDTAB");
}

void Writer::WriteKept(AcDbObjectId id) {
  if (id.isErased()) return;
  AcDbObject* obj = nullptr;
  if (acdbOpenObject(obj, id, AcDb::kForRead) != Acad::eOk) return;
  written_.insert(id);
  if (auto* kept = DxfUnknownObject::cast(obj)) {
    Put(0, kept->dxfName());
  } else if (auto* kept_entity = DxfUnknownEntity::cast(obj)) {
    Put(0, kept_entity->dxfName());
  }
  PutKept(obj);
  obj->close();
}

void Writer::PutKept(const AcDbObject* obj) {
  TextBuffer hex;
  AppendHex(&hex, obj->objectId().handle());
  const std::string_view handle = hex.view();
  if (!HasKept(*obj, 5, handle) && !HasKept(*obj, 105, handle)) PutUtf8(5, handle);
  // An entity belongs where the drawing holds it, which need not be the owner it was read with
  // (one read inside a block named *Model_Space names another block, say, or none at all):
  // its first owner outside {...} groups is written as it is now, or reading it again would
  // move it; one read without an owner gets one after its handle.
  // The entities of a sequence (a POLYLINE's VERTEX entities, its SEQEND) go with their head
  // whatever owner they name, and keep the one they were read with: most name the head.
  const auto* kept_entity = DxfUnknownEntity::cast(obj);
  const bool entity = kept_entity != nullptr && !DxfFollowsInSequence(kept_entity->dxfName());
  bool owner_written = false;
  int depth = 0;
  if (entity) {
    bool has_owner = false;
    for (const platform::acad::RawGroup& g : platform::acad::KeptGroups(*obj)) {
      if (g.code == 102) depth += (g.value.utf8().starts_with('{')) ? 1 : -1;
      has_owner = has_owner || (depth == 0 && g.code == 330);
    }
    depth = 0;
    if (!has_owner) {
      PutHex(330, OwnerOf(obj));
      owner_written = true;
    }
  }
  for (const platform::acad::RawGroup& g : platform::acad::KeptGroups(*obj)) {
    if (g.code < 0) continue;  // a modelled value's text as read
    if (g.code == 102) depth += (g.value.utf8().starts_with('{')) ? 1 : -1;
    if (entity && !owner_written && depth == 0 && g.code == 330) {
      PutHex(330, OwnerOf(obj));
      owner_written = true;
      continue;
    }
    PutKept(g.code, g.value);
  }
}

void Writer::WriteTable(const wchar_t* name, AcDbObjectId id) {
  AcDbSymbolTable* table = nullptr;
  if (acdbOpenObject(table, id, AcDb::kForRead) != Acad::eOk) return;
  written_.insert(id);
  const std::vector<AcDbObjectId> records = LiveIds(table->recordIds());
  // Records kept as read (those the table could not take) are listed after the others.
  std::vector<AcDbObjectId> kept = KeptOwnedBy(id);
  Subclass sub{"AcDbSymbolTable", {}, {}};
  sub.groups.AddInt(70, static_cast<long long>(records.size() + kept.size()));
  WriteModelled("TABLE", table, {{2, name}}, AcDbHandle(), {sub});
  table->close();
  for (AcDbObjectId rec : records) WriteRecord(name, rec);
  for (AcDbObjectId rec : kept) WriteKept(rec);
  Put(0, L"ENDTAB");
}

std::vector<AcDbObjectId> Writer::KeptOwnedBy(AcDbObjectId owner) {
  // Filled by Prepare, in its one pass over the objects kept as read.
  auto it = kept_by_owner_.find(owner);
  if (it == kept_by_owner_.end() || owner.isNull()) return {};
  return it->second;
}

void Writer::WriteRecord(const wchar_t* table, AcDbObjectId id) {
  AcDbObject* obj = nullptr;
  if (acdbOpenObject(obj, id, AcDb::kForRead) != Acad::eOk) return;
  written_.insert(id);
  auto* rec = AcDbSymbolTableRecord::cast(obj);
  const bool made = platform::acad::KeptGroups(*obj).empty();
  Lines g{{2, rec->name()}};
  std::string_view marker;
  if (auto* lt = AcDbLinetypeTableRecord::cast(obj)) {
    marker = "AcDbLinetypeTableRecord";
    const ACHAR* comments = L"";
    lt->comments(comments);
    g.Add(3, comments);
    // What the database does not model comes after the modelled groups, as kept groups do.
    if (made) {
      g.AddUtf8(70, "0");
      g.AddUtf8(72, "65");
      g.AddUtf8(73, "0");
      g.AddUtf8(40, "0.0");
    }
  } else if (auto* layer = AcDbLayerTableRecord::cast(obj)) {
    marker = "AcDbLayerTableRecord";
    int flags = (layer->isFrozen() ? 1 : 0) | (layer->isLocked() ? 4 : 0);
    g.AddInt(70, flags);
    int colour = layer->color().colorIndex();
    g.AddInt(62, layer->isOff() ? -colour : colour);
    const std::wstring& lt = NameOf(layer->linetypeObjectId());
    g.Add(6, lt.empty() ? L"Continuous" : lt);
    g.AddInt(370, layer->lineWeight());
  } else if (auto* style = AcDbTextStyleTableRecord::cast(obj)) {
    marker = "AcDbTextStyleTableRecord";
    const ACHAR* file = L"";
    const ACHAR* big = L"";
    style->fileName(file);
    style->bigFontFileName(big);
    g.AddReal(40, style->textSize());
    g.AddReal(41, style->xScale());
    AddDegrees(&g, *style, 50, style->obliquingAngle());
    g.Add(3, file);
    g.Add(4, big);
    if (made) {
      g.AddUtf8(70, "0");
      g.AddUtf8(71, "0");
      g.AddUtf8(42, "2.5");
    }
  } else if (AcDbRegAppTableRecord::cast(obj) != nullptr) {
    marker = "AcDbRegAppTableRecord";
    if (made) g.AddUtf8(70, "0");
  } else if (AcDbBlockTableRecord::cast(obj) != nullptr) {
    marker = "AcDbBlockTableRecord";
  }
  TextBuffer type;
  AppendText(&type, table);
  WriteModelled(type.view(), obj, {}, OwnerOf(obj),
                {Subclass{"AcDbSymbolTableRecord", {}, {}}, Subclass{marker, g, {}}});
  obj->close();
}

}  // namespace host::dxf_out
