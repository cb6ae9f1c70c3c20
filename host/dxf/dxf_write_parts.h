// The DXF writer's state and its parts, one file each: dxf_writer.cpp (output, header, the
// common layout of modelled objects), dxf_write_prepare.cpp (the objects a file needs that the
// database may lack), dxf_write_tables.cpp, dxf_write_entities.cpp, dxf_write_objects.cpp; each
// entity kind is written in its own file, dxf_entity_<kind>.cpp (see dxf_entities.h).
#pragma once

#include <dbmain.h>
#include "platform/acad/kept_groups.h"

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/dxf/dxf_write_check.h"
#include "host/dxf/dxf_write_format.h"
#include "platform/acad/id_table.h"

class AcDbText;

namespace host::dxf_out {

using platform::acad::IdMap;
using platform::acad::IdSet;

class Writer;
class PieceSink;

// What an entity kind's writer is given (see DxfEntityKind::write): the writer, the entity's
// subclasses to fill after AcDbEntity, and the entities to write right after it.
class EntityOut {
 public:
  EntityOut(Writer& w, std::span<Subclass> subclasses) : writer(w), subs_(subclasses) {}

  // The next subclass, empty, with its marker.
  Lines& Next(std::string_view marker) {
    subs_[n_].marker = marker;
    return subs_[n_++].groups;
  }
  // The subclasses given so far, AcDbEntity's first.
  std::span<const Subclass> written() const { return subs_.first(n_); }

  Writer& writer;
  // Entities that follow this one in a sequence, then its SEQEND (a reference's attributes).
  std::vector<AcDbObjectId> followers;

 private:
  std::span<Subclass> subs_;
  size_t n_ = 1;  // AcDbEntity's is the first, which the writer fills
};

class Writer {
 public:
  explicit Writer(AcDbDatabase& db) : db_(db) {}

  // The file's bytes; empty when their structure would break (see fault()).
  std::string Write();
  // Writes the file's bytes to `file` a piece at a time as they are made, so that a large
  // drawing's text is never held whole; false when a write failed or the structure of what was
  // written would break (then fault() says how, and the file must not be used).
  bool WriteTo(std::FILE* file);
  // The first fault of the structure written (see StructureCheck), empty when it holds.
  const std::wstring& fault() const { return structure_.fault(); }

  // For the entity kinds' writers (dxf_entity_<kind>.cpp).
  // The name of a table record, "" for none.
  const std::wstring& NameOf(AcDbObjectId id);
  // The groups every text has (TEXT, ATTDEF, ATTRIB) in its first AcDbText subclass.
  void TextMain(const AcDbText* t, Lines* g);
  // The ids of objects that are not erased.
  static std::vector<AcDbObjectId> LiveIds(const std::vector<AcDbObjectId>& ids);

 private:
  // Every section, to out_ (and the sink when there is one).
  void WriteAll();
  // Output and the layout every modelled object shares (dxf_writer.cpp).
  void Put(int code, std::wstring_view value);
  void PutUtf8(int code, std::string_view value);
  void PutHex(int code, AcDbHandle h);
  // A kept group's text, UTF-8 as held.
  void PutKept(int code, const platform::acad::RawText& value);
  // Kept groups [from, to), leaving out those of negative code: a modelled value's text as read,
  // which the value's own group writes.
  void Put(std::span<const platform::acad::RawGroup> groups, size_t from = 0, size_t to = SIZE_MAX);
  void Put(const Lines& lines);
  // A section named as read, whole: a kept name may hold a NUL character.
  void Section(std::wstring_view name);
  void EndSection();
  void Header();
  // The sections kept as read: CLASSES (or an empty one) when `classes`, else the others.
  void KeptSections(bool classes);
  // 0 type, the groups before the handle, the handle, the owner (null: "0"), the subclasses
  // with the kept groups in their places, the XData.
  void WriteModelled(std::string_view type, const AcDbObject* obj, const Lines& before_handle,
                     AcDbHandle owner, std::span<const Subclass> subclasses);
  void WriteModelled(std::string_view type, const AcDbObject* obj, const Lines& before_handle,
                     AcDbHandle owner, std::initializer_list<Subclass> subclasses) {
    WriteModelled(type, obj, before_handle, owner,
                  std::span<const Subclass>(subclasses.begin(), subclasses.size()));
  }
  void WriteXData(const AcDbObject* obj);
  static AcDbHandle OwnerOf(const AcDbObject* obj);

  // Preparation (dxf_write_prepare.cpp).
  void Prepare();
  void Ensure(AcDbObjectId owner, std::wstring_view type);
  void EnsureDefaultTables();
  Groups ActiveViewport();
  void AddDefaultTable(const wchar_t* name, const wchar_t* record_type, const Groups& record);

  // Tables (dxf_write_tables.cpp).
  void Tables();
  void WriteKeptTable(AcDbObjectId id);
  void WriteKept(AcDbObjectId id);
  // The groups of an object kept as read, led by its handle when they hold none: a record read
  // without one got a handle in the drawing and must keep it in the file.
  void PutKept(const AcDbObject* obj);
  void WriteTable(const wchar_t* name, AcDbObjectId id);
  std::vector<AcDbObjectId> KeptOwnedBy(AcDbObjectId owner);
  void WriteRecord(const wchar_t* table, AcDbObjectId id);

  // Blocks and entities (dxf_write_entities.cpp).
  void Blocks();
  bool IsPaperSpace(AcDbObjectId id);
  void WriteBlockPart(AcDbObjectId btr_id, std::wstring_view type);
  void Entities();
  void WriteEntitiesOf(AcDbObjectId btr_id);
  void Common(const AcDbEntity* e, Lines* g);
  // An entity by the row of its class (see dxf_entities.h), and what follows it in a sequence.
  void WriteEntity(AcDbObjectId id);

  // Objects (dxf_write_objects.cpp).
  void Objects();
  void WriteObject(AcDbObjectId id);

  AcDbDatabase& db_;
  TextBuffer out_;
  StructureCheck structure_;  // told of every record and handle that out_ gets
  // The UTF-8 text out_ got since `from` (a value just appended, before its line end).
  std::string_view Since(size_t from) const { return out_.view().substr(from); }
  PieceSink* sink_ = nullptr;  // WriteTo's file, which out_ goes to whenever it is large
  void MaybeFlush();
  // WriteEntity's subclasses, kept from one entity to the next with their room: an entity's
  // groups are written before its attributes are made.
  Subclass entity_subs_[3];
  // The BLOCK, ENDBLK and SEQEND objects by their owner (PartsOf picks the map of a type).
  IdMap<AcDbObjectId>& PartsOf(std::wstring_view type);
  IdMap<AcDbObjectId> blocks_, block_ends_, seqends_;
  // The tables the database does not model, kept as read or made by EnsureDefaultTables, by name.
  std::map<std::wstring, AcDbObjectId> kept_tables_;
  std::unordered_map<AcDbObjectId, std::vector<AcDbObjectId>> kept_by_owner_;
  platform::acad::HandleSet written_;
  std::vector<AcDbObjectId> all_ids_;  // every object when the writing began, by handle
  std::unordered_map<AcDbObjectId, std::wstring> names_;  // NameOf's answers
  AcDbObjectId last_named_;                               // ... and the last one asked
  const std::wstring* last_name_ = nullptr;
  // Common's last linetype and the name it writes for it (null: none, by layer).
  AcDbObjectId last_linetype_;
  const std::wstring* last_linetype_name_ = nullptr;
};

}  // namespace host::dxf_out
