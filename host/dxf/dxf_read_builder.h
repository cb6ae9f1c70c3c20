// The third stage of reading a DXF file: records to database objects.
//
// The builder makes the database in the order the file gives: header, tables (with the tables
// and records every drawing needs made when missing), blocks, entities, then objects
// (dictionaries and groups last, as they name the others). Its parts live in one file each:
// dxf_read_tables.cpp (header, tables, names), dxf_read_entities.cpp (blocks and entities),
// dxf_read_stream.cpp (the entities section, a run at a time), dxf_read_objects.cpp
// (dictionaries, groups, other objects); each entity kind is made in its own file,
// dxf_entity_<kind>.cpp (see dxf_entities.h).
#pragma once

#include <dbmain.h>
#include <dbsymtb.h>
#include "platform/acad/dbhost.h"

#include <array>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_record.h"

class AcDbText;

namespace host {
class DxfUnknownEntity;
struct DxfEntityKind;
}  // namespace host

namespace host::dxf_in {

// The values the database's enumerations hold (a value outside them is undefined there).
inline constexpr int kLineWeights[] = {-3, -2, -1, 0,  5,  9,  13,  15,  18,  20,  25,  30,  35, 40,
                                       50, 53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
inline constexpr int kTextHorzModes[] = {0, 1, 2, 3, 4, 5};
inline constexpr int kTextVertModes[] = {0, 1, 2, 3};
inline constexpr int kHatchStyles[] = {0, 1, 2};

// A colour index as read, made positive (a layer that is off has a negative one); at most 257,
// so that even the most negative number has no overflow on the way.
inline long long ColourIndexOf(long long read) {
  return read < -256 ? 257 : read < 0 ? -read : read;
}

class Builder {
 public:
  Builder(DxfFile file, DxfReadResult* result) : file_(std::move(file)), result_(result) {}

  // Fills result->database, or throws ReadError; warnings go to result->warnings. Throws
  // Restart when the deferred entities' largest handle had to be found first (see
  // StreamEntities): the caller builds again from the same file with that handle set.
  void Build();
  struct Restart {
    AcDbHandle max_handle;
  };
  DxfFile TakeFile() { return std::move(file_); }
  // Told of the deferred entities' bytes as their records are built (see DxfBytesDone).
  void SetBytesDone(const DxfBytesDone* done) { done_ = done; }

  // For the entity kinds' readers (dxf_entity_<kind>.cpp).
  const AcDbDatabase::Roots& roots() const { return roots_; }
  // Lookup by the file's text. Entities name their layer, linetype, style and block, mostly the
  // same few: the last few answers are kept by that text, so that a name is not made wide and
  // hashed for each.
  AcDbObjectId LookupText(AcDbObjectId table_id, std::string_view name);
  // The text as a wide string, valid until the next call.
  const ACHAR* WideText(std::string_view utf8);
  // The value as read when it is one of `defined`, else `fallback` with a warning naming the
  // line: the database's enumerations have no room for other values.
  int Enumerated(long long value, std::span<const int> defined, int fallback, int line,
                 const wchar_t* what);
  // The codes of the common properties that SetCommon takes, and of the text properties that
  // SetText takes.
  static bool CommonCode(int c);
  static bool TextCode(int c);
  // The properties every text has (TEXT, ATTDEF, ATTRIB); their vertical alignment is the group
  // `vertical_code`.
  void SetText(AcDbText* t, const std::vector<const Group*>& v, int vertical_code, int line);

 private:
  struct Pending {
    AcDbObjectId id;
    std::span<const Group> xdata;  // groups of the record, held by the file or the run
    int line;
  };

  // Header and tables (dxf_read_tables.cpp).
  void CheckHandles();
  static std::wstring HexOf(AcDbHandle h);
  void ReadHeader();
  void ReadTables();
  static std::wstring StringOf(const Record& r, int code);
  AcDbObjectId AddRoot(AcDbObject* object, const Record* r);
  void SetOwner(AcDbObject* object, AcDbHandle owner);
  void ReadTable(const std::wstring& name, const Record& head,
                 const std::vector<const Record*>& records);
  void ReadTableRecord(const std::wstring& table_name, AcDbSymbolTable* table, const Record& r);
  void EnsureDefaults();
  AcDbObjectId Lookup(AcDbObjectId table_id, const std::wstring& name);
  AcDbObjectId LayerNamed(const std::wstring& name, int line);
  // LayerNamed by the file's text, its last few answers kept as LookupText's are.
  AcDbObjectId LayerText(std::string_view name, int line);

  // Blocks and entities (dxf_read_entities.cpp, dxf_read_stream.cpp).
  void SetCommon(AcDbEntity* e, const std::vector<const Group*>& values, int line);
  // The entity of the record, made by the row of its type (*kind, null for a type the database
  // does not model), or null to keep the record as groups.
  AcDbEntity* MakeEntity(const Record& r, Split* s, const DxfEntityKind** kind);
  // Sets the XData of the object open for write, with the items made of it already when the
  // run has them (see PreparedXData, PreparedFor); when the database refuses it, keeps it as
  // groups and adds a warning.
  void SetXDataOf(AcDbObject* obj, std::span<const Group> xdata, int line,
                  std::vector<std::wstring>* warnings);
  // The same for an object that is not open.
  void ApplyXData(const Pending& p, std::vector<std::wstring>* warnings);
  // The items made ahead for the XData starting at `xdata`'s first group, looked for in the run's
  // (see PreparedXData) from the last found on, as records come in order; null when there are
  // none (outside a run of the deferred section, always), and SetXDataOf makes them itself.
  const PreparedXData* PreparedFor(std::span<const Group> xdata);
  // Appends an entity kept as read to the block, on the layer named so and under that handle
  // (null: a new one); false (the entity deleted) when the block refuses it.
  bool AppendKept(AcDbBlockTableRecord* btr, DxfUnknownEntity* kept, std::string_view layer,
                  AcDbHandle handle, int line);
  void AddEntities(AcDbObjectId block_id, const std::vector<Record>& records, size_t from,
                   size_t to);
  void ReadBlocks();
  void ReadEntities();
  // Entities of a run of records, in runs of one owner.
  void AddEntityRecords(const std::vector<Record>& records);
  // The deferred ENTITIES section (DxfFile::deferred), a few thousand records at a time: only
  // their groups are held, and XData is set before they go. Throws ReadError for anything that
  // is not plain (a lexer warning included, a record without a handle, a section that does not
  // end where the lexer found its end), so that the caller reads the file the whole way.
  //
  // Objects made before (defaults the file lacks) take handles from a seed above every handle of
  // the file, the entities' included, which are only known once read. When such an object was
  // made, the section's largest handle is looked up first, and a Restart thrown when it reaches
  // that seed. When one is made while the entities are read and they reach it, ReadError.
  void StreamEntities();
  // Throws ReadError when the references read so far make a block hold itself, nest deeper
  // than kMaxBlockNesting or reach too many entities (dxf_read_nesting.cpp).
  void CheckBlockNesting();
  AcDbObjectId OwnerBlock(const Record& r);

  // Objects (dxf_read_objects.cpp).
  void ReadObjects();

  DxfFile file_;
  DxfReadResult* result_;
  const DxfBytesDone* done_ = nullptr;
  std::unique_ptr<AcDbDatabase> db_;
  AcDbDatabase::Roots roots_;
  AcDbHandle seed_;
  AcDbHandle entity_seed_;  // the handle seed before anything was made (see StreamEntities)
  Adesk::UInt64 seeded_before_entities_ = 0;
  std::vector<AcDbObjectId> unknown_tables_;
  std::map<std::wstring, AcDbObjectId> layers_;
  std::unordered_map<std::wstring, AcDbObjectId> found_;
  AcDbHandle last_owner_handle_;  // OwnerBlock's last answer
  AcDbObjectId last_owner_;       // Lookup's names, with their table
  std::vector<Pending> xdata_later_;
  // The XData warnings of blocks and entities: they follow the others.
  std::vector<std::wstring> xdata_warnings_;
  std::span<const PreparedXData> prepared_;  // the run's (StreamEntities)
  size_t prepared_next_ = 0;
  // Every block reference read: the block that holds it, the block it inserts, its line.
  struct ReferenceRead {
    AcDbObjectId owner, block;
    int line;
  };
  std::vector<ReferenceRead> references_;
  platform::acad::XDataBuilder xdata_items_;  // ApplyXData's, kept for its memory
  Split split_;                               // AddEntities', kept for its memory
  struct NameAnswer {
    AcDbObjectId table;
    std::string name;
    AcDbObjectId id;
  };
  std::array<NameAnswer, 8> lookup_answers_, layer_answers_;
  size_t next_lookup_answer_ = 0, next_layer_answer_ = 0;
  std::wstring wide_;  // WideText's
};

}  // namespace host::dxf_in
