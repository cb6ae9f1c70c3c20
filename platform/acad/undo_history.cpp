// Undo of a drawing database: the steps, what each keeps, and taking them back and forth.
#include "platform/acad/undo_history.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <memory>
#include <unordered_map>
#include <utility>

#include <dbsymtb.h>
#include "platform/acad/dbstub.h"
#include "platform/acad/undo_replay.h"

namespace platform::acad::internal {

class UndoHistory {
 public:
  UndoHistory(AcDbDatabase* db, size_t limit) : db_(db), limit_(limit) {}
  ~UndoHistory() {
    Finish();
    DropRedo();
  }
  UndoHistory(const UndoHistory&) = delete;
  UndoHistory& operator=(const UndoHistory&) = delete;

  bool recording() const { return !name_.empty() && !replaying_; }
  bool amending() const { return amending_ > 0; }

  // Objects that the host adds for its own bookkeeping (a drawing writer's parts) belong to the
  // step being recorded, else to the last step: taking that step back takes them out too, and
  // the handle seed goes back past them, so that the next save makes them again as they were.
  void BeginAmend() { ++amending_; }
  void EndAmend() {
    if (--amending_ > 0) return;
    for (AcDbStub* stub : amended_) stub->undo_recorded = false;
    amended_.clear();
  }
  void Amend(AcDbStub* stub) {
    Step* step = current_ ? current_.get() : done_.empty() ? nullptr : &done_.back();
    if (step == nullptr) return;
    stub->undo_recorded = true;
    if (!current_) amended_.push_back(stub);
    Entry e;
    e.stub = stub;
    e.appended = true;
    step->entries.push_back(std::move(e));
  }

  void Change(AcDbStub* stub) {
    if (stub->undo_recorded) {
      // Kept so far with its XData only: the rest of it is still as before the step.
      Entry& e = XDataEntryOf(stub);
      e.xdata_only = false;
      e.state = CopyOf(stub->object.get());
      // While pending, the object's XData (so the copy's) is still the one before the step.
      if (e.state && !stub->undo_xdata_pending) {
        char*& kept = AcDbUndoAccess::XData(e.state.get());
        delete[] kept;
        kept = e.xdata.release();
      }
      e.xdata.reset();
      stub->undo_xdata_only = false;
      stub->undo_xdata_pending = false;
      return;
    }
    Step& step = Current();
    stub->undo_recorded = true;
    Entry e = FlagsOf(stub);
    e.state = CopyOf(stub->object.get());
    step.entries.push_back(std::move(e));
  }

  // Most of what a drawing command changes is XData alone (the record lists, the run markers):
  // a step keeps only the packed XData then, until the object changes otherwise too. Nothing is
  // copied: the entry waits for the block that setXData replaces (KeepReplaced), which is the
  // XData before the step; until it comes, the object's XData is still that one.
  void ChangeXData(AcDbStub* stub) {
    if (stub->object == nullptr) return Change(stub);
    Step& step = Current();
    stub->undo_recorded = true;
    stub->undo_xdata_only = true;
    stub->undo_xdata_pending = true;
    Entry e = FlagsOf(stub);
    e.xdata_only = true;
    if (xdata_index_built_) xdata_index_[stub] = step.entries.size();
    step.entries.push_back(std::move(e));
  }

  void KeepReplaced(AcDbStub* stub, char* block) {
    XDataEntryOf(stub).xdata.reset(block);
    stub->undo_xdata_pending = false;
  }

  void Append(AcDbStub* stub) {
    Step& step = Current();
    stub->undo_recorded = true;
    Entry e;
    e.stub = stub;
    e.appended = true;
    step.entries.push_back(std::move(e));
  }

  void Header() { Current(); }

  void Start(const std::wstring& name) {
    Finish();
    name_ = name;
  }

