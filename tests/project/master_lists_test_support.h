// Shared pieces of the master-list tests: a temporary system folder with a host configuration
// file, .dat files written in a chosen encoding, and combo boxes to fill.
#pragma once

#include <afxwin.h>

#include <memory>
#include <string>
#include <vector>

namespace masterlisttest {

// A temporary root holding "system" and the host configuration file "harnex.ini" that names it,
// removed with everything in it at the end.
class TempSystemFolder {
 public:
  // `systemValue`: the value of key "ｼｽﾃﾑ"; by default the system folder in the Windows form.
  TempSystemFolder();
  ~TempSystemFolder();
  TempSystemFolder(const TempSystemFolder&) = delete;
  TempSystemFolder& operator=(const TempSystemFolder&) = delete;

  // The system folder in the Windows form that the configuration holds ("...\system").
  std::wstring SystemWin() const;
  // The configuration file, and a rewrite of its value "ｼｽﾃﾑ" (the file is replaced whole).
  std::wstring ConfigPath() const;
  void SetSystemValue(const std::wstring& value) const;
  // Writes a file below the system folder ("複数配線/幹線/工事項目.dat"), folders made as
  // needed; `lines` joined with CRLF (a CRLF also after the last) in code page 932 or UTF-8.
  void WriteCp932(const std::string& relative, const std::vector<std::wstring>& lines) const;
  void WriteUtf8(const std::string& relative, const std::vector<std::wstring>& lines) const;
  void WriteBytes(const std::string& relative, const std::string& bytes) const;
  void Remove(const std::string& relative) const;

 private:
  std::string root_;
};

// Combo boxes on a headless frame window, destroyed with it.
class ComboBoxSet {
 public:
  // `count` drop-down boxes (CBS_DROPDOWN) with the ids first, first + 1, ...
  ComboBoxSet(int count, int firstId, DWORD style = CBS_DROPDOWN);
  ~ComboBoxSet();
  ComboBoxSet(const ComboBoxSet&) = delete;
  ComboBoxSet& operator=(const ComboBoxSet&) = delete;

  CComboBox& operator[](int i) { return *boxes_[i]; }
  // The pointers the fill operations take.
  std::vector<CComboBox*> Pointers() const;

 private:
  CWnd frame_;
  std::vector<std::unique_ptr<CComboBox>> boxes_;
};

// The items of a box in order, and the text it shows.
std::vector<std::wstring> Items(const CComboBox& box);
std::wstring Shown(const CComboBox& box);
// Puts items into a box and shows `shown` (selected when it is an item, else typed).
void Prepare(CComboBox& box, const std::vector<std::wstring>& items, const std::wstring& shown);

}  // namespace masterlisttest
