// The structure of a DXF file as it is written: sections, tables, blocks and sequences.
//
// Each record is judged when it begins, by its kind alone: a large floor's file has some half a
// million records, and nothing of most of them is kept. Only the handles of the records that
// open something (a table, a block, a sequence) are kept, for a fault that names them later; a
// fault about the record that begins waits for its handle, which the writer puts out next.
#include "host/dxf/dxf_write_check.h"

namespace host::dxf_out {

namespace {

struct KindName {
  StructureCheck::Kind kind;
  std::string_view name;
};

// The names of the records and sections the structure is made of.
constexpr KindName kKindNames[] = {
    {StructureCheck::Kind::kSection, "SECTION"},   {StructureCheck::Kind::kEndSection, "ENDSEC"},
    {StructureCheck::Kind::kEof, "EOF"},           {StructureCheck::Kind::kTable, "TABLE"},
    {StructureCheck::Kind::kEndTable, "ENDTAB"},   {StructureCheck::Kind::kBlock, "BLOCK"},
    {StructureCheck::Kind::kEndBlock, "ENDBLK"},   {StructureCheck::Kind::kPolyline, "POLYLINE"},
    {StructureCheck::Kind::kVertex, "VERTEX"},     {StructureCheck::Kind::kInsert, "INSERT"},
    {StructureCheck::Kind::kAttribute, "ATTRIB"},  {StructureCheck::Kind::kSequenceEnd, "SEQEND"},
    {StructureCheck::Kind::kEntitiesSection, "ENTITIES"},
    {StructureCheck::Kind::kBlocksSection, "BLOCKS"},
    {StructureCheck::Kind::kTablesSection, "TABLES"},
};

}  // namespace

StructureCheck::Kind StructureCheck::KindOf(std::string_view name) {
  // Most records are none of these: their first letter tells it mostly.
  for (const KindName& k : kKindNames)
    if (!name.empty() && k.name[0] == name[0] && k.name == name) return k.kind;
  return Kind::kOther;
}

std::wstring StructureCheck::TypeOf(Kind kind) {
  for (const KindName& k : kKindNames)
    if (k.kind == kind) return std::wstring(k.name.begin(), k.name.end());
  return L"";
}

void StructureCheck::FaultAbout(Kind kind, const std::string& handle, const wchar_t* what) {
  if (!ok()) return;
  fault_ = L"the " + TypeOf(kind);
  if (!handle.empty()) fault_ += L" " + std::wstring(handle.begin(), handle.end());
  fault_ += what;
}

void StructureCheck::FaultHere(const wchar_t* before, std::string_view type,
                               const wchar_t* after) {
  if (!ok()) return;
  fault_ = before;
  fault_ += std::wstring(type.begin(), type.end());
  fault_after_ = after;
  fault_waits_for_handle_ = true;
}

void StructureCheck::NameFaultsHandle(std::string_view hex) {
  fault_ += L" " + std::wstring(hex.begin(), hex.end());
}

void StructureCheck::SequenceClosed() {
  if (sequence_ == Sequence::kVertices)
    FaultAbout(Kind::kPolyline, polyline_, L" is not closed by a SEQEND");
  if (sequence_ == Sequence::kAttributes)
    FaultAbout(Kind::kInsert, insert_, L" is not closed by a SEQEND");
}

void StructureCheck::CompleteFault() {
  if (!fault_waits_for_handle_) return;
  fault_ += fault_after_;
  fault_waits_for_handle_ = false;
}

void StructureCheck::SectionNotClosed() {
  if (ok())
    fault_ = L"the section " + std::wstring(section_name_.begin(), section_name_.end()) +
             L" is not closed by ENDSEC";
}

void StructureCheck::Record(std::string_view type) {
  // The fault about the record before is complete, with its handle or without.
  CompleteFault();
  handle_seen_ = false;
  handle_slot_ = nullptr;
  if (!ok()) return;
  const Kind kind = KindOf(type);
  if (ended_) {
    FaultHere(L"a ", type, L" follows EOF");
    return;
  }
  if (!in_section_) {
    if (kind == Kind::kSection) {
      // Its name follows (SectionName).
      in_section_ = true;
      named_ = false;
      section_ = Kind::kOther;
      section_name_.clear();
    } else if (kind == Kind::kEof) {
      ended_ = true;
    } else {
      FaultHere(L"a ", type, L" stands outside a section");
    }
    return;
  }
  if (!named_) {
    fault_ = L"a SECTION has no name";
    return;
  }
  if (kind == Kind::kEndSection || kind == Kind::kSection || kind == Kind::kEof) {
    SequenceClosed();
    if (in_block_) FaultAbout(Kind::kBlock, block_, L" is not closed by an ENDBLK");
    if (in_table_) FaultAbout(Kind::kTable, table_, L" is not closed by an ENDTAB");
    if (kind != Kind::kEndSection) SectionNotClosed();
    in_section_ = false;
    in_block_ = in_table_ = after_insert_ = false;
    sequence_ = Sequence::kNone;
    return;
  }
  switch (section_) {
    case Kind::kEntitiesSection:
      Entity(kind, type);
      break;
    case Kind::kBlocksSection:
      if (kind == Kind::kBlock || kind == Kind::kEndBlock) {
        SequenceClosed();
        after_insert_ = false;
        if (kind == Kind::kBlock) {
          if (in_block_) FaultAbout(Kind::kBlock, block_, L" is not closed by an ENDBLK");
          in_block_ = true;
          block_.clear();
          handle_slot_ = &block_;
        } else {
          if (!in_block_) FaultHere(L"an ", type, L" closes no BLOCK");
          in_block_ = false;
        }
      } else if (!in_block_) {
        FaultHere(L"a ", type, L" stands outside a block");
      } else {
        Entity(kind, type);
      }
      break;
    case Kind::kTablesSection:
      if (kind == Kind::kTable) {
        if (in_table_) FaultAbout(Kind::kTable, table_, L" is not closed by an ENDTAB");
        in_table_ = true;
        table_.clear();
        handle_slot_ = &table_;
      } else if (kind == Kind::kEndTable) {
        if (!in_table_) FaultHere(L"an ", type, L" closes no TABLE");
        in_table_ = false;
      } else if (!in_table_) {
        FaultHere(L"a ", type, L" stands outside a table");
      }
      break;
    default:
      // The other sections hold records of no sequence (objects, classes) or none at all.
      break;
  }
}

bool StructureCheck::Finish() {
  CompleteFault();
  if (ok() && !ended_) {
    if (in_section_) {
      SectionNotClosed();
    } else {
      fault_ = L"the file does not end with EOF";
    }
  }
  return ok();
}

void StructureCheck::Entity(Kind kind, std::string_view type) {
  if (sequence_ != Sequence::kNone) {
    if (kind == Kind::kSequenceEnd) {
      sequence_ = Sequence::kNone;
    } else if (!(sequence_ == Sequence::kVertices && kind == Kind::kVertex) &&
               !(sequence_ == Sequence::kAttributes && kind == Kind::kAttribute)) {
      SequenceClosed();
    }
    return;
  }
  const bool after_insert = after_insert_;
  after_insert_ = false;
  switch (kind) {
    case Kind::kSequenceEnd:
      // A reference whose attributes all went may end its sequence at once.
      if (!after_insert) FaultHere(L"a ", type, L" follows no POLYLINE or INSERT");
      break;
    case Kind::kAttribute:
      if (after_insert) {
        sequence_ = Sequence::kAttributes;
      } else {
        FaultHere(L"an ", type, L" stands outside an INSERT");
      }
      break;
    case Kind::kVertex:
      FaultHere(L"a ", type, L" stands outside a POLYLINE");
      break;
    case Kind::kPolyline:
      sequence_ = Sequence::kVertices;
      polyline_.clear();
      handle_slot_ = &polyline_;
      break;
    case Kind::kInsert:
      after_insert_ = true;
      insert_.clear();
      handle_slot_ = &insert_;
      break;
    default:
      break;
  }
}

}  // namespace host::dxf_out
