// The master lists: finding their folder, reading the .dat files and the construction-item
// lookups between names and codes.
#include "project/master_lists.h"

#include <VuRida.h>

#include "project/project_file.h"

namespace {

constexpr wchar_t kConfigSection[] = L"環境設定";
constexpr wchar_t kConfigKey[] = L"ｼｽﾃﾑ";
constexpr wchar_t kFieldSeparator[] = L"|";

// The records of a .dat file, each a CStringArray of its fields, freed with the reader. The
// library owns the record layout; this only makes sure VuRida_RemoveAllFree runs on every path.
class RecordFile {
 public:
  explicit RecordFile(const CString& path) {
    read_ = !path.IsEmpty() &&
            VuRida_ReadConfigFile(path, records_, 0, nullptr, kFieldSeparator, 0) == 0;
  }
  ~RecordFile() { VuRida_RemoveAllFree(records_); }
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  bool read() const { return read_; }
  INT_PTR size() const { return records_.GetSize(); }
  const CStringArray& operator[](INT_PTR i) const {
    return *static_cast<const CStringArray*>(records_.GetAt(i));
  }

 private:
  CPtrArray records_;
  bool read_ = false;
};

// The non-empty lines of a one-entry-a-line file.
bool ReadEntries(const CString& path, CStringArray& entries) {
  entries.RemoveAll();
  if (path.IsEmpty()) return false;
  CStringArray lines;
  if (VuRida_ReadConfigFile(path, lines, 0, nullptr, kFieldSeparator, 0) != 0) return false;
  for (INT_PTR i = 0; i < lines.GetSize(); ++i) {
    if (!lines[i].IsEmpty()) entries.Add(lines[i]);
  }
  return true;
}

// Field 0 of every record, a value equal to the one before adding nothing. The comparison starts
// from the empty text, so a first record with an empty field 0 adds nothing.
bool ReadCollapsedFirstFields(const CString& path, CStringArray& values) {
  values.RemoveAll();
  RecordFile file(path);
  if (!file.read()) return false;
  CString previous;
  for (INT_PTR i = 0; i < file.size(); ++i) {
    if (file[i].GetSize() < 1) continue;
    const CString& value = file[i][0];
    if (value == previous) continue;
    values.Add(value);
    previous = value;
  }
  return true;
}

INT_PTR IndexOf(const CStringArray& list, const CString& text) {
  for (INT_PTR i = 0; i < list.GetSize(); ++i) {
    if (list[i] == text) return i;
  }
  return -1;
}

CString WithBackslash(CString folder) {
  if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\') folder += L'\\';
  return folder;
}

void LoadItems(const CString& path, CStringArray& names, CStringArray& codes) {
  names.RemoveAll();
  codes.RemoveAll();
  RecordFile file(path);
  if (!file.read()) return;
  for (INT_PTR i = 0; i < file.size(); ++i) {
    const CStringArray& fields = file[i];
    if (fields.GetSize() < 2) continue;
    CString code = fields[0];
    CString name = fields[1];
    codes.Add(code.Trim());
    names.Add(name.Trim());
  }
}

}  // namespace

CString MasterListFolder(LPCWSTR configIniPath) {
  wchar_t system[512] = {};
  GetPrivateProfileStringW(kConfigSection, kConfigKey, L"", system, 512, configIniPath);
  if (system[0] == L'\0') return CString();
  return WithBackslash(system) + kMasterListFolderName + L"\\";
}

CString DetailMasterListFolder(LPCWSTR configIniPath) {
  const CString system = SystemFolderFromConfig(configIniPath);
  if (system.IsEmpty()) return CString();
  return WithBackslash(system) + kMasterListFolderName;
}

LPCWSTR TypeFolderName(int type) {
  return type == 0 ? kTrunkFolderName : kGeneralFolderName;
}

CString MasterListPath(const CString& folder, LPCWSTR file) {
  if (folder.IsEmpty()) return CString();
  return WithBackslash(folder) + file;
}

CString MasterListPath(const CString& folder, int type, LPCWSTR file) {
  if (folder.IsEmpty()) return CString();
  return WithBackslash(folder) + TypeFolderName(type) + L"\\" + file;
}

void ConstructionItems::Load(const CString& folder) {
  LoadItems(MasterListPath(folder, 0, kConstructionItemsFileName), trunkNames_, trunkCodes_);
  LoadItems(MasterListPath(folder, 1, kConstructionItemsFileName), generalNames_, generalCodes_);
}

const CStringArray& ConstructionItems::NamesShownFor(int type) const {
  if (type != 0 && generalNames_.GetSize() > 0) return generalNames_;
  return trunkNames_;
}

CString ConstructionItems::CodeOf(const CString& name, int type) const {
  // Both lists are searched, the pattern's own first, and a find in the other list replaces the
  // first: a row keeps a code even when its name comes from the other type's list.
  const int own = type == 0 ? 0 : 1;
  CString code;
  for (int t : {own, 1 - own}) {
    const INT_PTR at = IndexOf(Names(t), name);
    if (at >= 0) code = Codes(t)[at];
  }
  return code;
}

CString ConstructionItems::NameOf(const CString& code) const {
  CString name = kUnknownConstructionItem;
  for (int t : {0, 1}) {
    const INT_PTR at = IndexOf(Codes(t), code);
    if (at >= 0) name = Names(t)[at];
  }
  return name;
}

bool ConduitSizeDisplay(const CStringArray& record, CString& display) {
  display.Empty();
  if (record.GetSize() < 1) return false;
  const CString& material = record[0];
  if (record.GetSize() == 1) {
    display.Format(L"(%s)", material.GetString());
    return true;
  }
  const CString& size = record[1];
  if (size == L"-") return false;
  if (material == L"-") {
    display.Format(L"(%s)", size.GetString());
  } else {
    display.Format(L"(%s%s)", material.GetString(), size.GetString());
  }
  return true;
}

bool ReadConduitSizes(const CString& folder, int type, CStringArray& sizes) {
  sizes.RemoveAll();
  RecordFile file(MasterListPath(folder, type, kConduitSizesFileName));
  if (!file.read()) return false;
  CString display;
  for (INT_PTR i = 0; i < file.size(); ++i) {
    if (ConduitSizeDisplay(file[i], display)) sizes.Add(display);
  }
  return true;
}

bool ReadSystemNumbers(const CString& folder, CStringArray& numbers) {
  return ReadEntries(MasterListPath(folder, kSystemNumbersFileName), numbers);
}

bool ReadPanelNames(const CString& folder, CStringArray& names) {
  return ReadEntries(MasterListPath(folder, kPanelNamesFileName), names);
}

bool ReadWireTypes(const CString& folder, int type, CStringArray& wireTypes) {
  return ReadCollapsedFirstFields(MasterListPath(folder, type, kWireSizesFileName), wireTypes);
}

bool ReadWireSizes(const CString& folder, int type, const CString& wireType, CStringArray& sizes) {
  sizes.RemoveAll();
  RecordFile file(MasterListPath(folder, type, kWireSizesFileName));
  if (!file.read()) return false;
  for (INT_PTR i = 0; i < file.size(); ++i) {
    if (file[i].GetSize() >= 2 && file[i][0] == wireType) sizes.Add(file[i][1]);
  }
  return true;
}

bool ReadEarthSizes(const CString& folder, int type, CStringArray& earthSizes) {
  return ReadCollapsedFirstFields(MasterListPath(folder, type, kEarthSizesFileName), earthSizes);
}
