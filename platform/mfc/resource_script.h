// Reading resource scripts (.rc text): symbols, dialog templates and string tables.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <windef.h>

namespace platform::mfc {

struct ControlTemplate {
  std::wstring class_name;  // "Button", "Edit", "ComboBox", "ListBox", "Static", ...
  std::wstring text;
  int id = -1;
  DWORD style = 0;
  DWORD ex_style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  int line = 0;
};

struct DialogTemplate {
  int id = 0;
  DWORD style = 0;
  DWORD ex_style = 0;
  std::wstring caption;
  std::wstring font_face;
  int font_size = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::vector<ControlTemplate> controls;
};

struct ResourceScript {
  std::map<std::string, long> symbols;  // #define NAME value
  std::map<int, DialogTemplate> dialogs;
  std::map<int, std::wstring> strings;
};

// Parses the script (UTF-8). The #include lines of headers are expected to be resolved already
// (the embedding step inlines them); other includes are ignored, and the Windows style names are
// known. Returns false with "line N: what" in *error on the first error.
bool ParseResourceScript(const std::string& text, ResourceScript* out, std::string* error);

}  // namespace platform::mfc
