// The BLOCKS and ENTITIES sections: block definitions and the entities of each block.
#include "host/dxf/dxf_write_parts.h"

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
  if (!part->rawGroups().empty()) {
    Put(0, type);
    Put(part->rawGroups());
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
  for (AcDbObjectId id : ids) WriteEntity(id);
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

namespace {

double EllipseAngleAt(const AcDbObject& obj, double param) {
  return static_cast<const AcDbEllipse&>(obj).angleAtParam(param);
}

}  // namespace

void Writer::WriteEntity(AcDbObjectId id) {
  AcDbEntity* e = nullptr;
  if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) return;
  written_.insert(id);
  if (DxfUnknownEntity::cast(e) != nullptr) {
    e->close();
    WriteKept(id);
    return;
  }
  Subclass* subs = entity_subs_;
  for (Subclass& sub : entity_subs_) {
    sub.groups.clear();
    sub.tail.clear();
  }
  subs[0].marker = "AcDbEntity";
  Common(e, &subs[0].groups);
  size_t n = 1;
  // The next subclass, empty, with its marker.
  auto next = [&](std::string_view marker) -> Lines& {
    subs[n].marker = marker;
    return subs[n++].groups;
  };
  std::string_view type;
  std::vector<AcDbObjectId> attributes;
  if (auto* line = AcDbLine::cast(e)) {
    type = "LINE";
    Lines& g = next("AcDbLine");
    g.AddPoint(10, line->startPoint());
    g.AddPoint(11, line->endPoint());
  } else if (auto* point = AcDbPoint::cast(e)) {
    type = "POINT";
    next("AcDbPoint").AddPoint(10, point->position());
  } else if (auto* arc = AcDbArc::cast(e)) {
    type = "ARC";
    Lines& g = next("AcDbCircle");
    g.AddPoint(10, arc->center());
    g.AddReal(40, arc->radius());
    Lines& angles = next("AcDbArc");
    AddDegrees(&angles, *arc, 50, arc->startAngle());
    AddDegrees(&angles, *arc, 51, arc->endAngle());
  } else if (auto* circle = AcDbCircle::cast(e)) {
    type = "CIRCLE";
    Lines& g = next("AcDbCircle");
    g.AddPoint(10, circle->center());
    g.AddReal(40, circle->radius());
    if (!IsZAxis(circle->normal())) g.AddVector(210, circle->normal());
  } else if (auto* pl = AcDbPolyline::cast(e)) {
    type = "LWPOLYLINE";
    Lines& g = next("AcDbPolyline");
    g.AddInt(90, pl->numVerts());
    g.AddUtf8(70, pl->isClosed() ? "1" : "0");
    double constant = 0;
    const bool is_constant = pl->getConstantWidth(constant) == Acad::eOk;
    if (is_constant) g.AddReal(43, constant);
    if (pl->elevation() != 0) g.AddReal(38, pl->elevation());
    for (unsigned i = 0; i < pl->numVerts(); ++i) {
      AcGePoint2d p;
      pl->getPointAt(i, p);
      g.AddReal(10, p.x);
      g.AddReal(20, p.y);
      if (!is_constant) {
        double a = 0, b = 0;
        pl->getWidthsAt(i, a, b);
        g.AddReal(40, a);
        g.AddReal(41, b);
      }
      double bulge = 0;
      pl->getBulgeAt(i, bulge);
      if (bulge != 0) g.AddReal(42, bulge);
    }
    if (!IsZAxis(pl->normal())) g.AddVector(210, pl->normal());
  } else if (auto* def = AcDbAttributeDefinition::cast(e)) {
    type = "ATTDEF";
    TextMain(def, &next("AcDbText"));
    Lines& g = next("AcDbAttributeDefinition");
    g.Add(3, def->promptConst());
    g.Add(2, def->tagConst());
    g.AddInt(70, (def->isInvisible() ? 1 : 0) | (def->isConstant() ? 2 : 0));
    if (def->verticalMode() != AcDb::kTextBase) g.AddInt(74, def->verticalMode());
  } else if (auto* attr = AcDbAttribute::cast(e)) {
    type = "ATTRIB";
    TextMain(attr, &next("AcDbText"));
    Lines& g = next("AcDbAttribute");
    g.Add(2, attr->tagConst());
    g.AddUtf8(70, attr->isInvisible() ? "1" : "0");
    if (attr->verticalMode() != AcDb::kTextBase) g.AddInt(74, attr->verticalMode());
  } else if (auto* text = AcDbText::cast(e)) {
    type = "TEXT";
    TextMain(text, &next("AcDbText"));
    Lines& g = next("AcDbText");
    if (text->verticalMode() != AcDb::kTextBase) g.AddInt(73, text->verticalMode());
  } else if (auto* ref = AcDbBlockReference::cast(e)) {
    type = "INSERT";
    attributes = LiveIds(ref->attributeIds());
    // A reference with rows and columns has its own subclass in place of the plain one.
    const bool rows_and_columns = HasKept(*ref, 100, "AcDbMInsertBlock");
    Lines& g = next(rows_and_columns ? "AcDbMInsertBlock" : "AcDbBlockReference");
    if (!attributes.empty()) g.AddUtf8(66, "1");
    g.Add(2, NameOf(ref->blockTableRecord()));
    g.AddPoint(10, ref->position());
    const AcGeScale3d s = ref->scaleFactors();
    if (s.sx != 1) g.AddReal(41, s.sx);
    if (s.sy != 1) g.AddReal(42, s.sy);
    if (s.sz != 1) g.AddReal(43, s.sz);
    if (ref->rotation() != 0) AddDegrees(&g, *ref, 50, ref->rotation());
    if (!IsZAxis(ref->normal())) g.AddVector(210, ref->normal());
  } else if (auto* ellipse = AcDbEllipse::cast(e)) {
    type = "ELLIPSE";
    Lines& g = next("AcDbEllipse");
    g.AddPoint(10, ellipse->center());
    g.AddVector(11, ellipse->majorAxis());
    g.AddVector(210, ellipse->normal());
    g.AddReal(40, ellipse->radiusRatio());
    AddAsRead(&g, *ellipse, 41, ellipse->startAngle(), EllipseAngleAt,
              ellipse->paramAtAngle(ellipse->startAngle()));
    double end = ellipse->paramAtAngle(ellipse->endAngle());
    if (ellipse->isClosed()) end = 2 * kPi;
    AddAsRead(&g, *ellipse, 42, ellipse->endAngle(), EllipseAngleAt, end);
  } else if (auto* hatch = AcDbHatch::cast(e)) {
    type = "HATCH";
    HatchGroups(hatch, &next("AcDbHatch"));
  } else {
    e->close();
    return;  // nothing the file format can say
  }
  WriteModelled(type, e, {}, OwnerOf(e), std::span<const Subclass>(subs, n));
  e->close();
  if (attributes.empty()) return;
  for (AcDbObjectId a : attributes) WriteEntity(a);
  const AcDbObjectId* seqend_id = seqends_.find(id);
  if (seqend_id == nullptr) return;
  AcDbObject* seqend = nullptr;
  if (acdbOpenObject(seqend, *seqend_id, AcDb::kForRead) != Acad::eOk) return;
  written_.insert(*seqend_id);
  if (!seqend->rawGroups().empty()) {
    PutUtf8(0, "SEQEND");
    Put(seqend->rawGroups());
  } else {
    Subclass& sub = entity_subs_[0];
    sub.marker = "AcDbEntity";
    sub.groups.clear();
    sub.groups.AddUtf8(8, "0");
    sub.tail.clear();
    WriteModelled("SEQEND", seqend, {}, id.handle(), std::span<const Subclass>(&sub, 1));
  }
  seqend->close();
}

