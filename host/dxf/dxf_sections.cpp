// Groups to sections and records.
#include "host/dxf/dxf_sections.h"

namespace host::dxf_in {

size_t ReadRecordsAt(std::span<const Group> g, size_t pos, std::vector<Record>* out) {
  while (pos < g.size()) {
    const Group& head = g[pos];
    if (head.code != 0)
      throw ReadError{
          LineError(head.line, L"group 0 was expected, found group " + std::to_wstring(head.code))};
    if (head.text == "ENDSEC" || head.text == "EOF" || head.text == "SECTION") {
      if (head.text != "ENDSEC")
        throw ReadError{
            LineError(head.line, Wide(head) + L" inside a section (ENDSEC missing)")};
      return pos;
    }
    Record r;
    r.type = head.text;
    r.line = head.line;
    ++pos;
    const size_t first = pos;
    bool in_app_group = false;
    while (pos < g.size() && g[pos].code != 0) {
      const Group& group = g[pos];
      if (group.code == 102) in_app_group = group.text.size() > 0 && group.text[0] == '{';
      if ((group.code == 5 || (group.code == 105 && r.type == "DIMSTYLE")) && r.handle.isNull())
        r.handle = Handle(group);
      if (group.code == 330 && !in_app_group && r.owner.isNull()) r.owner = Handle(group);
      ++pos;
    }
    r.groups = g.subspan(first, pos - first);
    out->push_back(std::move(r));
  }
  return pos;
}

namespace {

class Parser {
 public:
  explicit Parser(std::vector<Group> groups) : g_(std::move(groups)) {}

  DxfFile Parse() {
    DxfFile file;
    bool seen_eof = false;
    while (pos_ < g_.size()) {
      const Group& head = g_[pos_];
      if (head.code != 0)
        throw ReadError{LineError(
            head.line, L"group 0 was expected, found group " + std::to_wstring(head.code))};
      if (head.text == "EOF") {
        seen_eof = true;
        break;
      }
      if (head.text != "SECTION")
        throw ReadError{
            LineError(head.line, L"SECTION was expected, found \"" + Wide(head) + L"\"")};
      ++pos_;
      if (pos_ >= g_.size() || g_[pos_].code != 2)
        throw ReadError{LineError(head.line, L"the section has no name")};
      const std::string_view name = g_[pos_].text;
      ++pos_;
      if (name == "HEADER") {
        while (pos_ < g_.size() && g_[pos_].code != 0) file.header.push_back(g_[pos_++]);
      } else if (name == "TABLES") {
        ReadRecords(&file.tables);
      } else if (name == "BLOCKS") {
        ReadRecords(&file.blocks);
      } else if (name == "ENTITIES") {
        ReadRecords(&file.entities);
      } else if (name == "OBJECTS") {
        ReadRecords(&file.objects);
      } else {
        // Kept whole, whatever it holds: a preview (a byte count, then lines of hex), the data
        // store of newer drawings (flags before its first record), classes, sections of others.
        const size_t first = pos_;
        while (pos_ < g_.size() &&
               !(g_[pos_].code == 0 && (g_[pos_].text == "ENDSEC" || g_[pos_].text == "EOF" ||
                                        g_[pos_].text == "SECTION")))
          ++pos_;
        // A section begun inside another cannot be told from a missing ENDSEC: written back,
        // it would end in a file that no reader opens.
        if (pos_ < g_.size() && g_[pos_].text != "ENDSEC")
          throw ReadError{LineError(g_[pos_].line,
                                    Wide(g_[pos_]) + L" inside a section (ENDSEC missing)")};
        file.kept.push_back(
            KeptSection{name, std::span<const Group>(g_.data() + first, pos_ - first)});
      }
      if (pos_ >= g_.size()) break;
      if (g_[pos_].text != "ENDSEC")
        throw ReadError{LineError(g_[pos_].line, L"ENDSEC was expected")};
      ++pos_;
    }
    if (!seen_eof) {
      const int last = g_.empty() ? 1 : g_.back().line + 2;  // the line after the last value
      throw ReadError{LineError(last, L"the file ends without EOF (truncated?)")};
    }
    file.groups = std::move(g_);  // moving keeps the storage the records point into
    return file;
  }

 private:
  void ReadRecords(std::vector<Record>* out) { pos_ = ReadRecordsAt(g_, pos_, out); }

  std::vector<Group> g_;
  size_t pos_ = 0;
};

}  // namespace

DxfFile ParseSections(Tokens tokens) {
  DxfFile file = Parser(std::move(tokens.groups)).Parse();
  file.store = std::move(tokens.store);
  file.deferred = tokens.deferred;
  return file;
}

}  // namespace host::dxf_in
