// The DXF writer: database objects and kept groups to the sections of an AC1024 file.
#include "host/dxf_writer.h"

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
#include <cstdio>
#include <fstream>
#include <map>
#include <set>

#include "host/dxf_objects.h"

namespace host {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;

std::wstring Hex(AcDbHandle h) {
  ACHAR buf[20];
  h.getIntoAsciiBuffer(buf, 20);
  return buf;
}

std::wstring Real(double v) {
  if (v == 0) v = 0;  // no "-0"
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  std::string s(buf);
  if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
  return std::wstring(s.begin(), s.end());
}

std::wstring Int(long long v) {
  return std::to_wstring(v);
}

using Groups = std::vector<AcDbRawGroup>;

// One subclass of a modelled object: its marker, the groups the object gives, and groups that
// go after the kept ones of that subclass (dictionary entries).
struct Subclass {
  std::wstring marker;
  Groups groups;
  Groups tail;
};

void AddPoint(Groups* g, int code, const AcGePoint3d& p) {
  g->push_back({code, Real(p.x)});
  g->push_back({code + 10, Real(p.y)});
  g->push_back({code + 20, Real(p.z)});
}

void AddVector(Groups* g, int code, const AcGeVector3d& v) {
  g->push_back({code, Real(v.x)});
  g->push_back({code + 10, Real(v.y)});
  g->push_back({code + 20, Real(v.z)});
}

bool IsZAxis(const AcGeVector3d& v) {
  return v.x == 0 && v.y == 0 && v.z == 1;
}

class Writer {
 public:
  explicit Writer(AcDbDatabase& db) : db_(db) {}

  std::string Write() {
    Prepare();
    Header();
    Section(L"CLASSES");
    EndSection();
    Tables();
    Blocks();
    Entities();
    Objects();
    Put(0, L"EOF");
    return std::move(out_);
  }

 private:
  // ---- Output ----

  void Put(int code, const std::wstring& value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%3d\n", code);
    out_ += buf;
    out_ += platform::WideToUtf8(value);
    out_ += '\n';
  }
  void Put(const Groups& groups) {
    for (const auto& g : groups) Put(g.code, g.value);
  }
  void Section(const wchar_t* name) {
    Put(0, L"SECTION");
    Put(2, name);
  }
  void EndSection() { Put(0, L"ENDSEC"); }

  // ---- Preparation: the BLOCK, ENDBLK and SEQEND objects every block and attributed
  // reference needs ----

