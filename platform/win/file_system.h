// The file-system seam: every file access of the Win32 stand-in goes through the installed
// FileSystem, so that tests can make any single call fail with a chosen Windows error code.
//
// Paths here are POSIX paths in UTF-8, already mapped from the Windows form (win_path.h). Every
// operation returns a Windows error code: ERROR_SUCCESS (0) or the code Windows would report.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windef.h>

namespace platform {

struct FileInfo {
  bool is_directory = false;
  bool read_only = false;
  uint64_t size = 0;
  int64_t last_write_ns = 0;  // nanoseconds since 1970-01-01 UTC
  int64_t creation_ns = 0;    // the status-change time where the disk keeps no creation time
  uint64_t file_id = 0;       // inode: tells a replaced file from the old one
};

enum class FileOp {
  kRead,
  kWrite,
  kRename,
  kCopy,
  kDelete,
  kStat,
  kList,
  kCreateFolder,
  kRemoveFolder,
  kExchange,
  kSyncFile,
  kSyncFolder,
};
const char* FileOpName(FileOp op);

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The whole content of a file. ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED
  // (also for a folder) ...
  virtual DWORD Read(const std::string& path, std::string* contents) = 0;
  // Creates or truncates the file and writes the bytes.
  virtual DWORD Write(const std::string& path, std::string_view contents) = 0;
  // Renames a file or folder. Without replace an existing target gives ERROR_ALREADY_EXISTS;
  // with it an existing file is replaced atomically.
  virtual DWORD Rename(const std::string& from, const std::string& to, bool replace) = 0;
  // Copies a file's bytes and last-write time. ERROR_FILE_EXISTS when fail_if_exists and the
  // target exists.
  virtual DWORD Copy(const std::string& from, const std::string& to, bool fail_if_exists) = 0;
  // Deletes a file (not a folder: ERROR_ACCESS_DENIED).
  virtual DWORD Delete(const std::string& path) = 0;
  virtual DWORD Stat(const std::string& path, FileInfo* info) = 0;
  // The names in a folder, without "." and "..", in no particular order.
  virtual DWORD List(const std::string& path, std::vector<std::string>* names) = 0;
  virtual DWORD CreateFolder(const std::string& path) = 0;
  virtual DWORD RemoveFolder(const std::string& path) = 0;

  // Durability. A wrapper must pass these on: the defaults below are for file systems that keep
  // nothing across a crash of the machine (memory) or cannot swap names.
  //
  // Swaps the contents of two existing names in one step (each name then holds what the other
  // did). ERROR_NOT_SUPPORTED when the file system cannot; the caller then falls back to a
  // replacing rename.
  virtual DWORD Exchange(const std::string& a, const std::string& b);
  // Returns once the file's data and size are on the disk (fsync).
  virtual DWORD SyncFile(const std::string& path);
  // Returns once the folder's entries, names made, moved and removed in it, are on the disk.
  virtual DWORD SyncFolder(const std::string& path);
};

// The real disk.
class DiskFileSystem : public FileSystem {
 public:
  DWORD Read(const std::string& path, std::string* contents) override;
  DWORD Write(const std::string& path, std::string_view contents) override;
  DWORD Rename(const std::string& from, const std::string& to, bool replace) override;
  DWORD Copy(const std::string& from, const std::string& to, bool fail_if_exists) override;
  DWORD Delete(const std::string& path) override;
  DWORD Stat(const std::string& path, FileInfo* info) override;
  DWORD List(const std::string& path, std::vector<std::string>* names) override;
  DWORD CreateFolder(const std::string& path) override;
  DWORD RemoveFolder(const std::string& path) override;
  DWORD Exchange(const std::string& a, const std::string& b) override;
  DWORD SyncFile(const std::string& path) override;
  DWORD SyncFolder(const std::string& path) override;
};

// Windows' code for a POSIX errno value (ENOENT: ERROR_FILE_NOT_FOUND, ENOSPC:
// ERROR_HANDLE_DISK_FULL, ...).
DWORD ErrorFromErrno(int error);

// Wraps another file system and makes chosen calls fail without touching the wrapped one.
// Counts and records every call, so that a test can fail each call of an operation in turn.
class FaultInjectingFileSystem : public FileSystem {
 public:
  // A fault: calls of `op` (any operation when unset) whose path contains `path_part` fail
  // with `error`: only the nth such call counted from when the fault was added (1-based), or
  // every one when nth is 0.
  struct Fault {
    std::optional<FileOp> op;
    int nth = 0;
    DWORD error = 0;
    std::string path_part;
  };
  struct Call {
    FileOp op;
    std::string path;
    DWORD result;
  };

