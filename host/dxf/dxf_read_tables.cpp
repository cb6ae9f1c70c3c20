// The header and the tables of a DXF file: layers, linetypes, text styles, applications,
// block records, and tables kept as read.
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

// A handle used twice makes the drawing ambiguous: refused.
void Builder::CheckHandles() {
  std::unordered_map<Adesk::UInt64, int> seen;
  Adesk::UInt64 max = 0;
  auto check = [&](const std::vector<Record>& records) {
    for (const Record& r : records) {
      if (r.handle.isNull()) continue;
      auto [it, fresh] = seen.emplace(r.handle.value(), r.line);
      if (!fresh)
        throw ReadError{LineError(r.line, L"handle " + HexOf(r.handle) +
                                              L" is used twice (first on line " +
                                              std::to_wstring(it->second) + L")")};
      max = std::max(max, r.handle.value());
    }
  };
  check(file_.tables);
  check(file_.blocks);
  check(file_.entities);
  check(file_.objects);
  // Deferred entities are checked as they are added: a handle used twice cannot be added again.
  // Their largest handle is known only when a build had to start again (see StreamEntities).
  if (file_.deferred.present) max = std::max(max, file_.deferred.max_handle.value());
  // New objects get handles above every handle of the file.
  db_->setHandseed(AcDbHandle(max + 1));
}

std::wstring Builder::HexOf(AcDbHandle h) {
  ACHAR buf[20];
  h.getIntoAsciiBuffer(buf, 20);
  return buf;
}

void Builder::ReadHeader() {
  std::vector<platform::acad::RawGroup> raw;
  const auto& h = file_.header;
  for (size_t i = 0; i < h.size();) {
    if (h[i].code != 9)
      throw ReadError{LineError(h[i].line, L"a header variable name (group 9) was expected")};
    const std::string_view name = h[i].text;
    size_t j = i + 1;
    while (j < h.size() && h[j].code != 9) ++j;
    if (name == "$ACADVER" && j > i + 1) {
      result_->version = Wide(h[i + 1]);
    } else if (name == "$HANDSEED" && j > i + 1) {
      seed_ = Handle(h[i + 1]);
    } else if (name == "$DIMSCALE" && j > i + 1) {
      db_->setDimscale(Real(h[i + 1]));
    } else {
      for (size_t k = i; k < j; ++k) raw.push_back(platform::acad::RawGroup{h[k].code, Kept(h[k])});
    }
    i = j;
  }
  for (const KeptSection& section : file_.kept) {
    raw.push_back(platform::acad::RawGroup{kDxfSectionStart, Kept(section.name)});
    for (const Group& g : section.groups) raw.push_back(platform::acad::RawGroup{g.code, Kept(g)});
    raw.push_back(platform::acad::RawGroup{kDxfSectionEnd, L""});
  }
  platform::acad::SetKeptHeader(*db_, std::move(raw));
}

// ---- Tables ----

void Builder::ReadTables() {
  size_t i = 0;
  const auto& t = file_.tables;
  while (i < t.size()) {
    const Record& head = t[i];
    if (head.type != "TABLE")
      throw ReadError{
          LineError(head.line, L"TABLE was expected, found \"" + Wide(head.type) + L"\"")};
    const std::wstring name = StringOf(head, 2);
    size_t j = i + 1;
    std::vector<const Record*> records;
    while (j < t.size() && t[j].type != "ENDTAB" && t[j].type != "TABLE")
      records.push_back(&t[j++]);
    if (j >= t.size()) throw ReadError{LineError(head.line, L"the table has no ENDTAB")};
    ReadTable(name, head, records);
    if (t[j].type == "TABLE") {
      // The next table begins where this one should have ended. Kept as a record of this one,
      // it would be written back inside it, where no reader takes it: the table is closed here.
      result_->warnings.push_back(
          LineError(head.line, L"TABLE without its ENDTAB: one is added"));
      i = j;
      continue;
    }
    i = j + 1;
  }
}

std::wstring Builder::StringOf(const Record& r, int code) {
  for (const Group& g : r.groups)
    if (g.code == code) return Wide(g);
  return L"";
}

