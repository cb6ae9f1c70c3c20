// Crash tests: the killing file system of the child, the power-cut model, and the runs.
#include "crash_point_support.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <winbase.h>
#include <winerror.h>

namespace host::testing {
namespace {

using platform::FileOp;

// The child's report: records of a tag line, a length line and that many bytes.
void Put(int fd, const std::string& tag, const std::string& bytes) {
  const std::string head = tag + "\n" + std::to_string(bytes.size()) + "\n";
  std::string all = head + bytes;
  size_t done = 0;
  while (done < all.size()) {
    ssize_t n = ::write(fd, all.data() + done, all.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

// Passes every call to the disk; counts the calls that may change it, keeps the power-cut model
// up to date, and kills the process at its point.
class KillingFileSystem : public platform::FileSystem {
 public:
  KillingFileSystem(platform::FileSystem* base, const std::string& watched, KillPoint point,
                    int report)
      : base_(base),
        point_(point),
        report_(report),
        model_(watched, [base](const std::string& path) -> std::optional<std::string> {
          std::string bytes;
          if (base->Read(path, &bytes) != ERROR_SUCCESS) return std::nullopt;
          return bytes;
        }) {}

  DWORD Read(const std::string& p, std::string* c) override { return base_->Read(p, c); }
  DWORD Stat(const std::string& p, platform::FileInfo* i) override { return base_->Stat(p, i); }
  DWORD List(const std::string& p, std::vector<std::string>* n) override {
    return base_->List(p, n);
  }
  DWORD Write(const std::string& p, std::string_view c) override {
    Before(FileOp::kWrite, p, c.size());
    model_.Touch(p);
    if (point_.call == count_ && point_.torn_bytes >= 0) {
      // Killed inside the write: the file was cut and part of the bytes reached it.
      int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      if (fd >= 0) {
        if (::write(fd, c.data(), static_cast<size_t>(point_.torn_bytes)) < 0) {
          Put(report_, "error", "the torn write failed");
        }
        ::close(fd);
      }
      model_.Write(p, std::string(c));
      Die();
    }
    DWORD err = base_->Write(p, c);
    if (err == ERROR_SUCCESS) model_.Write(p, std::string(c));
    return err;
  }
  DWORD Rename(const std::string& f, const std::string& t, bool r) override {
    Before(FileOp::kRename, f + " -> " + t);
    model_.Touch(f);
    model_.Touch(t);
    DWORD err = base_->Rename(f, t, r);
    if (err == ERROR_SUCCESS) model_.Rename(f, t);
    return err;
  }
  DWORD Exchange(const std::string& a, const std::string& b) override {
    Before(FileOp::kExchange, a + " <-> " + b);
    model_.Touch(a);
    model_.Touch(b);
    DWORD err = base_->Exchange(a, b);
    if (err == ERROR_SUCCESS) model_.Exchange(a, b);
    return err;
  }
  DWORD Copy(const std::string& f, const std::string& t, bool e) override {
    Before(FileOp::kCopy, f + " -> " + t);
    model_.Touch(t);
    DWORD err = base_->Copy(f, t, e);
    std::string bytes;
    if (err == ERROR_SUCCESS && base_->Read(t, &bytes) == ERROR_SUCCESS) model_.Write(t, bytes);
    return err;
  }
  DWORD Delete(const std::string& p) override {
    Before(FileOp::kDelete, p);
    model_.Touch(p);
    DWORD err = base_->Delete(p);
    if (err == ERROR_SUCCESS) model_.Delete(p);
    return err;
  }
  DWORD CreateFolder(const std::string& p) override {
    Before(FileOp::kCreateFolder, p);
    return base_->CreateFolder(p);
  }
  DWORD RemoveFolder(const std::string& p) override {
    Before(FileOp::kRemoveFolder, p);
    return base_->RemoveFolder(p);
  }
  DWORD SyncFile(const std::string& p) override {
    Before(FileOp::kSyncFile, p);
    DWORD err = base_->SyncFile(p);
    if (err == ERROR_SUCCESS) model_.SyncFile(p);
    return err;
  }
  DWORD SyncFolder(const std::string& p) override {
    Before(FileOp::kSyncFolder, p);
    DWORD err = base_->SyncFolder(p);
    if (err == ERROR_SUCCESS) model_.SyncFolder(p);
    return err;
  }

  // The scenario is over: the end point dies here; any other point was never reached.
  [[noreturn]] void End() {
    if (point_.call == 0) Die();
    Put(report_, "error", "the scenario ended before " + Describe(point_));
    ::_exit(3);
  }

 private:
  void Before(FileOp op, const std::string& path, size_t bytes = 0) {
    ++count_;
    calls_.push_back({op, path, bytes});
    if (point_.call == count_ && point_.torn_bytes < 0) Die();
  }

  [[noreturn]] void Die() {
    for (const std::string& outcome : model_.Outcomes()) Put(report_, "outcome", outcome);
    for (const SeamCall& call : calls_) {
      Put(report_, "call",
          std::to_string(static_cast<int>(call.op)) + " " + std::to_string(call.bytes) + " " +
              call.path);
    }
    Put(report_, "killed", "");
    ::kill(::getpid(), SIGKILL);
    ::_exit(4);
  }

  platform::FileSystem* base_;
  KillPoint point_;
  int report_;
  int count_ = 0;
  std::vector<SeamCall> calls_;
  PowerCutModel model_;
};

}  // namespace

std::string Describe(const KillPoint& point) {
  if (point.call == 0) return "the end";
  std::string text = "call " + std::to_string(point.call);
  if (point.torn_bytes >= 0) text += " after " + std::to_string(point.torn_bytes) + " bytes";
  return text;
}

std::vector<KillPoint> KillPointsOf(const std::vector<SeamCall>& calls) {
  std::vector<KillPoint> points;
  for (size_t i = 0; i < calls.size(); ++i) {
    const int call = static_cast<int>(i) + 1;
    points.push_back({call, -1});
    const size_t size = calls[i].bytes;
    if (calls[i].op != FileOp::kWrite || size == 0) continue;
    std::set<size_t> cuts = {0, std::min<size_t>(1, size - 1), size / 2, size - 1};
    for (size_t cut : cuts) points.push_back({call, static_cast<int>(cut)});
  }
  points.push_back({0, -1});
  return points;
}

// ---- The power-cut model ----

PowerCutModel::PowerCutModel(std::string watched, Loader load)
    : watched_(std::move(watched)), folder_(platform::FolderOf(watched_)), load_(std::move(load)) {
  Touch(watched_);
}

int PowerCutModel::Touch(const std::string& path) {
  if (loaded_.insert(path).second) {
    if (std::optional<std::string> bytes = load_(path)) {
      inodes_.push_back({*bytes, *bytes, false});
      initial_[path] = names_[path] = static_cast<int>(inodes_.size()) - 1;
    }
  }
  auto it = names_.find(path);
  return it == names_.end() ? -1 : it->second;
}

void PowerCutModel::Apply(const NameChange& c, std::map<std::string, int>* names) {
  switch (c.kind) {
    case NameChange::kCreate:
      (*names)[c.a] = c.inode;
      break;
    case NameChange::kRename:
      if (auto it = names->find(c.a); it != names->end()) {
        const int inode = it->second;
        names->erase(it);
        (*names)[c.b] = inode;
      }
      break;
    case NameChange::kExchange:
      if (names->count(c.a) && names->count(c.b)) std::swap((*names)[c.a], (*names)[c.b]);
      break;
    case NameChange::kDelete:
      names->erase(c.a);
      break;
  }
}

void PowerCutModel::Change(NameChange change) {
  Apply(change, &names_);
  changes_.push_back(std::move(change));
}

void PowerCutModel::Write(const std::string& path, const std::string& bytes) {
  const int inode = Touch(path);
  if (inode >= 0) {
    // Written in place: until a sync, the disk may hold any mix of the old and new bytes.
    inodes_[inode].current = bytes;
    inodes_[inode].torn = true;
    return;
  }
  inodes_.push_back({bytes, "", true});
  Change({path, "", NameChange::kCreate, static_cast<int>(inodes_.size()) - 1});
}

void PowerCutModel::Rename(const std::string& from, const std::string& to) {
  Touch(from);
  Touch(to);
  Change({from, to, NameChange::kRename});
}

void PowerCutModel::Exchange(const std::string& a, const std::string& b) {
  Touch(a);
  Touch(b);
  Change({a, b, NameChange::kExchange});
}

void PowerCutModel::Delete(const std::string& path) {
  Touch(path);
  Change({path, "", NameChange::kDelete});
}

void PowerCutModel::SyncFile(const std::string& path) {
  const int inode = Touch(path);
  if (inode < 0) return;
  inodes_[inode].durable = inodes_[inode].current;
  inodes_[inode].torn = false;
}

void PowerCutModel::SyncFolder(const std::string& folder) {
  // The journal commits every name change made before the sync together.
  if (folder == folder_) synced_changes_ = changes_.size();
}

std::vector<std::string> PowerCutModel::Outcomes() const {
  std::vector<std::string> outcomes;
  for (size_t reached = synced_changes_; reached <= changes_.size(); ++reached) {
    std::map<std::string, int> names = initial_;
    for (size_t i = 0; i < reached; ++i) Apply(changes_[i], &names);
    std::string outcome = kMissing;
    if (auto it = names.find(watched_); it != names.end()) {
      const Inode& inode = inodes_[it->second];
      outcome = inode.torn ? kTorn : inode.durable;
    }
    if (std::find(outcomes.begin(), outcomes.end(), outcome) == outcomes.end())
      outcomes.push_back(outcome);
  }
  return outcomes;
}

// ---- Child runs ----

ChildRun RunUntil(const std::function<void()>& scenario, const std::string& watched,
                  KillPoint point, std::vector<SeamCall>* calls) {
  ChildRun run;
  char report_path[] = "/tmp/harnex-crash-report-XXXXXX";
  const int report = ::mkstemp(report_path);
  if (report < 0) {
    run.error = "no report file";
    return run;
  }
  // Nothing of this process may still wait in a cache: the child starts from the disk.
  platform::FlushProfileFiles();
  platform::SetFileSystem(nullptr);
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t child = ::fork();
  if (child == 0) {
    platform::DiskFileSystem disk;
    KillingFileSystem killing(&disk, watched, point, report);
    platform::SetFileSystem(&killing);
    scenario();
    killing.End();
  }
  ::close(report);
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) {
    run.error = "the child could not be run";
    ::unlink(report_path);
    return run;
  }
  run.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  if (!run.killed) run.error = "the child was not killed (status " + std::to_string(status) + ")";

  std::ifstream in(report_path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  const std::string text = all.str();
  ::unlink(report_path);
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t tag_end = text.find('\n', pos);
    const size_t size_end = text.find('\n', tag_end + 1);
    if (tag_end == std::string::npos || size_end == std::string::npos) break;
    const std::string tag = text.substr(pos, tag_end - pos);
    const size_t size = std::stoul(text.substr(tag_end + 1, size_end - tag_end - 1));
    const std::string bytes = text.substr(size_end + 1, size);
    pos = size_end + 1 + size;
    if (tag == "outcome") run.outcomes.push_back(bytes);
    if (tag == "error") run.error += (run.error.empty() ? "" : "; ") + bytes;
    if (tag == "call" && calls) {
      std::istringstream fields(bytes);
      int op = 0;
      SeamCall call{};
      fields >> op >> call.bytes;
      fields.get();
      std::getline(fields, call.path);
      call.op = static_cast<FileOp>(op);
      calls->push_back(call);
    }
  }
  return run;
}

// ---- Folders ----

FolderSnapshot::FolderSnapshot(std::string root) : root_(std::move(root)) {
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root_)) {
    if (entry.is_regular_file()) files_[entry.path().string()] = FileBytes(entry.path().string());
  }
}

void FolderSnapshot::Restore() const {
  std::vector<std::string> extra;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root_)) {
    if (entry.is_regular_file() && !files_.count(entry.path().string()))
      extra.push_back(entry.path().string());
  }
  for (const std::string& path : extra) std::filesystem::remove(path);
  for (const auto& [path, bytes] : files_) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return kMissing;
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

}  // namespace host::testing
