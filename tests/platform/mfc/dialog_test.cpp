// Dialogs from a test template driven by queued user actions: message maps, notifications,
// check boxes and radio groups, combo boxes, data exchange, the modal loop and its transcript.
#include <gtest/gtest.h>

#include <afxcmn.h>
#include "mfc_support.h"
#include "platform/mfc/window_system.h"

namespace {

using namespace mfc_test;

class CSampleDlg : public CDialog {
 public:
  explicit CSampleDlg(CWnd* parent = nullptr) : CDialog(300, parent) {}
  CString m_name = L"初期";
  int m_count = 3;
  double m_ratio = 1.5;
  int m_flag = 0;
  int m_kind = 1;
  CComboBox m_choice;
  std::vector<std::wstring> log;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, 1008, m_choice);
    DDX_Text(pDX, 1001, m_name);
    DDX_Text(pDX, 1002, m_count);
    DDX_Text(pDX, 1003, m_ratio);
    DDX_Check(pDX, 1004, m_flag);
    DDX_Radio(pDX, 1005, m_kind);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_choice.AddString(L"屋内");
    m_choice.AddString(L"屋外");
    m_choice.AddString(L"地中");
    log.push_back(L"init");
    return TRUE;
  }
  afx_msg void OnNameChange() { log.push_back(L"change"); }
  afx_msg void OnNameKillFocus() {
    CString s;
    GetDlgItemText(1001, s);
    log.push_back(L"killfocus " + std::wstring(s.GetString()));
  }
  afx_msg void OnChoice() {
    CString s;
    m_choice.GetLBText(m_choice.GetCurSel(), s);
    log.push_back(L"selchange " + std::wstring(s.GetString()));
  }
  afx_msg void OnKind(UINT id) { log.push_back(L"kind " + std::to_wstring(id)); }
  afx_msg void OnApply() { log.push_back(L"apply"); }
  afx_msg LRESULT OnPrivate(WPARAM w, LPARAM l) {
    log.push_back(L"private " + std::to_wstring(w));
    return 7;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSampleDlg, CDialog)
ON_EN_CHANGE(1001, &CSampleDlg::OnNameChange)
ON_EN_KILLFOCUS(1001, &CSampleDlg::OnNameKillFocus)
ON_CBN_SELCHANGE(1008, &CSampleDlg::OnChoice)
ON_CONTROL_RANGE(BN_CLICKED, 1005, 1007, &CSampleDlg::OnKind)
ON_BN_CLICKED(1011, &CSampleDlg::OnApply)
ON_MESSAGE(WM_USER + 0x3003, &CSampleDlg::OnPrivate)
END_MESSAGE_MAP()

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { UseTestResources(); }
  void TearDown() override { platform::mfc::ResetWindowSystem(); }
  platform::ActionQueueSession session;
  platform::ScopedUserSession scoped{&session};
};

TEST_F(DialogTest, UserActionsReachHandlersAndOkExchangesData) {
  session.Push(Type(1001, L"配線A"));
  session.Push(Type(1002, L"12"));
  session.Push(Click(1004));
  session.Push(Click(1007));
  session.Push(Choose(1008, L"屋外"));
  session.Push(Click(1011));
  session.Push(Click(IDOK));
  CSampleDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_name, L"配線A");
  EXPECT_EQ(dlg.m_count, 12);
  EXPECT_EQ(dlg.m_ratio, 1.5);  // loaded into the edit and read back
  EXPECT_EQ(dlg.m_flag, 1);
  EXPECT_EQ(dlg.m_kind, 2);
  const std::vector<std::wstring> want = {L"init",      L"change",         L"killfocus 配線A",
                                          L"kind 1007", L"selchange 屋外", L"apply"};
  // EN_CHANGE also arrives while the dialog loads its data; keep the user's part.
  std::vector<std::wstring> got(dlg.log.begin(), dlg.log.end());
  std::erase(got, std::wstring(L"change"));
  std::vector<std::wstring> want_no_change = want;
  std::erase(want_no_change, std::wstring(L"change"));
  EXPECT_EQ(got, want_no_change);
  EXPECT_EQ(session.transcript(), L"[dialog 300 新規プロジェクト]\n[end dialog 300 IDOK]\n");
  EXPECT_FALSE(session.stopped());
}

