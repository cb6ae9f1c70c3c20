// The real disk, the fault-injecting wrapper, and the installed file system.
#include "platform/win/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/win/profile_cache.h"
#include <winerror.h>

namespace platform {

const char* FileOpName(FileOp op) {
  switch (op) {
    case FileOp::kRead:
      return "read";
    case FileOp::kWrite:
      return "write";
    case FileOp::kRename:
      return "rename";
    case FileOp::kCopy:
      return "copy";
    case FileOp::kDelete:
      return "delete";
    case FileOp::kStat:
      return "stat";
    case FileOp::kList:
      return "list";
    case FileOp::kCreateFolder:
      return "create folder";
    case FileOp::kRemoveFolder:
      return "remove folder";
    case FileOp::kExchange:
      return "exchange";
    case FileOp::kSyncFile:
      return "sync file";
    case FileOp::kSyncFolder:
      return "sync folder";
  }
  return "?";
}

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EBUSY:
    case ETXTBSY:
      return ERROR_SHARING_VIOLATION;
    case ENOSPC:
    case EDQUOT:
      return ERROR_HANDLE_DISK_FULL;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    default:
      return ERROR_WRITE_FAULT;
  }
}

namespace {

std::atomic<uint64_t> g_generation{1};

// Advances the generation when it goes out of scope, after the operation it guards, whatever
// its outcome: a failed rename may still have replaced its target.
class ChangeNote {
 public:
  ChangeNote() = default;
  ChangeNote(const ChangeNote&) = delete;
  ChangeNote& operator=(const ChangeNote&) = delete;
  ~ChangeNote() { NoteFileChange(); }
};

DWORD LastErrno() {
  return ErrorFromErrno(errno);
}

int64_t Nanoseconds(const struct timespec& ts) {
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

DWORD WriteAll(int fd, std::string_view contents) {
  size_t done = 0;
  while (done < contents.size()) {
    ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return LastErrno();
    }
    done += static_cast<size_t>(n);
  }
  return ERROR_SUCCESS;
}

}  // namespace

DWORD DiskFileSystem::Read(const std::string& path, std::string* contents) {
  contents->clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return LastErrno();
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return ERROR_ACCESS_DENIED;
  }
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      DWORD err = LastErrno();
      ::close(fd);
      contents->clear();
      return err;
    }
    if (n == 0) break;
    contents->append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return ERROR_SUCCESS;
}

DWORD DiskFileSystem::Write(const std::string& path, std::string_view contents) {
  ChangeNote note;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return errno == ENOENT ? ERROR_PATH_NOT_FOUND : LastErrno();
  DWORD err = WriteAll(fd, contents);
  if (::close(fd) != 0 && err == ERROR_SUCCESS) err = LastErrno();
  return err;
}

DWORD DiskFileSystem::Rename(const std::string& from, const std::string& to, bool replace) {
  ChangeNote note;
  struct stat st;
  if (::lstat(from.c_str(), &st) != 0) return LastErrno();
  if (!replace) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
      return ERROR_SUCCESS;
    if (errno == EEXIST) return ERROR_ALREADY_EXISTS;
    if (errno != EINVAL && errno != ENOSYS)
      return errno == ENOENT ? ERROR_PATH_NOT_FOUND : LastErrno();
    // The file system cannot refuse by itself: look first.
    if (::lstat(to.c_str(), &st) == 0) return ERROR_ALREADY_EXISTS;
  } else if (::stat(to.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    return ERROR_ACCESS_DENIED;  // only files are replaced
  }
  if (::rename(from.c_str(), to.c_str()) != 0)
    return errno == ENOENT ? ERROR_PATH_NOT_FOUND : LastErrno();
  return ERROR_SUCCESS;
}

DWORD DiskFileSystem::Copy(const std::string& from, const std::string& to, bool fail_if_exists) {
  ChangeNote note;
  struct stat st;
  if (::stat(from.c_str(), &st) != 0) return LastErrno();
  if (S_ISDIR(st.st_mode)) return ERROR_ACCESS_DENIED;
  std::string contents;
  if (DWORD err = Read(from, &contents)) return err;
  int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (fail_if_exists ? O_EXCL : 0);
  int fd = ::open(to.c_str(), flags, 0666);
  if (fd < 0) {
    if (errno == EEXIST) return ERROR_FILE_EXISTS;
    return errno == ENOENT ? ERROR_PATH_NOT_FOUND : LastErrno();
  }
  DWORD err = WriteAll(fd, contents);
  // Windows' copy keeps the source's last-write time.
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  if (err == ERROR_SUCCESS) ::futimens(fd, times);
  if (::close(fd) != 0 && err == ERROR_SUCCESS) err = LastErrno();
  return err;
}

DWORD DiskFileSystem::Delete(const std::string& path) {
  ChangeNote note;
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return LastErrno();
  if (S_ISDIR(st.st_mode)) return ERROR_ACCESS_DENIED;
  return ::unlink(path.c_str()) == 0 ? ERROR_SUCCESS : LastErrno();
}

