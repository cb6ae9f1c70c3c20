// Builds route drawings: block definitions with connection points, references with XData and
// attributes, route groups.
#include "tools/drawing_builder.h"

#include <acutads.h>
#include <adsdef.h>
#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbhatch.h>
#include <dbsymtb.h>
#include <gegbl.h>

#include <cmath>
#include <memory>

namespace tools {
namespace {

// The record tail of the route tools' records: further fields that Harnex never changes.
constexpr const wchar_t* kRecordTail = L"|2|1|55|0|";

// Closes an open database object at the end of a scope.
template <class T>
struct Closer {
  T* object = nullptr;
  ~Closer() {
    if (object != nullptr) object->close();
  }
};

AcDbLine* ConnectLine(double x1, double y1, double x2, double y2) {
  return new AcDbLine(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0));
}

}  // namespace

uint64_t HandleOf(AcDbObjectId id) {
  return id.isNull() ? 0 : id.handle().value();
}

std::wstring DrawingBuilder::EmptyRecord(const std::wstring& tag) {
  return tag + L"|" + kRecordTail;
}

DrawingBuilder::DrawingBuilder(AcDbDatabase* db) : db_(db) {
  EnsureLayer(kConnectLayer, 1);
  EnsureLayer(kAnnoLayer, 7);
  EnsureLayer(kTableLayer, 7);
  AcDbRegAppTable* apps = nullptr;
  if (!Check(db_->getRegAppTable(apps, AcDb::kForWrite), L"opening the application table")) return;
  Closer<AcDbRegAppTable> close_apps{apps};
  for (const wchar_t* name : {kLinkApp, kAttrApp}) {
    if (apps->has(name)) continue;
    auto record = std::make_unique<AcDbRegAppTableRecord>();
    record->setName(name);
    if (!Check(apps->add(record.get()), L"registering an application")) return;
    record.release()->close();
  }
}

bool DrawingBuilder::Check(Acad::ErrorStatus es, const wchar_t* what) {
  if (es == Acad::eOk) return true;
  if (error_.empty()) {
    error_ = std::wstring(what) + L" failed with status " + std::to_wstring(static_cast<int>(es));
  }
  return false;
}

void DrawingBuilder::EnsureLayer(const std::wstring& name, int colour) {
  if (failed()) return;
  AcDbLayerTable* layers = nullptr;
  if (!Check(db_->getLayerTable(layers, AcDb::kForWrite), L"opening the layer table")) return;
  Closer<AcDbLayerTable> close_layers{layers};
  if (layers->has(name.c_str())) return;
  auto record = std::make_unique<AcDbLayerTableRecord>();
  record->setName(name.c_str());
  AcCmColor c;
  c.setColorIndex(static_cast<Adesk::UInt16>(colour));
  record->setColor(c);
  if (!Check(layers->add(record.get()), L"adding a layer")) return;
  record.release()->close();
}

AcDbObjectId DrawingBuilder::DefineBlock(const std::wstring& name, std::vector<Piece> pieces) {
  std::vector<std::unique_ptr<AcDbEntity>> owned;
  for (auto& piece : pieces) owned.emplace_back(piece.entity);
  if (failed()) return AcDbObjectId::kNull;
  AcDbBlockTable* blocks = nullptr;
  if (!Check(db_->getBlockTable(blocks, AcDb::kForWrite), L"opening the block table")) {
    return AcDbObjectId::kNull;
  }
  Closer<AcDbBlockTable> close_blocks{blocks};
  AcDbObjectId id;
  if (blocks->getAt(name.c_str(), id) == Acad::eOk) return id;
  auto record = std::make_unique<AcDbBlockTableRecord>();
  record->setName(name.c_str());
  if (!Check(blocks->add(id, record.get()), L"adding a block")) return AcDbObjectId::kNull;
  Closer<AcDbBlockTableRecord> close_record{record.release()};
  for (size_t i = 0; i < owned.size(); ++i) {
    AcDbEntity* entity = owned[i].get();
    entity->setDatabaseDefaults(db_);
    // Appended first: a layer is looked up by name in the entity's database, and an entity not
    // in one yet would be looked up in the working database, which a drawing built without an
    // open document does not have.
    const std::wstring layer = pieces[i].layer.empty() ? L"0" : pieces[i].layer;
    if (!Check(close_record.object->appendAcDbEntity(entity), L"filling a block")) {
      return AcDbObjectId::kNull;
    }
    owned[i].release();  // the block owns it now
    const bool layered = Check(entity->setLayer(layer.c_str()), L"setting a layer");
    entity->close();
    if (!layered) return AcDbObjectId::kNull;
  }
  return id;
}

