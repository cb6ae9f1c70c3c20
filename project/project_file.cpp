// Project files: LoadProject, SaveProject and ReloadPattern over the Windows profile functions.
#include "project/project_file.h"

#include <ApiComn.h>
#include <afxwin.h>

#include <cwchar>
#include <memory>

namespace {

// Buffer sizes of the reads, in characters with the terminating zero: a value keeps at most one
// character less. They are part of the format's behaviour: a longer value is cut when read.
constexpr DWORD kLoadValueSize = 128;
constexpr DWORD kReloadValueSize = 260;
constexpr DWORD kCreateDateSize = 64;

constexpr wchar_t kProjectSection[] = L"PROJECT";
constexpr wchar_t kTrunkWord[] = L"幹線";
constexpr wchar_t kGeneralWord[] = L"一般";

// A key or section name "<stem>-%03d", built without printf: a project of 50 full patterns
// is 45,000 keys, and formatting each one would cost more than reading its value.
class NumberedName {
 public:
  NumberedName(const wchar_t* stem, int number) {
    size_t n = 0;
    while (stem[n] && n < kStemMax) {
      text_[n] = stem[n];
      ++n;
    }
    text_[n++] = L'-';
    wchar_t digits[12];
    int count = 0;
    unsigned value = number < 0 ? 0u : static_cast<unsigned>(number);
    do {
      digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
      value /= 10;
    } while (value != 0);
    for (int pad = count; pad < 3; ++pad) text_[n++] = L'0';
    while (count > 0) text_[n++] = digits[--count];
    text_[n] = L'\0';
  }
  operator LPCWSTR() const { return text_; }  // NOLINT: used where a key name is expected

 private:
  static constexpr size_t kStemMax = 16;
  wchar_t text_[kStemMax + 16];
};

// Reads a value (empty when missing) into `buffer` of `size` characters.
void ReadValue(LPCWSTR file, LPCWSTR section, LPCWSTR key, wchar_t* buffer, DWORD size) {
  GetPrivateProfileStringW(section, key, L"", buffer, size, file);
}

// Fills a cleared pattern from its section, as LoadProject and ReloadPattern read it.
void ReadPatternSection(LPCWSTR file, LPCWSTR section, PatternData& pattern, DWORD size) {
  wchar_t value[kReloadValueSize];
  ReadValue(file, section, L"TYPE", value, size);
  if (value[0] != L'\0')
    pattern.type = wcscmp(value, kTrunkWord) == 0 ? kPatternTypeTrunk : kPatternTypeGeneral;
  ReadValue(file, section, L"PIPESEL", value, size);
  if (value[0] != L'\0') pattern.pipeSel = _wtoi(value);

  for (int row = 0; row < kPatternRows; ++row) {
    bool all_empty = true;
    for (int c = 0; c < kPatternColumns; ++c) {
      const PatternColumn column = PatternColumn(c);
      ReadValue(file, section, NumberedName(PatternColumnKey(column), row + 1), value, size);
      if (value[0] != L'\0') all_empty = false;
      if (column == kColumnOnRack) {
        pattern.onRack[row] = _wtoi(value);
      } else {
        pattern.Text(column, row) = value;
      }
    }
    // A row of nine empty keys ends the pattern: rows are written without gaps.
    if (all_empty) break;
  }
}

// Whether a file exists, by FindFirstFileW as Windows code asks it. On a failure other than
// "no such file" *error gets the code.
bool FileExists(const CString& path, DWORD* error) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(path, &found);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    *error = code == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : code;
    return false;
  }
  FindClose(search);
  *error = ERROR_SUCCESS;
  return true;
}

bool IsDeviceName(const wchar_t* name) {
  // Windows treats "CON", "con.txt" and "COM1 .x" alike: the part before the first dot, with
  // trailing blanks cut, names the device.
  CString base(name);
  const int dot = base.Find(L'.');
  if (dot >= 0) base = base.Left(dot);
  base.TrimRight(L' ');
  base.MakeUpper();
  if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL") return true;
  if (base.GetLength() == 4 && (base.Left(3) == L"COM" || base.Left(3) == L"LPT"))
    return base[3] >= L'1' && base[3] <= L'9';
  return false;
}

