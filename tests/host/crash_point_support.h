// Crash tests: a scenario runs in a child process over a file system that kills the child with
// SIGKILL at a chosen call, and a model of the disk tells what a power cut at that moment could
// leave of one watched file.
//
//   std::vector<SeamCall> calls;
//   ChildRun run = RunUntil(scenario, watched, KillPoint{}, &calls);   // to the end: every call
//   for (const KillPoint& point : KillPointsOf(calls)) { restore; run = RunUntil(...point...); }
//
// The model of the disk after a power cut assumes only what POSIX promises: a file's data is on
// the disk once SyncFile returned for it (until it is written again), and the names made, moved
// and removed in a folder are once SyncFolder returned for it; of the name changes since then any
// leading part may have reached the disk. A file written and not synced since holds anything
// (reported as kTorn).
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/win/file_system.h"

namespace host::testing {

inline constexpr char kMissing[] = "<missing>";
inline constexpr char kTorn[] = "<torn: written and not synced>";

// Where the child dies: before the `call`-th call of the seam that may change the disk (1-based),
// or, with torn_bytes set, inside that call (a write: after this many of its bytes reached the
// file); call 0: at the end of the scenario.
struct KillPoint {
  int call = 0;
  int torn_bytes = -1;
};
std::string Describe(const KillPoint& point);

// A call of the seam that may change the disk, as a run to the end saw it.
struct SeamCall {
  platform::FileOp op;
  std::string path;
  size_t bytes = 0;  // writes: their size
};

// Every point of a run with these calls: before each call, inside each write after none, one,
// half and all but one of its bytes, and at the end.
std::vector<KillPoint> KillPointsOf(const std::vector<SeamCall>& calls);

// What a power cut now could leave under the watched name (see the banner).
class PowerCutModel {
 public:
  using Loader = std::function<std::optional<std::string>(const std::string&)>;
  // `load` gives a file's bytes as they were on disk (and synced) before the scenario began.
  PowerCutModel(std::string watched, Loader load);

  // Loads a name's file before the first call that concerns it; the inode under it now (-1: none).
  int Touch(const std::string& path);
  void Write(const std::string& path, const std::string& bytes);
  void Rename(const std::string& from, const std::string& to);
  void Exchange(const std::string& a, const std::string& b);
  void Delete(const std::string& path);
  void SyncFile(const std::string& path);
  void SyncFolder(const std::string& folder);

  // Each thing the watched name may hold: its bytes, kMissing or kTorn; no duplicates.
  std::vector<std::string> Outcomes() const;

 private:
  struct Inode {
    std::string current;
    std::string durable;
    bool torn = false;
  };
  struct NameChange {
    std::string a, b;  // rename a -> b, exchange a <-> b, delete a, create a (inode)
    enum Kind { kCreate, kRename, kExchange, kDelete } kind;
    int inode = -1;
  };
  void Change(NameChange change);
  static void Apply(const NameChange& change, std::map<std::string, int>* names);

  std::string watched_, folder_;
  Loader load_;
  std::vector<Inode> inodes_;
  std::set<std::string> loaded_;
  std::map<std::string, int> initial_, names_;  // names before the scenario, and now
  std::vector<NameChange> changes_;
  size_t synced_changes_ = 0;  // the changes that a folder sync put on the disk
};

// The result of one child run.
struct ChildRun {
  bool killed = false;                // died of SIGKILL at its point
  std::vector<std::string> outcomes;  // the model's, at the point
  std::string error;                  // why the run is no good, when it is not
};

// Forks; the child installs the killing file system over the disk, runs `scenario` and dies at
// `point`, reporting the model's outcomes for `watched` (a POSIX path) and, at the end, the calls
// it made (into *calls when not null).
ChildRun RunUntil(const std::function<void()>& scenario, const std::string& watched,
                  KillPoint point, std::vector<SeamCall>* calls = nullptr);

// Every regular file below a folder with its bytes; Restore makes the folder hold exactly them
// again.
class FolderSnapshot {
 public:
  explicit FolderSnapshot(std::string root);
  void Restore() const;
  const std::string& root() const { return root_; }

 private:
  std::string root_;
  std::map<std::string, std::string> files_;
};

// A file's bytes, or kMissing.
std::string FileBytes(const std::string& path);

}  // namespace host::testing
