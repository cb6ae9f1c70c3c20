// The structure of a DXF file as it is written: sections, tables, blocks and sequences.
#include "host/dxf_write_check.h"

namespace host::dxf_out {

void StructureCheck::Record(std::string_view type) {
  if (pending_) Commit();
  current_.type.assign(type);
  handle_.clear();
  handle_set_ = false;
  pending_ = true;
}

void StructureCheck::SectionName(std::string_view name) {
  section_.assign(name);
  named_ = true;
}

bool StructureCheck::Finish() {
  if (pending_) Commit();
  if (ok() && !ended_) {
    if (in_section_) {
      Fault(L"the section " + std::wstring(section_.begin(), section_.end()) +
            L" is not closed by ENDSEC");
    } else {
      Fault(L"the file does not end with EOF");
    }
  }
  return ok();
}

std::wstring StructureCheck::Name(const Named& r) {
  std::wstring name(r.type.begin(), r.type.end());
  if (!r.handle.empty()) name += L" " + std::wstring(r.handle.begin(), r.handle.end());
  return name;
}

void StructureCheck::Fault(const std::wstring& what) {
  if (fault_.empty()) fault_ = what;
}

void StructureCheck::SequenceClosed() {
  if (sequence_ != Sequence::kNone) Fault(L"the " + Name(head_) + L" is not closed by a SEQEND");
}

void StructureCheck::Commit() {
  pending_ = false;
  if (!ok()) return;
  current_.handle = handle_;
  const Named& r = current_;
  const std::string& t = r.type;
  if (ended_) {
    Fault(L"a " + Name(r) + L" follows EOF");
    return;
  }
  if (!in_section_) {
    if (t == "SECTION") {
      // Its name came after it, before this judgement.
      in_section_ = true;
      if (!named_) Fault(L"a SECTION has no name");
      named_ = false;
    } else if (t == "EOF") {
      ended_ = true;
    } else {
      Fault(L"a " + Name(r) + L" stands outside a section");
    }
    return;
  }
  if (t == "ENDSEC" || t == "SECTION" || t == "EOF") {
    SequenceClosed();
    if (in_block_) Fault(L"the " + Name(block_) + L" is not closed by an ENDBLK");
    if (in_table_) Fault(L"the " + Name(table_) + L" is not closed by an ENDTAB");
    if (t != "ENDSEC")
      Fault(L"the section " + std::wstring(section_.begin(), section_.end()) +
            L" is not closed by ENDSEC");
    in_section_ = false;
    section_.clear();
    after_insert_ = false;
    return;
  }
  if (section_ == "ENTITIES") {
    Entity(r);
  } else if (section_ == "BLOCKS") {
    if (t == "BLOCK" || t == "ENDBLK") {
      SequenceClosed();
      after_insert_ = false;
      if (t == "BLOCK") {
        if (in_block_) Fault(L"the " + Name(block_) + L" is not closed by an ENDBLK");
        in_block_ = true;
        block_ = r;
      } else {
        if (!in_block_) Fault(L"an " + Name(r) + L" closes no BLOCK");
        in_block_ = false;
      }
    } else if (!in_block_) {
      Fault(L"a " + Name(r) + L" stands outside a block");
    } else {
      Entity(r);
    }
  } else if (section_ == "TABLES") {
    if (t == "TABLE") {
      if (in_table_) Fault(L"the " + Name(table_) + L" is not closed by an ENDTAB");
      in_table_ = true;
      table_ = r;
    } else if (t == "ENDTAB") {
      if (!in_table_) Fault(L"an " + Name(r) + L" closes no TABLE");
      in_table_ = false;
    } else if (!in_table_) {
      Fault(L"a " + Name(r) + L" stands outside a table");
    }
  }
  // The other sections hold records of no sequence (objects, classes) or none at all.
}

void StructureCheck::Entity(const Named& r) {
  const std::string& t = r.type;
  if (sequence_ != Sequence::kNone) {
    if (t == "SEQEND") {
      sequence_ = Sequence::kNone;
    } else if (!(sequence_ == Sequence::kVertices && t == "VERTEX") &&
               !(sequence_ == Sequence::kAttributes && t == "ATTRIB")) {
      SequenceClosed();
    }
    return;
  }
  const bool after_insert = after_insert_;
  after_insert_ = false;
  if (t == "SEQEND") {
    // A reference whose attributes all went may end its sequence at once.
    if (!after_insert) Fault(L"a " + Name(r) + L" follows no POLYLINE or INSERT");
  } else if (t == "ATTRIB") {
    if (after_insert) {
      sequence_ = Sequence::kAttributes;
      head_ = insert_;
    } else {
      Fault(L"an " + Name(r) + L" stands outside an INSERT");
    }
  } else if (t == "VERTEX") {
    Fault(L"a " + Name(r) + L" stands outside a POLYLINE");
  } else if (t == "POLYLINE") {
    sequence_ = Sequence::kVertices;
    head_ = r;
  } else if (t == "INSERT") {
    after_insert_ = true;
    insert_ = r;
  }
}

}  // namespace host::dxf_out
