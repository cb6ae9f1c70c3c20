// The entities section: runs of entities with one owner, and the deferred section of a large
// drawing read a run of records at a time.
#include "platform/acad/dbhost.h"
#include <dbsymtb.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "host/dxf/dxf_objects.h"
#include "host/dxf/dxf_read_builder.h"

namespace host::dxf_in {

void Builder::AddEntityRecords(const std::vector<Record>& e) {
  size_t i = 0;
  while (i < e.size()) {
    // Runs of entities with the same owner go to that block (paper space by 67 or owner).
    AcDbObjectId owner = OwnerBlock(e[i]);
    size_t j = i + 1;
    // A sequence's entities name their head as owner, or none: they go where their head goes.
    while (j < e.size() && (DxfFollowsInSequence(e[j].type) || OwnerBlock(e[j]) == owner))
      ++j;
    AddEntities(owner, e, i, j);
    i = j;
  }
}

void Builder::StreamEntities(std::vector<std::wstring>* xdata_warnings) {
  if (file_.deferred.max_handle.isNull() &&
      platform::acad::SeededObjectCount(*db_) != seeded_before_entities_) {
    AcDbHandle max;
    if (!MaxRecordHandle(file_.deferred, &max))
      throw ReadError{LineError(file_.deferred.line, L"the entities are not plain")};
    if (max.value() >= entity_seed_.value()) throw Restart{max};
  }
  // Records a run; a run ends before an entity that is no VERTEX, ATTRIB or SEQEND, so that a
  // sequence (a block reference and its attributes, a polyline and its vertices) is always in one.
  constexpr size_t kRun = 4096;
  const DeferredSection& d = file_.deferred;
  Lexer lexer(d.bytes, d.utf8, d.cp932, d.escapes);
  lexer.lines().Seek(d.pos, d.line);
  std::vector<Group> groups;
  std::deque<std::string> store;
  std::vector<Record> records;
  std::vector<std::wstring> warnings;
  const char* run_start = d.bytes.data() + d.pos;
  Adesk::UInt64 max_handle = 0;
  for (bool end = false; !end;) {
    groups.clear();
    store.clear();
    records.clear();
    size_t heads = 0;
    for (;;) {
      const size_t pos = lexer.lines().pos();
      const int line = lexer.lines().number();
      Group g;
      if (!lexer.Next(&g, &store, &warnings))
        throw ReadError{LineError(line, L"the entities end without ENDSEC")};
      // The section ends where the lexer found its end, and nowhere else.
      const bool last = g.code == 0 && g.text == "ENDSEC";
      if ((pos >= d.end || last) && !(last && pos == d.end))
        throw ReadError{LineError(line, L"the entities end without ENDSEC")};
      if (g.code == 0) {
        if (last || (heads >= kRun && !DxfFollowsInSequence(g.text))) {
          lexer.lines().Seek(pos, line);
          end = last;
          break;
        }
        ++heads;
      }
      groups.push_back(g);
    }
    if (!warnings.empty()) throw ReadError{warnings.front()};
    ReadRecordsAt(groups, 0, &records);
    for (const Record& r : records) {
      if (r.handle.isNull()) throw ReadError{LineError(r.line, L"the entity has no handle")};
      max_handle = std::max(max_handle, r.handle.value());
    }
    AddEntityRecords(records);
    // The XData views the groups of this run.
    for (const Pending& p : pending_) ApplyXData(p, xdata_warnings);
    pending_.clear();
    const char* run_end = d.bytes.data() + lexer.lines().pos();
    if (done_ != nullptr && *done_) (*done_)(run_start, run_end);
    run_start = run_end;
  }
  if (max_handle >= entity_seed_.value() &&
      platform::acad::SeededObjectCount(*db_) != seeded_before_entities_)
    throw ReadError{LineError(d.line, L"the entities use handles the drawing gave meanwhile")};
}

void Builder::ReadEntities() {
  std::vector<std::wstring> xdata_warnings;
  if (file_.deferred.present) StreamEntities(&xdata_warnings);
  AddEntityRecords(file_.entities);
  CheckBlockNesting();
  for (const Pending& p : pending_) ApplyXData(p, &xdata_warnings);
  pending_.clear();
  result_->warnings.insert(result_->warnings.end(), xdata_warnings.begin(), xdata_warnings.end());
}

AcDbObjectId Builder::OwnerBlock(const Record& r) {
  if (!r.owner.isNull()) {
    // Entities come in long runs of one owner: the last answer is kept.
    if (r.owner == last_owner_handle_) return last_owner_;
    AcDbObjectId id;
    if (db_->getAcDbObjectId(id, false, r.owner) == Acad::eOk && id.objectClass() != nullptr &&
        id.objectClass()->isDerivedFrom(AcDbBlockTableRecord::desc())) {
      last_owner_handle_ = r.owner;
      last_owner_ = id;
      return id;
    }
  }
  for (const Group& g : r.groups)
    if (g.code == 67 && g.text == "1") return roots_.paper_space;
  return roots_.model_space;
}

}  // namespace host::dxf_in
