// Fuzz target: a master list (.dat) as the maker's record reader and the palette's readers see
// it. Every list file of one master-list folder is a hard link of the one input file.
#include <VuRida.h>
#include <afxcoll.h>
#include "platform/win/text_encoding.h"
#include <unistd.h>

#include <filesystem>

#include "fuzz/fuzz_targets.h"
#include "fuzz/scratch_folder.h"
#include "project/master_lists.h"

namespace fuzz {
namespace {

namespace fs = std::filesystem;

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == 0x3000;
}

struct ListFolder {
  std::string input;  // POSIX path of the file every list is linked to
  CString folder;     // the master-list folder, Windows form, with the trailing "\"
};

const ListFolder& Lists() {
  static const ListFolder lists = [] {
    const std::string root = ScratchFolder() + "/dat";
    const std::string lists_dir = root + "/複数配線";
    fs::create_directories(lists_dir + "/幹線");
    fs::create_directories(lists_dir + "/一般");
    ListFolder made{root + "/input.dat", CString(WindowsPath(lists_dir + "/").c_str())};
    OverwriteFile(made.input, "");
    for (const char* name :
         {"/系統番号.dat", "/盤・負荷名称.dat", "/幹線/工事項目.dat", "/一般/工事項目.dat",
          "/幹線/管路材サイズ.dat", "/幹線/配線サイズ.dat", "/幹線/アースサイズ.dat"}) {
      FUZZ_CHECK(link(made.input.c_str(), (lists_dir + name).c_str()) == 0,
                 "a list can be linked to the input");
    }
    return made;
  }();
  return lists;
}

// `nul`: the text holds a NUL character, which ends a record for every reader (a line that
// begins with one is an empty record, not a blank line).
void CheckRecordReader(const CString& path, bool nul) {
  CPtrArray records;
  FUZZ_CHECK(VuRida_ReadConfigFile(path, records, 0, L"#", L"|", 1) == 0, "the file is read");
  CStringArray lines, untrimmed;
  FUZZ_CHECK(VuRida_ReadConfigFile(path, lines, 0, L"#", L"|", 1) == 0, "the file is read");
  FUZZ_CHECK(VuRida_ReadConfigFile(path, untrimmed, 0, L"#", L"|", 0) == 0, "the file is read");
  FUZZ_CHECK(lines.GetSize() == records.GetSize() && untrimmed.GetSize() == lines.GetSize(),
             "every form gives one record a line");
  for (INT_PTR i = 0; i < records.GetSize(); ++i) {
    const auto* fields = static_cast<const CStringArray*>(records[i]);
    FUZZ_CHECK(fields->GetSize() >= 1, "a record has a field");
    FUZZ_CHECK(nul || !lines[i].IsEmpty(), "blank lines are skipped");
    // A comment begins the line; after blanks, "#" is text.
    FUZZ_CHECK(untrimmed[i][0] != L'#', "comment lines are skipped");
    for (INT_PTR f = 0; f < fields->GetSize(); ++f) {
      const CString& field = (*fields)[f];
      FUZZ_CHECK(
          nul || field.IsEmpty() || (!IsBlank(field[0]) && !IsBlank(field[field.GetLength() - 1])),
          "fields are trimmed");
    }
  }
  VuRida_RemoveAllFree(records);
  // Skipping more lines than the file has gives nothing.
  FUZZ_CHECK(VuRida_ReadConfigFile(path, lines, 1 << 30, nullptr, L"||", 0) == 0, "read");
}

void CheckPaletteReaders(const CString& folder) {
  ConstructionItems items;
  items.Load(folder);
  for (int type : {0, 1}) {
    FUZZ_CHECK(items.Names(type).GetSize() == items.Codes(type).GetSize(),
               "every construction item has a code");
    for (INT_PTR i = 0; i < items.Names(type).GetSize(); ++i)
      items.CodeOf(items.Names(type)[i], type);
  }
  // Both types read the same file here, so a listed code's name is one of the listed names.
  for (INT_PTR i = 0; i < items.Codes(0).GetSize(); ++i) {
    const CString name = items.NameOf(items.Codes(0)[i]);
    bool listed = false;
    for (INT_PTR j = 0; j < items.Names(0).GetSize() && !listed; ++j)
      listed = items.Names(0)[j] == name.GetString();
    FUZZ_CHECK(listed, "a listed code has a listed name");
  }

  CStringArray values;
  FUZZ_CHECK(ReadConduitSizes(folder, 0, values), "conduit sizes are read");
  for (INT_PTR i = 0; i < values.GetSize(); ++i) {
    const CString& size = values[i];
    FUZZ_CHECK(size.GetLength() >= 2 && size[0] == L'(' && size[size.GetLength() - 1] == L')',
               "a conduit size is shown in brackets");
  }
  FUZZ_CHECK(ReadSystemNumbers(folder, values), "system numbers are read");
  FUZZ_CHECK(ReadPanelNames(folder, values), "panel names are read");
  CStringArray types;
  FUZZ_CHECK(ReadWireTypes(folder, 0, types), "wire types are read");
  for (INT_PTR i = 1; i < types.GetSize(); ++i)
    FUZZ_CHECK(types[i] != types[i - 1].GetString(), "equal wire types in a row are one");
  if (types.GetSize() > 0) ReadWireSizes(folder, 0, types[0], values);
  FUZZ_CHECK(ReadEarthSizes(folder, 0, values), "earth sizes are read");
}

}  // namespace

void MasterList(std::string_view bytes) {
  const ListFolder& lists = Lists();
  OverwriteFile(lists.input, bytes);
  CheckRecordReader(CString(WindowsPath(lists.input).c_str()),
                    platform::DecodeText(bytes).find(L'\0') != std::wstring::npos);
  CheckPaletteReaders(lists.folder);
}

}  // namespace fuzz