DWORD DiskFileSystem::Stat(const std::string& path, FileInfo* info) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return LastErrno();
  info->is_directory = S_ISDIR(st.st_mode);
  info->read_only = (st.st_mode & S_IWUSR) == 0;
  info->size = info->is_directory ? 0 : static_cast<uint64_t>(st.st_size);
  info->last_write_ns = Nanoseconds(st.st_mtim);
  info->creation_ns = Nanoseconds(st.st_ctim);
  info->file_id = static_cast<uint64_t>(st.st_ino);
  return ERROR_SUCCESS;
}

DWORD DiskFileSystem::List(const std::string& path, std::vector<std::string>* names) {
  names->clear();
  DIR* dir = ::opendir(path.c_str());
  if (!dir) return errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : LastErrno();
  while (struct dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name != "." && name != "..") names->push_back(std::move(name));
  }
  ::closedir(dir);
  return ERROR_SUCCESS;
}

DWORD DiskFileSystem::CreateFolder(const std::string& path) {
  ChangeNote note;
  if (::mkdir(path.c_str(), 0777) == 0) return ERROR_SUCCESS;
  return errno == ENOENT ? ERROR_PATH_NOT_FOUND : LastErrno();
}

DWORD DiskFileSystem::RemoveFolder(const std::string& path) {
  ChangeNote note;
  if (::rmdir(path.c_str()) == 0) return ERROR_SUCCESS;
  if (errno == ENOTDIR) return ERROR_PATH_NOT_FOUND;
  return errno == EEXIST ? ERROR_DIR_NOT_EMPTY : LastErrno();
}

DWORD DiskFileSystem::Exchange(const std::string& a, const std::string& b) {
  ChangeNote note;
  if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0)
    return ERROR_SUCCESS;
  if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) return ERROR_NOT_SUPPORTED;
  return errno == ENOENT ? ERROR_FILE_NOT_FOUND : LastErrno();
}

namespace {

DWORD SyncPath(const std::string& path, int flags) {
  int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ERROR_FILE_NOT_FOUND : LastErrno();
  int result;
  do {
    result = ::fsync(fd);
  } while (result != 0 && errno == EINTR);
  DWORD err = result == 0 ? ERROR_SUCCESS : LastErrno();
  ::close(fd);
  return err;
}

}  // namespace

DWORD DiskFileSystem::SyncFile(const std::string& path) {
  // Read access is enough for fsync, and a read-only file can be synced too.
  return SyncPath(path, O_RDONLY);
}

DWORD DiskFileSystem::SyncFolder(const std::string& path) {
  return SyncPath(path, O_RDONLY | O_DIRECTORY);
}

// ---- The defaults for other file systems ----

DWORD FileSystem::Exchange(const std::string&, const std::string&) {
  return ERROR_NOT_SUPPORTED;
}
DWORD FileSystem::SyncFile(const std::string&) {
  return ERROR_SUCCESS;
}
DWORD FileSystem::SyncFolder(const std::string&) {
  return ERROR_SUCCESS;
}

// ---- FaultInjectingFileSystem ----

void FaultInjectingFileSystem::AddFault(Fault fault) {
  faults_.push_back({std::move(fault), 0});
}

int FaultInjectingFileSystem::CallCount(FileOp op) const {
  int n = 0;
  for (const Call& c : calls_) n += c.op == op;
  return n;
}

DWORD FaultInjectingFileSystem::Check(FileOp op, const std::string& path) {
  DWORD error = ERROR_SUCCESS;
  for (ActiveFault& f : faults_) {
    if (f.fault.op && *f.fault.op != op) continue;
    if (path.find(f.fault.path_part) == std::string::npos) continue;
    ++f.seen;
    if (error == ERROR_SUCCESS && (f.fault.nth == 0 || f.fault.nth == f.seen))
      error = f.fault.error;
  }
  return error;
}

DWORD FaultInjectingFileSystem::Record(FileOp op, const std::string& path, DWORD result) {
  calls_.push_back({op, path, result});
  return result;
}