AcDbObjectId Builder::AddRoot(AcDbObject* object, const Record* r) {
  AcDbObjectId id;
  Acad::ErrorStatus es = Acad::eNullHandle;
  if (r != nullptr && !r->handle.isNull())
    es = platform::acad::AddObjectWithHandle(*db_, object, r->handle, &id);
  if (es == Acad::eDuplicateKey && file_.deferred.present) {
    // An entity's handle, which the check before could not see (see StreamEntities).
    delete object;
    throw ReadError{LineError(r->line, L"handle " + HexOf(r->handle) + L" is used twice")};
  }
  if (es != Acad::eOk) {
    es = db_->addAcDbObject(id, object);
    if (es != Acad::eOk) {
      delete object;
      throw ReadError{LineError(r ? r->line : 0, L"the object cannot be added")};
    }
  }
  return id;
}

void Builder::SetOwner(AcDbObject* object, AcDbHandle owner) {
  if (owner.isNull()) return;
  AcDbObjectId id;
  if (db_->getAcDbObjectId(id, true, owner) == Acad::eOk) object->setOwnerId(id);
}

void Builder::ReadTable(const std::wstring& name, const Record& head,
                        const std::vector<const Record*>& records) {
  AcDbSymbolTable* table = nullptr;
  if (name == L"LTYPE") table = new AcDbLinetypeTable;
  if (name == L"LAYER") table = new AcDbLayerTable;
  if (name == L"STYLE") table = new AcDbTextStyleTable;
  if (name == L"APPID") table = new AcDbRegAppTable;
  if (name == L"BLOCK_RECORD") table = new AcDbBlockTable;
  if (table == nullptr) {
    // A table the database does not model, kept whole.
    auto* kept = new DxfUnknownObject(L"TABLE");
    platform::acad::SetKeptGroups(*kept, AllGroups(head));
    AcDbObjectId table_id = AddRoot(kept, &head);
    for (const Record* r : records) {
      auto* rec = new DxfUnknownObject(Wide(r->type));
      platform::acad::SetKeptGroups(*rec, AllGroups(*r));
      AcDbObjectId id = AddRoot(rec, r);
      rec->setOwnerId(table_id);
      rec->close();
      kept->children().push_back(id);
    }
    kept->close();
    unknown_tables_.push_back(table_id);
    return;
  }
  Split s = SplitRecord(head, [](int code) { return code == 2 || code == 70; });
  platform::acad::SetKeptGroups(*table, std::move(s.raw));
  AcDbObjectId table_id = AddRoot(table, &head);
  if (name == L"LTYPE") roots_.linetype_table = table_id;
  if (name == L"LAYER") roots_.layer_table = table_id;
  if (name == L"STYLE") roots_.text_style_table = table_id;
  if (name == L"APPID") roots_.regapp_table = table_id;
  if (name == L"BLOCK_RECORD") roots_.block_table = table_id;
  for (const Record* r : records) ReadTableRecord(name, table, *r);
  table->close();
}

