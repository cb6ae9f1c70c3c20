// The BLOCKS and ENTITIES sections: block definitions and the entities of each block, what
// every modelled entity writes (its common properties, the groups of text) and the sequences
// (attributes and their SEQEND). Each modelled type is written in its own file
// (dxf_entity_<kind>.cpp, see dxf_entities.h).
#include "host/dxf/dxf_write_parts.h"
#include "platform/acad/kept_groups.h"

#include <acutads.h>
#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include "platform/acad/dbhost.h"
#include <dbsymtb.h>
#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"

#include <algorithm>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_objects.h"

namespace host::dxf_out {

void Writer::Blocks() {
  Section(L"BLOCKS");
  AcDbBlockTable* table = nullptr;
  if (db_.getBlockTable(table) == Acad::eOk) {
    std::vector<AcDbObjectId> ids = LiveIds(table->recordIds());
    table->close();
    for (AcDbObjectId id : ids) {
      WriteBlockPart(id, L"BLOCK");
      if (id != db_.modelSpaceId() && !IsPaperSpace(id)) WriteEntitiesOf(id);
      WriteBlockPart(id, L"ENDBLK");
    }
  }
  EndSection();
}

bool Writer::IsPaperSpace(AcDbObjectId id) {
  return platform::EqualsNoCase(NameOf(id), L"*Paper_Space");
}

void Writer::WriteBlockPart(AcDbObjectId btr_id, std::wstring_view type) {
  const AcDbObjectId* part_id = PartsOf(type).find(btr_id);
  if (part_id == nullptr) return;
  AcDbObject* part = nullptr;
  if (acdbOpenObject(part, *part_id, AcDb::kForRead) != Acad::eOk) return;
  written_.insert(*part_id);
  if (!platform::acad::KeptGroups(*part).empty()) {
    Put(0, type);
    Put(platform::acad::KeptGroups(*part));
    part->close();
    return;
  }
  AcDbBlockTableRecord* btr = nullptr;
  if (acdbOpenObject(btr, btr_id, AcDb::kForRead) != Acad::eOk) {
    part->close();
    return;
  }
  Lines entity;
  if (IsPaperSpace(btr_id)) entity.AddUtf8(67, "1");
  entity.AddUtf8(8, "0");
  if (type == L"BLOCK") {
    Lines g{{2, btr->name()}, {70, btr->hasAttributeDefinitions() ? L"2" : L"0"}};
    g.AddPoint(10, btr->origin());
    g.Add(3, btr->name());
    g.AddUtf8(1, "");
    WriteModelled("BLOCK", part, {}, btr_id.handle(),
                  {Subclass{"AcDbEntity", entity, {}}, Subclass{"AcDbBlockBegin", g, {}}});
  } else {
    WriteModelled("ENDBLK", part, {}, btr_id.handle(),
                  {Subclass{"AcDbEntity", entity, {}}, Subclass{"AcDbBlockEnd", {}, {}}});
  }
  btr->close();
  part->close();
}

void Writer::Entities() {
  Section(L"ENTITIES");
  WriteEntitiesOf(db_.modelSpaceId());
  AcDbBlockTable* table = nullptr;
  if (db_.getBlockTable(table) == Acad::eOk) {
    std::vector<AcDbObjectId> ids = LiveIds(table->recordIds());
    table->close();
    for (AcDbObjectId id : ids)
      if (IsPaperSpace(id)) WriteEntitiesOf(id);
  }
  EndSection();
}

void Writer::WriteEntitiesOf(AcDbObjectId btr_id) {
  AcDbBlockTableRecord* btr = nullptr;
  if (acdbOpenObject(btr, btr_id, AcDb::kForRead) != Acad::eOk) return;
  std::vector<AcDbObjectId> ids = LiveIds(btr->entityIds());
  btr->close();
  // The entities a few on are fetched into the cache while one is written.
  platform::acad::VisitFetchingAhead(ids, 4, [this](AcDbObjectId id) { WriteEntity(id); });
}

void Writer::Common(const AcDbEntity* e, Lines* g) {
  const std::wstring& layer = NameOf(e->layerId());
  if (layer.empty()) {
    g->AddUtf8(8, "0");
  } else {
    g->Add(8, layer);
  }
  // Entities come in runs of one linetype, most of them by layer: the last answer is kept.
  const AcDbObjectId lt_id = e->linetypeId();
  if (lt_id != last_linetype_ || last_linetype_.isNull()) {
    const std::wstring& lt = NameOf(lt_id);
    last_linetype_ = lt_id;
    last_linetype_name_ = lt.empty() || platform::EqualsNoCase(lt, L"ByLayer") ? nullptr : &lt;
  }
  if (last_linetype_name_ != nullptr) g->Add(6, *last_linetype_name_);
  if (e->colorIndex() != 256) g->AddInt(62, e->colorIndex());
  if (e->lineWeight() != AcDb::kLnWtByLayer) g->AddInt(370, e->lineWeight());
  if (e->linetypeScale() != 1.0) g->AddReal(48, e->linetypeScale());
  if (e->visibility() == AcDb::kInvisible) g->AddUtf8(60, "1");
}

void Writer::TextMain(const AcDbText* t, Lines* g) {
  g->AddPoint(10, t->position());
  g->AddReal(40, t->height());
  g->Add(1, t->textStringConst());
  if (t->rotation() != 0) AddDegrees(g, *t, 50, t->rotation());
  if (t->widthFactor() != 1) g->AddReal(41, t->widthFactor());
  if (t->oblique() != 0) AddDegrees(g, *t, 51, t->oblique());
  const std::wstring& style = NameOf(t->textStyle());
  if (style.empty()) {
    g->AddUtf8(7, "Standard");
  } else {
    g->Add(7, style);
  }
  if (t->horizontalMode() != AcDb::kTextLeft) g->AddInt(72, t->horizontalMode());
  // Left-aligned text has no alignment point of its own, but a file that gave one gets it back.
  if (!t->isDefaultAlignment() || HasKept(*t, -11)) g->AddPoint(11, t->alignmentPoint());
  if (!IsZAxis(t->normal())) g->AddVector(210, t->normal());
}

void Writer::WriteEntity(AcDbObjectId id) {
  AcDbEntity* e = nullptr;
  if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) return;
  written_.insert(id);
  if (DxfUnknownEntity::cast(e) != nullptr) {
    e->close();
    WriteKept(id);
    return;
  }
  const DxfEntityKind* kind = DxfEntityKindOf(e->isA());
  if (kind == nullptr) {
    e->close();
    return;  // nothing the file format can say
  }
  for (Subclass& sub : entity_subs_) {
    sub.groups.clear();
    sub.tail.clear();
  }
  entity_subs_[0].marker = "AcDbEntity";
  Common(e, &entity_subs_[0].groups);
  EntityOut out(*this, entity_subs_);
  kind->write(out, *e);
  WriteModelled(kind->type, e, {}, OwnerOf(e), out.written());
  e->close();
  if (out.followers.empty()) return;
  for (AcDbObjectId a : out.followers) WriteEntity(a);
  const AcDbObjectId* seqend_id = seqends_.find(id);
  if (seqend_id == nullptr) return;
  AcDbObject* seqend = nullptr;
  if (acdbOpenObject(seqend, *seqend_id, AcDb::kForRead) != Acad::eOk) return;
  written_.insert(*seqend_id);
  if (!platform::acad::KeptGroups(*seqend).empty()) {
    PutUtf8(0, "SEQEND");
    Put(platform::acad::KeptGroups(*seqend));
  } else {
    Subclass& sub = entity_subs_[0];
    sub.marker = "AcDbEntity";
    sub.groups.clear();
    sub.groups.AddUtf8(8, "0");
    sub.tail.clear();
    const auto* made = DxfUnknownObject::cast(seqend);
    const AcDbHandle owner =
        made != nullptr && !made->writtenOwner().isNull() ? made->writtenOwner() : id.handle();
    WriteModelled("SEQEND", seqend, {}, owner, std::span<const Subclass>(&sub, 1));
  }
  seqend->close();
}

}  // namespace host::dxf_out
