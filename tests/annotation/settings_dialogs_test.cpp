// The note settings and list details dialogs against the settings file: what they show, what
// they refuse, what they write and what they leave alone in the file.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tools/harnex_session.h"
#include "annotation/list_detail_dialog.h"
#include "annotation/note_settings_dialog.h"
#include "dialogs/harnex_resource_scope.h"
#include "host/session/session.h"
#include "tools/system_folder.h"
#include "resources/resource.h"
#include "platform/win/text_encoding.h"

namespace {

using namespace host::steps;

// What a dialog's edits held and how its check box and angle edit stood when OK or Cancel was
// pressed.
struct Seen {
  std::vector<std::wstring> edits;
  bool angle_checked = false;
  bool angle_enabled = false;
};

Seen Look(CWnd& dialog, const std::vector<int>& edits) {
  Seen seen;
  for (int id : edits) {
    CString text;
    dialog.GetDlgItemText(id, text);
    seen.edits.push_back(text.GetString());
  }
  seen.angle_checked = dialog.IsDlgButtonChecked(IDC_NOTE_ANGLE_CORRECTION) == BST_CHECKED;
  seen.angle_enabled = ::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, IDC_NOTE_CORRECTION_ANGLE));
  return seen;
}

const std::vector<int> kNoteEdits = {IDC_NOTE_TEXT_HEIGHT, IDC_NOTE_TEXT_WIDTH, IDC_NOTE_LINE_GAP,
                                     IDC_NOTE_TEXT_OFFSET, IDC_NOTE_CORRECTION_ANGLE};
const std::vector<int> kListEdits = {IDC_LIST_TEXT_HEIGHT, IDC_LIST_TEXT_WIDTH, IDC_LIST_ROW_HEIGHT,
                                     IDC_LIST_LEFT_MARGIN, IDC_LIST_RIGHT_MARGIN};

class CRecordingNoteSetting : public CNoteSetting {
 public:
  using CNoteSetting::CNoteSetting;
  std::vector<Seen> seen;  // one per OK or Cancel pressed
  CRect rect;
  LRESULT keep_focus = -1;

 protected:
  void OnOK() override {
    Record();
    CNoteSetting::OnOK();
  }
  void OnCancel() override {
    Record();
    CNoteSetting::OnCancel();
  }

 private:
  void Record() {
    seen.push_back(Look(*this, kNoteEdits));
    GetWindowRect(&rect);
    keep_focus = SendMessage(WM_ACAD_KEEPFOCUS);
  }
};

class CRecordingListDetail : public CListDetailDlg {
 public:
  using CListDetailDlg::CListDetailDlg;
  std::vector<Seen> seen;