namespace {
// The attribute definitions that route tools put into every element and part block.
std::vector<AcDbAttributeDefinition*> StandardAttributeDefinitions(double height) {
  std::vector<AcDbAttributeDefinition*> defs;
  double y = -height * 1.5;
  for (const wchar_t* tag : {L"ETAT", L"S001"}) {
    auto* def = new AcDbAttributeDefinition(AcGePoint3d(0, y, 0), L"", tag, tag);
    def->setHeight(height);
    def->setInvisible(true);
    defs.push_back(def);
    y -= height * 1.5;
  }
  return defs;
}
}  // namespace

AcDbObjectId DrawingBuilder::DefineSegment(const std::wstring& name, double length) {
  std::vector<Piece> pieces = {{ConnectLine(0, 0, length, 0), L""},
                               {new AcDbPoint(AcGePoint3d(0, 0, 0)), kConnectLayer},
                               {new AcDbPoint(AcGePoint3d(length, 0, 0)), kConnectLayer}};
  for (auto* def : StandardAttributeDefinitions(length / 10)) pieces.push_back({def, L""});
  return DefineBlock(name, std::move(pieces));
}

// A solid hatch over the square of half side `h` around (0,0).
static AcDbHatch* SolidBox(double h) {
  auto* hatch = new AcDbHatch();
  hatch->setPattern(AcDbHatch::kPreDefined, L"SOLID");
  AcGePoint2dArray corners;
  corners.append(AcGePoint2d(-h, -h));
  corners.append(AcGePoint2d(h, -h));
  corners.append(AcGePoint2d(h, h));
  corners.append(AcGePoint2d(-h, h));
  hatch->appendLoop(AcDbHatch::kExternal, corners, AcGeDoubleArray());
  return hatch;
}

AcDbObjectId DrawingBuilder::DefineTee(const std::wstring& name, double arm, bool hatched) {
  std::vector<Piece> pieces = {{ConnectLine(-arm, 0, arm, 0), L""},
                               {ConnectLine(0, 0, 0, arm), L""},
                               {new AcDbPoint(AcGePoint3d(-arm, 0, 0)), kConnectLayer},
                               {new AcDbPoint(AcGePoint3d(arm, 0, 0)), kConnectLayer},
                               {new AcDbPoint(AcGePoint3d(0, arm, 0)), kConnectLayer}};
  if (hatched) pieces.push_back({SolidBox(arm / 4), L""});
  for (auto* def : StandardAttributeDefinitions(arm / 5)) pieces.push_back({def, L""});
  return DefineBlock(name, std::move(pieces));
}

AcDbObjectId DrawingBuilder::DefinePart(const std::wstring& name, double size, bool hatched) {
  const double h = size / 2;
  std::vector<Piece> pieces = {{ConnectLine(-h, -h, h, -h), L""},
                               {ConnectLine(h, -h, h, h), L""},
                               {ConnectLine(h, h, -h, h), L""},
                               {ConnectLine(-h, h, -h, -h), L""}};
  if (hatched) pieces.push_back({SolidBox(h), L""});
  pieces.push_back({new AcDbPoint(AcGePoint3d(0, 0, 0)), kConnectLayer});
  for (auto* def : StandardAttributeDefinitions(size / 10)) pieces.push_back({def, L""});
  return DefineBlock(name, std::move(pieces));
}

