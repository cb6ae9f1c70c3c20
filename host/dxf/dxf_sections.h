// The second stage of reading a DXF file: groups to sections and records.
//
// A record is one entity, object, table record or table head: its 0 group's value and the
// groups after it. Records only point at their run of groups, which the file keeps (a large
// drawing has millions of groups).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "host/dxf/dxf_lexer.h"

namespace host::dxf_in {

struct Record {
  std::string_view type;  // the value of its 0 group
  int line = 0;
  std::span<const Group> groups;
  AcDbHandle handle;
  AcDbHandle owner;
};

// A section the database does not model (CLASSES, THUMBNAILIMAGE, ACDSDATA, any other): its
// groups between the name and ENDSEC, kept whole.
struct KeptSection {
  std::string_view name;
  std::span<const Group> groups;
};

// The parts of the file in order.
struct DxfFile {
  std::vector<Group> groups;      // every group of the file, which the records point into
  std::deque<std::string> store;  // the text of groups that is not the file's own bytes
  std::vector<Group> header;
  std::vector<Record> tables;  // TABLE heads and their records, ENDTAB as a record
  std::vector<Record> blocks;  // BLOCK, entities, ENDBLK
  std::vector<Record> entities;
  std::vector<Record> objects;
  std::vector<KeptSection> kept;  // in file order
  DeferredSection deferred;       // the entities' records read later, when present (Tokenize)
};

// Reads records from groups[pos] (a 0 group) up to an ENDSEC group or the end of the groups;
// returns where it stopped. Throws ReadError for a record without its 0 group or an EOF group.
size_t ReadRecordsAt(std::span<const Group> groups, size_t pos, std::vector<Record>* out);

// Splits the groups into the file's sections. Throws ReadError for a file whose sections are not
// in order (a missing ENDSEC or EOF, a record without its 0 group).
DxfFile ParseSections(Tokens tokens);

}  // namespace host::dxf_in