DWORD FaultInjectingFileSystem::Read(const std::string& path, std::string* contents) {
  DWORD err = Check(FileOp::kRead, path);
  if (err) contents->clear();
  return Record(FileOp::kRead, path, err ? err : base_->Read(path, contents));
}
DWORD FaultInjectingFileSystem::Write(const std::string& path, std::string_view contents) {
  ChangeNote note;
  DWORD err = Check(FileOp::kWrite, path);
  return Record(FileOp::kWrite, path, err ? err : base_->Write(path, contents));
}
DWORD FaultInjectingFileSystem::Rename(const std::string& from, const std::string& to,
                                       bool replace) {
  ChangeNote note;
  DWORD err = Check(FileOp::kRename, from + "\n" + to);
  return Record(FileOp::kRename, from + " -> " + to, err ? err : base_->Rename(from, to, replace));
}
DWORD FaultInjectingFileSystem::Copy(const std::string& from, const std::string& to,
                                     bool fail_if_exists) {
  ChangeNote note;
  DWORD err = Check(FileOp::kCopy, from + "\n" + to);
  return Record(FileOp::kCopy, from + " -> " + to,
                err ? err : base_->Copy(from, to, fail_if_exists));
}
DWORD FaultInjectingFileSystem::Delete(const std::string& path) {
  ChangeNote note;
  DWORD err = Check(FileOp::kDelete, path);
  return Record(FileOp::kDelete, path, err ? err : base_->Delete(path));
}
DWORD FaultInjectingFileSystem::Stat(const std::string& path, FileInfo* info) {
  DWORD err = Check(FileOp::kStat, path);
  return Record(FileOp::kStat, path, err ? err : base_->Stat(path, info));
}
DWORD FaultInjectingFileSystem::List(const std::string& path, std::vector<std::string>* names) {
  DWORD err = Check(FileOp::kList, path);
  if (err) names->clear();
  return Record(FileOp::kList, path, err ? err : base_->List(path, names));
}
DWORD FaultInjectingFileSystem::CreateFolder(const std::string& path) {
  ChangeNote note;
  DWORD err = Check(FileOp::kCreateFolder, path);
  return Record(FileOp::kCreateFolder, path, err ? err : base_->CreateFolder(path));
}
DWORD FaultInjectingFileSystem::RemoveFolder(const std::string& path) {
  ChangeNote note;
  DWORD err = Check(FileOp::kRemoveFolder, path);
  return Record(FileOp::kRemoveFolder, path, err ? err : base_->RemoveFolder(path));
}

DWORD FaultInjectingFileSystem::Exchange(const std::string& a, const std::string& b) {
  ChangeNote note;
  DWORD err = Check(FileOp::kExchange, a + "\n" + b);
  return Record(FileOp::kExchange, a + " <-> " + b, err ? err : base_->Exchange(a, b));
}
DWORD FaultInjectingFileSystem::SyncFile(const std::string& path) {
  DWORD err = Check(FileOp::kSyncFile, path);
  return Record(FileOp::kSyncFile, path, err ? err : base_->SyncFile(path));
}
DWORD FaultInjectingFileSystem::SyncFolder(const std::string& path) {
  DWORD err = Check(FileOp::kSyncFolder, path);
  return Record(FileOp::kSyncFolder, path, err ? err : base_->SyncFolder(path));
}

// ---- Durable moves ----

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

DWORD MoveDurably(FileSystem& fs, const std::string& from, const std::string& to, bool replace,
                  bool sync_folder) {
  // Without the data on disk first, a crash after the rename reached the disk could leave the
  // target's name on an empty or partial file.
  if (DWORD err = fs.SyncFile(from)) return err;
  // The same file under another spelling: nothing moves, and a swap would delete it.
  if (from == to) return ERROR_SUCCESS;
  FileInfo target;
  const bool target_exists = fs.Stat(to, &target) == ERROR_SUCCESS;
  bool swapped = false;
  if (target_exists && replace) {
    // A swap keeps the old target under the source's name until the new one is known to be on
    // disk, so that a failure can put it back.
    DWORD err = fs.Exchange(from, to);
    if (err == ERROR_SUCCESS) {
      swapped = true;
    } else if (err != ERROR_NOT_SUPPORTED) {
      return err;
    }
  }
  if (!swapped) {
    if (DWORD err = fs.Rename(from, to, replace)) return err;
    if (!target_exists && !sync_folder) return ERROR_SUCCESS;
  }
  DWORD err = fs.SyncFolder(FolderOf(to));
  if (err == ERROR_SUCCESS && FolderOf(from) != FolderOf(to)) err = fs.SyncFolder(FolderOf(from));
  if (err != ERROR_SUCCESS) {
    // Not known to be on disk: put the names back as they were. After a rename over an existing
    // target (no swap possible) the old target is gone and cannot come back.
    if (swapped) {
      fs.Exchange(from, to);
    } else if (!target_exists) {
      fs.Rename(to, from, false);
    }
    return err;
  }
  if (swapped) fs.Delete(from);  // the old target; a leftover is removed by the next save
  return ERROR_SUCCESS;
}

// ---- The installed file system ----

namespace {
FileSystem* g_installed = nullptr;
DiskFileSystem& Disk() {
  static DiskFileSystem disk;
  return disk;
}
}  // namespace

uint64_t FileChangeGeneration() {
  return g_generation.load(std::memory_order_relaxed);
}

void NoteFileChange() {
  g_generation.fetch_add(1, std::memory_order_relaxed);
}

void SetFileSystem(FileSystem* fs) {
  // Changes waiting in the profile cache belong to the old file system; what the new one holds
  // may differ, so nothing cached may be trusted after the switch.
  FlushProfileFilesReportingFailures();
  ForgetAllProfileFiles();
  g_installed = fs;
  NoteFileChange();
}

FileSystem& CurrentFileSystem() {
  return g_installed ? *g_installed : Disk();
}

ScopedFileSystem::ScopedFileSystem(FileSystem* fs) : previous_(g_installed) {
  SetFileSystem(fs);
}
ScopedFileSystem::~ScopedFileSystem() {
  SetFileSystem(previous_);
}

}  // namespace platform
