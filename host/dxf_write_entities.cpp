// The BLOCKS and ENTITIES sections: block definitions and the entities of each block.
#include "host/dxf_write_parts.h"

#include <acutads.h>
#include <dbdict.h>
#include <dbelipse.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbhatch.h>
#include <dbhost.h>
#include <dbpl.h>
#include <dbsymtb.h>
#include <text_encoding.h>
#include <wide_string.h>

#include <algorithm>
#include <cmath>

#include "host/dxf_objects.h"

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

void Writer::WriteBlockPart(AcDbObjectId btr_id, const std::wstring& type) {
  auto& parts = PartsOf(type);
  auto it = parts.find(btr_id);
  if (it == parts.end()) return;
  AcDbObject* part = nullptr;
  if (acdbOpenObject(part, it->second, AcDb::kForRead) != Acad::eOk) return;
  written_.insert(it->second);
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
  Groups entity{{8, L"0"}};
  if (IsPaperSpace(btr_id)) entity.insert(entity.begin(), {67, L"1"});
  if (type == L"BLOCK") {
    Groups g{{2, btr->name()}, {70, btr->hasAttributeDefinitions() ? L"2" : L"0"}};
    AddPoint(&g, 10, btr->origin());
    g.push_back({3, btr->name()});
    g.push_back({1, L""});
    WriteModelled(type, part, {}, Hex(btr_id.handle()),
                  {Subclass{L"AcDbEntity", entity, {}}, Subclass{L"AcDbBlockBegin", g, {}}});
  } else {
    WriteModelled(type, part, {}, Hex(btr_id.handle()),
                  {Subclass{L"AcDbEntity", entity, {}}, Subclass{L"AcDbBlockEnd", {}, {}}});
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

Groups Writer::Common(const AcDbEntity* e) {
  Groups g;
  const std::wstring& layer = NameOf(e->layerId());
  g.push_back({8, layer.empty() ? L"0" : layer});
  const std::wstring& lt = NameOf(e->linetypeId());
  if (!lt.empty() && !platform::EqualsNoCase(lt, L"ByLayer")) g.push_back({6, lt});
  if (e->colorIndex() != 256) g.push_back({62, Int(e->colorIndex())});
  if (e->lineWeight() != AcDb::kLnWtByLayer) g.push_back({370, Int(e->lineWeight())});
  if (e->linetypeScale() != 1.0) g.push_back({48, Real(e->linetypeScale())});
  if (e->visibility() == AcDb::kInvisible) g.push_back({60, L"1"});
  return g;
}

Groups Writer::TextMain(const AcDbText* t) {
  Groups g;
  AddPoint(&g, 10, t->position());
  g.push_back({40, Real(t->height())});
  g.push_back({1, t->textStringConst()});
  if (t->rotation() != 0) g.push_back({50, Degrees(*t, 50, t->rotation())});
  if (t->widthFactor() != 1) g.push_back({41, Real(t->widthFactor())});
  if (t->oblique() != 0) g.push_back({51, Degrees(*t, 51, t->oblique())});
  std::wstring style = NameOf(t->textStyle());
  g.push_back({7, style.empty() ? L"Standard" : style});
  if (t->horizontalMode() != AcDb::kTextLeft) g.push_back({72, Int(t->horizontalMode())});
  // Left-aligned text has no alignment point of its own, but a file that gave one gets it back.
  if (!t->isDefaultAlignment() || HasKept(*t, -11)) AddPoint(&g, 11, t->alignmentPoint());
  if (!IsZAxis(t->normal())) AddVector(&g, 210, t->normal());
  return g;
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
  const std::wstring owner = OwnerOf(e);
  std::vector<Subclass> subs{{L"AcDbEntity", Common(e), {}}};
  std::wstring type;
  std::vector<AcDbObjectId> attributes;
  if (auto* line = AcDbLine::cast(e)) {
    type = L"LINE";
    Groups g;
    AddPoint(&g, 10, line->startPoint());
    AddPoint(&g, 11, line->endPoint());
    subs.push_back({L"AcDbLine", g, {}});
  } else if (auto* point = AcDbPoint::cast(e)) {
    type = L"POINT";
    Groups g;
    AddPoint(&g, 10, point->position());
    subs.push_back({L"AcDbPoint", g, {}});
  } else if (auto* arc = AcDbArc::cast(e)) {
    type = L"ARC";
    Groups g;
    AddPoint(&g, 10, arc->center());
    g.push_back({40, Real(arc->radius())});
    subs.push_back({L"AcDbCircle", g, {}});
    subs.push_back(
        {L"AcDbArc",
         {{50, Degrees(*arc, 50, arc->startAngle())}, {51, Degrees(*arc, 51, arc->endAngle())}},
         {}});
  } else if (auto* circle = AcDbCircle::cast(e)) {
    type = L"CIRCLE";
    Groups g;
    AddPoint(&g, 10, circle->center());
    g.push_back({40, Real(circle->radius())});
    if (!IsZAxis(circle->normal())) AddVector(&g, 210, circle->normal());
    subs.push_back({L"AcDbCircle", g, {}});
  } else if (auto* pl = AcDbPolyline::cast(e)) {
    type = L"LWPOLYLINE";
    Groups g{{90, Int(pl->numVerts())}, {70, pl->isClosed() ? L"1" : L"0"}};
    double constant = 0;
    const bool is_constant = pl->getConstantWidth(constant) == Acad::eOk;
    if (is_constant) g.push_back({43, Real(constant)});
    if (pl->elevation() != 0) g.push_back({38, Real(pl->elevation())});
    for (unsigned i = 0; i < pl->numVerts(); ++i) {
      AcGePoint2d p;
      pl->getPointAt(i, p);
      g.push_back({10, Real(p.x)});
      g.push_back({20, Real(p.y)});
      if (!is_constant) {
        double a = 0, b = 0;
        pl->getWidthsAt(i, a, b);
        g.push_back({40, Real(a)});
        g.push_back({41, Real(b)});
      }
      double bulge = 0;
      pl->getBulgeAt(i, bulge);
      if (bulge != 0) g.push_back({42, Real(bulge)});
    }
    if (!IsZAxis(pl->normal())) AddVector(&g, 210, pl->normal());
    subs.push_back({L"AcDbPolyline", g, {}});
  } else if (auto* def = AcDbAttributeDefinition::cast(e)) {
    type = L"ATTDEF";
    subs.push_back({L"AcDbText", TextMain(def), {}});
    Groups g{{3, def->promptConst()},
             {2, def->tagConst()},
             {70, Int((def->isInvisible() ? 1 : 0) | (def->isConstant() ? 2 : 0))}};
    if (def->verticalMode() != AcDb::kTextBase) g.push_back({74, Int(def->verticalMode())});
    subs.push_back({L"AcDbAttributeDefinition", g, {}});
  } else if (auto* attr = AcDbAttribute::cast(e)) {
    type = L"ATTRIB";
    subs.push_back({L"AcDbText", TextMain(attr), {}});
    Groups g{{2, attr->tagConst()}, {70, attr->isInvisible() ? L"1" : L"0"}};
    if (attr->verticalMode() != AcDb::kTextBase) g.push_back({74, Int(attr->verticalMode())});
    subs.push_back({L"AcDbAttribute", g, {}});
  } else if (auto* text = AcDbText::cast(e)) {
    type = L"TEXT";
    subs.push_back({L"AcDbText", TextMain(text), {}});
    Groups g;
    if (text->verticalMode() != AcDb::kTextBase) g.push_back({73, Int(text->verticalMode())});
    subs.push_back({L"AcDbText", g, {}});
  } else if (auto* ref = AcDbBlockReference::cast(e)) {
    type = L"INSERT";
    attributes = LiveIds(ref->attributeIds());
    Groups g;
    if (!attributes.empty()) g.push_back({66, L"1"});
    g.push_back({2, NameOf(ref->blockTableRecord())});
    AddPoint(&g, 10, ref->position());
    const AcGeScale3d s = ref->scaleFactors();
    if (s.sx != 1) g.push_back({41, Real(s.sx)});
    if (s.sy != 1) g.push_back({42, Real(s.sy)});
    if (s.sz != 1) g.push_back({43, Real(s.sz)});
    if (ref->rotation() != 0) g.push_back({50, Degrees(*ref, 50, ref->rotation())});
    if (!IsZAxis(ref->normal())) AddVector(&g, 210, ref->normal());
    // A reference with rows and columns has its own subclass in place of the plain one.
    const bool rows_and_columns = HasKept(*ref, 100, L"AcDbMInsertBlock");
    subs.push_back({rows_and_columns ? L"AcDbMInsertBlock" : L"AcDbBlockReference", g, {}});
  } else if (auto* ellipse = AcDbEllipse::cast(e)) {
    type = L"ELLIPSE";
    Groups g;
    AddPoint(&g, 10, ellipse->center());
    const AcGeVector3d major = ellipse->majorAxis();
    AddVector(&g, 11, major);
    AddVector(&g, 210, ellipse->normal());
    g.push_back({40, Real(ellipse->radiusRatio())});
    auto angle_at = [ellipse](double param) { return ellipse->angleAtParam(param); };
    g.push_back({41, AsRead(*ellipse, 41, ellipse->startAngle(), angle_at,
                            Real(ellipse->paramAtAngle(ellipse->startAngle())))});
    double end = ellipse->paramAtAngle(ellipse->endAngle());
    if (ellipse->isClosed()) end = 2 * kPi;
    g.push_back({42, AsRead(*ellipse, 42, ellipse->endAngle(), angle_at, Real(end))});
    subs.push_back({L"AcDbEllipse", g, {}});
  } else if (auto* hatch = AcDbHatch::cast(e)) {
    type = L"HATCH";
    subs.push_back({L"AcDbHatch", HatchGroups(hatch), {}});
  } else {
    e->close();
    return;  // nothing the file format can say
  }
  WriteModelled(type, e, {}, owner, subs);
  e->close();
  if (attributes.empty()) return;
  for (AcDbObjectId a : attributes) WriteEntity(a);
  auto it = seqends_.find(id);
  if (it == seqends_.end()) return;
  AcDbObject* seqend = nullptr;
  if (acdbOpenObject(seqend, it->second, AcDb::kForRead) != Acad::eOk) return;
  written_.insert(it->second);
  if (!seqend->rawGroups().empty()) {
    Put(0, L"SEQEND");
    Put(seqend->rawGroups());
  } else {
    WriteModelled(L"SEQEND", seqend, {}, Hex(id.handle()),
                  {Subclass{L"AcDbEntity", {{8, L"0"}}, {}}});
  }
  seqend->close();
}

Groups Writer::HatchGroups(const AcDbHatch* h) {
  Groups g;
  AddPoint(&g, 10, AcGePoint3d(0, 0, h->elevation()));
  AddVector(&g, 210, h->normal());
  g.push_back({2, h->patternName()});
  g.push_back({70, h->isSolidFill() ? L"1" : L"0"});
  g.push_back({71, h->associative() ? L"1" : L"0"});
  int loops = 0;
  for (int i = 0; i < h->numLoops(); ++i)
    if (h->loopTypeAt(i) & AcDbHatch::kPolyline) ++loops;
  g.push_back({91, Int(loops)});
  for (int i = 0; i < h->numLoops(); ++i) {
    Adesk::Int32 type = 0;
    AcGePoint2dArray points;
    AcGeDoubleArray bulges;
    if (h->getLoopAt(i, type, points, bulges) != Acad::eOk) continue;
    bool has_bulge = false;
    for (int k = 0; k < bulges.length(); ++k)
      if (bulges[k] != 0) has_bulge = true;
    g.push_back({92, Int(type)});
    g.push_back({72, has_bulge ? L"1" : L"0"});
    g.push_back({73, L"1"});
    g.push_back({93, Int(points.length())});
    for (int k = 0; k < points.length(); ++k) {
      g.push_back({10, Real(points[k].x)});
      g.push_back({20, Real(points[k].y)});
      if (has_bulge) g.push_back({42, Real(bulges[k])});
    }
    g.push_back({97, L"0"});
  }
  g.push_back({75, Int(h->hatchStyle())});
  g.push_back({76, Int(h->patternType())});
  if (!h->isSolidFill()) {
    g.push_back({52, Real(h->patternAngle() / kDegree)});
    g.push_back({41, Real(h->patternScale())});
    g.push_back({77, L"0"});
    g.push_back({78, L"0"});
  }
  g.push_back({98, L"0"});
  return g;
}

}  // namespace host::dxf_out