void Writer::HatchGroups(const AcDbHatch* h, Lines* lines) {
  Lines& g = *lines;
  g.AddPoint(10, AcGePoint3d(0, 0, h->elevation()));
  g.AddVector(210, h->normal());
  g.Add(2, h->patternName());
  g.AddUtf8(70, h->isSolidFill() ? "1" : "0");
  g.AddUtf8(71, h->associative() ? "1" : "0");
  int loops = 0;
  for (int i = 0; i < h->numLoops(); ++i)
    if (h->loopTypeAt(i) & AcDbHatch::kPolyline) ++loops;
  g.AddInt(91, loops);
  for (int i = 0; i < h->numLoops(); ++i) {
    Adesk::Int32 type = 0;
    AcGePoint2dArray points;
    AcGeDoubleArray bulges;
    if (h->getLoopAt(i, type, points, bulges) != Acad::eOk) continue;
    bool has_bulge = false;
    for (int k = 0; k < bulges.length(); ++k)
      if (bulges[k] != 0) has_bulge = true;
    g.AddInt(92, type);
    g.AddUtf8(72, has_bulge ? "1" : "0");
    g.AddUtf8(73, "1");
    g.AddInt(93, points.length());
    for (int k = 0; k < points.length(); ++k) {
      g.AddReal(10, points[k].x);
      g.AddReal(20, points[k].y);
      if (has_bulge) g.AddReal(42, bulges[k]);
    }
    g.AddUtf8(97, "0");
  }
  g.AddInt(75, h->hatchStyle());
  g.AddInt(76, h->patternType());
  if (!h->isSolidFill()) {
    g.AddReal(52, h->patternAngle() / kDegree);
    g.AddReal(41, h->patternScale());
    g.AddUtf8(77, "0");
    g.AddUtf8(78, "0");
  }
  g.AddUtf8(98, "0");
}

}  // namespace host::dxf_out