void Builder::ReadTableRecord(const std::wstring& table_name, AcDbSymbolTable* table,
                              const Record& r) {
  AcDbSymbolTableRecord* rec = nullptr;
  Split s;
  if (table_name == L"LTYPE" && r.type == "LTYPE") {
    s = SplitRecord(r, [](int c) { return c == 2 || c == 3; });
    auto* lt = new AcDbLinetypeTableRecord;
    lt->setComments(StringOr(s.values, 3).c_str());
    rec = lt;
  } else if (table_name == L"LAYER" && r.type == "LAYER") {
    s = SplitRecord(r, [](int c) { return c == 2 || c == 62 || c == 6 || c == 70 || c == 370; });
    auto* layer = new AcDbLayerTableRecord;
    long long colour = IntOr(s.values, 62, 7);
    AcCmColor c;
    c.setColorIndex(static_cast<Adesk::UInt16>(std::min<long long>(ColourIndexOf(colour), 256)));
    layer->setColor(c);
    layer->setIsOff(colour < 0);
    long long flags = IntOr(s.values, 70, 0);
    layer->setIsFrozen(flags & 1);
    layer->setIsLocked(flags & 4);
    layer->setLineWeight(static_cast<AcDb::LineWeight>(Enumerated(
        IntOr(s.values, 370, -3), kLineWeights, AcDb::kLnWtByLwDefault, r.line, L"lineweight")));
    const std::wstring lt = StringOr(s.values, 6, L"Continuous");
    AcDbObjectId lt_id;
    if (!roots_.linetype_table.isNull()) {
      AcDbLinetypeTable* lts = nullptr;
      if (acdbOpenObject(lts, roots_.linetype_table, AcDb::kForRead) == Acad::eOk) {
        lts->getAt(lt.c_str(), lt_id);
        lts->close();
      }
    }
    if (!lt_id.isNull()) layer->setLinetypeObjectId(lt_id);
    rec = layer;
  } else if (table_name == L"STYLE" && r.type == "STYLE" && !StringOf(r, 2).empty()) {
    s = SplitRecord(
        r, [](int c) { return c == 2 || c == 40 || c == 41 || c == 50 || c == 3 || c == 4; });
    KeepText(&s, {50});
    auto* st = new AcDbTextStyleTableRecord;
    st->setTextSize(RealOr(s.values, 40, 0));
    st->setXScale(RealOr(s.values, 41, 1));
    st->setObliquingAngle(RealOr(s.values, 50, 0) * kDegree);
    st->setFileName(StringOr(s.values, 3).c_str());
    st->setBigFontFileName(StringOr(s.values, 4).c_str());
    rec = st;
  } else if (table_name == L"APPID" && r.type == "APPID") {
    s = SplitRecord(r, [](int c) { return c == 2; });
    rec = new AcDbRegAppTableRecord;
  } else if (table_name == L"BLOCK_RECORD" && r.type == "BLOCK_RECORD") {
    s = SplitRecord(r, [](int c) { return c == 2; });
    rec = new AcDbBlockTableRecord;
  }
  const std::wstring name = StringOf(r, 2);
  if (rec == nullptr || name.empty() || table->has(name.c_str())) {
    delete rec;
    // Kept as read, listed after the table's modelled records.
    auto* kept = new DxfUnknownObject(Wide(r.type));
    platform::acad::SetKeptGroups(*kept, AllGroups(r));
    AddRoot(kept, &r);
    kept->setOwnerId(table->objectId());
    kept->close();
    return;
  }
  rec->setName(name.c_str());
  platform::acad::SetKeptGroups(*rec, std::move(s.raw));
  if (!r.handle.isNull()) db_->setNextHandle(r.handle);
  AcDbObjectId id;
  if (table->add(id, rec) != Acad::eOk) {
    delete rec;
    throw ReadError{LineError(r.line, L"the table record \"" + name + L"\" cannot be added")};
  }
  if (!s.xdata.empty()) xdata_later_.push_back({id, s.xdata, r.line});
  rec->close();
  if (table_name == L"LTYPE") {
    if (platform::EqualsNoCase(name, L"ByLayer")) roots_.by_layer = id;
    if (platform::EqualsNoCase(name, L"ByBlock")) roots_.by_block = id;
    if (platform::EqualsNoCase(name, L"Continuous")) roots_.continuous = id;
  }
  if (table_name == L"LAYER" && name == L"0") roots_.clayer = id;
  if (table_name == L"STYLE" && platform::EqualsNoCase(name, L"Standard")) roots_.textstyle = id;
  if (table_name == L"BLOCK_RECORD") {
    if (platform::EqualsNoCase(name, L"*Model_Space")) roots_.model_space = id;
    if (platform::EqualsNoCase(name, L"*Paper_Space")) roots_.paper_space = id;
  }
}

// Tables and records every drawing has, made when the file lacks them.
void Builder::EnsureDefaults() {
  auto table = [&](AcDbObjectId* id, AcDbSymbolTable* fresh) {
    if (!id->isNull()) {
      delete fresh;
      return;
    }
    *id = AddRoot(fresh, nullptr);
    fresh->close();
  };
  table(&roots_.linetype_table, new AcDbLinetypeTable);
  table(&roots_.layer_table, new AcDbLayerTable);
  table(&roots_.text_style_table, new AcDbTextStyleTable);
  table(&roots_.regapp_table, new AcDbRegAppTable);
  table(&roots_.block_table, new AcDbBlockTable);
  auto record = [&](AcDbObjectId table_id, AcDbObjectId* id, const wchar_t* name,
                    AcDbSymbolTableRecord* fresh) {
    if (!id->isNull()) {
      delete fresh;
      return;
    }
    AcDbSymbolTable* t = nullptr;
    if (acdbOpenObject(t, table_id, AcDb::kForWrite) != Acad::eOk) {
      delete fresh;
      return;
    }
    if (t->getAt(name, *id) != Acad::eOk) {
      fresh->setName(name);
      if (t->add(*id, fresh) == Acad::eOk) {
        fresh->close();
      } else {
        delete fresh;
      }
    } else {
      delete fresh;
    }
    t->close();
  };
  record(roots_.linetype_table, &roots_.by_block, L"ByBlock", new AcDbLinetypeTableRecord);
  record(roots_.linetype_table, &roots_.by_layer, L"ByLayer", new AcDbLinetypeTableRecord);
  record(roots_.linetype_table, &roots_.continuous, L"Continuous", new AcDbLinetypeTableRecord);
  record(roots_.layer_table, &roots_.clayer, L"0", new AcDbLayerTableRecord);
  record(roots_.text_style_table, &roots_.textstyle, L"Standard", new AcDbTextStyleTableRecord);
  AcDbObjectId acad;
  record(roots_.regapp_table, &acad, L"ACAD", new AcDbRegAppTableRecord);
  record(roots_.block_table, &roots_.model_space, L"*Model_Space", new AcDbBlockTableRecord);
  record(roots_.block_table, &roots_.paper_space, L"*Paper_Space", new AcDbBlockTableRecord);
}