  // `base` is not owned and must outlive this object.
  explicit FaultInjectingFileSystem(FileSystem* base) : base_(base) {}
  FaultInjectingFileSystem(const FaultInjectingFileSystem&) = delete;
  FaultInjectingFileSystem& operator=(const FaultInjectingFileSystem&) = delete;

  void AddFault(Fault fault);
  // Shorthands: the nth call of op fails; every call of op fails.
  void FailCall(FileOp op, int nth, DWORD error) { AddFault({op, nth, error, {}}); }
  void FailEvery(FileOp op, DWORD error) { AddFault({op, 0, error, {}}); }
  void ClearFaults() { faults_.clear(); }

  // Calls since construction or the last ResetCalls, in order.
  const std::vector<Call>& calls() const { return calls_; }
  int CallCount(FileOp op) const;
  void ResetCalls() { calls_.clear(); }

  DWORD Read(const std::string& path, std::string* contents) override;
  DWORD Write(const std::string& path, std::string_view contents) override;
  DWORD Rename(const std::string& from, const std::string& to, bool replace) override;
  DWORD Copy(const std::string& from, const std::string& to, bool fail_if_exists) override;
  DWORD Delete(const std::string& path) override;
  DWORD Stat(const std::string& path, FileInfo* info) override;
  DWORD List(const std::string& path, std::vector<std::string>* names) override;
  DWORD CreateFolder(const std::string& path) override;
  DWORD RemoveFolder(const std::string& path) override;
  DWORD Exchange(const std::string& a, const std::string& b) override;
  DWORD SyncFile(const std::string& path) override;
  DWORD SyncFolder(const std::string& path) override;

 private:
  struct ActiveFault {
    Fault fault;
    int seen = 0;
  };
  // The error this call must fail with (0: let it through); counts the call for every fault.
  DWORD Check(FileOp op, const std::string& path);
  DWORD Record(FileOp op, const std::string& path, DWORD result);

  FileSystem* base_;
  std::vector<ActiveFault> faults_;
  std::vector<Call> calls_;
};

// The folder that holds `path` ("." for a bare name).
std::string FolderOf(const std::string& path);

// Moves `from` to `to` so that the move survives a crash of the machine, and a failure leaves the
// target as it was:
//   1. the data of `from` is synced (SyncFile); a failure stops before anything moved;
//   2. `from` takes the place of `to` in one step: swapped with an existing target when the file
//      system can (Exchange), else renamed over it (Rename with replace), or renamed to a free
//      name (without replace an existing target gives ERROR_ALREADY_EXISTS);
//   3. the folder of `to` (and of `from`, when another) is synced; on failure the move is undone
//      (swapped back, or a target that was new renamed back) and the error returned; only after
//      a rename over a target that could not be swapped is the old target gone for good;
//   4. after a swap, `from` holds the old target and is deleted (a failure there is ignored: the
//      move is complete).
// Result: ERROR_SUCCESS or the code of the step that failed.
//
// With sync_folder false and a target that does not exist, step 3 is left to the caller: the new
// name holds the complete file at once, but reaches the disk only with the caller's SyncFolder
// (until then a crash may leave the name missing, as it was, never a part). An existing target
// is always replaced with every step.
DWORD MoveDurably(FileSystem& fs, const std::string& from, const std::string& to, bool replace,
                  bool sync_folder = true);

// A counter that advances after every operation of this process that may change what is on disk:
// writes, renames, copies, deletes and folders made or removed through DiskFileSystem or
// FaultInjectingFileSystem, and the installation of another file system. A cache of file contents
// that saw the same value when it last looked knows that no change of ours came in between (a
// change made by another program does not move it). Another FileSystem implementation must call
// NoteFileChange after each such operation.
uint64_t FileChangeGeneration();
void NoteFileChange();

// The installed file system (a DiskFileSystem until one is set). Setting one flushes the profile
// cache through the old one and forgets it. `fs` is not owned; null restores the disk.
void SetFileSystem(FileSystem* fs);
FileSystem& CurrentFileSystem();

// Installs a file system for the lifetime of this object and restores the previous one after.
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem* fs);
  ~ScopedFileSystem();
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};

}  // namespace platform