TEST_F(DialogTest, RadioGroupsEndAtTheNextGroupStyle) {
  session.Push(Click(1013));
  session.Push(Click(1006));
  session.Push(Click(1005));
  session.Push(Click(IDCANCEL));
  CSampleDlg dlg;
  dlg.m_kind = 1;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  // The values stay as they were: Cancel does not exchange.
  EXPECT_EQ(dlg.m_kind, 1);
  EXPECT_EQ(session.transcript(), L"[dialog 300 新規プロジェクト]\n[end dialog 300 IDCANCEL]\n");
}

TEST_F(DialogTest, ModelessChecksAndRadiosFollowClicks) {
  CSampleDlg dlg;
  ASSERT_TRUE(dlg.Create(300));
  platform::mfc::SetPaletteWindow(&dlg);
  EXPECT_EQ(session.transcript(), L"[window 300 新規プロジェクト]\n");
  ASSERT_TRUE(platform::DeliverWindowAction(Click(1013)));
  EXPECT_TRUE(session.stopped());  // a hidden window takes no clicks
  EXPECT_EQ(dlg.IsDlgButtonChecked(1013), BST_UNCHECKED);
  platform::ActionQueueSession fresh;
  platform::ScopedUserSession use(&fresh);
  dlg.ShowWindow(SW_SHOW);
  ASSERT_TRUE(platform::DeliverWindowAction(Click(1013)));
  ASSERT_TRUE(platform::DeliverWindowAction(Click(1006)));
  EXPECT_EQ(dlg.IsDlgButtonChecked(1013), BST_CHECKED);  // another group
  EXPECT_EQ(dlg.IsDlgButtonChecked(1006), BST_CHECKED);
  EXPECT_EQ(dlg.IsDlgButtonChecked(1005), BST_UNCHECKED);  // loaded checked, now cleared
  ASSERT_TRUE(platform::DeliverWindowAction(Click(1014)));
  EXPECT_EQ(dlg.IsDlgButtonChecked(1013), BST_UNCHECKED);
  EXPECT_EQ(dlg.IsDlgButtonChecked(1006), BST_CHECKED);
  ASSERT_TRUE(platform::DeliverWindowAction(Click(1004)));
  ASSERT_TRUE(platform::DeliverWindowAction(Click(1004)));
  EXPECT_EQ(dlg.IsDlgButtonChecked(1004), BST_UNCHECKED);
  EXPECT_EQ(dlg.SendMessage(WM_USER + 0x3003, 4, 0), 7);
  EXPECT_EQ(dlg.log.back(), L"private 4");
  dlg.DestroyWindow();
  EXPECT_FALSE(::IsWindow(dlg.m_hWnd));
}

TEST_F(DialogTest, ActionsThatDoNotFitStopTheSession) {
  {
    session.Push(Click(1012));  // disabled
    CSampleDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(session.stopped());
    EXPECT_EQ(session.exit_code(), platform::kExitScriptMismatch);
    EXPECT_NE(session.stop_reason().find(L"disabled"), std::wstring::npos) << session.stop_reason();
  }
  platform::ActionQueueSession second;
  platform::ScopedUserSession use(&second);
  second.Push(Command(L"RQ_HARNEX", 9));
  CSampleDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(second.exit_code(), platform::kExitScriptMismatch);
  EXPECT_NE(second.stop_reason().find(L"line 9"), std::wstring::npos) << second.stop_reason();
  EXPECT_NE(second.stop_reason().find(L"RQ_HARNEX"), std::wstring::npos) << second.stop_reason();
  platform::ActionQueueSession third;
  platform::ScopedUserSession use3(&third);
  third.Push(Choose(1008, L"存在しない"));
  CSampleDlg dlg3;
  EXPECT_EQ(dlg3.DoModal(), IDCANCEL);
  EXPECT_TRUE(third.stopped());
}

