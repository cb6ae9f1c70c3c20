// The window system's records as JSON for the page.
#include "web/window_view.h"

#include <acui.h>
#include <afxcmn.h>
#include "platform/mfc/window_system.h"
#include "platform/win/text_encoding.h"

#include <cstdio>
#include <string>

namespace web {
namespace {

using platform::mfc::FindWindowRecord;
using platform::mfc::WindowRecord;

std::string Utf8(const std::wstring& text) {
  return platform::WideToUtf8(text);
}

const char* ButtonKind(DWORD style) {
  switch (style & BS_TYPEMASK) {
    case BS_DEFPUSHBUTTON:
      return "default";
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return "check";
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return "radio";
    case BS_GROUPBOX:
      return "group";
  }
  return "push";
}

const char* Align(DWORD style) {
  // ES_CENTER and SS_CENTER share their bit, as ES_RIGHT and SS_RIGHT do.
  if (style & SS_RIGHT) return "right";
  if (style & SS_CENTER) return "center";
  return "left";
}

void AddItems(const WindowRecord& r, nlohmann::json* node) {
  nlohmann::json items = nlohmann::json::array();
  for (const auto& item : r.items) items.push_back(Utf8(item.text));
  (*node)["items"] = std::move(items);
  (*node)["sel"] = r.cur_sel;
}

void AddListView(const WindowRecord& r, nlohmann::json* node) {
  nlohmann::json columns = nlohmann::json::array();
  for (const auto& c : r.columns) columns.push_back({{"text", Utf8(c.text)}, {"width", c.width}});
  nlohmann::json rows = nlohmann::json::array();
  for (const auto& item : r.items) {
    nlohmann::json cells = nlohmann::json::array({Utf8(item.text)});
    for (const auto& sub : item.subitems) cells.push_back(Utf8(sub));
    rows.push_back({{"cells", std::move(cells)}, {"selected", (item.state & LVIS_SELECTED) != 0}});
  }
  (*node)["columns"] = std::move(columns);
  (*node)["rows"] = std::move(rows);
}

// What the kind of control adds to its node.
void AddControlState(HWND h, const WindowRecord& r, nlohmann::json* node) {
  const std::wstring& c = r.class_name;
  nlohmann::json& n = *node;
  if (c == L"#32770" || (c != L"Button" && c != L"Edit" && c != L"Static" && c != L"ComboBox" &&
                         c != L"ListBox" && c != L"SysListView32" && c != L"tooltips_class32")) {
    n["kind"] = c == L"#32770" ? "dialog" : "window";
    n["caption"] = (r.style & WS_CAPTION) == WS_CAPTION;
    return;
  }
  if (c == L"Button" && (r.style & BS_TYPEMASK) == BS_OWNERDRAW) {
    // What the button's owner draws when it paints, as drawing operations for a canvas.
    n["kind"] = "owner";
    nlohmann::json draw = nlohmann::json::array();
    const UINT state = ::GetFocus() == h ? ODS_FOCUS : 0;
    for (const DrawOp& op : platform::mfc::PaintOwnerDrawn(h, ODA_DRAWENTIRE, state)) {
      draw.push_back({{"op", op.op}, {"args", op.args}, {"text", Utf8(op.text)}});
    }
    n["draw"] = std::move(draw);
    return;
  }
  if (c == L"Button") {
    n["kind"] = ButtonKind(r.style);
    n["check"] = r.check;
  } else if (c == L"Edit") {
    n["kind"] = "edit";
    n["readonly"] = (r.style & ES_READONLY) != 0;
    n["multiline"] = (r.style & ES_MULTILINE) != 0;
    n["password"] = (r.style & ES_PASSWORD) != 0;
    n["align"] = Align(r.style);
  } else if (c == L"Static") {
    n["kind"] = "static";
    n["align"] = Align(r.style);
    const DWORD type = r.style & SS_TYPEMASK;
    n["frame"] = type == SS_ETCHEDFRAME || type == SS_BLACKFRAME ||
                 (type >= 0x10 && type <= 0x12) || (r.style & SS_SUNKEN) != 0;
  } else if (c == L"ComboBox") {
    n["kind"] = "combo";
    n["list"] = (r.style & 3) == CBS_DROPDOWNLIST;
    n["dropped"] = r.dropped;
    AddItems(r, node);
  } else if (c == L"ListBox") {
    n["kind"] = "list";
    AddItems(r, node);
  } else if (c == L"SysListView32") {
    n["kind"] = "listview";
    AddListView(r, node);
  } else {
    n["kind"] = "tooltip";
    const auto& tip = r.tooltip;
    if (tip.tracked >= 0 && tip.tracked < static_cast<int>(tip.tools.size())) {
      n["text"] = Utf8(tip.tools[tip.tracked].text);
    }
    n["color"] = HtmlColour(tip.text_colour);
    n["background"] = HtmlColour(tip.background);
    return;
  }
  // The colours a handler chooses while the control paints (the palette marks fields so).
  if (r.parent != nullptr) {
    COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    COLORREF background = ::GetSysColor(COLOR_WINDOW);
    const COLORREF text_before = text;
    const COLORREF background_before = background;
    platform::mfc::QueryControlColors(h, &text, &background);
    if (text != text_before) n["color"] = HtmlColour(text);
    if (background != background_before) n["background"] = HtmlColour(background);
  }
}

nlohmann::json Node(HWND h, const WindowRecord& r, bool top_level) {
  nlohmann::json n;
  n["hwnd"] = reinterpret_cast<uintptr_t>(h);
  n["class"] = Utf8(r.class_name);
  n["ctrl"] = r.id;
  n["template"] = r.template_id;
  n["text"] = Utf8(r.text);
  RECT rect = r.rect;
  if (top_level) ::GetWindowRect(h, &rect);
  n["x"] = rect.left;
  n["y"] = rect.top;
  n["w"] = rect.right - rect.left;
  n["h"] = rect.bottom - rect.top;
  n["visible"] = (r.style & WS_VISIBLE) != 0;
  n["enabled"] = (r.style & WS_DISABLED) == 0;
  n["focus"] = ::GetFocus() == h;
  AddControlState(h, r, &n);
  nlohmann::json children = nlohmann::json::array();
  for (HWND child : r.children) {
    const WindowRecord* c = FindWindowRecord(child);
    if (c != nullptr && (c->style & WS_CHILD)) children.push_back(Node(child, *c, false));
  }
  n["children"] = std::move(children);
  return n;
}

// The host's own windows, which the page draws in its own way.
bool IsHostWindow(const WindowRecord& r) {
  return r.class_name == L"AfxMDIFrame" || r.class_name == L"AfxMDIChild" ||
         r.class_name == L"AcCmdLine" || r.class_name == L"ComboLBox";
}

}  // namespace

std::string HtmlColour(COLORREF c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

nlohmann::json WindowsView() {
  nlohmann::json windows = nlohmann::json::array();
  const HWND frame = adsw_acadMainWnd();
  for (HWND h : platform::mfc::AllWindows()) {
    const WindowRecord* r = FindWindowRecord(h);
    if (r == nullptr || IsHostWindow(*r) || !(r->style & WS_VISIBLE)) continue;
    // Top-level: no parent, a popup owned by another window, or a child of the host's frame
    // (a docked palette set).
    const bool child = (r->style & WS_CHILD) != 0;
    if (child && r->parent != frame) continue;
    windows.push_back(Node(h, *r, true));
  }
  return windows;
}

}  // namespace web
