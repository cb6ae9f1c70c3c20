// Shared helpers of the MFC stand-in's tests: a test resource module and user actions.
#include "mfc_support.h"

#include <winbase.h>

namespace mfc_test {

const char kTestScript[] = R"rc(// Test dialogs
#define IDD_SAMPLE 300
#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_RATIO 1003
#define IDC_FLAG 1004
#define IDC_KIND_A 1005
#define IDC_KIND_B 1006
#define IDC_KIND_C 1007
#define IDC_CHOICE 1008
#define IDC_LIST 1009
#define IDC_ROWS 1010
#define IDC_APPLY 1011
#define IDC_LOCKED 1012
#define IDC_OTHER_A 1013
#define IDC_OTHER_B 1014

IDD_SAMPLE DIALOGEX 0, 0, 200, 120
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "新規プロジェクト"
FONT 9, "ＭＳ Ｐゴシック", 400, 0, 0x80
BEGIN
    LTEXT           "名前:",IDC_STATIC,7,7,30,8
    EDITTEXT        IDC_NAME,40,5,100,12,ES_AUTOHSCROLL
    EDITTEXT        IDC_COUNT,40,20,40,12
    EDITTEXT        IDC_RATIO,90,20,40,12
    AUTOCHECKBOX    "有効",IDC_FLAG,7,35,40,10
    AUTORADIOBUTTON "幹線",IDC_KIND_A,7,50,40,10,WS_GROUP
    AUTORADIOBUTTON "一般",IDC_KIND_B,50,50,40,10
    AUTORADIOBUTTON "他",IDC_KIND_C,90,50,40,10
    AUTORADIOBUTTON "X",IDC_OTHER_A,7,62,40,10,WS_GROUP
    AUTORADIOBUTTON "Y",IDC_OTHER_B,50,62,40,10
    COMBOBOX        IDC_CHOICE,7,75,80,60,CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP
    LISTBOX         IDC_LIST,100,75,40,30,LBS_SORT
    CONTROL         "",IDC_ROWS,"SysListView32",LVS_REPORT | WS_BORDER | WS_TABSTOP,145,5,50,60
    PUSHBUTTON      "適用",IDC_APPLY,145,70,50,14,NOT WS_TABSTOP
    PUSHBUTTON      "固定",IDC_LOCKED,145,86,50,14,WS_DISABLED
    GROUPBOX        "種類",IDC_STATIC,2,45,140,30
    DEFPUSHBUTTON   "OK",IDOK,90,100,50,14
    PUSHBUTTON      "ｷｬﾝｾﾙ",IDCANCEL,145,100,50,14
END

// Enter cancels here: the default button is Cancel.
301 DIALOGEX 0, 0, 200, 60
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "取込"
FONT 9, "ＭＳ Ｐゴシック"
BEGIN
    COMBOBOX        IDC_CHOICE,7,5,80,60,CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP
    CONTROL         "",IDC_ROWS,"SysListView32",LVS_REPORT | WS_BORDER | WS_TABSTOP,100,5,90,30
    PUSHBUTTON      "取込",IDOK,90,40,50,14
    DEFPUSHBUTTON   "ｷｬﾝｾﾙ",IDCANCEL,145,40,50,14
END

STRINGTABLE
BEGIN
    2001 "データが保存されました。"
END
)rc";

HMODULE UseTestResources(const std::string& script) {
  HMODULE m = platform::RegisterModule(L"MfcTest.arx", {});
  platform::SetModuleResourceScript(m, script);
  AfxSetResourceHandle(m);
  return m;
}

namespace {
platform::UserAction Window(platform::ActionKind kind, int control) {
  platform::UserAction a;
  a.kind = kind;
  a.control = control;
  a.line = 1;
  return a;
}
}  // namespace

platform::UserAction Enter() {
  platform::UserAction a;
  a.kind = platform::ActionKind::kEnter;
  a.line = 1;
  return a;
}

platform::UserAction Click(int control, int template_id) {
  auto a = Window(platform::ActionKind::kClick, control);
  a.template_id = template_id;
  return a;
}
platform::UserAction Type(int control, const std::wstring& text) {
  auto a = Window(platform::ActionKind::kType, control);
  a.text = text;
  return a;
}
platform::UserAction Choose(int control, const std::wstring& text) {
  auto a = Window(platform::ActionKind::kChoose, control);
  a.text = text;
  return a;
}
platform::UserAction Rows(int control, std::vector<int> rows) {
  auto a = Window(platform::ActionKind::kRows, control);
  a.numbers = std::move(rows);
  return a;
}
platform::UserAction Header(int control, int column) {
  auto a = Window(platform::ActionKind::kHeader, control);
  a.numbers = {column};
  return a;
}
platform::UserAction Menu(int control, const std::wstring& item) {
  auto a = Window(platform::ActionKind::kMenu, control);
  a.text = item;
  return a;
}
platform::UserAction Answer(const std::wstring& word) {
  platform::UserAction a;
  a.kind = platform::ActionKind::kAnswer;
  a.text = word;
  a.line = 1;
  return a;
}
platform::UserAction Command(const std::wstring& name, int line) {
  platform::UserAction a;
  a.kind = platform::ActionKind::kCommand;
  a.text = name;
  a.line = line;
  return a;
}

}  // namespace mfc_test
