// The templates of the note settings (208), settings check (209) and list details (211) dialogs
// as Harnex.arx carries them: captions, controls of the right kind and text, each edit with its
// label on its row, everything inside the dialog, apart and wide enough for its text.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/harnex_resources.h"
#include "platform/mfc/resource_script.h"
#include "resources/resource.h"
#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"

namespace {

using platform::mfc::ControlTemplate;
using platform::mfc::DialogTemplate;

struct Want {
  int id;
  const wchar_t* cls;
  DWORD kind;            // button type; 0 for edits and static texts
  const wchar_t* text;   // null for edits
  const wchar_t* label;  // the static text beside an edit, or null
};

constexpr DWORD kPush = BS_PUSHBUTTON, kDefPush = BS_DEFPUSHBUTTON, kCheck = BS_AUTOCHECKBOX;

const ControlTemplate* Find(const DialogTemplate& d, int id) {
  for (const auto& c : d.controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const ControlTemplate* FindLabel(const DialogTemplate& d, const wchar_t* text) {
  for (const auto& c : d.controls) {
    if (c.id == IDC_STATIC && c.class_name == L"Static" && c.text == text) return &c;
  }
  return nullptr;
}

// The width the text needs in dialog units at 9 point: 12 pixels (8 units) for a full-width
// character, 6 pixels (4 units) for any other; a check box adds its box.
int WidthNeeded(const ControlTemplate& c) {
  int units = 0;
  for (wchar_t ch : c.text) units += platform::IsFullWidthChar(ch) ? 8 : 4;
  if (c.class_name == L"Button" && (c.style & BS_TYPEMASK) == BS_AUTOCHECKBOX) units += 12;
  return units;
}

std::string Describe(const ControlTemplate& c) {
  return "control " + std::to_string(c.id) + " \"" + platform::WideToUtf8(c.text) + "\"";
}

class SettingsTemplates : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(platform::mfc::ParseResourceScript(kHarnexResourceScript, &script, &error))
        << error;
  }

  // Every wanted control once, of its class, kind and text; an edit's label on its row and left
  // of it; every control inside the dialog, apart from the others and wide enough for its text.
  void CheckControls(const DialogTemplate& d, const std::vector<Want>& wants) {
    for (const Want& w : wants) {
      SCOPED_TRACE("control " + std::to_string(w.id));
      const ControlTemplate* c = Find(d, w.id);
      ASSERT_NE(c, nullptr);
      EXPECT_EQ(c->class_name, w.cls);
      if (c->class_name == L"Button") {
        EXPECT_EQ(c->style & BS_TYPEMASK, w.kind);
      }
      if (w.text) {
        EXPECT_EQ(c->text, w.text);
      }
      if (w.label) {
        const ControlTemplate* label = FindLabel(d, w.label);
        ASSERT_NE(label, nullptr) << platform::WideToUtf8(w.label);
        EXPECT_LE(label->x + label->cx, c->x);
        EXPECT_LT(label->y, c->y + c->cy);
        EXPECT_LT(c->y, label->y + label->cy);
      }
    }
    EXPECT_EQ(d.controls.size(), wants.size() + Labels(wants));
    for (size_t i = 0; i < d.controls.size(); ++i) {
      const ControlTemplate& a = d.controls[i];
      EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.cx <= d.cx && a.y + a.cy <= d.cy) << Describe(a);
      EXPECT_GE(a.cx, WidthNeeded(a)) << Describe(a);
      for (size_t j = i + 1; j < d.controls.size(); ++j) {
        const ControlTemplate& b = d.controls[j];
        const bool overlap =
            a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
        EXPECT_FALSE(overlap) << Describe(a) << " and " << Describe(b);
      }
    }
  }

  static size_t Labels(const std::vector<Want>& wants) {
    size_t n = 0;
    for (const Want& w : wants) n += w.label != nullptr;
    return n;
  }

  platform::mfc::ResourceScript script;
};