TEST_F(DialogTest, InvalidNumberFailsTheExchangeWithABox) {
  session.Push(Type(1002, L"abc"));
  session.Push(Click(IDOK));  // refused: the box is acknowledged, the dialog stays
  session.Push(Type(1002, L"5"));
  session.Push(Click(IDOK));
  CSampleDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_count, 5);
  EXPECT_EQ(session.transcript(),
            L"[dialog 300 新規プロジェクト]\n[box warning] 整数を入力してください。 → OK\n"
            L"[end dialog 300 IDOK]\n");
}

TEST_F(DialogTest, DialogUnitsUseTheFontBaseUnits) {
  CSampleDlg dlg;
  ASSERT_TRUE(dlg.Create(300));
  CRect r;
  dlg.GetDlgItem(1011)->GetWindowRect(&r);
  // 6 x 12 pixels per 4 x 8 units, rounded: (145, 70, 50, 14) units.
  EXPECT_EQ(r.left, 218);
  EXPECT_EQ(r.top, 105);
  EXPECT_EQ(r.Width(), 75);
  EXPECT_EQ(r.Height(), 21);
  CRect client;
  dlg.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 300);
  EXPECT_EQ(client.Height(), 180);
}

TEST_F(DialogTest, PopupDialogsSitInScreenCoordinatesRelativeToTheirOwnerWhenMade) {
  CWnd owner;
  owner.Create(L"Frame", L"", WS_POPUP | WS_VISIBLE, CRect(100, 50, 900, 650), nullptr, 0);
  CSampleDlg dlg(&owner);
  ASSERT_TRUE(dlg.Create(300, &owner));
  CRect r;
  dlg.GetWindowRect(&r);
  EXPECT_EQ(r.TopLeft(), CPoint(100, 50));  // template 0, 0 in the owner's client area
  dlg.SetWindowPos(nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  dlg.GetWindowRect(&r);
  EXPECT_EQ(r.TopLeft(), CPoint(400, 300));  // moved in screen coordinates, owner or not
  dlg.GetDlgItem(1011)->GetWindowRect(&r);
  EXPECT_EQ(r.TopLeft(), CPoint(400 + 218, 300 + 105));
  dlg.CenterWindow();
  dlg.GetWindowRect(&r);
  EXPECT_EQ(r.TopLeft(), CPoint(100 + (800 - 300) / 2, 50 + (600 - 180) / 2));
}

TEST_F(DialogTest, WindowPlacementGivesTheRestoredRectangleOfAMaximizedWindow) {
  CWnd frame;
  frame.Create(L"Frame", L"", WS_POPUP | WS_VISIBLE, CRect(120, 80, 720, 480), nullptr, 0);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  ASSERT_TRUE(frame.GetWindowPlacement(&wp));
  EXPECT_EQ(CRect(wp.rcNormalPosition), CRect(120, 80, 720, 480));
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  frame.ShowWindow(SW_MAXIMIZE);
  EXPECT_TRUE(frame.IsZoomed());
  CRect r;
  frame.GetWindowRect(&r);
  EXPECT_EQ(r, CRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  ASSERT_TRUE(frame.GetWindowPlacement(&wp));
  EXPECT_EQ(CRect(wp.rcNormalPosition), CRect(120, 80, 720, 480));
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  frame.ShowWindow(SW_RESTORE);
  EXPECT_FALSE(frame.IsZoomed());
  frame.GetWindowRect(&r);
  EXPECT_EQ(r, CRect(120, 80, 720, 480));
}

}  // namespace

namespace {

// Remembers the window it was placed under when it opened.
class COwnerProbeDlg : public CSampleDlg {
 public:
  using CSampleDlg::CSampleDlg;
  HWND parent_at_init = nullptr;

 protected:
  BOOL OnInitDialog() override {
    parent_at_init = ::GetParent(m_hWnd);
    return CSampleDlg::OnInitDialog();
  }
};

TEST_F(DialogTest, AModalDialogIsOwnedByTheTopLevelWindowOfItsParent) {
  CWnd frame;
  frame.CreateEx(0, L"AfxFrameOrView", L"", WS_POPUP | WS_VISIBLE, CRect(100, 50, 900, 650),
                 nullptr, 0);
  CWnd panel;
  panel.CreateEx(0, L"AfxWnd", L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 300, 300), &frame, 5);
  COwnerProbeDlg modal(&panel);
  EXPECT_EQ(modal.DoModal(), IDCANCEL);  // the input ends: Esc
  EXPECT_EQ(modal.parent_at_init, frame.m_hWnd);
  // A modeless one stays where it was put.
  COwnerProbeDlg modeless(&panel);
  ASSERT_TRUE(modeless.Create(300, &panel));
  EXPECT_EQ(modeless.parent_at_init, panel.m_hWnd);
  modeless.DestroyWindow();
}

// Enter goes to the push button that has the focus, else to the default push button (IDOK when
// none is marked default); a disabled one takes nothing.
class CEnterDlg : public CDialog {
 public:
  CEnterDlg(UINT id, bool lock_ok) : CDialog(id, nullptr), lock_ok_(lock_ok) {}
  std::vector<std::wstring> log;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    // The controls are reached through objects of their own class: GetDlgItem gives a plain
    // CWnd for a control that no object owns.
    if (rows_.SubclassDlgItem(1010, this)) {
      rows_.InsertColumn(0, L"名前", LVCFMT_LEFT, 60);
      rows_.InsertItem(0, L"A");
    }
    if (choice_.SubclassDlgItem(1008, this)) choice_.AddString(L"屋内");
    if (lock_ok_) GetDlgItem(IDOK)->EnableWindow(FALSE);
    return TRUE;
  }
  void OnOK() override {
    log.push_back(L"ok");
    CDialog::OnOK();
  }
  afx_msg void OnApply() { log.push_back(L"apply"); }
  DECLARE_MESSAGE_MAP()

 private:
  bool lock_ok_;
  CListCtrl rows_;
  CComboBox choice_;
};