AcDbObjectId DrawingBuilder::DefineNesting(const std::wstring& name, const std::wstring& inner,
                                           const Placement& at) {
  if (failed()) return AcDbObjectId::kNull;
  AcDbBlockTable* blocks = nullptr;
  if (!Check(db_->getBlockTable(blocks, AcDb::kForRead), L"opening the block table")) {
    return AcDbObjectId::kNull;
  }
  AcDbObjectId inner_id;
  const Acad::ErrorStatus found = blocks->getAt(inner.c_str(), inner_id);
  blocks->close();
  if (!Check(found, L"finding the nested block")) return AcDbObjectId::kNull;
  auto* reference = new AcDbBlockReference(AcGePoint3d(at.x, at.y, 0), inner_id);
  reference->setRotation(at.rotation_degrees * kPi / 180.0);
  reference->setScaleFactors(AcGeScale3d(at.scale, at.scale, at.scale));
  return DefineBlock(name, {{reference, L""}});
}

AcDbObjectId DrawingBuilder::AddLine(double x1, double y1, double x2, double y2) {
  if (failed()) return AcDbObjectId::kNull;
  auto line = std::unique_ptr<AcDbLine>(ConnectLine(x1, y1, x2, y2));
  line->setDatabaseDefaults(db_);
  AcDbBlockTableRecord* space = nullptr;
  if (!Check(acdbOpenObject(space, db_->modelSpaceId(), AcDb::kForWrite), L"opening model space")) {
    return AcDbObjectId::kNull;
  }
  AcDbObjectId id;
  const Acad::ErrorStatus added = space->appendAcDbEntity(id, line.get());
  space->close();
  if (!Check(added, L"adding a line")) return AcDbObjectId::kNull;
  line.release()->close();
  return id;
}

AcDbObjectId DrawingBuilder::AddReference(
    const std::wstring& block, const Placement& at,
    const std::vector<std::pair<std::wstring, std::wstring>>& attributes) {
  if (failed()) return AcDbObjectId::kNull;
  AcDbBlockTable* blocks = nullptr;
  if (!Check(db_->getBlockTable(blocks, AcDb::kForRead), L"opening the block table")) {
    return AcDbObjectId::kNull;
  }
  AcDbObjectId block_id;
  const Acad::ErrorStatus found = blocks->getAt(block.c_str(), block_id);
  blocks->close();
  if (!Check(found, L"finding the block")) return AcDbObjectId::kNull;

  auto reference = std::make_unique<AcDbBlockReference>(AcGePoint3d(at.x, at.y, 0), block_id);
  reference->setDatabaseDefaults(db_);
  reference->setRotation(at.rotation_degrees * kPi / 180.0);
  reference->setScaleFactors(AcGeScale3d(at.scale, at.scale, at.scale));

  AcDbBlockTableRecord* space = nullptr;
  if (!Check(acdbOpenObject(space, db_->modelSpaceId(), AcDb::kForWrite), L"opening model space")) {
    return AcDbObjectId::kNull;
  }
  AcDbObjectId id;
  const Acad::ErrorStatus added = space->appendAcDbEntity(id, reference.get());
  space->close();
  if (!Check(added, L"adding a block reference")) return AcDbObjectId::kNull;
  Closer<AcDbBlockReference> close_reference{reference.release()};

  // Attributes sit where their definitions sit, under the reference's transform.
  const AcGeMatrix3d xform = close_reference.object->blockTransform();
  double y = -1.5;
  for (const auto& [tag, value] : attributes) {
    auto attribute =
        std::make_unique<AcDbAttribute>(AcGePoint3d(0, y, 0), value.c_str(), tag.c_str());
    y -= 1.5;
    attribute->setDatabaseDefaults(db_);
    attribute->setInvisible(true);
    attribute->transformBy(xform);
    AcDbObjectId attribute_id;
    if (!Check(close_reference.object->appendAttribute(attribute_id, attribute.get()),
               L"adding an attribute")) {
      return AcDbObjectId::kNull;
    }
    attribute.release()->close();
  }
  return id;
}