void CheckPopup(const DialogTemplate& d, const wchar_t* caption) {
  EXPECT_EQ(d.caption, caption);
  EXPECT_EQ(d.font_face, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(d.font_size, 9);
  const DWORD popup = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  EXPECT_EQ(d.style & popup, popup);
  EXPECT_EQ(d.style & WS_VISIBLE, 0u);
}

TEST_F(SettingsTemplates, NoteSettingsHaveFourSizesTheCorrectionAndOKAndCancel) {
  ASSERT_EQ(script.dialogs.count(IDD_NOTE_SETTINGS), 1u);
  const DialogTemplate& d = script.dialogs[IDD_NOTE_SETTINGS];
  CheckPopup(d, L"複数配線注記の設定");
  CheckControls(d, {
                       {IDC_NOTE_TEXT_HEIGHT, L"Edit", 0, nullptr, L"文字高さ"},
                       {IDC_NOTE_TEXT_WIDTH, L"Edit", 0, nullptr, L"文字幅"},
                       {IDC_NOTE_LINE_GAP, L"Edit", 0, nullptr, L"行間隔"},
                       {IDC_NOTE_TEXT_OFFSET, L"Edit", 0, nullptr, L"文字開始位置オフセット"},
                       {IDC_NOTE_ANGLE_CORRECTION, L"Button", kCheck, L"引出線角度補正", nullptr},
                       {IDC_NOTE_CORRECTION_ANGLE, L"Edit", 0, nullptr, nullptr},
                       {IDOK, L"Button", kDefPush, L"OK", nullptr},
                       {IDCANCEL, L"Button", kPush, L"ｷｬﾝｾﾙ", nullptr},
                   });
  // The angle stands on the row of its check box.
  const ControlTemplate* box = Find(d, IDC_NOTE_ANGLE_CORRECTION);
  const ControlTemplate* angle = Find(d, IDC_NOTE_CORRECTION_ANGLE);
  ASSERT_TRUE(box && angle);
  EXPECT_LE(box->x + box->cx, angle->x);
  EXPECT_LT(angle->y, box->y + box->cy);
}

TEST_F(SettingsTemplates, ListDetailsHaveFiveSizesAndOKAndCancel) {
  ASSERT_EQ(script.dialogs.count(IDD_LIST_DETAIL), 1u);
  const DialogTemplate& d = script.dialogs[IDD_LIST_DETAIL];
  CheckPopup(d, L"リストの詳細");
  CheckControls(d, {
                       {IDC_LIST_TEXT_HEIGHT, L"Edit", 0, nullptr, L"文字高さ"},
                       {IDC_LIST_TEXT_WIDTH, L"Edit", 0, nullptr, L"文字幅"},
                       {IDC_LIST_ROW_HEIGHT, L"Edit", 0, nullptr, L"表の行高さ"},
                       {IDC_LIST_LEFT_MARGIN, L"Edit", 0, nullptr, L"各項目の左側余白"},
                       {IDC_LIST_RIGHT_MARGIN, L"Edit", 0, nullptr, L"各項目の右側余白"},
                       {IDOK, L"Button", kDefPush, L"OK", nullptr},
                       {IDCANCEL, L"Button", kPush, L"ｷｬﾝｾﾙ", nullptr},
                   });
}

TEST_F(SettingsTemplates, TheSettingsCheckWindowIsSmallWithItsSwatchAndTwoButtons) {
  ASSERT_EQ(script.dialogs.count(IDD_CHECK_SETTINGS), 1u);
  const DialogTemplate& d = script.dialogs[IDD_CHECK_SETTINGS];
  CheckPopup(d, L"設定確認");
  EXPECT_EQ(d.cx, 153);
  EXPECT_EQ(d.cy, 43);
  struct Placed {
    int id;
    const wchar_t* cls;
    const wchar_t* text;
    int x, y, cx, cy;
  };
  const Placed placed[] = {
      {IDC_STATIC, L"Static", L"幹線番号が設定されていない経路を表示します。", 3, 6, 142, 8},
      {IDC_CHECK_COLOUR, L"Button", L"", 6, 21, 12, 14},
      {IDC_CHECK_RUN, L"Button", L"実行", 57, 21, 42, 14},
      {IDC_CHECK_CLEAR, L"Button", L"クリア", 102, 21, 42, 14},
  };
  ASSERT_EQ(d.controls.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    const ControlTemplate& c = d.controls[i];
    const Placed& p = placed[i];
    SCOPED_TRACE(Describe(c));
    EXPECT_EQ(c.id, p.id);
    EXPECT_EQ(c.class_name, p.cls);
    EXPECT_EQ(c.text, p.text);
    EXPECT_EQ(std::vector<int>({c.x, c.y, c.cx, c.cy}), std::vector<int>({p.x, p.y, p.cx, p.cy}));
  }
  EXPECT_EQ(d.controls[1].style & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  EXPECT_EQ(d.controls[2].style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
  EXPECT_EQ(d.controls[3].style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
}

}  // namespace
