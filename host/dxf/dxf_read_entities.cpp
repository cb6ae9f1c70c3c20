// Blocks and entities of a DXF file: what every modelled entity shares (common properties,
// text), the entities kept as read, sequences (attributes and their SEQEND), XData. Each
// modelled type is made in its own file (dxf_entity_<kind>.cpp, see dxf_entities.h).
#include "host/dxf/dxf_read_builder.h"
#include "platform/acad/kept_groups.h"

#include <acutads.h>
#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbsymtb.h>
#include "platform/acad/dbhost.h"
#include "platform/win/wide_string.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_objects.h"

namespace host::dxf_in {

// Common entity properties; returns false when the value makes no sense for the database.
void Builder::SetCommon(AcDbEntity* e, const std::vector<const Group*>& values, int line) {
  e->setLayer(LayerText(TextOr(values, 8, "0"), line));
  AcDbObjectId lt_id = LookupText(roots_.linetype_table, TextOr(values, 6, "ByLayer"));
  e->setLinetype(lt_id.isNull() ? roots_.by_layer : lt_id);
  long long colour = IntOr(values, 62, 256);
  e->setColorIndex(static_cast<Adesk::UInt16>(std::min<long long>(ColourIndexOf(colour), 256)),
                   false);
  e->setLinetypeScale(RealOr(values, 48, 1.0));
  e->setLineWeight(static_cast<AcDb::LineWeight>(
      Enumerated(IntOr(values, 370, -1), kLineWeights, AcDb::kLnWtByLayer, line, L"lineweight")));
  if (IntOr(values, 60, 0) == 1) e->setVisibility(AcDb::kInvisible);
}

int Builder::Enumerated(long long value, std::span<const int> defined, int fallback, int line,
                        const wchar_t* what) {
  for (int d : defined)
    if (value == d) return d;
  result_->warnings.push_back(LineError(line, std::wstring(what) + L" " + std::to_wstring(value) +
                                                  L" is unknown; " + std::to_wstring(fallback) +
                                                  L" is used"));
  return fallback;
}

bool Builder::CommonCode(int c) {
  return c == 8 || c == 6 || c == 62 || c == 48 || c == 370 || c == 60;
}

bool Builder::TextCode(int c) {
  return c == 10 || c == 20 || c == 30 || c == 40 || c == 1 || c == 50 || c == 41 || c == 51 ||
         c == 7 || c == 72 || c == 11 || c == 21 || c == 31 || c == 73;
}

void Builder::SetText(AcDbText* t, const std::vector<const Group*>& v, int vertical_code,
                      int line) {
  t->setPosition(PointOf(v, 10));
  double h = RealOr(v, 40, 2.5);
  if (h > 0) t->setHeight(h);
  t->setTextString(WideText(TextOr(v, 1)));
  t->setRotation(RealOr(v, 50, 0) * kDegree);
  double w = RealOr(v, 41, 1);
  if (w > 0) t->setWidthFactor(w);
  t->setOblique(RealOr(v, 51, 0) * kDegree);
  AcDbObjectId style = LookupText(roots_.text_style_table, TextOr(v, 7, "Standard"));
  t->setTextStyle(style.isNull() ? roots_.textstyle : style);
  t->setHorizontalMode(static_cast<AcDb::TextHorzMode>(
      Enumerated(IntOr(v, 72, 0), kTextHorzModes, 0, line, L"horizontal alignment")));
  t->setVerticalMode(static_cast<AcDb::TextVertMode>(
      Enumerated(IntOr(v, vertical_code, 0), kTextVertModes, 0, line, L"vertical alignment")));
  if (Find(v, 11) != nullptr) t->setAlignmentPoint(PointOf(v, 11));
}

AcDbEntity* Builder::MakeEntity(const Record& r, Split* s, const DxfEntityKind** kind) {
  *kind = DxfEntityKindNamed(r.type);
  return *kind != nullptr ? (*kind)->read(*this, r, s) : nullptr;
}

void Builder::SetXDataOf(AcDbObject* obj, std::span<const Group> xdata, int line,
                         std::vector<std::wstring>* warnings) {
  if (xdata.empty()) return;
  const PreparedXData* prepared = PreparedFor(xdata);
  const platform::acad::XDataBuilder* made = &xdata_items_;
  bool items = false;
  if (prepared != nullptr) {
    made = &prepared->items;
    items = prepared->ok;
  } else {
    xdata_items_.Clear();
    items = AddXData(xdata, &xdata_items_);
  }
  Acad::ErrorStatus es = items ? platform::acad::SetXData(obj, *made) : Acad::eInvalidInput;
  if (es != Acad::eOk) {
    // Kept as groups when the database refuses it (size, unknown application).
    const auto kept = platform::acad::KeptGroups(*obj);
    std::vector<platform::acad::RawGroup> raw(kept.begin(), kept.end());
    for (const Group& g : xdata) raw.push_back(platform::acad::RawGroup{g.code, Kept(g)});
    platform::acad::SetKeptGroups(*obj, std::move(raw));
    warnings->push_back(LineError(line, L"XData kept as read: the drawing refuses it as XData"));
  }
}

void Builder::ApplyXData(const Pending& p, std::vector<std::wstring>* warnings) {
  if (p.xdata.empty()) return;
  AcDbObject* obj = nullptr;
  if (acdbOpenObject(obj, p.id, AcDb::kForWrite) != Acad::eOk) return;
  SetXDataOf(obj, p.xdata, p.line, warnings);
  obj->close();
}

const PreparedXData* Builder::PreparedFor(std::span<const Group> xdata) {
  if (xdata.empty()) return nullptr;
  for (size_t i = prepared_next_; i < prepared_.size(); ++i) {
    if (prepared_[i].first == xdata.data()) {
      prepared_next_ = i + 1;
      return &prepared_[i];
    }
  }
  return nullptr;
}

bool Builder::AppendKept(AcDbBlockTableRecord* btr, DxfUnknownEntity* kept, std::string_view layer,
                         AcDbHandle handle, int line) {
  // The layer first: one the file lacks is made here, and must not take the entity's handle.
  kept->setLayer(LayerText(layer, line));
  kept->setLinetype(roots_.by_layer);
  if (!handle.isNull()) db_->setNextHandle(handle);
  AcDbObjectId id;
  if (btr->appendAcDbEntity(id, kept) != Acad::eOk) {
    delete kept;
    return false;
  }
  kept->close();
  return true;
}

// Appends the entities of a run of records to the block. The entities that follow a sequence's
// head belong to it: the ATTRIB entities and SEQEND of a block reference become its attributes
// and end mark; those of a POLYLINE (VERTEX, SEQEND), and of a reference the drawing cannot
// model, are kept as read right behind their head, so that the file gets its sequence back
// whole. A sequence the file does not close gets its SEQEND; a VERTEX, ATTRIB or SEQEND outside
// any sequence is left out: written back, either would make the file unreadable.
void Builder::AddEntities(AcDbObjectId block_id, const std::vector<Record>& records, size_t from,
                          size_t to) {
  AcDbBlockTableRecord* btr = nullptr;
  if (acdbOpenObject(btr, block_id, AcDb::kForWrite) != Acad::eOk) return;
  AcDbBlockReference* open_ref = nullptr;
  auto end_ref = [&]() {
    if (open_ref != nullptr) open_ref->close();
    open_ref = nullptr;
  };
  // The head of a sequence kept as read, while its entities come: its record, and the entity
  // type it holds ("VERTEX" or "ATTRIB").
  const Record* kept_head = nullptr;
  std::string_view kept_follower;
  auto keep = [&](const Record& r) {
    auto* kept = new DxfUnknownEntity(Wide(r.type));
    SplitRecord(
        r, [](int c) { return c == 8; }, &split_);
    platform::acad::SetKeptGroups(*kept, AllGroups(r));
    return AppendKept(btr, kept, TextOr(split_.values, 8, "0"), r.handle, r.line);
  };
  auto end_kept = [&]() {
    if (kept_head == nullptr) return;
    result_->warnings.push_back(
        LineError(kept_head->line, Wide(kept_head->type) + L" without its SEQEND: one is added"));
    auto* seqend = new DxfUnknownEntity(L"SEQEND");
    std::vector<platform::acad::RawGroup> groups;
    if (!kept_head->handle.isNull())
      groups.push_back(platform::acad::RawGroup{330, Kept(HexText(kept_head->handle))});
    groups.push_back(platform::acad::RawGroup{100, Kept("AcDbEntity")});
    groups.push_back(platform::acad::RawGroup{8, Kept("0")});
    platform::acad::SetKeptGroups(*seqend, std::move(groups));
    AppendKept(btr, seqend, "0", AcDbHandle(), kept_head->line);
    kept_head = nullptr;
  };
  auto fail = [&](const Record& r, const wchar_t* what) {
    end_ref();
    btr->close();
    throw ReadError{LineError(r.line, what)};
  };
  for (size_t i = from; i < to; ++i) {
    const Record& r = records[i];
    // The marks of a block's start and end are no entities: kept as one, a mark would be written
    // among a block's entities and end the block early when read again.
    if (r.type == "BLOCK" || r.type == "ENDBLK") {
      result_->warnings.push_back(LineError(r.line, Wide(r.type) + L" outside its place left out"));
      continue;
    }
    if (kept_head != nullptr) {
      if (r.type == "SEQEND" || r.type == kept_follower) {
        if (!keep(r)) fail(r, L"the entity cannot be added");
        if (r.type == "SEQEND") kept_head = nullptr;
        continue;
      }
      end_kept();
    }
    if (open_ref != nullptr && (r.type == "SEQEND" || r.type == "ATTRIB")) {
      if (r.type == "SEQEND") {
        auto* seqend = new DxfUnknownObject(L"SEQEND");
        // Most are exactly what the writer makes of a SEQEND without kept groups, with the
        // reference or another object (its block, as some writers have it) as owner: a large
        // floor has one per element, so only the others keep theirs.
        AcDbHandle owner;
        const bool plain = r.groups.size() == 4 && r.groups[0].code == 5 &&
                           IsWrittenHandle(r.groups[0].text, r.handle) && r.groups[1].code == 330 &&
                           IsWrittenHandle(r.groups[1].text, &owner) && r.groups[2].code == 100 &&
                           r.groups[2].text == "AcDbEntity" && r.groups[3].code == 8 &&
                           r.groups[3].text == "0";
        if (!plain) {
          platform::acad::SetKeptGroups(*seqend, AllGroups(r));
        } else if (owner != open_ref->objectId().handle()) {
          seqend->setWrittenOwner(owner);
        }
        AddRoot(seqend, &r);
        seqend->setOwnerId(open_ref->objectId());
        seqend->close();
        end_ref();
        continue;
      }
      Split& s = split_;
      const DxfEntityKind* kind = nullptr;
      AcDbEntity* made = MakeEntity(r, &s, &kind);
      auto* attr = AcDbAttribute::cast(made);
      if (attr == nullptr) {
        delete made;
        fail(r, L"the attribute cannot be read");
      }
      SetCommon(attr, s.values, r.line);
      platform::acad::SetKeptGroups(*attr, WithoutBareMarkers(s.raw, kind->markers.names()));
      if (!r.handle.isNull()) db_->setNextHandle(r.handle);
      AcDbObjectId id;
      if (open_ref->appendAttribute(id, attr) != Acad::eOk) {
        delete attr;
        fail(r, L"the attribute cannot be added");
      }
      // Set while the attribute is open and in the cache still.
      SetXDataOf(attr, s.xdata, r.line, &xdata_warnings_);
      attr->close();
      continue;
    }
    end_ref();
    if (DxfFollowsInSequence(r.type)) {
      result_->warnings.push_back(LineError(
          r.line,
          Wide(r.type) + (r.type == "VERTEX"   ? L" without a POLYLINE left out"
                          : r.type == "ATTRIB" ? L" without an INSERT left out"
                                               : L" without a POLYLINE or INSERT left out")));
      continue;
    }
    Split& s = split_;
    const DxfEntityKind* kind = nullptr;
    AcDbEntity* e = MakeEntity(r, &s, &kind);
    if (e == nullptr) {
      // Kept as read; a POLYLINE, or a reference whose attributes follow, heads a sequence.
      const bool attributes_follow = r.type == "INSERT" && IntOr(s.values, 66, 0) == 1;
      if (!keep(r)) fail(r, L"the entity cannot be added");
      if (r.type == "POLYLINE" || attributes_follow) {
        kept_head = &r;
        kept_follower = attributes_follow ? "ATTRIB" : "VERTEX";
      }
      continue;
    }
    SetCommon(e, s.values, r.line);
    platform::acad::SetKeptGroups(*e, WithoutBareMarkers(s.raw, kind->markers.names()));
    if (!r.handle.isNull()) db_->setNextHandle(r.handle);
    AcDbObjectId id;
    if (btr->appendAcDbEntity(id, e) != Acad::eOk) {
      delete e;
      fail(r, L"the entity cannot be added");
    }
    SetXDataOf(e, s.xdata, r.line, &xdata_warnings_);
    auto* ref = AcDbBlockReference::cast(e);
    if (ref != nullptr) references_.push_back({btr->objectId(), ref->blockTableRecord(), r.line});
    if (ref != nullptr && IntOr(s.values, 66, 0) == 1) {
      open_ref = ref;
    } else {
      e->close();
    }
  }
  end_ref();
  end_kept();
  btr->close();
}

// ---- Blocks ----

void Builder::ReadBlocks() {
  const auto& b = file_.blocks;
  size_t i = 0;
  while (i < b.size()) {
    const Record& head = b[i];
    if (head.type != "BLOCK")
      throw ReadError{
          LineError(head.line, L"BLOCK was expected, found \"" + Wide(head.type) + L"\"")};
    size_t j = i + 1;
    while (j < b.size() && b[j].type != "ENDBLK") ++j;
    if (j >= b.size()) throw ReadError{LineError(head.line, L"the block has no ENDBLK")};
    const std::wstring name = StringOf(head, 2);
    AcDbObjectId btr_id = Lookup(roots_.block_table, name);
    if (btr_id.isNull()) {
      // A block without its record (older writers): the record is made.
      AcDbBlockTable* table = nullptr;
      if (acdbOpenObject(table, roots_.block_table, AcDb::kForWrite) == Acad::eOk) {
        auto* btr = new AcDbBlockTableRecord;
        if (btr->setName(name.c_str()) == Acad::eOk && table->add(btr_id, btr) == Acad::eOk) {
          btr->close();
        } else {
          delete btr;
        }
        table->close();
      }
      if (btr_id.isNull())
        throw ReadError{LineError(head.line, L"the block \"" + name + L"\" cannot be made")};
    }
    AcDbBlockTableRecord* btr = nullptr;
    if (acdbOpenObject(btr, btr_id, AcDb::kForWrite) == Acad::eOk) {
      Split s = SplitRecord(head, [](int c) { return c == 10 || c == 20 || c == 30; });
      btr->setOrigin(PointOf(s.values, 10));
      btr->close();
    }
    for (size_t k : {i, j}) {
      auto* kept = new DxfUnknownObject(Wide(b[k].type));
      platform::acad::SetKeptGroups(*kept, AllGroups(b[k]));
      AddRoot(kept, &b[k]);
      kept->setOwnerId(btr_id);
      kept->close();
    }
    AddEntities(btr_id, b, i + 1, j);
    i = j + 1;
  }
}

}  // namespace host::dxf_in