bool DrawingBuilder::SetStrings(AcDbObjectId id, const std::wstring& app,
                                const std::vector<std::wstring>& strings) {
  if (failed()) return false;
  resbuf* head = acutNewRb(1001);
  head->resval.rstring = acutNewString(app.c_str());
  resbuf* tail = head;
  for (const auto& s : strings) {
    tail->rbnext = acutNewRb(1000);
    tail = tail->rbnext;
    tail->resval.rstring = acutNewString(s.c_str());
  }
  AcDbObject* object = nullptr;
  bool ok = Check(acdbOpenObject(object, id, AcDb::kForWrite), L"opening an entity for XData");
  if (ok) {
    ok = Check(object->setXData(head), L"setting XData");
    object->close();
  }
  acutRelRb(head);
  return ok;
}

AcDbObjectId DrawingBuilder::AddRouteElement(const std::wstring& block, const Placement& at,
                                             const std::wstring& etat) {
  const AcDbObjectId id = AddReference(block, at, {{L"ETAT", etat}, {L"S001", L""}});
  if (id.isNull()) return id;
  if (!SetStrings(id, kLinkApp, {L"3"}) ||
      !SetStrings(id, kAttrApp,
                  {EmptyRecord(L"S501"), EmptyRecord(L"S004"), EmptyRecord(L"S3B9"),
                   EmptyRecord(L"S002")})) {
    return AcDbObjectId::kNull;
  }
  return id;
}

AcDbObjectId DrawingBuilder::AddPart(const std::wstring& block, const Placement& at,
                                     const std::wstring& part_number, const std::wstring& etat) {
  const AcDbObjectId id = AddReference(block, at, {{L"ETAT", etat}, {L"S001", part_number}});
  if (id.isNull()) return id;
  if (!SetStrings(id, kLinkApp, {L"0"}) ||
      !SetStrings(id, kAttrApp, {L"S001|" + part_number + kRecordTail})) {
    return AcDbObjectId::kNull;
  }
  return id;
}

std::vector<AcDbObjectId> DrawingBuilder::AddStraightRun(const std::wstring& block, double x1,
                                                         double y1, double x2, double y2,
                                                         int count) {
  std::vector<AcDbObjectId> ids;
  if (count <= 0) return ids;
  const double dx = (x2 - x1) / count, dy = (y2 - y1) / count;
  const double angle = std::atan2(dy, dx) * 180.0 / kPi;
  for (int i = 0; i < count && !failed(); ++i) {
    ids.push_back(AddRouteElement(block, {x1 + dx * i, y1 + dy * i, angle, 1}));
  }
  return ids;
}

AcDbObjectId DrawingBuilder::AddGroup(const std::wstring& name,
                                      const std::vector<AcDbObjectId>& members) {
  if (failed()) return AcDbObjectId::kNull;
  AcDbDictionary* groups = nullptr;
  if (!Check(db_->getGroupDictionary(groups, AcDb::kForWrite), L"opening the group dictionary")) {
    return AcDbObjectId::kNull;
  }
  auto group = std::make_unique<AcDbGroup>(L"route");
  AcDbObjectId id;
  const Acad::ErrorStatus added = groups->setAt(name.c_str(), group.get(), id);
  groups->close();
  if (!Check(added, L"adding a group")) return AcDbObjectId::kNull;
  Closer<AcDbGroup> close_group{group.release()};
  for (const AcDbObjectId& member : members) {
    if (!Check(close_group.object->append(member), L"filling a group")) {
      return AcDbObjectId::kNull;
    }
  }
  return id;
}

void DrawingBuilder::SetGlobalScale(double scale) {
  Check(db_->setDimscale(scale), L"$DIMSCALE");
}

}  // namespace tools