 protected:
  void OnOK() override {
    seen.push_back(Look(*this, kListEdits));
    CListDetailDlg::OnOK();
  }
  void OnCancel() override {
    seen.push_back(Look(*this, kListEdits));
    CListDetailDlg::OnCancel();
  }
};

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    folder_ = tools::SystemFolderCopy::Create("", &error);
    ASSERT_NE(folder_, nullptr) << error;
    path_ = folder_->system_folder() + "/ZazoZivi.ini";
  }
  void TearDown() override {
    owner.DestroyWindow();
    session_.reset();
    folder_.reset();
  }

  // The settings file as the test wants it before the session starts (nothing: no file).
  void WriteSettings(const std::string& bytes) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  // Through the file functions, so that their cache of the file sees it gone at once.
  void RemoveSettings() {
    const std::wstring path = platform::Utf8ToWide(path_);
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
      ASSERT_TRUE(::DeleteFileW(path.c_str())) << ::GetLastError();
    }
  }
  std::string SettingsBytes() {
    ::platform::FlushProfileFiles();
    std::ifstream in(path_, std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Starts the session with Harnex loaded, and a window to open the dialogs over: a popup at
  // (130, 70)-(930, 670).
  void Start() {
    host::Session::Options options = tools::HarnexSessionOptions();
    options.config_path = folder_->config_path();
    session_ = std::make_unique<host::Session>(options);
    ASSERT_TRUE(session_->Start());
    owner.CreateEx(0, L"AfxFrameOrView", L"", WS_POPUP | WS_VISIBLE, CRect(130, 70, 930, 670),
                   nullptr, 0);
  }

  INT_PTR Show(CDialog& dialog, std::vector<host::ScriptStep> steps) {
    session_->user().Add(std::move(steps));
    HarnexResourceScope resources;
    return dialog.DoModal();
  }

  // The message boxes of the transcript since the last call.
  std::vector<std::wstring> Boxes() {
    std::vector<std::wstring> boxes;
    std::wistringstream lines(session_->transcript());
    for (std::wstring line; std::getline(lines, line);) {
      if (line.starts_with(L"[box ")) boxes.push_back(line);
    }
    session_->ClearTranscript();
    return boxes;
  }

  void ExpectAllStepsTaken() {
    EXPECT_EQ(session_->user().remaining(), 0u);
    EXPECT_EQ(session_->stop_reason(), L"");
  }

  CWnd owner;

 private:
  std::unique_ptr<tools::SystemFolderCopy> folder_;
  std::unique_ptr<host::Session> session_;
  std::string path_;
};

std::string Utf16File(const std::wstring& text) {
  return "\xFF\xFE" + platform::WideToUtf16Le(text);
}

using Texts = std::vector<std::wstring>;

TEST_F(SettingsDialogTest, NoteSettingsShowTheFileAsItStandsOrTheDefaults) {
  // Texts as stored, not reformatted. A flag with a trailing blank (quoted, as the profile
  // functions drop unquoted blanks around values) is off and disables the angle.
  // The dialog reads at most 127 characters of a value.
  const std::wstring long_gap = L"3" + std::wstring(140, L'0');
  WriteSettings(platform::WideToCp932(
      L"[自動複数配線注記設定]\r\n文字高さ=2.50\r\n文字幅=abc\r\n行間隔=" + long_gap +
      L"\r\nオフセット=-1\r\n引出線角度補正=\"あり \"\r\n補正角度=7.25\r\n"));
  Start();
  CRecordingNoteSetting stored(&owner);
  EXPECT_EQ(Show(stored, {Click(IDC_NOTE_ANGLE_CORRECTION), Click(2)}), IDCANCEL);
  ExpectAllStepsTaken();
  ASSERT_EQ(stored.seen.size(), 1u);
  EXPECT_EQ(stored.seen[0].edits,
            (Texts{L"2.50", L"abc", long_gap.substr(0, 127), L"-1", L"7.25"}));
  // Clicking the box turned it on and enabled the angle: it had been off and disabled.
  EXPECT_TRUE(stored.seen[0].angle_checked);
  EXPECT_TRUE(stored.seen[0].angle_enabled);
  CRecordingNoteSetting untouched(&owner);
  Show(untouched, {Click(2)});
  EXPECT_FALSE(untouched.seen[0].angle_checked);
  EXPECT_FALSE(untouched.seen[0].angle_enabled);

  // Without the file: the defaults, the correction on.
  RemoveSettings();
  CRecordingNoteSetting defaults(&owner);
  Show(defaults, {Click(IDC_NOTE_ANGLE_CORRECTION), Click(IDC_NOTE_ANGLE_CORRECTION), Click(2)});
  EXPECT_EQ(defaults.seen[0].edits, (Texts{L"2.0", L"1.6", L"2.5", L"4.0", L"15.0"}));
  EXPECT_TRUE(defaults.seen[0].angle_checked);
  EXPECT_TRUE(defaults.seen[0].angle_enabled);
  EXPECT_EQ(SettingsBytes(), "<missing>");  // Cancel writes nothing
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(SettingsDialogTest, NoteSettingsRefuseWhatCannotBeDrawnAndAcceptZeroGapAndOffset) {
  RemoveSettings();
  Start();
  const std::wstring refused = L"[box none] 入力値が不正です。 → OK";
  struct Case {
    const char* what;
    int control;
    const wchar_t* text;
  };
  const Case refusals[] = {
      {"zero text height", IDC_NOTE_TEXT_HEIGHT, L"0"},
      {"text width that is no number", IDC_NOTE_TEXT_WIDTH, L"abc"},
      {"negative line gap", IDC_NOTE_LINE_GAP, L"-0.5"},
      {"negative offset", IDC_NOTE_TEXT_OFFSET, L"-1"},
      {"zero angle while the correction is on", IDC_NOTE_CORRECTION_ANGLE, L"0"},
  };
  for (const Case& c : refusals) {
    CRecordingNoteSetting dialog(&owner);
    EXPECT_EQ(Show(dialog, {Type(c.control, c.text), Click(1), Click(2)}), IDCANCEL) << c.what;
    EXPECT_EQ(dialog.seen.size(), 2u) << c.what;  // OK kept the dialog open
    EXPECT_EQ(Boxes(), Texts{refused}) << c.what;
    EXPECT_EQ(SettingsBytes(), "<missing>") << c.what;
  }

  // Zero offset and gap are accepted; with the correction off any angle is, and is written.
  CRecordingNoteSetting dialog(&owner);
  EXPECT_EQ(Show(dialog, {Type(IDC_NOTE_TEXT_OFFSET, L"0"), Type(IDC_NOTE_LINE_GAP, L"0"),
                          Type(IDC_NOTE_CORRECTION_ANGLE, L"-5"), Click(IDC_NOTE_ANGLE_CORRECTION),
                          Type(IDC_NOTE_TEXT_HEIGHT, L"2.46"), Click(1)}),
            IDOK);
  ExpectAllStepsTaken();
  EXPECT_TRUE(Boxes().empty());
  // A new file in code page 932, keys in the order written, two decimals stored as one.
  EXPECT_EQ(SettingsBytes(), platform::WideToCp932(L"[自動複数配線注記設定]\r\n"
                                                   L"文字高さ=2.5\r\n"
                                                   L"文字幅=1.6\r\n"
                                                   L"行間隔=0.0\r\n"
                                                   L"オフセット=0.0\r\n"
                                                   L"引出線角度補正=なし\r\n"
                                                   L"補正角度=-5.0\r\n"));
}

TEST_F(SettingsDialogTest, NoteSettingsKeepTheRestOfAUtf16FileCentreOnTheParentAndKeepTheFocus) {
  WriteSettings(Utf16File(
      L"; 注記とリストの設定\r\n[自動複数配線注記設定]\r\n文字高さ=3.26\r\n楕円弧長径=1.2\r\n"
      L"[他のツール]\r\n色=赤\r\n"));
  Start();
  CRecordingNoteSetting dialog(&owner);
  EXPECT_EQ(Show(dialog, {Click(1)}), IDOK);
  EXPECT_EQ(SettingsBytes(), Utf16File(L"; 注記とリストの設定\r\n[自動複数配線注記設定]\r\n"
                                       L"文字高さ=3.3\r\n楕円弧長径=1.2\r\n"
                                       L"文字幅=1.6\r\n行間隔=2.5\r\nオフセット=4.0\r\n"
                                       L"引出線角度補正=あり\r\n補正角度=15.0\r\n"
                                       L"[他のツール]\r\n色=赤\r\n"));
  // 170 x 124 dialog units at 6 x 12 pixels per 4 x 8 units: 255 x 186 pixels, centred on the
  // 800 x 600 client area at (130, 70): 130 + 400 - 127, 70 + 300 - 93.
  EXPECT_EQ(dialog.rect, CRect(403, 277, 658, 463));
  EXPECT_EQ(dialog.keep_focus, TRUE);
}

TEST_F(SettingsDialogTest, ListDetailsShowNumbersWithOneDecimalAndRefuseARowNoHigherThanText) {
  WriteSettings(
      platform::WideToCp932(L"[自動複数配線注記設定]\r\n文字高さ=9\r\n"
                            L"[自動複数配線リスト設定]\r\n; 表の大きさ\r\n"
                            L"文字高さ=2.46\r\n文字幅=abc\r\n行高さ=6\r\n"
                            L"[後]\r\nキー=値\r\n"));
  Start();
  CRecordingListDetail shown(&owner);
  Show(shown, {Click(2)});
  EXPECT_EQ(shown.seen[0].edits, (Texts{L"2.5", L"0.0", L"6.0", L"2.5", L"5.0"}));
  // Before OK the getter gives what was read.
  EXPECT_DOUBLE_EQ(shown.GetListSettings().textHeight, 2.46);
  EXPECT_DOUBLE_EQ(shown.GetListSettings().rowHeight, 6.0);

  CRecordingListDetail dialog(&owner);
  EXPECT_EQ(
      Show(dialog, {Type(IDC_LIST_TEXT_HEIGHT, L"3"), Type(IDC_LIST_ROW_HEIGHT, L"3.0"), Click(1),
                    Type(IDC_LIST_ROW_HEIGHT, L"abc"), Click(1), Type(IDC_LIST_ROW_HEIGHT, L"5.0"),
                    Type(IDC_LIST_TEXT_HEIGHT, L"2.5"), Type(IDC_LIST_LEFT_MARGIN, L"1.26"),
                    Type(IDC_LIST_TEXT_WIDTH, L"-1"), Click(1)}),
      IDOK);
  ExpectAllStepsTaken();
  const std::wstring refused =
      L"[box stop] 表の行高さは文字高さより大きな値を指定して下さい。 → OK";
  EXPECT_EQ(Boxes(), (Texts{refused, refused}));
  EXPECT_EQ(dialog.seen.size(), 3u);
  // Only the row height is checked; a negative width goes through. The values as typed are the
  // getter's; the file holds them with one decimal.
  const ListSettings accepted = dialog.GetListSettings();
  EXPECT_DOUBLE_EQ(accepted.textHeight, 2.5);
  EXPECT_DOUBLE_EQ(accepted.textWidth, -1.0);
  EXPECT_DOUBLE_EQ(accepted.rowHeight, 5.0);
  EXPECT_DOUBLE_EQ(accepted.leftMargin, 1.26);
  EXPECT_DOUBLE_EQ(accepted.rightMargin, 5.0);
  // The other sections, the comment and the keys' places stay; new keys follow the section's
  // last line.
  EXPECT_EQ(SettingsBytes(),
            platform::WideToCp932(L"[自動複数配線注記設定]\r\n文字高さ=9\r\n"
                                  L"[自動複数配線リスト設定]\r\n; 表の大きさ\r\n"
                                  L"文字高さ=2.5\r\n文字幅=-1.0\r\n行高さ=5.0\r\n"
                                  L"オフセット1=1.3\r\nオフセット2=5.0\r\n[後]\r\nキー=値\r\n"));

  // Without the file: the defaults.
  RemoveSettings();
  CRecordingListDetail defaults(&owner);
  EXPECT_EQ(Show(defaults, {Click(2)}), IDCANCEL);
  EXPECT_EQ(defaults.seen[0].edits, (Texts{L"2.5", L"2.0", L"5.0", L"2.5", L"5.0"}));
  EXPECT_EQ(SettingsBytes(), "<missing>");
}

}  // namespace
