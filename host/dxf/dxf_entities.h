// The entity kinds the DXF reader and writer model, in one table (kDxfEntityKinds in
// dxf_entities.cpp): a row per DXF type names its reading and writing functions and the database
// class it is written for. The reader finds a record's row by its type name, the writer an
// entity's row by its class; nothing else lists the kinds. Each kind is read and written in its
// own file, host/dxf_entity_<kind>.cpp; what several kinds share stays in the reader's and the
// writer's files (common properties and text in dxf_read_entities.cpp, dxf_write_entities.cpp).
//
// To add a kind: write host/dxf_entity_<kind>.cpp with dxf_in::Read<Kind> and
// dxf_out::Write<Kind> (dxf_entity_line.cpp is the smallest example), name the two in the
// declarations below, and add the kind's row to kDxfEntityKinds. No other file changes.
#pragma once

#include <dbmain.h>

#include <initializer_list>
#include <span>
#include <string_view>

namespace host {

namespace dxf_in {
class Builder;
struct Record;
struct Split;
// Makes the entity of a record: splits the record's groups into *s (SplitRecord: s->values the
// modelled ones, s->raw the kept ones) and returns the entity, without its common properties
// (layer, colour ...) and kept groups, which the caller sets; null keeps the record as read.
using ReadEntityFn = AcDbEntity*(Builder& in, const Record& r, Split* s);
}  // namespace dxf_in

namespace dxf_out {
class EntityOut;
// Gives the entity's subclasses after AcDbEntity, each begun by out.Next(marker), and what
// follows the entity in a sequence (out.followers).
using WriteEntityFn = void(EntityOut& out, const AcDbEntity& e);
}  // namespace dxf_out

// The subclass markers the writer writes itself for a kind, which the reader leaves out of the
// kept groups where they are bare (see WithoutBareMarkers in dxf_record.h); none: every marker
// read is kept.
class DxfMarkers {
 public:
  constexpr DxfMarkers() = default;
  constexpr DxfMarkers(std::initializer_list<std::string_view> markers) {
    for (std::string_view m : markers) {
      if (count_ == kMax) throw "too many markers";  // stops the table's compilation
      names_[count_++] = m;
    }
  }
  constexpr std::span<const std::string_view> names() const { return {names_, count_}; }

 private:
  static constexpr size_t kMax = 3;
  std::string_view names_[kMax];
  size_t count_ = 0;
};

// One row of the table.
struct DxfEntityKind {
  std::string_view type;           // the DXF type name ("LINE")
  AcRxClass* (*database_class)();  // the class written as this type (AcDbLine::desc)
  dxf_in::ReadEntityFn* read;
  dxf_out::WriteEntityFn* write;
  DxfMarkers markers;
};

// The row of a DXF type name, null for a type the database does not model.
const DxfEntityKind* DxfEntityKindNamed(std::string_view type);
// The row of a database class: of the class itself, else of its nearest base class that has a
// row; null when none has (an entity the file format cannot say).
const DxfEntityKind* DxfEntityKindOf(const AcRxClass* database_class);

// Each kind's reading and writing functions, defined in its file dxf_entity_<kind>.cpp.
namespace dxf_in {
ReadEntityFn ReadLine, ReadPoint, ReadCircle, ReadArc, ReadLwpolyline, ReadText, ReadAttdef,
    ReadAttrib, ReadInsert, ReadEllipse, ReadHatch;
}  // namespace dxf_in
namespace dxf_out {
WriteEntityFn WriteLine, WritePoint, WriteCircle, WriteArc, WriteLwpolyline, WriteText, WriteAttdef,
    WriteAttrib, WriteInsert, WriteEllipse, WriteHatch;
}  // namespace dxf_out

}  // namespace host