  std::vector<std::wstring> Undo(int count) {
    Finish();
    std::vector<std::wstring> names;
    std::vector<Step> group;
    for (int i = 0; i < count && !done_.empty(); ++i) {
      Step step = std::move(done_.back());
      done_.pop_back();
      ReplayUndoStep(db_, step, /*back=*/true, &replaying_);
      names.push_back(step.name);
      group.push_back(std::move(step));
    }
    if (!group.empty()) undone_.push_back(std::move(group));
    return names;
  }

  std::vector<std::wstring> Redo() {
    Finish();
    std::vector<std::wstring> names;
    if (undone_.empty()) return names;
    std::vector<Step> group = std::move(undone_.back());
    undone_.pop_back();
    // Taken back newest first: given back oldest first.
    for (auto it = group.rbegin(); it != group.rend(); ++it) {
      ReplayUndoStep(db_, *it, /*back=*/false, &replaying_);
      names.push_back(it->name);
      done_.push_back(std::move(*it));
    }
    Trim();
    return names;
  }

  int steps() const { return static_cast<int>(done_.size()); }
  int redo_groups() const { return static_cast<int>(undone_.size()); }

 private:
  using Entry = UndoEntry;
  using Step = UndoStep;

  static Entry FlagsOf(AcDbStub* stub) {
    Entry e;
    e.stub = stub;
    e.erased = stub->erased;
    e.owner = stub->owner;
    return e;
  }

  static std::unique_ptr<AcDbObject> CopyOf(const AcDbObject* object) {
    if (object == nullptr) return nullptr;
    AcRxObject* copy = object->clone();
    // A class without its own copy would be copied as its parent: keep only the flags then.
    if (copy != nullptr && copy->isA() == object->isA()) {
      return std::unique_ptr<AcDbObject>(static_cast<AcDbObject*>(copy));
    }
    delete copy;
    return nullptr;
  }

  // The entry of the step being recorded that keeps only `stub`'s XData. Usually one of the last
  // few (the object is changed otherwise in the same open); else an index of them is made once
  // for the rest of the step, so that no order of changes makes recording quadratic.
  Entry& XDataEntryOf(AcDbStub* stub) {
    std::vector<Entry>& entries = current_->entries;
    const size_t near = std::min<size_t>(entries.size(), 8);
    for (size_t i = entries.size(); i-- > entries.size() - near;) {
      if (entries[i].stub == stub && entries[i].xdata_only) return entries[i];
    }
    if (!xdata_index_built_) {
      for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].xdata_only) xdata_index_[entries[i].stub] = i;
      }
      xdata_index_built_ = true;
    }
    return entries[xdata_index_.at(stub)];
  }

  Step& Current() {
    if (!current_) {
      // Something new is done: what was taken back can no longer come back.
      DropRedo();
      current_ = std::make_unique<Step>();
      current_->name = name_;
      current_->header = AcDbUndoAccess::Get(*db_);
    }
    return *current_;
  }

  void Finish() {
    if (!current_) return;
    for (Entry& e : current_->entries) {
      // XData that never changed after all (setXData refused it): nothing to give back.
      if (e.xdata_only && e.stub->undo_xdata_pending) e.xdata_only = false;
      e.stub->undo_recorded = false;
      e.stub->undo_xdata_only = false;
      e.stub->undo_xdata_pending = false;
    }
    xdata_index_.clear();
    xdata_index_built_ = false;
    if (!current_->entries.empty() || !(current_->header == AcDbUndoAccess::Get(*db_))) {
      done_.push_back(std::move(*current_));
      Trim();
    }
    current_.reset();
  }

  void Trim() {
    while (done_.size() > limit_) done_.pop_front();
  }

  // Objects taken back for good: their records are free for new objects again (the handle seed
  // went back with the header, so the next new objects take the same handles).
  void DropRedo() {
    for (std::vector<Step>& group : undone_) {
      for (Step& step : group) {
        for (Entry& e : step.entries) {
          if (!e.appended || !e.state) continue;
          e.state.reset();
          AcDbStub* stub = e.stub;
          stub->purged = false;
          stub->erased = false;
          stub->cls = nullptr;
          stub->owner = AcDbObjectId();
          stub->undo_recorded = false;
        }
      }
    }
    undone_.clear();
  }

  AcDbDatabase* db_;
  size_t limit_;
  std::wstring name_;
  std::unique_ptr<Step> current_;
  std::deque<Step> done_;
  std::vector<std::vector<Step>> undone_;  // each U or UNDO's steps, in the order taken back
  bool replaying_ = false;
  int amending_ = 0;
  std::vector<AcDbStub*> amended_;  // recorded into a finished step: their flags to clear
  // The XData-only entries of the step being recorded, by object, once XDataEntryOf needs it.
  std::unordered_map<AcDbStub*, size_t> xdata_index_;
  bool xdata_index_built_ = false;
};

