// The resource script embedded in Harnex.arx, read as the module's resources are read: the
// palette's template 200 holds every control the palette works with, of the right kind and text,
// laid out as a palette of its size: inside the dialog, no two visible controls on top of each
// other, group boxes around whole controls, the columns of the row area under their labels and
// its control rows evenly spaced.
#include "app/harnex_resources.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/mfc/resource_script.h"
#include "resources/palette_ids.h"

namespace {

using platform::mfc::ControlTemplate;
using platform::mfc::DialogTemplate;

std::string Utf8(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) {
    const auto u = static_cast<unsigned>(c);
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

// A control's rectangle in dialog units as the user sees it: a combo box's height in the
// template is that of its dropped list, its selection field is 12 units high (9-point font).
struct Box {
  int left, top, right, bottom;
  bool Overlaps(const Box& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  bool Contains(const Box& o) const {
    return left <= o.left && o.right <= right && top <= o.top && o.bottom <= bottom;
  }
};
constexpr int kComboFieldHeight = 12;

Box BoxOf(const ControlTemplate& c) {
  const int height = c.class_name == L"ComboBox" ? kComboFieldHeight : c.cy;
  return Box{c.x, c.y, c.x + c.cx, c.y + height};
}

std::string Describe(const ControlTemplate& c) {
  return "control " + std::to_string(c.id) + " \"" + Utf8(c.text) + "\" (line " +
         std::to_string(c.line) + ")";
}

bool IsGroupBox(const ControlTemplate& c) {
  return c.class_name == L"Button" && (c.style & BS_TYPEMASK) == BS_GROUPBOX;
}
bool IsVisible(const ControlTemplate& c) {
  return (c.style & WS_VISIBLE) != 0;
}

class PaletteTemplate : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(platform::mfc::ParseResourceScript(kHarnexResourceScript, &script, &error))
        << error;
    ASSERT_EQ(script.dialogs.count(IDD_PALETTE), 1u);
    dialog = &script.dialogs[IDD_PALETTE];
  }

  const ControlTemplate* Find(int id) const {
    for (const auto& c : dialog->controls) {
      if (c.id == id) return &c;
    }
    return nullptr;
  }
  const ControlTemplate* FindText(const wchar_t* text) const {
    for (const auto& c : dialog->controls) {
      if (c.id == -1 && c.text == text) return &c;
    }
    return nullptr;
  }

  platform::mfc::ResourceScript script;
  const DialogTemplate* dialog = nullptr;
};

TEST_F(PaletteTemplate, IsThePaletteDialogOfItsSize) {
  EXPECT_EQ(dialog->caption, L"複数配線情報設定");
  EXPECT_EQ(dialog->cx, 535);
  EXPECT_EQ(dialog->cy, 307);
  EXPECT_EQ(dialog->font_face, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(dialog->font_size, 9);
}

// What a control must be: class, kind (button type, combo box type, read-only edit) and text.
struct Want {
  int id;
  const wchar_t* cls;
  DWORD kind;
  const wchar_t* text;  // null: not checked (combo boxes and edits)
};
constexpr DWORD kPush = BS_PUSHBUTTON, kDefPush = BS_DEFPUSHBUTTON, kCheck = BS_AUTOCHECKBOX,
                kRadio = BS_AUTORADIOBUTTON, kGroup = BS_GROUPBOX, kList = CBS_DROPDOWNLIST,
                kCombo = CBS_DROPDOWN, kEdit = 0, kReadOnly = ES_READONLY;

DWORD KindOf(const ControlTemplate& c) {
  if (c.class_name == L"Button") return c.style & BS_TYPEMASK;
  if (c.class_name == L"ComboBox") return c.style & 3;
  if (c.class_name == L"Edit") return c.style & ES_READONLY;
  return 0;
}

std::vector<Want> NamedControls() {
  std::vector<Want> wants = {
      {IDC_PROJECT_NAME, L"Edit", kReadOnly, nullptr},
      {IDC_PROJECT_OPEN, L"Button", kPush, L"読込み"},
      {IDC_PROJECT_NEW, L"Button", kPush, L"新規"},
      {IDC_PATTERN_BOX, L"ComboBox", kList, nullptr},
      {IDC_PATTERN_NEW, L"Button", kPush, L"新規"},
      {IDC_PATTERN_DELETE, L"Button", kPush, L"削除"},
      {IDC_PATTERN_IMPORT, L"Button", kPush, L"取込"},
      {IDC_PATTERN_SAVE_AS, L"Button", kPush, L"別名保存"},
      {IDC_PROJECT_SAVE, L"Button", kPush, L"保存"},
      {IDC_PAGE_PREVIOUS, L"Button", kPush, L"<<"},
      {IDC_PAGE_NEXT, L"Button", kPush, L">>"},
      {IDC_TYPE_TRUNK, L"Button", kRadio, L"幹線"},
      {IDC_TYPE_GENERAL, L"Button", kRadio, L"一般"},
      {IDC_CONDUIT_INDOOR, L"Button", kCheck, L"屋内"},
      {IDC_CONDUIT_OUTDOOR, L"Button", kCheck, L"屋外"},
      {IDC_CONDUIT_BURIED, L"Button", kCheck, L"地中"},
      {IDC_PAGE_FRAME, L"Button", kGroup, L"Page:1"},
      {IDOK, L"Button", kDefPush, L"OK"},
      {IDCANCEL, L"Button", kPush, L"ｷｬﾝｾﾙ"},
      {IDC_AUTO_SET_SPARE, L"Button", kPush, L"自動付与"},
      {IDC_ROW_UP, L"Button", kPush, L"↑"},
      {IDC_ROW_DOWN, L"Button", kPush, L"↓"},
      {IDC_ROW_INSERT, L"Button", kPush, L"項目挿入"},
      {IDC_ROW_DELETE, L"Button", kPush, L"項目削除"},
      {IDC_ROW_CHECK_ALL, L"Button", kPush, L"全て選択"},
      {IDC_ROW_UNCHECK, L"Button", kPush, L"選択解除"},
      {IDC_SEARCH_TEXT, L"ComboBox", kCombo, nullptr},
      {IDC_SEARCH, L"Button", kPush, L"系統番号"},
      {IDC_AUTO_SET, L"Button", kPush, L"自動付与"},
      {IDC_MANUAL_SET, L"Button", kPush, L"個別付与"},
      {IDC_DRAW_NOTE, L"Button", kPush, L"配線情報記入"},
      {IDC_NOTE_TRUNK_NO, L"Button", kCheck, L"幹線番号を記入"},
      {IDC_NOTE_WIRE_SIZE, L"Button", kCheck, L"配線ｻｲｽﾞを記入"},
      {IDC_NOTE_WORK_KIND, L"Button", kCheck, L"工事区分を記入"},
      {IDC_DRAW_LIST, L"Button", kPush, L"リスト作成"},
      {IDC_LIST_SETTINGS, L"Button", kPush, L"詳"},
      {IDC_CHECK_SETTINGS, L"Button", kPush, L"設定確認"},
      {IDC_EQUIPMENT_NO, L"Button", kPush, L"盤番号設定"},
      {IDC_SPLIT_DUCT, L"Button", kPush, L"打込配管"},
  };
  for (int i = 0; i < IDC_ROW_COUNT; ++i) {
    wants.push_back({IDC_ROW_MARK + i, L"Button", kRadio, L""});
    wants.push_back({IDC_ROW_CHECK + i, L"Button", kCheck, L""});
    wants.push_back({IDC_ROW_KOUJI + i, L"ComboBox", kList, nullptr});
    wants.push_back({IDC_ROW_KEITOU + i, L"ComboBox", kCombo, nullptr});
    wants.push_back({IDC_ROW_BAN + i, L"ComboBox", kCombo, nullptr});
    wants.push_back({IDC_ROW_HSIZE1 + i, L"Edit", kEdit, nullptr});
    wants.push_back({IDC_ROW_HSIZE2 + i, L"ComboBox", kCombo, nullptr});
    wants.push_back({IDC_ROW_HSIZE3 + i, L"ComboBox", kCombo, nullptr});
    wants.push_back({IDC_ROW_HSIZE4 + i, L"ComboBox", kCombo, nullptr});
    wants.push_back({IDC_ROW_ONRACK + i, L"Button", kCheck, L""});
    wants.push_back({IDC_ROW_MEMO + i, L"Edit", kEdit, nullptr});
  }
  return wants;
}

TEST_F(PaletteTemplate, HoldsEveryNamedControlOnceWithItsKindAndText) {
  std::map<int, int> seen;
  for (const auto& c : dialog->controls) {
    if (c.id != -1) ++seen[c.id];
  }
  for (const Want& w : NamedControls()) {
    SCOPED_TRACE("control " + std::to_string(w.id));
    const ControlTemplate* c = Find(w.id);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(seen[w.id], 1);
    EXPECT_EQ(c->class_name, w.cls);
    EXPECT_EQ(KindOf(*c), w.kind) << std::hex << c->style;
    if (w.text) {
      EXPECT_EQ(c->text, w.text);
    }
    const bool hidden = w.id == IDOK || w.id == IDCANCEL || w.id == IDC_AUTO_SET_SPARE;
    EXPECT_EQ(IsVisible(*c), !hidden);
    EXPECT_EQ((c->style & WS_DISABLED) != 0, w.id == IDC_AUTO_SET_SPARE);
  }
  for (const wchar_t* label : {L"プロジェクト", L"パターン", L"電線管サイズ", L"工事項目",
                               L"系統番号", L"盤/負荷名称", L"配線サイズ", L"ﾗｯｸ上", L"備考"}) {
    EXPECT_NE(FindText(label), nullptr) << Utf8(label);
  }
}

// The radio buttons from `first` on form one group (auto radio buttons clear each other within
// the controls from one WS_GROUP to the next): exactly `count` of them.
int RadioButtonsInGroupOf(const DialogTemplate& d, int first) {
  size_t at = 0;
  while (at < d.controls.size() && d.controls[at].id != first) ++at;
  if (at == d.controls.size() || !(d.controls[at].style & WS_GROUP)) return -1;
  int radios = 0;
  for (size_t i = at; i < d.controls.size(); ++i) {
    if (i > at && (d.controls[i].style & WS_GROUP)) break;
    if ((d.controls[i].style & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
        d.controls[i].class_name == L"Button") {
      ++radios;
    }
  }
  return radios;
}

TEST_F(PaletteTemplate, RadioButtonsFormTheirGroups) {
  EXPECT_EQ(RadioButtonsInGroupOf(*dialog, IDC_ROW_MARK), IDC_ROW_COUNT);
  EXPECT_EQ(RadioButtonsInGroupOf(*dialog, IDC_TYPE_TRUNK), 2);
}

TEST_F(PaletteTemplate, ControlsLieInsideTheDialogAndApart) {
  const Box whole{0, 0, dialog->cx, dialog->cy};
  std::vector<const ControlTemplate*> frames, others;
  for (const auto& c : dialog->controls) {
    EXPECT_TRUE(whole.Contains(BoxOf(c))) << Describe(c);
    if (!IsVisible(c)) continue;
    (IsGroupBox(c) ? frames : others).push_back(&c);
  }
  for (size_t i = 0; i < others.size(); ++i) {
    for (size_t j = i + 1; j < others.size(); ++j) {
      EXPECT_FALSE(BoxOf(*others[i]).Overlaps(BoxOf(*others[j])))
          << Describe(*others[i]) << " and " << Describe(*others[j]);
    }
  }
  // A group box frames whole controls and whole group boxes, never a part of one.
  for (const ControlTemplate* frame : frames) {
    const Box f = BoxOf(*frame);
    for (const auto& c : dialog->controls) {
      if (&c == frame || !IsVisible(c)) continue;
      const Box b = BoxOf(c);
      EXPECT_TRUE(!f.Overlaps(b) || f.Contains(b) || (IsGroupBox(c) && b.Contains(f)))
          << Describe(*frame) << " cuts " << Describe(c);
    }
  }
}

TEST_F(PaletteTemplate, GroupBoxesHoldTheirControls) {
  struct Case {
    const wchar_t* frame;
    std::vector<int> ids;
  };
  const Case cases[] = {
      {L"プロジェクト", {IDC_PROJECT_NAME, IDC_PROJECT_OPEN, IDC_PROJECT_NEW}},
      {L"パターン",
       {IDC_PATTERN_BOX, IDC_PATTERN_NEW, IDC_PATTERN_DELETE, IDC_PATTERN_IMPORT,
        IDC_PATTERN_SAVE_AS, IDC_PROJECT_SAVE}},
      {L"電線管サイズ", {IDC_CONDUIT_INDOOR, IDC_CONDUIT_OUTDOOR, IDC_CONDUIT_BURIED}},
  };
  for (const Case& c : cases) {
    const ControlTemplate* frame = FindText(c.frame);
    ASSERT_NE(frame, nullptr) << Utf8(c.frame);
    for (int id : c.ids) {
      ASSERT_NE(Find(id), nullptr) << id;
      EXPECT_TRUE(BoxOf(*frame).Contains(BoxOf(*Find(id)))) << Utf8(c.frame) << " " << id;
    }
  }
  // The page frame holds the whole row area: every control row and the conduit columns' boxes.
  const Box page = BoxOf(*Find(IDC_PAGE_FRAME));
  for (int first :
       {IDC_ROW_MARK, IDC_ROW_CHECK, IDC_ROW_KOUJI, IDC_ROW_KEITOU, IDC_ROW_BAN, IDC_ROW_HSIZE1,
        IDC_ROW_HSIZE2, IDC_ROW_HSIZE3, IDC_ROW_HSIZE4, IDC_ROW_ONRACK, IDC_ROW_MEMO}) {
    for (int i = 0; i < IDC_ROW_COUNT; ++i) {
      EXPECT_TRUE(page.Contains(BoxOf(*Find(first + i)))) << first + i;
    }
  }
  EXPECT_TRUE(page.Contains(BoxOf(*FindText(L"電線管サイズ"))));
}

TEST_F(PaletteTemplate, RowColumnsStandUnderTheirLabelsInEvenlySpacedRows) {
  struct Column {
    int first;
    const wchar_t* label;  // a static text, or null when the label is a control (see below)
    int labelId;
  };
  const Column columns[] = {
      {IDC_ROW_MARK, nullptr, 0},
      {IDC_ROW_CHECK, nullptr, 0},
      {IDC_ROW_KOUJI, L"工事項目", 0},
      {IDC_ROW_KEITOU, L"系統番号", 0},
      {IDC_ROW_BAN, L"盤/負荷名称", 0},
      {IDC_ROW_HSIZE1, L"配線サイズ", 0},
      {IDC_ROW_HSIZE2, nullptr, IDC_CONDUIT_INDOOR},
      {IDC_ROW_HSIZE3, nullptr, IDC_CONDUIT_OUTDOOR},
      {IDC_ROW_HSIZE4, nullptr, IDC_CONDUIT_BURIED},
      {IDC_ROW_ONRACK, L"ﾗｯｸ上", 0},
      {IDC_ROW_MEMO, L"備考", 0},
  };
  const int pitch = Find(IDC_ROW_KOUJI + 1)->y - Find(IDC_ROW_KOUJI)->y;
  EXPECT_GE(pitch, kComboFieldHeight);
  const ControlTemplate* previous = nullptr;
  for (const Column& column : columns) {
    const ControlTemplate* top = Find(column.first);
    ASSERT_NE(top, nullptr);
    SCOPED_TRACE(Describe(*top));
    for (int i = 1; i < IDC_ROW_COUNT; ++i) {
      const ControlTemplate* c = Find(column.first + i);
      EXPECT_EQ(c->x, top->x) << i;
      EXPECT_EQ(c->cx, top->cx) << i;
      EXPECT_EQ(c->y - top->y, i * pitch) << i;
    }
    // Columns run left to right in the order of a row's values, each row on one line.
    if (previous) {
      EXPECT_GT(top->x, previous->x + previous->cx - 1);
      EXPECT_LT(std::abs((top->y + BoxOf(*top).bottom) - (previous->y + BoxOf(*previous).bottom)),
                4);
    }
    previous = top;
    const ControlTemplate* label = column.label     ? FindText(column.label)
                                   : column.labelId ? Find(column.labelId)
                                                    : nullptr;
    if (!label) continue;
    EXPECT_LE(BoxOf(*label).bottom, top->y) << "the label stands above the first row";
    if (column.first == IDC_ROW_ONRACK) {
      // A narrow check box sits in the middle under its wider label.
      EXPECT_EQ(2 * top->x + top->cx, 2 * label->x + label->cx);
    } else {
      EXPECT_EQ(label->x, top->x);
    }
  }
}

}  // namespace
