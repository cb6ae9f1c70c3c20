// Plain-text views of entities: properties, attributes and XData in a fixed order.
#include "host/user/entity_view.h"

#include <acgitransient.h>
#include <acutads.h>
#include <adsdef.h>
#include <dbents.h>
#include <dbhatch.h>
#include <dbmain.h>
#include <dbsymtb.h>
#include <gegbl.h>

#include <cwchar>

namespace host {
namespace {

std::wstring Num(double v) {
  if (v == 0) v = 0;  // no "-0"
  wchar_t buf[64];
  std::swprintf(buf, 64, L"%.10g", v);
  return buf;
}

// A value after its name: " VALUE", nothing for an empty value (no trailing blank).
std::wstring Value(const std::wstring& v) {
  return v.empty() ? v : L" " + v;
}

std::wstring Point(const AcGePoint3d& p) {
  return Num(p.x) + L"," + Num(p.y) + L"," + Num(p.z);
}

std::wstring Hex(uint64_t v) {
  wchar_t buf[32];
  std::swprintf(buf, 32, L"%llX", static_cast<unsigned long long>(v));
  return buf;
}

std::wstring TypeName(const AcDbEntity* e) {
  if (AcDbBlockReference::cast(e)) return L"INSERT";
  if (AcDbAttribute::cast(e)) return L"ATTRIB";
  if (AcDbAttributeDefinition::cast(e)) return L"ATTDEF";
  if (AcDbText::cast(e)) return L"TEXT";
  if (AcDbLine::cast(e)) return L"LINE";
  if (AcDbPoint::cast(e)) return L"POINT";
  if (AcDbCircle::cast(e)) return L"CIRCLE";
  if (AcDbArc::cast(e)) return L"ARC";
  if (AcDbHatch::cast(e)) return L"HATCH";
  return e->isA() ? std::wstring(e->isA()->name()) : std::wstring(L"?");
}

std::wstring BlockName(AcDbObjectId block_id) {
  AcDbBlockTableRecord* block = nullptr;
  if (acdbOpenObject(block, block_id, AcDb::kForRead) != Acad::eOk) return L"?";
  std::wstring name = block->name();
  block->close();
  return name;
}

void DescribeXData(const AcDbEntity* e, std::wstring* out) {
  resbuf* chain = e->xData(nullptr);
  std::wstring app;
  for (resbuf* rb = chain; rb != nullptr; rb = rb->rbnext) {
    if (rb->restype == 1001) {
      app = rb->resval.rstring ? rb->resval.rstring : L"";
      continue;
    }
    std::wstring value;
    switch (rb->restype) {
      case 1000:
      case 1003:
      case 1005:
        value = rb->resval.rstring ? rb->resval.rstring : L"";
        break;
      case 1002:
        value = rb->resval.rstring ? rb->resval.rstring : L"";
        break;
      case 1010:
      case 1011:
      case 1012:
      case 1013:
        value = Num(rb->resval.rpoint[0]) + L"," + Num(rb->resval.rpoint[1]) + L"," +
                Num(rb->resval.rpoint[2]);
        break;
      case 1040:
      case 1041:
      case 1042:
        value = Num(rb->resval.rreal);
        break;
      case 1070:
        value = std::to_wstring(rb->resval.rint);
        break;
      case 1071:
        value = std::to_wstring(rb->resval.rlong);
        break;
      default:
        value = L"(binary)";
        break;
    }
    *out += L"  xdata " + app + L" " + std::to_wstring(rb->restype) + Value(value) + L"\n";
  }
  if (chain != nullptr) acutRelRb(chain);
}

void DescribeOpen(const AcDbEntity* e, const std::wstring& heading, std::wstring* out) {
  *out += heading + L" " + TypeName(e) + L"\n";
  ACHAR* layer = e->layer();
  *out += L"  layer " + std::wstring(layer ? layer : L"") + L"\n";
  if (layer) acutDelString(layer);
  *out += L"  colour " + std::to_wstring(e->colorIndex()) + L"\n";
  if (const AcDbBlockReference* ref = AcDbBlockReference::cast(e)) {
    const AcGeScale3d s = ref->scaleFactors();
    *out += L"  block " + BlockName(ref->blockTableRecord()) + L"\n";
    *out += L"  position " + Point(ref->position()) + L"\n";
    *out += L"  rotation " + Num(ref->rotation() * 180.0 / kPi) + L"\n";
    *out += L"  scale " + Num(s.sx) + L"," + Num(s.sy) + L"," + Num(s.sz) + L"\n";
    for (const AcDbObjectId& id : ref->attributeIds()) {
      AcDbAttribute* attribute = nullptr;
      if (acdbOpenObject(attribute, id, AcDb::kForRead) != Acad::eOk) continue;
      *out += L"  attribute " + std::wstring(attribute->tagConst()) +
              Value(attribute->textStringConst()) + L"\n";
      attribute->close();
    }
  } else if (const AcDbText* text = AcDbText::cast(e)) {
    *out += L"  position " + Point(text->position()) + L"\n";
    *out += L"  height " + Num(text->height()) + L"\n";
    *out += L"  text " + std::wstring(text->textStringConst()) + L"\n";
  } else if (const AcDbLine* line = AcDbLine::cast(e)) {
    *out += L"  start " + Point(line->startPoint()) + L"\n";
    *out += L"  end " + Point(line->endPoint()) + L"\n";
  } else if (const AcDbPoint* point = AcDbPoint::cast(e)) {
    *out += L"  position " + Point(point->position()) + L"\n";
  }
  DescribeXData(e, out);
}

}  // namespace

std::wstring DescribeEntity(AcDbDatabase* db, uint64_t handle) {
  AcDbObjectId id;
  AcDbEntity* e = nullptr;
  if (db == nullptr || db->getAcDbObjectId(id, false, AcDbHandle(handle)) != Acad::eOk ||
      acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) {
    return L"entity " + Hex(handle) + L": no such entity\n";
  }
  std::wstring out;
  DescribeOpen(e, L"entity " + Hex(handle), &out);
  e->close();
  return out;
}

std::wstring DescribeDrawing(AcDbDatabase* db) {
  if (db == nullptr) return L"drawing: none\n";
  AcDbBlockTableRecord* space = nullptr;
  if (acdbOpenObject(space, db->modelSpaceId(), AcDb::kForRead) != Acad::eOk) {
    return L"drawing: model space cannot be read\n";
  }
  std::vector<AcDbObjectId> ids;
  AcDbBlockTableRecordIterator* it = nullptr;
  if (space->newIterator(it) == Acad::eOk) {
    for (; !it->done(); it->step()) {
      AcDbObjectId id;
      if (it->getEntityId(id) == Acad::eOk) ids.push_back(id);
    }
    delete it;
  }
  space->close();
  std::wstring body;
  for (const AcDbObjectId& id : ids) body += DescribeEntity(db, id.handle().value());
  // What a drag shows on the screen belongs to no drawing, but the user sees it with the rest.
  std::wstring shown;
  int count = 0;
  for (const AcGiDrawable* drawable : platform::acad::ShownTransients()) {
    const AcDbEntity* e = AcDbEntity::cast(drawable);
    if (e == nullptr || !e->isReadEnabled()) continue;
    DescribeOpen(e, L"temporary", &shown);
    ++count;
  }
  if (count > 0) body += L"shown: " + std::to_wstring(count) + L" temporary entities\n" + shown;
  return L"drawing: " + std::to_wstring(ids.size()) + L" entities\n" + body;
}

}  // namespace host
