// The entities section: runs of entities with one owner, and the deferred section of a large
// drawing read a run of records at a time, lexed ahead on a thread of its own.
#include <dbsymtb.h>
#include "platform/acad/dbhost.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
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
    while (j < e.size() && (DxfFollowsInSequence(e[j].type) || OwnerBlock(e[j]) == owner)) ++j;
    AddEntities(owner, e, i, j);
    i = j;
  }
}

namespace {

// A run of the entities section, lexed: its groups (text that needed decoding in `store`), its
// records, and where the lexer stopped after it; or the fault that ended the lexing there.
struct LexedRun {
  std::vector<Group> groups;
  std::deque<std::string> store;
  std::vector<Record> records;
  // The XData items of the records that have XData, in record order; the first `prepared` hold
  // this run's (the rest keep their memory for later runs).
  std::vector<PreparedXData> xdata;
  size_t prepared = 0;
  size_t end = 0;
  bool last = false;  // the run ends before the section's ENDSEC
  std::exception_ptr fault;
};

// Makes the XData items of the run's records where it was lexed: on the lexer's thread that is
// work the database's thread no longer does. A record whose XData cannot be made here (a value
// that fails to read) is left to the database's thread, which meets the fault where it met it
// before.
void PrepareXData(LexedRun* run) {
  run->prepared = 0;
  for (const Record& r : run->records) {
    const Group* first = nullptr;
    for (const Group& g : r.groups) {
      if (g.code == 1001) {
        first = &g;
        break;
      }
    }
    if (first == nullptr) continue;
    if (run->prepared == run->xdata.size()) run->xdata.emplace_back();
    PreparedXData& x = run->xdata[run->prepared];
    x.first = first;
    x.items.Clear();
    try {
      x.ok = AddXData(r.groups.subspan(static_cast<size_t>(first - r.groups.data())), &x.items);
    } catch (...) {
      continue;  // not counted: the database's thread makes these itself
    }
    ++run->prepared;
  }
}

// A run ends before an entity that is no VERTEX, ATTRIB or SEQEND, so that a sequence (a block
// reference and its attributes, a polyline and its vertices) is always in one.
constexpr size_t kRun = 4096;

void LexRun(Lexer& lexer, const DeferredSection& d, std::vector<std::wstring>* warnings,
            LexedRun* run) {
  run->groups.clear();
  run->store.clear();
  run->records.clear();
  run->prepared = 0;
  run->last = false;
  run->fault = nullptr;
  try {
    size_t heads = 0;
    for (;;) {
      const size_t pos = lexer.lines().pos();
      const int line = lexer.lines().number();
      Group g;
      if (!lexer.Next(&g, &run->store, warnings))
        throw ReadError{LineError(line, L"the entities end without ENDSEC")};
      // The section ends where the lexer found its end, and nowhere else.
      const bool last = g.code == 0 && g.text == "ENDSEC";
      if ((pos >= d.end || last) && !(last && pos == d.end))
        throw ReadError{LineError(line, L"the entities end without ENDSEC")};
      if (g.code == 0) {
        if (last || (heads >= kRun && !DxfFollowsInSequence(g.text))) {
          lexer.lines().Seek(pos, line);
          run->last = last;
          break;
        }
        ++heads;
      }
      run->groups.push_back(g);
    }
    if (!warnings->empty()) throw ReadError{warnings->front()};
    ReadRecordsAt(run->groups, 0, &run->records);
    PrepareXData(run);
    run->end = lexer.lines().pos();
  } catch (...) {
    run->fault = std::current_exception();
  }
}

// The runs of the deferred section in order. A large section is lexed on a thread of its own,
// a few runs ahead of the database being built from the runs before: the lexing is a quarter of
// a large floor's load. Only the file's bytes are shared; the database is built where it was.
class RunSource {
 public:
  // Sections smaller than this are lexed where they are built: a thread would cost more.
  static constexpr size_t kThreadedBytes = 256 * 1024;

  RunSource(const DeferredSection& d) : d_(d), lexer_(d.bytes, d.utf8, d.cp932, d.escapes) {
    lexer_.lines().Seek(d.pos, d.line);
    if (d.end - d.pos >= kThreadedBytes) thread_ = std::thread([this] { Produce(); });
  }
  ~RunSource() {
    if (!thread_.joinable()) return;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
  RunSource(const RunSource&) = delete;
  RunSource& operator=(const RunSource&) = delete;

  // The next run; it stays valid until the next call.
  LexedRun& Next() {
    if (!thread_.joinable()) {
      LexRun(lexer_, d_, &warnings_, &slots_[0]);
      return slots_[0];
    }
    std::unique_lock<std::mutex> lock(mutex_);
    // The run handed out before is free again.
    if (taken_ > 0) ++freed_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return lexed_ > taken_; });
    return slots_[taken_++ % kSlots];
  }

 private:
  static constexpr size_t kSlots = 3;

  void Produce() {
    for (size_t n = 0;; ++n) {
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return stop_ || n - freed_ < kSlots; });
        if (stop_) return;
      }
      LexedRun& run = slots_[n % kSlots];
      LexRun(lexer_, d_, &warnings_, &run);
      const bool end = run.last || run.fault;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        ++lexed_;
      }
      changed_.notify_all();
      if (end) return;
    }
  }

  const DeferredSection& d_;
  Lexer lexer_;
  std::vector<std::wstring> warnings_;
  LexedRun slots_[kSlots];
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  size_t lexed_ = 0;  // runs lexed
  size_t taken_ = 0;  // runs handed out
  size_t freed_ = 0;  // runs handed out and done with
  bool stop_ = false;
};

}  // namespace

void Builder::StreamEntities() {
  if (file_.deferred.max_handle.isNull() &&
      platform::acad::SeededObjectCount(*db_) != seeded_before_entities_) {
    AcDbHandle max;
    if (!MaxRecordHandle(file_.deferred, &max))
      throw ReadError{LineError(file_.deferred.line, L"the entities are not plain")};
    if (max.value() >= entity_seed_.value()) throw Restart{max};
  }
  const DeferredSection& d = file_.deferred;
  RunSource runs(d);
  const char* run_start = d.bytes.data() + d.pos;
  Adesk::UInt64 max_handle = 0;
  for (bool end = false; !end;) {
    LexedRun& run = runs.Next();
    if (run.fault) std::rethrow_exception(run.fault);
    end = run.last;
    for (const Record& r : run.records) {
      if (r.handle.isNull()) throw ReadError{LineError(r.line, L"the entity has no handle")};
      max_handle = std::max(max_handle, r.handle.value());
    }
    // The entities take the XData items made for them as they are made.
    prepared_ = std::span<const PreparedXData>(run.xdata.data(), run.prepared);
    prepared_next_ = 0;
    AddEntityRecords(run.records);
    prepared_ = {};
    const char* run_end = d.bytes.data() + run.end;
    if (done_ != nullptr && *done_) (*done_)(run_start, run_end);
    run_start = run_end;
  }
  if (max_handle >= entity_seed_.value() &&
      platform::acad::SeededObjectCount(*db_) != seeded_before_entities_)
    throw ReadError{LineError(d.line, L"the entities use handles the drawing gave meanwhile")};
}

void Builder::ReadEntities() {
  if (file_.deferred.present) StreamEntities();
  AddEntityRecords(file_.entities);
  CheckBlockNesting();
  result_->warnings.insert(result_->warnings.end(), xdata_warnings_.begin(), xdata_warnings_.end());
  xdata_warnings_.clear();
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
