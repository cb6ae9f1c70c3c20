// What a DXF drawing holds beyond the database's own classes: objects and entities kept as
// their groups, and the group-code rules that the DXF reader and writer share.
//
// The kept groups of a modelled object (platform::acad::KeptGroups) are written back in their
// subclass. A kept group with a negative code is no group of the file: it holds the text the
// modelled group of the positive code had (an angle in degrees that the database holds in radians),
// which the writer gives back while the value is unchanged.
#pragma once

#include <dbmain.h>

#include <string>
#include <string_view>
#include <vector>

namespace host {

// A DXF type name of kept objects and entities, held once for the whole program: a large floor
// keeps a SEQEND for each of its elements, and a name of their own cost each of them 72 bytes.
const std::wstring* DxfTypeName(std::wstring name);

// An object of a type the database does not model (an XRECORD, a LAYOUT, a table record of a
// table it does not model, the BLOCK and ENDBLK of a block, the SEQEND of a block reference).
// Its groups, handle included, are kept (platform::acad::KeptGroups) exactly as read, and written
// back so; an empty list means "made here": the writer builds the groups itself (BLOCK, ENDBLK,
// SEQEND).
class DxfUnknownObject : public AcDbObject {
  ACRX_DECLARE_MEMBERS(DxfUnknownObject);
  ACDB_DECLARE_COPYING(DxfUnknownObject);

 public:
  DxfUnknownObject() = default;
  explicit DxfUnknownObject(std::wstring dxf_name) : dxf_name_(DxfTypeName(std::move(dxf_name))) {}
  // The DXF type ("XRECORD", "TABLE", "BLOCK", ...).
  const std::wstring& dxfName() const { return *dxf_name_; }
  // For a table: its records, in file order.
  std::vector<AcDbObjectId>& children() { return children_; }
  const std::vector<AcDbObjectId>& children() const { return children_; }
  // For a SEQEND made by the writer's rules from what was read, the owner its file named when
  // that was not its head (some writers name the block that holds the head): null for the head.
  AcDbHandle writtenOwner() const { return written_owner_; }
  void setWrittenOwner(AcDbHandle owner) { written_owner_ = owner; }

 private:
  const std::wstring* dxf_name_ = DxfTypeName(L"");
  std::vector<AcDbObjectId> children_;
  AcDbHandle written_owner_;
};

// An entity of a type the database does not model (MTEXT, SPLINE, DIMENSION, a pattern hatch
// ...): kept in its block in drawing order with all its groups; only its layer is known to the
// database (for display and selection by layer).
class DxfUnknownEntity : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(DxfUnknownEntity);
  ACDB_DECLARE_COPYING(DxfUnknownEntity);

 public:
  DxfUnknownEntity() = default;
  explicit DxfUnknownEntity(std::wstring dxf_name) : dxf_name_(DxfTypeName(std::move(dxf_name))) {}
  const std::wstring& dxfName() const { return *dxf_name_; }

 private:
  const std::wstring* dxf_name_ = DxfTypeName(L"");
};

// The sections the database does not model (CLASSES, THUMBNAILIMAGE, ACDSDATA, others) are kept
// in the database's kept header groups, after its variables, each as a group kDxfSectionStart
// with the section's name, its groups, and a group kDxfSectionEnd. The writer gives CLASSES back
// in its place and the others after OBJECTS, in the order read.
constexpr int kDxfSectionStart = -1;
constexpr int kDxfSectionEnd = -2;

// What the value of a group code is, by the ranges of the DXF reference.
enum class DxfValueType { kString, kReal, kInteger, kHandle };
DxfValueType DxfTypeOfCode(int code);

// True for the entity types that follow the head of a sequence (a POLYLINE's VERTEX entities, an
// INSERT's ATTRIB entities) and end it (SEQEND): they belong where their head is.
bool DxfFollowsInSequence(std::string_view type);
bool DxfFollowsInSequence(std::wstring_view type);

// The value of a header variable kept as read ("$INSUNITS" → "4"), empty when absent.
std::wstring DxfHeaderValue(const AcDbDatabase& db, const std::wstring& name);

}  // namespace host
