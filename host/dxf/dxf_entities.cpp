// The table of the entity kinds the DXF reader and writer model (see dxf_entities.h), and the
// look-ups the two dispatch by.
#include "host/dxf/dxf_entities.h"

#include <dbelipse.h>
#include <dbents.h>
#include <dbhatch.h>
#include <dbpl.h>

#include <array>
#include <cstdint>

namespace host {

namespace {

using namespace dxf_in;
using namespace dxf_out;

// One row per kind, in no order that matters: a type name is in one row only, and the writer
// looks for an object's own class before its bases (ATTDEF and ATTRIB before TEXT, their base).
//
// The markers are those the kind's writer writes itself, which the reader leaves out where they
// are bare (WithoutBareMarkers); hatches keep every marker read, put in their places among the
// hatch's kept groups by their reader.
// clang-format off
constexpr DxfEntityKind kDxfEntityKinds[] = {
    // type        database class                  read            write
    //     the markers the reader leaves out
    {"LINE",       &AcDbLine::desc,                ReadLine,       WriteLine,
         {"AcDbEntity", "AcDbLine"}},
    {"POINT",      &AcDbPoint::desc,               ReadPoint,      WritePoint,
         {"AcDbEntity", "AcDbPoint"}},
    {"CIRCLE",     &AcDbCircle::desc,              ReadCircle,     WriteCircle,
         {"AcDbEntity", "AcDbCircle"}},
    {"ARC",        &AcDbArc::desc,                 ReadArc,        WriteArc,
         {"AcDbEntity", "AcDbCircle", "AcDbArc"}},
    {"LWPOLYLINE", &AcDbPolyline::desc,            ReadLwpolyline, WriteLwpolyline,
         {"AcDbEntity", "AcDbPolyline"}},
    {"TEXT",       &AcDbText::desc,                ReadText,       WriteText,
         {"AcDbEntity", "AcDbText"}},
    {"ATTDEF",     &AcDbAttributeDefinition::desc, ReadAttdef,     WriteAttdef,
         {"AcDbEntity", "AcDbText", "AcDbAttributeDefinition"}},
    {"ATTRIB",     &AcDbAttribute::desc,           ReadAttrib,     WriteAttrib,
         {"AcDbEntity", "AcDbText", "AcDbAttribute"}},
    {"INSERT",     &AcDbBlockReference::desc,      ReadInsert,     WriteInsert,
         {"AcDbEntity", "AcDbBlockReference"}},
    {"ELLIPSE",    &AcDbEllipse::desc,             ReadEllipse,    WriteEllipse,
         {"AcDbEntity", "AcDbEllipse"}},
    {"HATCH",      &AcDbHatch::desc,               ReadHatch,      WriteHatch,
         {}},
};
// clang-format on
constexpr size_t kKinds = std::size(kDxfEntityKinds);

// ---- By type name: a small open-addressed hash of the names, made by the compiler ----

constexpr size_t kSlots = 32;  // a power of two, with room to spare
static_assert(kKinds < kSlots, "the hash needs an empty slot");

// The first and last letters and the length: the modelled names each get a slot of their own,
// and SEQEND, VERTEX, POLYLINE and MTEXT, the most common others, an empty one (one probe each).
// A name added later may share a slot; it then takes the next free one.
constexpr size_t SlotOf(std::string_view type) {
  const auto first = static_cast<unsigned char>(type.front());
  const auto last = static_cast<unsigned char>(type.back());
  return (first + last + 6 * type.size()) & (kSlots - 1);
}

constexpr std::array<int8_t, kSlots> MakeSlots() {
  std::array<int8_t, kSlots> slots{};
  for (int8_t& s : slots) s = -1;
  for (size_t k = 0; k < kKinds; ++k) {
    const std::string_view type = kDxfEntityKinds[k].type;
    if (type.empty()) throw "a kind without its type name";
    for (size_t j = 0; j < k; ++j)
      if (kDxfEntityKinds[j].type == type) throw "a type name in two rows";
    size_t i = SlotOf(type);
    while (slots[i] >= 0) i = (i + 1) & (kSlots - 1);
    slots[i] = static_cast<int8_t>(k);
  }
  return slots;
}
constexpr std::array<int8_t, kSlots> kSlotsByName = MakeSlots();

}  // namespace

const DxfEntityKind* DxfEntityKindNamed(std::string_view type) {
  if (type.empty()) return nullptr;
  for (size_t i = SlotOf(type);; i = (i + 1) & (kSlots - 1)) {
    const int k = kSlotsByName[i];
    if (k < 0) return nullptr;
    if (kDxfEntityKinds[k].type == type) return &kDxfEntityKinds[k];
  }
}

// ---- By database class ----

const DxfEntityKind* DxfEntityKindOf(const AcRxClass* database_class) {
  // The classes of the rows, asked for once.
  static const std::array<const AcRxClass*, kKinds> classes = [] {
    std::array<const AcRxClass*, kKinds> c{};
    for (size_t k = 0; k < kKinds; ++k) c[k] = kDxfEntityKinds[k].database_class();
    return c;
  }();
  for (const AcRxClass* c = database_class; c != nullptr; c = c->myParent())
    for (size_t k = 0; k < kKinds; ++k)
      if (classes[k] == c) return &kDxfEntityKinds[k];
  return nullptr;
}

}  // namespace host
