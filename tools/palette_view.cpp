// Reading the palette's controls back into text, as a user would read the window.
#include "tools/palette_view.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/mfc/window_system.h"
#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"
#include "resources/resource.h"

namespace tools {
namespace {

using platform::mfc::FindWindowRecord;
using platform::mfc::WindowRecord;

HWND FindPalette() {
  for (HWND h : platform::mfc::AllWindows()) {
    const WindowRecord* r = FindWindowRecord(h);
    if (r && r->template_id == IDD_PALETTE && r->class_name == L"#32770") return h;
  }
  return nullptr;
}

std::wstring WindowText(HWND window) {
  if (!window) return L"";
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

std::wstring Text(HWND palette, int id) {
  return WindowText(::GetDlgItem(palette, id));
}

bool Checked(HWND palette, int id) {
  return ::IsDlgButtonChecked(palette, id) == BST_CHECKED;
}

size_t DisplayWidth(const std::wstring& text) {
  size_t width = 0;
  for (wchar_t c : text) width += platform::IsFullWidthChar(c) ? 2 : 1;
  return width;
}

std::wstring Pad(const std::wstring& text, size_t width) {
  const size_t used = DisplayWidth(text);
  return text + std::wstring(used < width ? width - used : 0, L' ');
}

// The column heads and the first control id of each value column, in the palette's order.
struct Column {
  const wchar_t* head;
  int first_id;
  bool check_box;
};
constexpr Column kColumns[] = {
    {L"工事項目", IDC_ROW_KOUJI, false},  {L"系統番号", IDC_ROW_KEITOU, false},
    {L"盤/負荷名称", IDC_ROW_BAN, false}, {L"配線サイズ", IDC_ROW_HSIZE1, false},
    {L"屋内", IDC_ROW_HSIZE2, false},     {L"屋外", IDC_ROW_HSIZE3, false},
    {L"地中", IDC_ROW_HSIZE4, false},     {L"ﾗｯｸ上", IDC_ROW_ONRACK, true},
    {L"備考", IDC_ROW_MEMO, false}};

// A control drawn on another background than the two Windows gives edits (the window colour,
// or the button face while disabled or read-only) stands out to the user: the wire-size edit of
// a row whose size detail was asked for is black on yellow.
bool StandsOut(HWND control) {
  COLORREF text = 0;
  COLORREF background = 0;
  if (!platform::mfc::QueryControlColors(control, &text, &background)) return false;
  return background != ::GetSysColor(COLOR_WINDOW) && background != ::GetSysColor(COLOR_BTNFACE);
}

std::wstring Choice(bool on, const wchar_t* label, bool radio) {
  return std::wstring(radio ? (on ? L"(*)" : L"( )") : (on ? L"[x]" : L"[ ]")) + label;
}

}  // namespace

std::wstring DescribePalette() {
  HWND palette = FindPalette();
  if (!palette) return L"[palette] no palette";
  std::wstring out = L"[palette] " + WindowText(palette);
  bool visible = ::IsWindowVisible(palette);
  for (HWND p = ::GetParent(palette); visible && p; p = ::GetParent(p)) {
    visible = ::IsWindowVisible(p);
  }
  if (!visible) out += L" (非表示)";
  out += L"\nプロジェクト: " + Text(palette, IDC_PROJECT_NAME);
  if (!::IsWindowEnabled(::GetDlgItem(palette, IDC_PATTERN_BOX))) out += L" (無効)";

  out += L"\nパターン: " + Text(palette, IDC_PATTERN_BOX) + L"  [";
  if (const WindowRecord* box = FindWindowRecord(::GetDlgItem(palette, IDC_PATTERN_BOX))) {
    for (size_t i = 0; i < box->items.size(); ++i) {
      if (i > 0) out += L" | ";
      if (static_cast<int>(i) == box->cur_sel) out += L"*";
      out += box->items[i].text;
    }
  }
  out += L"]";
  out += L"\n種別: " + Choice(Checked(palette, IDC_TYPE_TRUNK), L"幹線", true) + L" " +
         Choice(Checked(palette, IDC_TYPE_GENERAL), L"一般", true) + L"   電線管: " +
         Choice(Checked(palette, IDC_CONDUIT_INDOOR), L"屋内", false) + L" " +
         Choice(Checked(palette, IDC_CONDUIT_OUTDOOR), L"屋外", false) + L" " +
         Choice(Checked(palette, IDC_CONDUIT_BURIED), L"地中", false);
  out += L"\n" + Text(palette, IDC_PAGE_FRAME);

  // The table: a head row, then one row per control row; every column as wide as its widest cell.
  std::vector<std::vector<std::wstring>> cells;
  std::vector<std::wstring> head = {L"", L"行"};
  for (const Column& c : kColumns) head.push_back(c.head);
  cells.push_back(head);
  for (int i = 0; i < IDC_ROW_COUNT; ++i) {
    std::vector<std::wstring> row;
    row.push_back(std::wstring(Checked(palette, IDC_ROW_MARK + i) ? L">" : L" ") +
                  (Checked(palette, IDC_ROW_CHECK + i) ? L"[x]" : L"[ ]"));
    row.push_back(std::to_wstring(i + 1));
    for (const Column& c : kColumns) {
      std::wstring cell = c.check_box ? (Checked(palette, c.first_id + i) ? L"x" : L"")
                                      : Text(palette, c.first_id + i);
      if (c.first_id == IDC_ROW_HSIZE1 && StandsOut(::GetDlgItem(palette, c.first_id + i))) {
        cell = L"<" + cell + L">";
      }
      row.push_back(cell);
    }
    cells.push_back(row);
  }
  std::vector<size_t> widths(head.size(), 0);
  for (const auto& row : cells) {
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
  }
  for (const auto& row : cells) {
    std::wstring line;
    for (size_t c = 0; c < row.size(); ++c) {
      line += Pad(row[c], widths[c]);
      if (c + 1 < row.size()) line += L" ";
    }
    while (!line.empty() && line.back() == L' ') line.pop_back();
    out += L"\n" + line;
  }
  // The note options under the command buttons.
  out += L"\n注記: " + Choice(Checked(palette, IDC_NOTE_TRUNK_NO), L"幹線番号を記入", false) +
         L" " + Choice(Checked(palette, IDC_NOTE_WIRE_SIZE), L"配線ｻｲｽﾞを記入", false) + L" " +
         Choice(Checked(palette, IDC_NOTE_WORK_KIND), L"工事区分を記入", false);
  return out;
}

}  // namespace tools
