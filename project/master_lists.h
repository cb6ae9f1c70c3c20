// The master lists: the .dat files below the system folder that the user's organisation keeps
// and that offer the values of the palette's drop-down lists and of the wire-size detail dialog.
//
//   <system>\複数配線\系統番号.dat            one system number a line
//   <system>\複数配線\盤・負荷名称.dat        one panel or load name a line
//   <system>\複数配線\幹線\工事項目.dat       CODE|NAME           construction items of trunks
//   <system>\複数配線\一般\工事項目.dat       CODE|NAME           ... of general patterns
//   <system>\複数配線\<type>\管路材サイズ.dat  MATERIAL|SIZE      conduit sizes
//   <system>\複数配線\<type>\配線サイズ.dat    WIRETYPE|SIZE      wire sizes (detail dialog)
//   <system>\複数配線\<type>\アースサイズ.dat  SIZE               earth sizes (detail dialog)
//
// Every file is read with VuRida_ReadConfigFile and the separator "|", so users' files may be in
// code page 932, UTF-8 or UTF-16 and may hold blank lines. A file that cannot be read gives
// nothing: the readers below return false and leave their result empty, and the callers leave
// their boxes as they were, without a message.
//
// Pattern types: 0 trunk ("幹線"), 1 general ("一般"); any value other than 0 is general.
#pragma once

#include <windows.h>

#include <afx.h>
#include <afxcoll.h>

inline constexpr wchar_t kMasterListFolderName[] = L"複数配線";
inline constexpr wchar_t kTrunkFolderName[] = L"幹線";
inline constexpr wchar_t kGeneralFolderName[] = L"一般";
inline constexpr wchar_t kConstructionItemsFileName[] = L"工事項目.dat";
inline constexpr wchar_t kConduitSizesFileName[] = L"管路材サイズ.dat";
inline constexpr wchar_t kSystemNumbersFileName[] = L"系統番号.dat";
inline constexpr wchar_t kPanelNamesFileName[] = L"盤・負荷名称.dat";
inline constexpr wchar_t kWireSizesFileName[] = L"配線サイズ.dat";
inline constexpr wchar_t kEarthSizesFileName[] = L"アースサイズ.dat";

// The name of a construction item whose code is in neither list.
inline constexpr wchar_t kUnknownConstructionItem[] = L"不明";

// The master-list folder as the palette finds it: the system folder read directly from the
// host's configuration file (GetPrivateProfileStringW, section "環境設定", key "ｼｽﾃﾑ", at most
// 511 characters), a "\" added when it does not end with one, then "複数配線\". The result ends
// with "\". Empty when the configuration names no system folder.
CString MasterListFolder(LPCWSTR configIniPath);

// The same folder as the wire-size detail dialog finds it: the system folder from ApiComn_GetEnv
// in mode 1, a "\" added when missing, then "複数配線" (no "\" at the end). Empty when the
// configuration names no system folder.
CString DetailMasterListFolder(LPCWSTR configIniPath);

// The folder name of a pattern type's own lists: "幹線" for 0, else "一般".
LPCWSTR TypeFolderName(int type);

// Path of a file of the master-list folder, with or without the folder's trailing "\":
// MasterListPath(folder, L"系統番号.dat"), and of a file of a type's subfolder:
// MasterListPath(folder, type, L"工事項目.dat"). Empty when `folder` is empty, so that nothing is
// ever looked for relative to the current folder.
CString MasterListPath(const CString& folder, LPCWSTR file);
CString MasterListPath(const CString& folder, int type, LPCWSTR file);

// The construction items of both types: names as the palette shows them and projects store them,
// codes as the drawing commands write them to route elements (record "S501").
class ConstructionItems {
 public:
  ConstructionItems() = default;
  ConstructionItems(const ConstructionItems&) = delete;
  ConstructionItems& operator=(const ConstructionItems&) = delete;

  // Reads "幹線\工事項目.dat" and then "一般\工事項目.dat" below `folder`. Each record of at
  // least two fields adds its field 1 to the type's names and its field 0 to the type's codes,
  // both trimmed of blanks, in file order; records of one field are ignored; duplicates stay.
  // A file that cannot be read leaves that type's lists empty. The previous lists are dropped.
  void Load(const CString& folder);

  const CStringArray& Names(int type) const { return type == 0 ? trunkNames_ : generalNames_; }
  const CStringArray& Codes(int type) const { return type == 0 ? trunkCodes_ : generalCodes_; }

  // The names that the construction-item boxes offer for a pattern type: the trunk names for
  // type 0; the general names for a general pattern, or the trunk names when there are none.
  const CStringArray& NamesShownFor(int type) const;

  // The code of the construction item `name` (exact, case-sensitive match). The type's own list
  // is searched first, then the other type's; a name found in the other list gives that list's
  // code, so a name present in both lists yields the other type's code. Empty when neither list
  // holds the name.
  CString CodeOf(const CString& name, int type) const;

  // The name of the construction item with `code`: searched in the trunk codes, then in the
  // general codes, the later find winning. "不明" when neither list holds the code.
  CString NameOf(const CString& code) const;

 private:
  CStringArray trunkNames_, generalNames_, trunkCodes_, generalCodes_;
};

// The display string of one conduit-size record (fields as read, not trimmed):
//   F0            -> "(F0)"
//   F0|F1         -> "(F0F1)"      neither of them "-"
//   -|F1          -> "(F1)"
//   F0|-          -> no entry
// Fields after the second are ignored. False (and `display` empty) when the record gives no entry.
bool ConduitSizeDisplay(const CStringArray& record, CString& display);

// The conduit sizes of a type's "管路材サイズ.dat" as display strings, in file order. False when
// the file cannot be read.
bool ReadConduitSizes(const CString& folder, int type, CStringArray& sizes);

// The non-empty lines of "系統番号.dat" and of "盤・負荷名称.dat", in file order. False when the
// file cannot be read.
bool ReadSystemNumbers(const CString& folder, CStringArray& numbers);
bool ReadPanelNames(const CString& folder, CStringArray& names);

// The wire-size detail dialog's lists, read from a type's "配線サイズ.dat" and "アースサイズ.dat"
// (fields as read). False when the file cannot be read.
//   wire types: field 0 of every record, in file order, where a value equal to the one of the
//     record before adds nothing (a first record with an empty field 0 adds nothing either);
//   sizes of a wire type: field 1 of every record of at least two fields whose field 0 equals
//     `wireType` exactly, in file order;
//   earth sizes: field 0 of every record of "アースサイズ.dat", collapsed like the wire types.
bool ReadWireTypes(const CString& folder, int type, CStringArray& wireTypes);
bool ReadWireSizes(const CString& folder, int type, const CString& wireType, CStringArray& sizes);
bool ReadEarthSizes(const CString& folder, int type, CStringArray& earthSizes);
