// The resource script reader: every control statement, styles with NOT, string tables, and
// errors with their line numbers.
#include "platform/mfc/resource_script.h"

#include <gtest/gtest.h>

#include <afxcmn.h>
#include "mfc_support.h"

namespace {

using platform::mfc::ParseResourceScript;
using platform::mfc::ResourceScript;

TEST(ResourceScript, ReadsTheTestDialogWithEveryControlKind) {
  ResourceScript s;
  std::string error;
  ASSERT_TRUE(ParseResourceScript(mfc_test::kTestScript, &s, &error)) << error;
  EXPECT_EQ(s.symbols["IDC_ROWS"], 1010);
  ASSERT_EQ(s.dialogs.count(300), 1u);
  const auto& d = s.dialogs[300];
  EXPECT_EQ(d.caption, L"新規プロジェクト");
  EXPECT_EQ(d.font_face, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(d.font_size, 9);
  EXPECT_EQ(d.cx, 200);
  EXPECT_EQ(d.style,
            static_cast<DWORD>(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU));
  ASSERT_EQ(d.controls.size(), 18u);
  struct Want {
    size_t index;
    const wchar_t* cls;
    int id;
    DWORD style;
  };
  const DWORD cv = WS_CHILD | WS_VISIBLE;
  const Want wants[] = {
      {0, L"Static", -1, cv | SS_LEFT | WS_GROUP},
      {1, L"Edit", 1001, cv | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
      {4, L"Button", 1004, cv | BS_AUTOCHECKBOX | WS_TABSTOP},
      {5, L"Button", 1005, cv | BS_AUTORADIOBUTTON | WS_GROUP},
      {6, L"Button", 1006, cv | BS_AUTORADIOBUTTON},
      {10, L"ComboBox", 1008, cv | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
      {11, L"ListBox", 1009, cv | LBS_NOTIFY | WS_BORDER | LBS_SORT},
      {12, L"SysListView32", 1010, cv | LVS_REPORT | WS_BORDER | WS_TABSTOP},
      {13, L"Button", 1011, cv | BS_PUSHBUTTON},  // NOT WS_TABSTOP removes the default
      {14, L"Button", 1012, cv | BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED},
      {15, L"Button", -1, cv | BS_GROUPBOX},
      {16, L"Button", IDOK, cv | BS_DEFPUSHBUTTON | WS_TABSTOP},
  };
  for (const auto& w : wants) {
    const auto& c = d.controls[w.index];
    EXPECT_EQ(c.class_name, w.cls) << w.index;
    EXPECT_EQ(c.id, w.id) << w.index;
    EXPECT_EQ(c.style, w.style) << w.index << std::hex << " got " << c.style;
  }
  EXPECT_EQ(d.controls[17].text, L"ｷｬﾝｾﾙ");
  EXPECT_EQ(d.controls[13].x, 145);
  EXPECT_EQ(d.controls[13].cy, 14);
  EXPECT_EQ(s.strings[2001], L"データが保存されました。");
}

TEST(ResourceScript, SkipsOtherResourcesAndStudioSections) {
  const char* text =
      "#include \"afxres.h\"\n"
      "#ifdef APSTUDIO_INVOKED\n"
      "1 TEXTINCLUDE\nBEGIN\n    \"resource.h\\0\"\nEND\n"
      "#endif\n"
      "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n"
      "#pragma code_page(932)\n"
      "IDI_ICON ICON \"res\\\\app.ico\"\n"
      "5 DIALOG 0, 0, 10, 10\nCAPTION \"a \"\"b\"\"\"\nBEGIN\n  CHECKBOX \"c\", 7, 1, 2, 3, "
      "4\nEND\n";
  ResourceScript s;
  std::string error;
  ASSERT_TRUE(ParseResourceScript(text, &s, &error)) << error;
  ASSERT_EQ(s.dialogs.count(5), 1u);
  EXPECT_EQ(s.dialogs[5].caption, L"a \"b\"");
  EXPECT_EQ(s.dialogs[5].controls.at(0).style,
            static_cast<DWORD>(WS_CHILD | WS_VISIBLE | BS_CHECKBOX | WS_TABSTOP));
}

TEST(ResourceScript, AComboBoxStyleReplacesTheDefaultStyle) {
  const char* text =
      "1 DIALOG 0, 0, 100, 40\nBEGIN\n"
      "  COMBOBOX 10, 1, 1, 40, 60, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL\n"
      "  COMBOBOX 11, 1, 15, 40, 60\n"
      "  COMBOBOX 12, 50, 1, 40, 60, CBS_DROPDOWNLIST | WS_TABSTOP\n"
      "END\n";
  ResourceScript s;
  std::string error;
  ASSERT_TRUE(ParseResourceScript(text, &s, &error)) << error;
  const auto& controls = s.dialogs[1].controls;
  ASSERT_EQ(controls.size(), 3u);
  const DWORD cv = WS_CHILD | WS_VISIBLE;
  EXPECT_EQ(controls[0].style, static_cast<DWORD>(cv | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL))
      << "editable";
  EXPECT_EQ(controls[1].style, static_cast<DWORD>(cv | CBS_SIMPLE | WS_TABSTOP)) << "the default";
  EXPECT_EQ(controls[2].style, static_cast<DWORD>(cv | CBS_DROPDOWNLIST | WS_TABSTOP));
}

TEST(ResourceScript, ErrorsNameTheLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"#define A 1\n\nA DIALOGEX 0, 0, 10, 10\nBEGIN\n  EDITTEXT B_UNKNOWN, 1, 2, 3, 4\nEND\n",
       "line 5: unknown symbol B_UNKNOWN"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  SLIDER \"x\", 1, 2, 3, 4, 5\nEND\n",
       "line 3: unknown control statement 'SLIDER'"},
      {"1 DIALOG 0, 0, 10, 10\nCAPTION \"open\nBEGIN\nEND\n", "line 2: unterminated string"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\" 1, 2, 3, 4, 5\nEND\n", "line 3: expected ,"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", 1, 2, 3, 4, 5\n",
       "line 4: missing END of dialog"},
  };
  for (const auto& c : cases) {
    ResourceScript s;
    std::string error;
    EXPECT_FALSE(ParseResourceScript(c.text, &s, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST(ResourceScript, DeeplyNestedExpressionsFailInsteadOfExhaustingTheStack) {
  auto dialog_at = [](int in_define, int in_statement) {
    return "#define ID (" + std::string(in_define, '(') + "5" + std::string(in_define, ')') +
           ")\nID DIALOG 0, 0, " + std::string(in_statement, '~') + "10, 10\nBEGIN\nEND\n";
  };
  ResourceScript s;
  std::string error;
  ASSERT_TRUE(ParseResourceScript(dialog_at(60, 60), &s, &error)) << error;
  ASSERT_EQ(s.dialogs.count(5), 1u);
  EXPECT_EQ(s.dialogs[5].cx, 10);  // sixty tildes undo one another

  ResourceScript deep;
  EXPECT_FALSE(ParseResourceScript(dialog_at(1, 100000), &deep, &error));
  EXPECT_EQ(error, "line 2: expression nested too deeply");
  EXPECT_FALSE(ParseResourceScript(dialog_at(100000, 1), &deep, &error));
  EXPECT_EQ(error, "line 1: cannot evaluate #define ID");
}

}  // namespace