BEGIN_MESSAGE_MAP(CEnterDlg, CDialog)
ON_BN_CLICKED(1011, &CEnterDlg::OnApply)
END_MESSAGE_MAP()

TEST_F(DialogTest, EnterPressesTheFocusedPushButtonElseTheDefaultOne) {
  // On a clicked push button, that button again; once rows of the list were clicked, or text
  // was typed, the default button OK.
  for (auto away : {Rows(1010, {0}), Type(1001, L"A")}) {
    session.Push(Click(1011));
    session.Push(Enter());
    session.Push(away);
    session.Push(Enter());
    CEnterDlg dlg(300, false);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.log, (std::vector<std::wstring>{L"apply", L"apply", L"ok"}));
  }
  {  // The default button disabled: Enter does nothing, Esc ends the dialog.
    session.Push(Type(1001, L"B"));
    session.Push(Enter());
    session.Push(Click(IDCANCEL));
    CEnterDlg dlg(300, true);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.log.empty());
  }
  // Template 301 marks Cancel as its default: Enter in the combo box or the list cancels, and
  // only a click on the OK button itself is OK.
  for (auto step : {Choose(1008, L"屋内"), Rows(1010, {0})}) {
    session.Push(step);
    session.Push(Enter());
    CEnterDlg dlg(301, false);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.log.empty());
  }
  session.Push(Rows(1010, {0}));
  session.Push(Click(IDOK));
  CEnterDlg dlg(301, false);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_FALSE(session.stopped()) << session.stop_reason();
}

}  // namespace