// ---- Names to ids ----

AcDbObjectId Builder::Lookup(AcDbObjectId table_id, const std::wstring& name) {
  // Every entity names its layer, linetype, block or style; a table looks names up one record
  // after the other, so what was found is remembered (not what was missing: it may be made).
  std::wstring key = name;
  key.push_back(L'\n');  // no name holds a line end
  key.append(reinterpret_cast<const wchar_t*>(&table_id), sizeof(table_id) / sizeof(wchar_t));
  auto it = found_.find(key);
  if (it != found_.end()) return it->second;
  AcDbSymbolTable* t = nullptr;
  AcDbObjectId id;
  if (acdbOpenObject(t, table_id, AcDb::kForRead) == Acad::eOk) {
    t->getAt(name.c_str(), id);
    t->close();
  }
  if (!id.isNull()) found_.emplace(std::move(key), id);
  return id;
}

AcDbObjectId Builder::LookupText(AcDbObjectId table_id, std::string_view name) {
  for (const NameAnswer& a : lookup_answers_)
    if (a.table == table_id && !a.id.isNull() && a.name == name) return a.id;
  AcDbObjectId id = Lookup(table_id, Wide(name));
  if (!id.isNull()) {  // as Lookup, what is missing is not remembered
    lookup_answers_[next_lookup_answer_] = NameAnswer{table_id, std::string(name), id};
    next_lookup_answer_ = (next_lookup_answer_ + 1) % lookup_answers_.size();
  }
  return id;
}

AcDbObjectId Builder::LayerText(std::string_view name, int line) {
  for (const NameAnswer& a : layer_answers_)
    if (!a.table.isNull() && a.name == name) return a.id;
  AcDbObjectId id = LayerNamed(Wide(name), line);
  layer_answers_[next_layer_answer_] = NameAnswer{roots_.layer_table, std::string(name), id};
  next_layer_answer_ = (next_layer_answer_ + 1) % layer_answers_.size();
  return id;
}

const ACHAR* Builder::WideText(std::string_view utf8) {
  bool ascii = true;
  for (char c : utf8) ascii = ascii && (c & 0x80) == 0;
  if (ascii) {
    wide_.assign(utf8.begin(), utf8.end());
  } else {
    wide_ = Wide(utf8);
  }
  return wide_.c_str();
}

AcDbObjectId Builder::LayerNamed(const std::wstring& name, int line) {
  auto it = layers_.find(name);
  if (it != layers_.end()) return it->second;
  AcDbObjectId id = Lookup(roots_.layer_table, name);
  if (id.isNull()) {
    // An entity on a layer the file lacks: the layer is made, as an audit would.
    AcDbLayerTable* t = nullptr;
    if (acdbOpenObject(t, roots_.layer_table, AcDb::kForWrite) == Acad::eOk) {
      auto* layer = new AcDbLayerTableRecord;
      layer->setName(name.c_str());
      layer->setLinetypeObjectId(roots_.continuous);
      if (t->add(id, layer) == Acad::eOk) {
        layer->close();
        result_->warnings.push_back(
            LineError(line, L"layer \"" + name + L"\" was missing and has been made"));
      } else {
        delete layer;
      }
      t->close();
    }
  }
  layers_[name] = id;
  return id;
}

}  // namespace host::dxf_in
