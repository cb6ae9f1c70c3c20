// The check of the structure a DXF writer puts out, made as the records go by.
//
// A save must never turn a drawing that opened into a file that no program opens again. Readers
// take a DXF file's records by their structure: sections between SECTION and ENDSEC, table
// records between TABLE and ENDTAB, a block's entities between BLOCK and ENDBLK, and the
// sequences of the entities: a POLYLINE's VERTEX entities, and the ATTRIB entities after an
// INSERT, each run closed by a SEQEND. One SEQEND missing, or one too many, and a reader stops
// there. The writer tells this check every record it writes, in order; the first fault is kept
// and names the record, so that a save can refuse to replace the file before anything is lost.
//
// The check costs a few comparisons a record and keeps nothing of most records: the writer's
// formatting is most of a save.
#pragma once

#include <string>
#include <string_view>

namespace host::dxf_out {

class StructureCheck {
 public:
  // A record begins: its type (the value of its 0 group, SECTION and ENDSEC included).
  void Record(std::string_view type);
  // The name of the section that the last SECTION opened (its 2 group).
  void SectionName(std::string_view name) {
    section_name_.assign(name);
    section_ = KindOf(name);
    named_ = true;
  }
  // A handle group (5) of the record that began last; the first one counts.
  void Handle(std::string_view hex) {
    if (handle_seen_) return;
    handle_seen_ = true;
    if (handle_slot_ != nullptr) handle_slot_->assign(hex);
    if (fault_waits_for_handle_) NameFaultsHandle(hex);
  }
  // The file is complete: EOF written last, nothing left open. False when a fault was found.
  bool Finish();

  bool ok() const { return fault_.empty(); }
  // The first fault, as "the POLYLINE 2A is not closed by a SEQEND"; empty while none.
  const std::wstring& fault() const { return fault_; }

  // The record types and section names that the structure is made of.
  enum class Kind {
    kOther,
    kSection,
    kEndSection,
    kEof,
    kTable,
    kEndTable,
    kBlock,
    kEndBlock,
    kPolyline,
    kVertex,
    kInsert,
    kAttribute,
    kSequenceEnd,
    kEntitiesSection,
    kBlocksSection,
    kTablesSection,
  };

 private:
  enum class Sequence { kNone, kVertices, kAttributes };
  static Kind KindOf(std::string_view name);
  static std::wstring TypeOf(Kind kind);

  void Entity(Kind kind, std::string_view type);
  // Faults when a sequence is open.
  void SequenceClosed();
  // The fault about a record whose handle is known: "the POLYLINE 2A" + what.
  void FaultAbout(Kind kind, const std::string& handle, const wchar_t* what);
  // The fault about the record that began last (`before` + its type + its handle, when one
  // follows, + `after`).
  void FaultHere(const wchar_t* before, std::string_view type, const wchar_t* after);
  void NameFaultsHandle(std::string_view hex);
  // Ends a fault that waited for its record's handle.
  void CompleteFault();
  void SectionNotClosed();

  bool handle_seen_ = false;
  std::string* handle_slot_ = nullptr;  // where the handle of the record that began goes
  bool fault_waits_for_handle_ = false;
  std::wstring fault_after_;  // the end of a fault that waits for its record's handle

  bool in_section_ = false, named_ = false, ended_ = false;
  Kind section_ = Kind::kOther;  // of the section open
  std::string section_name_;
  bool in_block_ = false, in_table_ = false;
  std::string block_, table_, polyline_, insert_;  // their handles
  Sequence sequence_ = Sequence::kNone;
  bool after_insert_ = false;
  std::wstring fault_;
};

}  // namespace host::dxf_out
