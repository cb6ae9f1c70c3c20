// GetPrivateProfileStringW and its kin over a cache of parsed profile files.
//
// A project of tens of thousands of keys is read key by key, so a read must cost far less than a
// system call. A cached file is checked against the file's size, last-write time and identity
// only when the last check is older than kProfileRecheckNs or a file operation of this process
// happened since (FileChangeGeneration). That is safe: another program's change that lands
// within a millisecond after our check cannot be told from one that lands just after our read,
// as nothing orders the two; and the disk itself stamps last-write times from a clock that
// ticks every few milliseconds, so two same-size writes within one tick were never told apart
// by the stamp either. Our own changes all go through the file-system seam and are seen at once.
//
// Writes change the cached copy and are written when the cache is flushed: saving a project
// writes every key one by one, and writing the whole file each time would make a save quadratic
// in its size. The host flushes before it goes idle, so a handler's writes are on the disk by the
// time the user can do anything else.
//
// A flush never writes into the file itself: a crash halfway through would leave it cut. The
// bytes go to "<file>.~wr" first, which then takes the file's place durably (MoveDurably). A file
// that is new gets its name at once, but its folder is synced only by the host's flush before it
// goes idle (or a write-through move in the folder): a project save makes its temporary file new
// each time and moves it on at once, which syncs the folder anyway, and a sync costs the disk a
// journal commit.
#include <time.h>

#include <cwchar>
#include <map>
#include <unordered_map>

#include "platform/win/file_system.h"
#include "platform/win/profile_cache.h"
#include "platform/win/profile_file.h"
#include "platform/win/text_encoding.h"
#include "platform/win/win_path.h"
#include <winbase.h>

namespace platform {
namespace {

int64_t SystemNowNs() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int64_t (*g_now_ns)() = &SystemNowNs;

// The temporary file a flush writes beside each file. Not a name any caller looks for: it ends
// in neither a project's nor a settings file's extension.
constexpr char kFlushSuffix[] = ".~wr";

struct CachedFile {
  std::string path;   // resolved
  std::wstring name;  // as the caller spelt it when it first changed the file (for messages)
  ProfileFile file;
  FileInfo stamp;
  bool dirty = false;
  // When the stamp was last compared with the disk: the clock and the file-change generation
  // read before that look. checked_at is meaningless while checked is false.
  bool checked = false;
  int64_t checked_at = 0;
  uint64_t checked_generation = 0;
};

// The clock and generation of one call, read once before any look at the disk, so that a change
// made during the look counts as after it.
struct Moment {
  int64_t now;
  uint64_t generation;
};

Moment Now() {
  return {g_now_ns(), FileChangeGeneration()};
}

class ProfileCache {
 public:
  ProfileCache() {
    // The disk must outlive the cache: the flush at the end of the process goes to it.
    CurrentFileSystem();
  }
  ~ProfileCache() { Flush(/*sync_names=*/true); }

  // The cached file for reading, or null with *error (the file or its folder is missing).
  CachedFile* ForRead(LPCWSTR path, DWORD* error);
  // The cached file for a change (a new empty one when the file does not exist), or null with
  // *error.
  CachedFile* ForWrite(LPCWSTR path, DWORD* error);
  // Called right after ForRead or ForWrite with the same path returned `file`.
  void MarkDirty(LPCWSTR path, CachedFile* file);
  // With sync_names, also the folders of the new files that earlier flushes made.
  std::vector<ProfileWriteFailure> Flush(bool sync_names);
  void NoteFolderSynced(const std::string& folder) { unsynced_names_.erase(folder); }
  void Forget(const std::string& posix) {
    ForgetLast();
    files_.erase(posix);
  }
  void ForgetAll() {
    ForgetLast();
    files_.clear();
    found_by_name_.clear();
    dirty_by_name_.clear();
    unsynced_names_.clear();
  }

 private:
  CachedFile* ReadSlow(LPCWSTR path, const Moment& at, DWORD* error);
  CachedFile* WriteSlow(LPCWSTR path, const Moment& at, DWORD* error);
  CachedFile* Load(const ResolvedPath& r, const Moment& at, DWORD* error);
  // The last file returned, when it was asked for by this name and needs no look at the disk.
  CachedFile* Last(LPCWSTR path, const Moment& at) const;
  CachedFile* Remember(LPCWSTR path, CachedFile* file);
  void ForgetLast() {
    last_file_ = nullptr;
    last_name_in_dirty_ = false;
  }

