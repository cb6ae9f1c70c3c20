// The name dialog: caption and prompt of each mode, the empty-name refusal, names taken as typed,
// the name kept between showings, centring on the parent and the template's layout.
#include "dialogs/project_name_dialog.h"

#include "dialogs/harnex_resource_scope.h"
#include "dialogs_support.h"
#include "platform/mfc/resource_module.h"
#include "resources/resource.h"

namespace dialogs_test {
namespace {

using namespace host::steps;

// Records where the dialog was and how its controls lay when it ended.
class CRecordingNameDlg : public CNewProjDlg {
 public:
  using CNewProjDlg::CNewProjDlg;
  CRect rect_at_end;
  std::string overlaps_at_end = "<not ended>";

 protected:
  void OnOK() override {
    Record();
    CNewProjDlg::OnOK();
  }
  void OnCancel() override {
    Record();
    CNewProjDlg::OnCancel();
  }

 private:
  void Record() {
    GetWindowRect(&rect_at_end);
    overlaps_at_end = OverlappingControls(m_hWnd);
  }
};

using NameDialogTest = DialogSessionTest;

INT_PTR Show(CNewProjDlg& dialog) {
  HarnexResourceScope resources;
  return dialog.DoModal();
}

TEST_F(NameDialogTest, EachModeHasItsCaptionAndShowsItsPromptForAnEmptyName) {
  struct Case {
    UINT mode;
    const wchar_t* caption;
    const wchar_t* prompt;
  };
  const Case cases[] = {
      {0, L"新規プロジェクト", L"プロジェクト名を入力して下さい。"},
      {1, L"新規パターン", L"パターン名を入力して下さい。"},
      {2, L"プロジェクトのコピー", L"プロジェクト名を入力して下さい。"},
      {3, L"パターンの別名保存", L"パターン名を入力して下さい。"},
  };
  for (const Case& c : cases) {
    CNewProjDlg dialog(c.mode, &owner);
    size_t before = Events().size();
    Queue({Click(IDOK), Type(IDC_NAME_EDIT, L"A棟"), Click(IDOK)});
    EXPECT_EQ(Show(dialog), IDOK) << c.mode;
    EXPECT_EQ(dialog.GetName(), L"A棟");
    const std::vector<std::wstring> all = Events();
    std::vector<std::wstring> events(all.begin() + before, all.end());
    EXPECT_EQ(events, (std::vector<std::wstring>{L"[dialog 202 " + std::wstring(c.caption) + L"]",
                                                 L"[box stop] " + std::wstring(c.prompt) + L" → OK",
                                                 L"[end dialog 202 IDOK]"}))
        << c.mode;
  }
  ExpectAllStepsTaken();
}

TEST_F(NameDialogTest, NamesAreTakenAsTypedAndKeptForTheNextShowing) {
  CNewProjDlg dialog(CNewProjDlg::kNewPattern, &owner);
  Queue({Type(IDC_NAME_EDIT, L"  "), Click(IDOK)});
  ASSERT_EQ(Show(dialog), IDOK);
  EXPECT_EQ(dialog.GetName(), L"  ");  // blanks are a name
  Queue({Type(IDC_NAME_EDIT, L" 照明\\系 "), Click(IDOK)});
  ASSERT_EQ(Show(dialog), IDOK);
  EXPECT_EQ(dialog.GetName(), L" 照明\\系 ");
  // Shown again, the edit holds that name: OK alone gives it back without the empty-name box.
  Queue({Click(IDOK)});
  ASSERT_EQ(Show(dialog), IDOK);
  EXPECT_EQ(dialog.GetName(), L" 照明\\系 ");
  // Cancel leaves the name as it was.
  Queue({Type(IDC_NAME_EDIT, L"別名"), Click(IDCANCEL)});
  EXPECT_EQ(Show(dialog), IDCANCEL);
  EXPECT_EQ(dialog.GetName(), L" 照明\\系 ");
  EXPECT_TRUE(Boxes().empty());
  ExpectAllStepsTaken();
}

TEST_F(NameDialogTest, CentresOnItsParentHalvingEachSizeOnItsOwn) {
  // 203 x 67 units are 305 x 101 pixels; the parent is 800 x 600 at (130, 70). Halves truncated
  // one by one: 130 + 400 - 152 and 70 + 300 - 50 (halving the difference would give 377, 319).
  CRecordingNameDlg dialog(CNewProjDlg::kNewProject, &owner);
  Queue({Click(IDCANCEL)});
  Show(dialog);
  EXPECT_EQ(dialog.rect_at_end, CRect(378, 320, 378 + 305, 320 + 101));
  EXPECT_EQ(dialog.overlaps_at_end, "");
}

TEST_F(NameDialogTest, TemplateHoldsThePromptTheEditAndTheTwoButtons) {
  const platform::mfc::DialogTemplate* t = platform::mfc::FindDialogTemplate(IDD_NAME_INPUT);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(CRect(t->x, t->y, t->x + t->cx, t->y + t->cy), CRect(0, 0, 203, 67));
  EXPECT_EQ(t->font_face, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(t->style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME),
            static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME));
  struct Want {
    int id;
    const wchar_t* text;
    CRect units;
    DWORD style;
  };
  const Want wants[] = {
      {IDC_NAME_PROMPT, L"", CRect(3, 3, 198, 15), SS_LEFT},
      {IDC_NAME_EDIT, L"", CRect(3, 21, 198, 33), WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
      {IDOK, L"OK", CRect(42, 45, 92, 59), BS_DEFPUSHBUTTON | WS_TABSTOP},
      {IDCANCEL, L"ｷｬﾝｾﾙ", CRect(111, 45, 161, 59), BS_PUSHBUTTON | WS_TABSTOP},
  };
  ASSERT_EQ(t->controls.size(), std::size(wants));
  for (size_t i = 0; i < std::size(wants); ++i) {
    const auto& c = t->controls[i];
    EXPECT_EQ(c.id, wants[i].id);
    EXPECT_EQ(c.text, wants[i].text);
    EXPECT_EQ(CRect(c.x, c.y, c.x + c.cx, c.y + c.cy), wants[i].units) << c.id;
    EXPECT_EQ(c.style & wants[i].style, wants[i].style) << c.id;
  }
}

}  // namespace
}  // namespace dialogs_test
