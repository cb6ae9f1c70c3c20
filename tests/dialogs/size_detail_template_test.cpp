// The wire size detail dialog's template as Harnex.arx carries it: a small popup with the three
// drop-down lists side by side (group, size, earth) over OK and Cancel, OK the default button.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>

#include "app/harnex_resources.h"
#include "platform/mfc/resource_script.h"
#include "resources/resource.h"
#include "platform/win/text_encoding.h"

namespace {

using platform::mfc::ControlTemplate;

TEST(SizeDetailTemplate, ThreeDropDownListsSideBySideOverOkAndCancel) {
  platform::mfc::ResourceScript script;
  std::string error;
  ASSERT_TRUE(platform::mfc::ParseResourceScript(kHarnexResourceScript, &script, &error)) << error;
  ASSERT_EQ(script.dialogs.count(206), 1u);
  const auto& d = script.dialogs[206];
  EXPECT_EQ(d.caption, L"配線サイズ詳細");
  EXPECT_EQ(d.font_face, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(d.font_size, 9);
  EXPECT_EQ(d.cx, 174);
  EXPECT_EQ(d.cy, 45);
  const DWORD popup = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  EXPECT_EQ(d.style & popup, popup);
  EXPECT_EQ(d.style & WS_VISIBLE, 0u);  // shown only once it stands below the edit

  struct Want {
    int id;
    const wchar_t* cls;
    DWORD style;  // the bits that must be set
    const wchar_t* text;
    int x, y, cx, cy;
  };
  const DWORD list = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
  const Want wants[] = {{376, L"ComboBox", list, L"", 3, 6, 57, 198},
                        {378, L"ComboBox", list, L"", 63, 6, 69, 198},
                        {380, L"ComboBox", list, L"", 135, 6, 36, 198},
                        {IDOK, L"Button", BS_DEFPUSHBUTTON, L"OK", 93, 24, 36, 14},
                        {IDCANCEL, L"Button", BS_PUSHBUTTON, L"ｷｬﾝｾﾙ", 135, 24, 36, 14}};
  ASSERT_EQ(d.controls.size(), std::size(wants));
  for (size_t i = 0; i < std::size(wants); ++i) {
    const Want& w = wants[i];
    const ControlTemplate& c = d.controls[i];  // in tab order
    SCOPED_TRACE("control " + std::to_string(w.id));
    EXPECT_EQ(c.id, w.id);
    EXPECT_EQ(c.class_name, w.cls);
    if (c.class_name == L"Button") {
      EXPECT_EQ(c.style & BS_TYPEMASK, w.style);
    } else {
      EXPECT_EQ(c.style & (CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP), w.style);
    }
    EXPECT_EQ(c.text, w.text);
    EXPECT_EQ((std::array{c.x, c.y, c.cx, c.cy}), (std::array{w.x, w.y, w.cx, w.cy}));
  }
}

}  // namespace