// Without a project folder the paths would name the root of the drive.
DWORD CheckFolderAndName(const CString& folder, LPCWSTR name) {
  if (folder.IsEmpty()) return ERROR_PATH_NOT_FOUND;
  return CheckProjectName(name);
}

CString LocalTimeText() {
  __time64_t now = 0;
  _time64(&now);
  struct tm local = {};
  _localtime64_s(&local, &now);
  CString text;
  text.Format(L"%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
              local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

// Shows the write error of a save and gives its result.
bool SaveFailed(DWORD code) {
  CString message;
  message.Format(kFileWriteErrorFormat, static_cast<int>(code));
  AfxMessageBox(message, MB_OK | MB_ICONSTOP);
  return false;
}

// Writes one key of the temporary file; false with GetLastError's code in *error on failure.
bool WriteKey(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file, DWORD* error) {
  if (WritePrivateProfileStringW(section, key, value, file)) return true;
  *error = GetLastError();
  if (*error == ERROR_SUCCESS) *error = ERROR_WRITE_FAULT;
  return false;
}

// Writes the pattern's section and its PROJECT key under number `number`.
bool WritePattern(const PatternData& pattern, int number, LPCWSTR file, DWORD* error) {
  const NumberedName section(L"PATTERN", number);
  if (!WriteKey(kProjectSection, section, pattern.name, file, error)) return false;
  const wchar_t* type = pattern.type != kPatternTypeTrunk ? kGeneralWord : kTrunkWord;
  if (!WriteKey(section, L"TYPE", type, file, error)) return false;
  wchar_t number_text[16];
  swprintf_s(number_text, L"%d", pattern.pipeSel);
  if (!WriteKey(section, L"PIPESEL", number_text, file, error)) return false;

  int written = 0;
  for (int row = 0; row < kPatternRows; ++row) {
    if (pattern.IsRowEmpty(row)) continue;  // empty rows take no number
    ++written;
    for (int c = 0; c < kPatternColumns; ++c) {
      const PatternColumn column = PatternColumn(c);
      const NumberedName key(PatternColumnKey(column), written);
      LPCWSTR value;
      if (column == kColumnOnRack) {
        swprintf_s(number_text, L"%d", pattern.onRack[row]);
        value = number_text;
      } else {
        value = pattern.Text(column, row);
      }
      if (!WriteKey(section, key, value, file, error)) return false;
    }
  }
  return true;
}

// Writes the whole project into the temporary file (cached, not yet flushed).
bool WriteProject(const ProjectModel& project, LPCWSTR name, LPCWSTR temp_file,
                  const CString& project_file, bool exists, DWORD* error) {
  if (!WriteKey(kProjectSection, L"NAME", name, temp_file, error)) return false;
  const CString now = LocalTimeText();
  if (!exists) {
    if (!WriteKey(kProjectSection, L"CREATEDATE", now, temp_file, error)) return false;
  } else {
    wchar_t created[kCreateDateSize];
    GetPrivateProfileStringW(kProjectSection, L"CREATEDATE", L"", created, kCreateDateSize,
                             project_file);
    // A project file that exists but cannot be read would lose its creation date.
    const DWORD read = GetLastError();
    if (read != ERROR_SUCCESS && read != ERROR_MORE_DATA) {
      *error = read;
      return false;
    }
    if (!WriteKey(kProjectSection, L"CREATEDATE", created, temp_file, error)) return false;
    if (!WriteKey(kProjectSection, L"UPDATEDATE", now, temp_file, error)) return false;
  }
  int number = 1;
  for (int i = 0; i < project.PatternCount(); ++i) {
    const PatternData& pattern = *project.Pattern(i);
    if (pattern.name.IsEmpty() || pattern.IsSearchPattern()) continue;
    if (!WritePattern(pattern, number, temp_file, error)) return false;
    ++number;
  }
  return true;
}

}  // namespace

CString SystemFolderFromConfig(LPCWSTR configIniPath) {
  CString system;
  if (ApiComn_GetEnv(system, 1, configIniPath, L"環境設定", L"ｼｽﾃﾑ") != 0) return CString();
  return system;
}

CString ProjectFolderFromConfig(LPCWSTR configIniPath) {
  const CString system = SystemFolderFromConfig(configIniPath);
  return system.IsEmpty() ? CString() : system + L"\\" + kProjectFolderName;
}

DWORD CheckProjectName(LPCWSTR name) {
  if (!name || !*name) return ERROR_INVALID_NAME;
  for (const wchar_t* c = name; *c; ++c) {
    if (*c < 0x20 || wcschr(L"\\/:*?\"<>|", *c)) return ERROR_INVALID_NAME;
  }
  return IsDeviceName(name) ? ERROR_INVALID_NAME : ERROR_SUCCESS;
}

CString ProjectFilePath(const CString& folder, LPCWSTR name) {
  CString path;
  path.Format(L"%s\\%s%s", folder.GetString(), name ? name : L"", kProjectExtension);
  return path;
}

CString ProjectTempFilePath(const CString& folder) {
  CString path;
  path.Format(L"%s\\%s", folder.GetString(), kProjectTempFileName);
  return path;
}

int LoadProject(ProjectModel& project, LPCWSTR name) {
  if (DWORD error = CheckFolderAndName(project.Folder(), name)) {
    SetLastError(error);
    return -1;
  }
  const CString file = ProjectFilePath(project.Folder(), name);
  DWORD error = ERROR_SUCCESS;
  if (!FileExists(file, &error)) return -1;

  project.SetName(name);
  project.ClearPatterns();
  wchar_t value[kLoadValueSize];
  for (int n = 1;; ++n) {
    const NumberedName key(L"PATTERN", n);
    ReadValue(file, kProjectSection, key, value, kLoadValueSize);
    if (value[0] == L'\0') break;  // patterns after a gap are not read
    auto pattern = std::make_unique<PatternData>();
    pattern->name = value;
    ReadPatternSection(file, key, *pattern, kLoadValueSize);
    project.AddPattern(std::move(pattern));
  }
  return project.PatternCount();
}

bool SaveProject(const ProjectModel& project, LPCWSTR name) {
  if (DWORD error = CheckFolderAndName(project.Folder(), name)) return SaveFailed(error);
  const CString temp_file = ProjectTempFilePath(project.Folder());
  const CString project_file = ProjectFilePath(project.Folder(), name);

  // A temporary file that cannot be removed may hold another save's keys; writing into it would
  // mix them with ours.
  if (!DeleteFileW(temp_file) && GetLastError() != ERROR_FILE_NOT_FOUND)
    return SaveFailed(GetLastError());
  DWORD error = ERROR_SUCCESS;
  const bool exists = FileExists(project_file, &error);
  if (error != ERROR_SUCCESS) return SaveFailed(error);

  if (!WriteProject(project, name, temp_file, project_file, exists, &error)) {
    DeleteFileW(temp_file);  // writes the partial file out of the cache and removes it
    return SaveFailed(error);
  }
  // Every key must be on disk before the file is moved into place: the move would flush too,
  // but would not tell us that the flush failed.
  if (!WritePrivateProfileStringW(nullptr, nullptr, nullptr, temp_file)) {
    error = GetLastError();
    DeleteFileW(temp_file);
    return SaveFailed(error);
  }
  if (!MoveFileExW(temp_file, project_file, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return SaveFailed(GetLastError());  // the complete temporary file stays
  return true;
}

void ReloadPattern(const ProjectModel& project, PatternData& pattern) {
  if (CheckFolderAndName(project.Folder(), project.Name()) != ERROR_SUCCESS) return;
  const CString file = ProjectFilePath(project.Folder(), project.Name());
  wchar_t value[kReloadValueSize];
  for (int n = 1;; ++n) {
    const NumberedName key(L"PATTERN", n);
    ReadValue(file, kProjectSection, key, value, kReloadValueSize);
    if (value[0] == L'\0') return;
    if (pattern.name.Compare(value) != 0) continue;
    const CString name = pattern.name;
    pattern.Clear();
    pattern.name = name;
    ReadPatternSection(file, key, pattern, kReloadValueSize);
    return;
  }
}