  std::unordered_map<std::string, CachedFile> files_;  // by resolved path
  // Files with unwritten changes by the name the caller used: a new file is not on disk yet,
  // and looking for it there on every write of a save would cost a folder listing each time.
  std::unordered_map<std::wstring, std::string> dirty_by_name_;
  // Where a name was last found: checking that the file is still there costs one look-up,
  // where resolving the name again would cost one per folder on its way.
  std::unordered_map<std::wstring, std::string> found_by_name_;
  // The file of the last call and the name it was asked by: a project is read from one file
  // key after key, and comparing the name is cheaper than hashing it. Cleared whenever an entry
  // of files_ goes, so the pointer never dangles.
  CachedFile* last_file_ = nullptr;
  // Folders whose new files' names are not synced yet, with those files' names (for messages).
  std::map<std::string, std::vector<std::wstring>> unsynced_names_;
  std::wstring last_name_;
  bool last_name_in_dirty_ = false;  // last_name_ is a key of dirty_by_name_
};

ProfileCache& Cache() {
  static ProfileCache cache;
  return cache;
}

bool SameStamp(const FileInfo& a, const FileInfo& b) {
  return a.size == b.size && a.last_write_ns == b.last_write_ns && a.file_id == b.file_id;
}

void MarkChecked(CachedFile* cached, const Moment& at) {
  cached->checked = true;
  cached->checked_at = at.now;
  cached->checked_generation = at.generation;
}

CachedFile* ProfileCache::Last(LPCWSTR path, const Moment& at) const {
  if (!last_file_ || last_name_ != path) return nullptr;
  const CachedFile& f = *last_file_;
  if (f.dirty) return last_file_;  // written here, not yet on disk: the cache is the truth
  const bool recent = f.checked && f.checked_generation == at.generation &&
                      at.now >= f.checked_at && at.now - f.checked_at < kProfileRecheckNs;
  return recent ? last_file_ : nullptr;
}

CachedFile* ProfileCache::Remember(LPCWSTR path, CachedFile* file) {
  if (last_name_ != path) {
    last_name_.assign(path);
    last_name_in_dirty_ = false;
  }
  last_file_ = file;
  return file;
}

CachedFile* ProfileCache::Load(const ResolvedPath& r, const Moment& at, DWORD* error) {
  if (r.info.is_directory) {
    *error = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  auto it = files_.find(r.posix);
  if (it != files_.end() && (it->second.dirty || SameStamp(it->second.stamp, r.info))) {
    MarkChecked(&it->second, at);
    return &it->second;
  }
  std::string bytes;
  DWORD err = r.info.size > kMaxProfileFileBytes ? ERROR_NOT_ENOUGH_MEMORY : ERROR_SUCCESS;
  if (err == ERROR_SUCCESS) err = CurrentFileSystem().Read(r.posix, &bytes);
  if (err != ERROR_SUCCESS) {
    if (it != files_.end()) {
      ForgetLast();
      files_.erase(it);
    }
    *error = err;
    return nullptr;
  }
  CachedFile& cached = files_[r.posix];
  cached.path = r.posix;
  cached.file = ProfileFile::Parse(bytes);
  cached.stamp = r.info;
  cached.dirty = false;
  MarkChecked(&cached, at);
  return &cached;
}

CachedFile* ProfileCache::ForRead(LPCWSTR path, DWORD* error) {
  if (!path) {
    *error = ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  const Moment at = Now();
  if (CachedFile* last = Last(path, at)) return last;
  CachedFile* file = ReadSlow(path, at, error);
  return file ? Remember(path, file) : nullptr;
}

CachedFile* ProfileCache::ReadSlow(LPCWSTR path, const Moment& at, DWORD* error) {
  if (auto d = dirty_by_name_.find(path); d != dirty_by_name_.end()) return &files_[d->second];
  if (auto f = found_by_name_.find(path); f != found_by_name_.end()) {
    ResolvedPath known;
    known.posix = f->second;
    known.exists = CurrentFileSystem().Stat(known.posix, &known.info) == ERROR_SUCCESS;
    if (known.exists) return Load(known, at, error);
    found_by_name_.erase(f);
  }
  ResolvedPath r = ResolvePath(path);
  if (r.exists && !r.error) found_by_name_[path] = r.posix;
  if (r.error || !r.exists) {
    *error = r.error ? r.error : ERROR_FILE_NOT_FOUND;
    auto it = files_.find(r.posix);
    if (it == files_.end()) return nullptr;
    if (it->second.dirty) return &it->second;  // written here, not yet on disk
    ForgetLast();
    files_.erase(it);
    return nullptr;
  }
  return Load(r, at, error);
}

CachedFile* ProfileCache::ForWrite(LPCWSTR path, DWORD* error) {
  if (!path) {
    *error = ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  const Moment at = Now();
  if (CachedFile* last = Last(path, at)) return last;
  CachedFile* file = WriteSlow(path, at, error);
  return file ? Remember(path, file) : nullptr;
}

CachedFile* ProfileCache::WriteSlow(LPCWSTR path, const Moment& at, DWORD* error) {
  if (auto d = dirty_by_name_.find(path); d != dirty_by_name_.end()) return &files_[d->second];
  ResolvedPath r = ResolvePath(path);
  if (r.error) {
    *error = r.error;
    return nullptr;
  }
  if (r.exists) return Load(r, at, error);
  auto it = files_.find(r.posix);
  if (it != files_.end() && it->second.dirty) return &it->second;
  CachedFile& created = files_[r.posix];
  created = CachedFile{};
  created.path = r.posix;
  return &created;
}

void ProfileCache::MarkDirty(LPCWSTR path, CachedFile* file) {
  file->dirty = true;
  if (file->name.empty()) file->name = path;
  // A save marks the same file by the same name forty-five thousand times: once is enough.
  if (file == last_file_ && last_name_in_dirty_) return;
  dirty_by_name_[path] = file->path;
  if (file == last_file_) last_name_in_dirty_ = true;
}

// Puts a file's new bytes in its place so that a crash leaves the old or the new file whole.
// *made_new: the file did not exist, and its name is not synced yet.
DWORD WriteWhole(FileSystem& fs, const std::string& path, const std::string& bytes,
                 bool* made_new) {
  FileInfo info;
  *made_new = fs.Stat(path, &info) != ERROR_SUCCESS;
  const std::string temp = path + kFlushSuffix;
  DWORD err = fs.Write(temp, bytes);
  if (err == ERROR_SUCCESS) err = MoveDurably(fs, temp, path, /*replace=*/true, !*made_new);
  if (err != ERROR_SUCCESS) fs.Delete(temp);  // whatever of it is left; the file is as it was
  return err;
}

std::vector<ProfileWriteFailure> ProfileCache::Flush(bool sync_names) {
  std::vector<ProfileWriteFailure> failures;
  FileSystem& fs = CurrentFileSystem();
  for (auto it = files_.begin(); it != files_.end();) {
    CachedFile& cached = it->second;
    if (!cached.dirty) {
      ++it;
      continue;
    }
    bool made_new = false;
    DWORD err = WriteWhole(fs, it->first, cached.file.Serialize(), &made_new);
    if (err == ERROR_SUCCESS && made_new) {
      unsynced_names_[FolderOf(it->first)].push_back(cached.name.empty() ? Utf8ToWide(cached.path)
                                                                         : cached.name);
    } else if (err == ERROR_SUCCESS) {
      unsynced_names_.erase(FolderOf(it->first));  // synced with this file's move
    }
    if (err == ERROR_SUCCESS) err = fs.Stat(it->first, &cached.stamp);
    if (err != ERROR_SUCCESS) {
      failures.push_back({cached.name.empty() ? Utf8ToWide(cached.path) : cached.name, err});
      ForgetLast();
      it = files_.erase(it);  // the disk stays the truth
      continue;
    }
    cached.dirty = false;
    cached.checked = false;
    ++it;
  }
  dirty_by_name_.clear();
  last_name_in_dirty_ = false;
  if (sync_names) {
    for (const auto& [folder, names] : unsynced_names_) {
      if (DWORD err = fs.SyncFolder(folder)) {
        for (const std::wstring& name : names) failures.push_back({name, err});
      }
    }
    unsynced_names_.clear();
  }
  return failures;
}

// Copies text into a caller's buffer of `size` UTF-16 units: at most size - 1 units, never
// half of a surrogate pair, then a zero. Returns the number of wchar_t copied.
DWORD CopyOut(std::wstring_view text, LPWSTR buffer, DWORD size, bool* cut) {
  size_t units = 0, n = 0;
  for (; n < text.size(); ++n) {
    size_t need = static_cast<uint32_t>(text[n]) >= 0x10000 ? 2 : 1;
    if (units + need > size - 1) break;
    units += need;
  }
  std::wmemcpy(buffer, text.data(), n);
  buffer[n] = L'\0';
  if (cut) *cut = n < text.size();
  return static_cast<DWORD>(n);
}

// A list of zero-terminated names ending with a second zero. A list that does not fit is cut
// and ends with two zeros.
DWORD CopyListOut(const std::vector<std::wstring>& names, LPWSTR buffer, DWORD size) {
  if (size < 2) {
    if (size == 1) buffer[0] = L'\0';
    return 0;
  }
  size_t units = 0, n = 0;
  for (const std::wstring& name : names) {
    for (wchar_t c : name) {
      size_t need = static_cast<uint32_t>(c) >= 0x10000 ? 2 : 1;
      if (units + need > size - 2) {
        buffer[n] = buffer[n + 1] = L'\0';
        SetLastError(ERROR_MORE_DATA);
        return static_cast<DWORD>(n);
      }
      buffer[n++] = c;
      units += need;
    }
    if (units + 1 > size - 2) {  // no room for this name's zero and the list's
      buffer[n] = buffer[n + 1] = L'\0';
      SetLastError(ERROR_MORE_DATA);
      return static_cast<DWORD>(n);
    }
    buffer[n++] = L'\0';
    ++units;
  }
  buffer[n] = L'\0';
  return static_cast<DWORD>(n);
}

std::wstring_view Unquote(std::wstring_view value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

void ForgetProfileFile(const std::string& posix_path) {
  Cache().Forget(posix_path);
}
void ForgetAllProfileFiles() {
  Cache().ForgetAll();
}
DWORD FlushProfileFiles() {
  const std::vector<ProfileWriteFailure> failures = Cache().Flush(/*sync_names=*/false);
  return failures.empty() ? ERROR_SUCCESS : failures.front().error;
}
std::vector<ProfileWriteFailure> FlushProfileFilesReportingFailures() {
  return Cache().Flush(/*sync_names=*/true);
}
void NoteFolderSynced(const std::string& folder) {
  Cache().NoteFolderSynced(folder);
}
void SetProfileClockForTesting(int64_t (*now_ns)()) {
  g_now_ns = now_ns ? now_ns : &SystemNowNs;
}

}  // namespace platform

using platform::Cache;
using platform::CachedFile;

DWORD GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault,
                               LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName) {
  if (!lpReturnedString || nSize == 0) return 0;
  DWORD error = ERROR_SUCCESS;
  const CachedFile* cached = Cache().ForRead(lpFileName, &error);
  if (cached && !lpAppName) {
    SetLastError(ERROR_SUCCESS);
    return platform::CopyListOut(cached->file.SectionNames(), lpReturnedString, nSize);
  }
  if (cached && !lpKeyName) {
    std::vector<std::wstring> keys;
    SetLastError(ERROR_SUCCESS);
    if (cached->file.KeyNames(lpAppName, &keys))
      return platform::CopyListOut(keys, lpReturnedString, nSize);
  }
  std::optional<std::wstring_view> value;
  if (cached && lpKeyName) value = cached->file.Find(lpAppName ? lpAppName : L"", lpKeyName);
  std::wstring_view text;
  if (value) {
    text = platform::Unquote(*value);
  } else {
    text = lpDefault ? lpDefault : L"";
    while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
  }
  bool cut = false;
  DWORD n = platform::CopyOut(text, lpReturnedString, nSize, &cut);
  SetLastError(cut ? ERROR_MORE_DATA : cached ? ERROR_SUCCESS : error);
  return n;
}

UINT GetPrivateProfileIntW(LPCWSTR lpAppName, LPCWSTR lpKeyName, INT nDefault, LPCWSTR lpFileName) {
  DWORD error = ERROR_SUCCESS;
  const CachedFile* cached = Cache().ForRead(lpFileName, &error);
  std::optional<std::wstring_view> value;
  if (cached && lpAppName && lpKeyName) value = cached->file.Find(lpAppName, lpKeyName);
  if (!value) return static_cast<UINT>(nDefault);
  std::wstring_view v = platform::Unquote(*value);
  size_t i = 0;
  while (i < v.size() && (v[i] == L' ' || v[i] == L'\t')) ++i;
  bool negative = i < v.size() && v[i] == L'-';
  if (i < v.size() && (v[i] == L'-' || v[i] == L'+')) ++i;
  int64_t n = 0;
  for (; i < v.size() && v[i] >= L'0' && v[i] <= L'9'; ++i)
    n = std::min<int64_t>(n * 10 + (v[i] - L'0'), INT64_C(1) << 32);
  return static_cast<UINT>(negative ? -n : n);
}

BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString,
                                LPCWSTR lpFileName) {
  if (!lpAppName) {
    if (lpKeyName || lpString) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    DWORD err = platform::FlushProfileFiles();
    SetLastError(err);
    return err == ERROR_SUCCESS;
  }
  DWORD error = ERROR_SUCCESS;
  CachedFile* cached = lpKeyName && lpString ? Cache().ForWrite(lpFileName, &error)
                                             : Cache().ForRead(lpFileName, &error);
  if (!cached) {
    // Deleting from a file that does not exist changes nothing and succeeds.
    if (!(lpKeyName && lpString) && (error == ERROR_FILE_NOT_FOUND)) {
      SetLastError(ERROR_SUCCESS);
      return TRUE;
    }
    SetLastError(error);
    return FALSE;
  }
  bool changed = true;
  if (!lpKeyName) {
    changed = cached->file.DeleteSection(lpAppName);
  } else if (!lpString) {
    changed = cached->file.DeleteKey(lpAppName, lpKeyName);
  } else {
    cached->file.Set(lpAppName, lpKeyName, lpString);
  }
  if (changed) Cache().MarkDirty(lpFileName, cached);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}
