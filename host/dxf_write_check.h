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
// The check costs a few comparisons a record: the writer's formatting is most of a save.
#pragma once

#include <string>
#include <string_view>

namespace host::dxf_out {

class StructureCheck {
 public:
  // A record begins: its type (the value of its 0 group, SECTION and ENDSEC included).
  void Record(std::string_view type);
  // The name of the section that the last SECTION opened (its 2 group).
  void SectionName(std::string_view name);
  // A handle group (5) of the record that began last; the first one counts.
  void Handle(std::string_view hex) {
    if (!handle_set_) {
      handle_.assign(hex);
      handle_set_ = true;
    }
  }
  // The file is complete: EOF written last, nothing left open. False when a fault was found.
  bool Finish();

  bool ok() const { return fault_.empty(); }
  // The first fault, as "the POLYLINE 2A is not closed by a SEQEND"; empty while none.
  const std::wstring& fault() const { return fault_; }

 private:
  struct Named {
    std::string type, handle;
  };
  enum class Sequence { kNone, kVertices, kAttributes };

  // Judges the record that began last, now that its handle is known.
  void Commit();
  void Entity(const Named& r);
  // Faults when a sequence is open (`at` is the record that came instead of its SEQEND).
  void SequenceClosed();
  void Fault(const std::wstring& what);
  static std::wstring Name(const Named& r);

  Named current_;  // the record that began last
  std::string handle_;
  bool handle_set_ = false;
  bool pending_ = false;  // current_ has not been judged yet

  bool in_section_ = false, named_ = false, ended_ = false;
  std::string section_;
  bool in_block_ = false, in_table_ = false;
  Named block_, table_;
  Sequence sequence_ = Sequence::kNone;
  Named head_;  // the sequence's POLYLINE or INSERT
  bool after_insert_ = false;
  Named insert_;
  std::wstring fault_;
};

}  // namespace host::dxf_out