void UndoHistoryDelete::operator()(UndoHistory* history) const {
  delete history;
}

namespace {

UndoHistory* RecordingHistory(const AcDbDatabase* db) {
  if (db == nullptr) return nullptr;
  UndoHistory* history = db->impl().undo.get();
  return history != nullptr && (history->recording() || history->amending()) ? history : nullptr;
}

}  // namespace

void RecordUndoOfChange(AcDbStub* stub) {
  if (stub == nullptr || (stub->undo_recorded && !stub->undo_xdata_only)) return;
  UndoHistory* history = RecordingHistory(stub->database);
  if (history != nullptr && !history->amending()) history->Change(stub);
}

bool KeepReplacedXData(AcDbStub* stub, char* block) {
  if (stub == nullptr || !stub->undo_xdata_pending) return false;
  UndoHistory* history = RecordingHistory(stub->database);
  if (history == nullptr) return false;
  history->KeepReplaced(stub, block);
  return true;
}

void RecordUndoOfXData(AcDbStub* stub) {
  if (stub == nullptr || stub->undo_recorded) return;
  UndoHistory* history = RecordingHistory(stub->database);
  if (history != nullptr && !history->amending()) history->ChangeXData(stub);
}

void RecordUndoOfAppend(AcDbStub* stub) {
  UndoHistory* history = RecordingHistory(stub->database);
  if (history == nullptr) return;
  if (history->amending()) {
    history->Amend(stub);
  } else {
    history->Append(stub);
  }
}

void RecordUndoOfHeader(AcDbDatabase* db) {
  UndoHistory* history = RecordingHistory(db);
  if (history != nullptr && !history->amending()) history->Header();
}

}  // namespace platform::acad::internal

namespace platform::acad {

using internal::UndoHistory;

void EnableUndo(AcDbDatabase& db, int max_steps) {
  auto& undo = db.impl().undo;
  undo.reset();
  if (max_steps > 0) undo.reset(new UndoHistory(&db, static_cast<size_t>(max_steps)));
}

bool UndoEnabled(const AcDbDatabase& db) {
  return db.impl().undo != nullptr;
}

void StartUndoStep(AcDbDatabase& db, const std::wstring& name) {
  if (UndoHistory* history = db.impl().undo.get()) history->Start(name);
}

std::vector<std::wstring> UndoSteps(AcDbDatabase& db, int count) {
  UndoHistory* history = db.impl().undo.get();
  return history ? history->Undo(count) : std::vector<std::wstring>{};
}

std::vector<std::wstring> RedoSteps(AcDbDatabase& db) {
  UndoHistory* history = db.impl().undo.get();
  return history ? history->Redo() : std::vector<std::wstring>{};
}

int UndoStepCount(const AcDbDatabase& db) {
  const UndoHistory* history = db.impl().undo.get();
  return history ? history->steps() : 0;
}

ScopedUndoAmend::ScopedUndoAmend(AcDbDatabase& db) : history_(db.impl().undo.get()) {
  if (history_ != nullptr) history_->BeginAmend();
}

ScopedUndoAmend::~ScopedUndoAmend() {
  if (history_ != nullptr) history_->EndAmend();
}

int RedoGroupCount(const AcDbDatabase& db) {
  const UndoHistory* history = db.impl().undo.get();
  return history ? history->redo_groups() : 0;
}

}  // namespace platform::acad