  void Prepare() {
    for (AcDbObjectId id : platform::acad::AllObjectIds(db_)) {
      if (id.isErased()) continue;
      AcDbObject* obj = nullptr;
      if (acdbOpenObject(obj, id, AcDb::kForRead) != Acad::eOk) continue;
      if (auto* kept = DxfUnknownObject::cast(obj)) {
        const std::wstring& type = kept->dxfName();
        if (type == L"BLOCK" || type == L"ENDBLK" || type == L"SEQEND")
          parts_[{kept->ownerId(), type}] = id;
        if (type == L"TABLE" && kept->ownerId().isNull()) {
          for (const auto& g : kept->rawGroups())
            if (g.code == 2) {
              kept_tables_[g.value] = id;
              break;
            }
        }
      }
      obj->close();
    }
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
        AcDbBlockReference* ref = nullptr;
        if (acdbOpenObject(ref, ref_id, AcDb::kForRead) != Acad::eOk) continue;
        const bool attributed = !LiveIds(ref->attributeIds()).empty();
        ref->close();
        if (attributed) Ensure(ref_id, L"SEQEND");
      }
    }
    table->close();
  }

  void Ensure(AcDbObjectId owner, const std::wstring& type) {
    if (parts_.count({owner, type})) return;
    auto* made = new DxfUnknownObject(type);
    AcDbObjectId id;
    if (db_.addAcDbObject(id, made) != Acad::eOk) {
      delete made;
      return;
    }
    made->setOwnerId(owner);
    made->close();
    parts_[{owner, type}] = id;
  }

  // The tables a drawing of this format must have beside those the database models: a viewport
  // table with the "*ACTIVE" viewport, the view and UCS tables (empty), and a dimension style
  // table with "Standard". A drawing read from a file keeps its own; one made here gets them as
  // kept objects, written like those read, so that the next save writes them again unchanged.
  void EnsureDefaultTables() {
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
  Groups ActiveViewport() {
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
  void AddDefaultTable(const wchar_t* name, const wchar_t* record_type, const Groups& record) {
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
    table->setRawGroups(head);
    if (has_record) {
      auto* rec = new DxfUnknownObject(record_type);
      AcDbObjectId rec_id;
      if (db_.addAcDbObject(rec_id, rec) == Acad::eOk) {
        // A dimension style names its handle with 105, every other record with 5.
        Groups groups = {{std::wstring(name) == L"DIMSTYLE" ? 105 : 5, Hex(rec_id.handle())},
                         {330, table_handle}};
        groups.insert(groups.end(), record.begin(), record.end());
        rec->setRawGroups(groups);
        rec->setOwnerId(table_id);
        rec->close();
        table->children().push_back(rec_id);
      } else {
        delete rec;
      }
    }
    table->close();
  }

  static std::vector<AcDbObjectId> LiveIds(const std::vector<AcDbObjectId>& ids) {
    std::vector<AcDbObjectId> live;
    for (AcDbObjectId id : ids)
      if (!id.isErased() && id.isValid()) live.push_back(id);
    return live;
  }

  // ---- Header ----

  void Header() {
    Section(L"HEADER");
    Put(9, L"$ACADVER");
    Put(1, L"AC1024");
    // The code page goes second, where AutoCAD writes it, whether it was read or not: a drawing
    // read and written again comes out as it went in.
    const Groups& raw = db_.rawHeader();
    Groups rest;
    std::wstring codepage = L"ANSI_1252";
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i].code == 9 && raw[i].value == L"$DWGCODEPAGE" && i + 1 < raw.size() &&
          raw[i + 1].code != 9) {
        codepage = raw[++i].value;
        continue;
      }
      rest.push_back(raw[i]);
    }
    Put(9, L"$DWGCODEPAGE");
    Put(3, codepage);
    Put(9, L"$HANDSEED");
    Put(5, Hex(db_.handseed()));
    Put(9, L"$DIMSCALE");
    Put(40, Real(db_.dimscale()));
    Put(rest);
    EndSection();
  }

  // ---- Generic object output ----

  // 0 TYPE, the groups before the handle, 5 handle, the kept groups before the first marker,
  // 330 owner, then each subclass with its kept groups, kept subclasses the object does not
  // know, and the XData.
  void WriteModelled(const std::wstring& type, const AcDbObject* obj, const Groups& before_handle,
                     const std::wstring& owner, const std::vector<Subclass>& subclasses) {
    Put(0, type);
    Put(before_handle);
    Put(5, Hex(obj->objectId().handle()));
    const Groups& raw = obj->rawGroups();
    // Kept groups split at their markers.
    struct Segment {
      std::wstring marker;
      Groups groups;
      bool used = false;
    };
    std::vector<Segment> segments(1);
    for (const auto& g : raw) {
      if (g.code == 100) {
        segments.push_back(Segment{g.value, {}, false});
      } else {
        segments.back().groups.push_back(g);
      }
    }
    Put(segments[0].groups);
    Put(330, owner);
    size_t search_from = 1;
    for (const Subclass& sub : subclasses) {
      Put(100, sub.marker);
      Put(sub.groups);
      for (size_t i = search_from; i < segments.size(); ++i) {
        if (!segments[i].used && segments[i].marker == sub.marker) {
          Put(segments[i].groups);
          segments[i].used = true;
          search_from = i + 1;
          break;
        }
      }
      Put(sub.tail);
    }
    for (size_t i = 1; i < segments.size(); ++i) {
      if (segments[i].used) continue;
      Put(100, segments[i].marker);
      Put(segments[i].groups);
    }
    WriteXData(obj);
  }

  void WriteXData(const AcDbObject* obj) {
    resbuf* chain = obj->xData(nullptr);
    for (const resbuf* rb = chain; rb != nullptr; rb = rb->rbnext) {
      const int code = rb->restype;
      if (code == 1004) {
        std::wstring hex;
        static const wchar_t* digits = L"0123456789ABCDEF";
        for (short i = 0; i < rb->resval.rbinary.clen; ++i) {
          unsigned char b = static_cast<unsigned char>(rb->resval.rbinary.buf[i]);
          hex.push_back(digits[b >> 4]);
          hex.push_back(digits[b & 15]);
        }
        Put(code, hex);
      } else if (code >= 1000 && code <= 1005) {
        Put(code, rb->resval.rstring ? rb->resval.rstring : L"");
      } else if (code >= 1010 && code <= 1013) {
        Put(code, Real(rb->resval.rpoint[0]));
        Put(code + 10, Real(rb->resval.rpoint[1]));
        Put(code + 20, Real(rb->resval.rpoint[2]));
      } else if (code >= 1040 && code <= 1042) {
        Put(code, Real(rb->resval.rreal));
      } else if (code == 1070) {
        Put(code, Int(rb->resval.rint));
      } else if (code == 1071) {
        Put(code, Int(rb->resval.rlong));
      }
    }
    acutRelRb(chain);
  }

  std::wstring OwnerOf(const AcDbObject* obj) {
    AcDbObjectId owner = obj->ownerId();
    return owner.isNull() ? L"0" : Hex(owner.handle());
  }

  std::wstring NameOf(AcDbObjectId id) {
    AcDbSymbolTableRecord* rec = nullptr;
    std::wstring name;
    if (acdbOpenObject(rec, id, AcDb::kForRead) == Acad::eOk) {
      name = rec->name();
      rec->close();
    }
    return name;
  }

  // ---- Tables ----

  void Tables() {
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

  void WriteKeptTable(AcDbObjectId id) {
    DxfUnknownObject* table = nullptr;
    if (acdbOpenObject(table, id, AcDb::kForRead) != Acad::eOk) return;
    written_.insert(id);
    Put(0, L"TABLE");
    Put(table->rawGroups());
    for (AcDbObjectId rec : table->children()) WriteKept(rec);
    table->close();
    Put(0, L"ENDTAB");
  }

  void WriteKept(AcDbObjectId id) {
    if (id.isErased()) return;
    AcDbObject* obj = nullptr;
    if (acdbOpenObject(obj, id, AcDb::kForRead) != Acad::eOk) return;
    written_.insert(id);
    if (auto* kept = DxfUnknownObject::cast(obj)) {
      Put(0, kept->dxfName());
    } else if (auto* kept_entity = DxfUnknownEntity::cast(obj)) {
      Put(0, kept_entity->dxfName());
    }
    Put(obj->rawGroups());
    obj->close();
  }

  void WriteTable(const wchar_t* name, AcDbObjectId id) {
    AcDbSymbolTable* table = nullptr;
    if (acdbOpenObject(table, id, AcDb::kForRead) != Acad::eOk) return;
    written_.insert(id);
    const std::vector<AcDbObjectId> records = LiveIds(table->recordIds());
    // Records kept as read (those the table could not take) are listed after the others.
    std::vector<AcDbObjectId> kept = KeptOwnedBy(id);
    Subclass sub{
        L"AcDbSymbolTable", {{70, Int(static_cast<long long>(records.size() + kept.size()))}}, {}};
    WriteModelled(L"TABLE", table, {{2, name}}, L"0", {sub});
    table->close();
    for (AcDbObjectId rec : records) WriteRecord(name, rec);
    for (AcDbObjectId rec : kept) WriteKept(rec);
    Put(0, L"ENDTAB");
  }

  std::vector<AcDbObjectId> KeptOwnedBy(AcDbObjectId owner) {
    if (kept_by_owner_.empty()) {
      for (AcDbObjectId id : platform::acad::AllObjectIds(db_)) {
        if (id.isErased() || id.objectClass() == nullptr ||
            !id.objectClass()->isDerivedFrom(DxfUnknownObject::desc()))
          continue;
        AcDbObject* obj = nullptr;
        if (acdbOpenObject(obj, id, AcDb::kForRead) != Acad::eOk) continue;
        const std::wstring& type = DxfUnknownObject::cast(obj)->dxfName();
        if (type != L"BLOCK" && type != L"ENDBLK" && type != L"SEQEND" && type != L"TABLE")
          kept_by_owner_[obj->ownerId()].push_back(id);
        obj->close();
      }
      kept_by_owner_[AcDbObjectId::kNull];  // not empty any more
    }
    auto it = kept_by_owner_.find(owner);
    if (it == kept_by_owner_.end() || owner.isNull()) return {};
    return it->second;
  }

  void WriteRecord(const wchar_t* table, AcDbObjectId id) {
    AcDbObject* obj = nullptr;
    if (acdbOpenObject(obj, id, AcDb::kForRead) != Acad::eOk) return;
    written_.insert(id);
    auto* rec = AcDbSymbolTableRecord::cast(obj);
    const bool made = obj->rawGroups().empty();
    Groups g{{2, rec->name()}};
    std::wstring marker;
    std::wstring type = table;
    if (auto* lt = AcDbLinetypeTableRecord::cast(obj)) {
      marker = L"AcDbLinetypeTableRecord";
      const ACHAR* comments = L"";
      lt->comments(comments);
      g.push_back({3, comments});
      // What the database does not model comes after the modelled groups, as kept groups do.
      if (made) g.insert(g.end(), {{70, L"0"}, {72, L"65"}, {73, L"0"}, {40, L"0.0"}});
    } else if (auto* layer = AcDbLayerTableRecord::cast(obj)) {
      marker = L"AcDbLayerTableRecord";
      int flags = (layer->isFrozen() ? 1 : 0) | (layer->isLocked() ? 4 : 0);
      g.push_back({70, Int(flags)});
      int colour = layer->color().colorIndex();
      g.push_back({62, Int(layer->isOff() ? -colour : colour)});
      std::wstring lt = NameOf(layer->linetypeObjectId());
      g.push_back({6, lt.empty() ? L"Continuous" : lt});
      g.push_back({370, Int(layer->lineWeight())});
    } else if (auto* style = AcDbTextStyleTableRecord::cast(obj)) {
      marker = L"AcDbTextStyleTableRecord";
      const ACHAR* file = L"";
      const ACHAR* big = L"";
      style->fileName(file);
      style->bigFontFileName(big);
      g.push_back({40, Real(style->textSize())});
      g.push_back({41, Real(style->xScale())});
      g.push_back({50, Real(style->obliquingAngle() / kDegree)});
      g.push_back({3, file});
      g.push_back({4, big});
      if (made) g.insert(g.end(), {{70, L"0"}, {71, L"0"}, {42, L"2.5"}});
    } else if (AcDbRegAppTableRecord::cast(obj) != nullptr) {
      marker = L"AcDbRegAppTableRecord";
      if (made) g.push_back({70, L"0"});
    } else if (AcDbBlockTableRecord::cast(obj) != nullptr) {
      marker = L"AcDbBlockTableRecord";
    }
    WriteModelled(type, obj, {}, OwnerOf(obj),
                  {Subclass{L"AcDbSymbolTableRecord", {}, {}}, Subclass{marker, g, {}}});
    obj->close();
  }

  // ---- Blocks and entities ----

  void Blocks() {
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

  bool IsPaperSpace(AcDbObjectId id) { return platform::EqualsNoCase(NameOf(id), L"*Paper_Space"); }

  void WriteBlockPart(AcDbObjectId btr_id, const std::wstring& type) {
    auto it = parts_.find({btr_id, type});
    if (it == parts_.end()) return;
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

  void Entities() {
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

  void WriteEntitiesOf(AcDbObjectId btr_id) {
    AcDbBlockTableRecord* btr = nullptr;
    if (acdbOpenObject(btr, btr_id, AcDb::kForRead) != Acad::eOk) return;
    std::vector<AcDbObjectId> ids = LiveIds(btr->entityIds());
    btr->close();
    for (AcDbObjectId id : ids) WriteEntity(id);
  }

  Groups Common(const AcDbEntity* e) {
    Groups g;
    ACHAR* layer = e->layer();
    g.push_back({8, layer ? layer : L"0"});
    acutDelString(layer);
    ACHAR* lt = e->linetype();
    if (lt != nullptr && !platform::EqualsNoCase(lt, L"ByLayer")) g.push_back({6, lt});
    acutDelString(lt);
    if (e->colorIndex() != 256) g.push_back({62, Int(e->colorIndex())});
    if (e->lineWeight() != AcDb::kLnWtByLayer) g.push_back({370, Int(e->lineWeight())});
    if (e->linetypeScale() != 1.0) g.push_back({48, Real(e->linetypeScale())});
    if (e->visibility() == AcDb::kInvisible) g.push_back({60, L"1"});
    return g;
  }

  Groups TextMain(const AcDbText* t) {
    Groups g;
    AddPoint(&g, 10, t->position());
    g.push_back({40, Real(t->height())});
    g.push_back({1, t->textStringConst()});
    if (t->rotation() != 0) g.push_back({50, Real(t->rotation() / kDegree)});
    if (t->widthFactor() != 1) g.push_back({41, Real(t->widthFactor())});
    if (t->oblique() != 0) g.push_back({51, Real(t->oblique() / kDegree)});
    std::wstring style = NameOf(t->textStyle());
    g.push_back({7, style.empty() ? L"Standard" : style});
    if (t->horizontalMode() != AcDb::kTextLeft) g.push_back({72, Int(t->horizontalMode())});
    if (!t->isDefaultAlignment()) AddPoint(&g, 11, t->alignmentPoint());
    if (!IsZAxis(t->normal())) AddVector(&g, 210, t->normal());
    return g;
  }

  void WriteEntity(AcDbObjectId id) {
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
           {{50, Real(arc->startAngle() / kDegree)}, {51, Real(arc->endAngle() / kDegree)}},
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
      if (ref->rotation() != 0) g.push_back({50, Real(ref->rotation() / kDegree)});
      if (!IsZAxis(ref->normal())) AddVector(&g, 210, ref->normal());
      subs.push_back({L"AcDbBlockReference", g, {}});
    } else if (auto* ellipse = AcDbEllipse::cast(e)) {
      type = L"ELLIPSE";
      Groups g;
      AddPoint(&g, 10, ellipse->center());
      const AcGeVector3d major = ellipse->majorAxis();
      AddVector(&g, 11, major);
      AddVector(&g, 210, ellipse->normal());
      g.push_back({40, Real(ellipse->radiusRatio())});
      g.push_back({41, Real(ellipse->paramAtAngle(ellipse->startAngle()))});
      double end = ellipse->paramAtAngle(ellipse->endAngle());
      if (ellipse->isClosed()) end = 2 * kPi;
      g.push_back({42, Real(end)});
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
    auto it = parts_.find({id, L"SEQEND"});
    if (it == parts_.end()) return;
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

  Groups HatchGroups(const AcDbHatch* h) {
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

  // ---- Objects ----

  void Objects() {
    Section(L"OBJECTS");
    WriteObject(db_.namedObjectsDictionaryId());
    for (AcDbObjectId id : platform::acad::AllObjectIds(db_)) {
      if (written_.count(id) || id.isErased() || id.objectClass() == nullptr) continue;
      const AcRxClass* cls = id.objectClass();
      if (cls->isDerivedFrom(AcDbDictionary::desc()) || cls->isDerivedFrom(AcDbGroup::desc()) ||
          cls->isDerivedFrom(DxfUnknownObject::desc()))
        WriteObject(id);
    }
    EndSection();
  }

  void WriteObject(AcDbObjectId id) {
    if (written_.count(id) || id.isNull()) return;
    AcDbObject* obj = nullptr;
    if (acdbOpenObject(obj, id, AcDb::kForRead) != Acad::eOk) return;
    written_.insert(id);
    if (auto* dict = AcDbDictionary::cast(obj)) {
      bool hard = false;
      for (const auto& g : obj->rawGroups())
        if (g.code == 280 && g.value == L"1") hard = true;
      Groups entries;
      AcDbDictionaryIterator* it = dict->newIterator();
      for (; !it->done(); it->next()) {
        if (it->objectId().isErased()) continue;
        entries.push_back({3, it->name()});
        entries.push_back({hard ? 360 : 350, Hex(it->objectId().handle())});
      }
      delete it;
      Groups head;
      if (obj->rawGroups().empty()) head.push_back({281, L"1"});
      WriteModelled(L"DICTIONARY", obj, {}, OwnerOf(obj),
                    {Subclass{L"AcDbDictionary", head, entries}});
    } else if (auto* group = AcDbGroup::cast(obj)) {
      Groups g{{300, group->description()},
               {70, group->isAnonymous() ? L"1" : L"0"},
               {71, group->isSelectable() ? L"1" : L"0"}};
      AcDbObjectIdArray members;
      group->allEntityIds(members);
      for (int i = 0; i < members.length(); ++i) g.push_back({340, Hex(members[i].handle())});
      WriteModelled(L"GROUP", obj, {}, OwnerOf(obj), {Subclass{L"AcDbGroup", g, {}}});
    } else if (auto* kept = DxfUnknownObject::cast(obj)) {
      Put(0, kept->dxfName());
      Put(kept->rawGroups());
    }
    obj->close();
  }

  AcDbDatabase& db_;
  std::string out_;
  std::map<std::pair<AcDbObjectId, std::wstring>, AcDbObjectId> parts_;
  // The tables the database does not model, kept as read or made by EnsureDefaultTables, by name.
  std::map<std::wstring, AcDbObjectId> kept_tables_;
  std::map<AcDbObjectId, std::vector<AcDbObjectId>> kept_by_owner_;
  std::set<AcDbObjectId> written_;
};

}  // namespace

std::string WriteDxf(AcDbDatabase& db) {
  return Writer(db).Write();
}

bool WriteDxfFile(AcDbDatabase& db, const std::string& path, std::wstring* error) {
  const std::string bytes = WriteDxf(db);
  const std::string temp = path + ".saving";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::remove(temp.c_str());
      if (error) *error = platform::Utf8ToWide(path) + L": cannot be written";
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    if (error) *error = platform::Utf8ToWide(path) + L": cannot be written";
    return false;
  }
  return true;
}

}  // namespace host
