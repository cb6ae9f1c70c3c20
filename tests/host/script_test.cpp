// Session scripts: every action, quoting, comments, errors with line numbers and encodings.
#include "host/user/script.h"

#include <gtest/gtest.h>

#include "platform/win/text_encoding.h"

namespace host {
namespace {

using platform::ActionKind;

ScriptStep One(const std::wstring& line) {
  std::vector<ScriptStep> out;
  std::wstring error;
  EXPECT_TRUE(ReadScriptLine(line, 1, &out, &error)) << "error: " << platform::WideToUtf8(error);
  EXPECT_EQ(out.size(), 1u) << platform::WideToUtf8(line);
  return out.empty() ? ScriptStep{} : out.front();
}

TEST(ScriptTest, EditorActions) {
  ScriptStep s = One(L"command RQ_HARNEX");
  EXPECT_EQ(s.action.kind, ActionKind::kCommand);
  EXPECT_EQ(s.action.text, L"RQ_HARNEX");
  EXPECT_TRUE(s.action.args.empty());

  s = One(L"command ARXLOAD Harnex.arx \"two words\" \"\"");
  EXPECT_EQ(s.action.text, L"ARXLOAD");
  EXPECT_EQ(s.action.args, (std::vector<std::wstring>{L"Harnex.arx", L"two words", L""}));

  // A typed line keeps its inner blanks; quotes keep the outer ones, and no TEXT is an empty line.
  s = One(L"typed 100,200");
  EXPECT_EQ(s.action.kind, ActionKind::kTyped);
  EXPECT_EQ(s.action.text, L"100,200");
  EXPECT_EQ(One(L"Typed  新規 パターン  # the name").action.text, L"新規 パターン");
  EXPECT_EQ(One(L"typed \"  a \\\"b\\\" # c \"").action.text, L"  a \"b\" # c ");
  for (const wchar_t* empty : {L"typed", L"typed \"\"", L"typed   "}) {
    s = One(empty);
    EXPECT_EQ(s.action.kind, ActionKind::kTyped) << platform::WideToUtf8(empty);
    EXPECT_EQ(s.action.text, L"") << platform::WideToUtf8(empty);
  }

  s = One(L"pick 1A,2b, 3F");
  EXPECT_EQ(s.action.kind, ActionKind::kPick);
  EXPECT_EQ(s.action.handles, (std::vector<uint64_t>{0x1A, 0x2B, 0x3F}));

  s = One(L"preselect FF");
  EXPECT_EQ(s.action.kind, ActionKind::kPreselect);
  EXPECT_EQ(s.action.handles, (std::vector<uint64_t>{0xFF}));
  EXPECT_EQ(s.action.text, L"");
  // A hex word is a handle, not a mode.
  EXPECT_EQ(One(L"preselect face").action.handles, (std::vector<uint64_t>{0xFACE}));

  // A rectangle: its mode in lower case, the corners as given (blanks beside commas allowed).
  s = One(L"preselect window 0,0 10.5,-2e1");
  EXPECT_EQ(s.action.kind, ActionKind::kPreselect);
  EXPECT_EQ(s.action.text, L"window");
  EXPECT_TRUE(s.action.handles.empty());
  EXPECT_EQ(s.action.x, 0);
  EXPECT_EQ(s.action.y, 0);
  EXPECT_EQ(s.action.x2, 10.5);
  EXPECT_EQ(s.action.y2, -20);
  EXPECT_EQ(s.action.Describe(), L"preselect window 0,0 10.5,-20");
  s = One(L"Preselect  CROSSING  30 , 40   -1,  2  # dragged right to left");
  EXPECT_EQ(s.action.text, L"crossing");
  EXPECT_EQ(s.action.x, 30);
  EXPECT_EQ(s.action.y, 40);
  EXPECT_EQ(s.action.x2, -1);
  EXPECT_EQ(s.action.y2, 2);
  EXPECT_EQ(s.action.Describe(), L"preselect crossing 30,40 -1,2");

  s = One(L"pickat 10.5,-20");
  EXPECT_EQ(s.action.kind, ActionKind::kPickAt);
  EXPECT_DOUBLE_EQ(s.action.x, 10.5);
  EXPECT_DOUBLE_EQ(s.action.y, -20);

  s = One(L"point 1,2,3e1");
  EXPECT_EQ(s.action.kind, ActionKind::kPoint);
  EXPECT_TRUE(s.action.has_z);
  EXPECT_DOUBLE_EQ(s.action.z, 30);

  s = One(L"point 1, 2");
  EXPECT_FALSE(s.action.has_z);
  EXPECT_DOUBLE_EQ(s.action.y, 2);

  s = One(L"move 5,6");
  EXPECT_EQ(s.action.kind, ActionKind::kMove);
  EXPECT_DOUBLE_EQ(s.action.x, 5);
  EXPECT_FALSE(s.action.has_z);
  // A cursor sample keeps its height as a picked point does.
  s = One(L"move 5,6,-7.5");
  EXPECT_EQ(s.action.kind, ActionKind::kMove);
  EXPECT_TRUE(s.action.has_z);
  EXPECT_DOUBLE_EQ(s.action.z, -7.5);

  EXPECT_EQ(One(L"enter").action.kind, ActionKind::kEnter);
  EXPECT_EQ(One(L"esc").action.kind, ActionKind::kEsc);
  EXPECT_EQ(One(L"break").action.kind, ActionKind::kBreak);
}

TEST(ScriptTest, WindowActionsAndAnswers) {
  ScriptStep s = One(L"click 1001");
  EXPECT_EQ(s.action.kind, ActionKind::kClick);
  EXPECT_EQ(s.action.control, 1001);
  EXPECT_EQ(s.action.template_id, 0);

  s = One(L"@202 click 1");
  EXPECT_EQ(s.action.template_id, 202);
  EXPECT_EQ(s.action.control, 1);

  s = One(L"type 1002 新規 パターン");
  EXPECT_EQ(s.action.kind, ActionKind::kType);
  EXPECT_EQ(s.action.text, L"新規 パターン");

  s = One(L"type 1002 \"\"");
  EXPECT_EQ(s.action.text, L"");

  s = One(L"@205 choose 1003 \"屋内\"");
  EXPECT_EQ(s.action.kind, ActionKind::kChoose);
  EXPECT_EQ(s.action.template_id, 205);
  EXPECT_EQ(s.action.text, L"屋内");

  s = One(L"rows 1004 0,2,5");
  EXPECT_EQ(s.action.kind, ActionKind::kRows);
  EXPECT_EQ(s.action.numbers, (std::vector<int>{0, 2, 5}));
  EXPECT_TRUE(One(L"rows 1004").action.numbers.empty());

  s = One(L"header 1004 3");
  EXPECT_EQ(s.action.kind, ActionKind::kHeader);
  EXPECT_EQ(s.action.numbers, (std::vector<int>{3}));

  s = One(L"menu 1005 貼り付け");
  EXPECT_EQ(s.action.kind, ActionKind::kMenu);
  EXPECT_EQ(s.action.text, L"貼り付け");
  // Without an item the menu is only opened.
  s = One(L"@206 menu 365");
  EXPECT_EQ(s.action.kind, ActionKind::kMenu);
  EXPECT_EQ(s.action.template_id, 206);
  EXPECT_EQ(s.action.control, 365);
  EXPECT_EQ(s.action.text, L"");
  EXPECT_EQ(One(L"menu 365 \"削除 # 1\"").action.text, L"削除 # 1");

  s = One(L"answer Yes");
  EXPECT_EQ(s.action.kind, ActionKind::kAnswer);
  EXPECT_EQ(s.action.text, L"yes");

  s = One(L"colour 3");
  EXPECT_EQ(s.action.kind, ActionKind::kColour);
  EXPECT_EQ(s.action.numbers, (std::vector<int>{3}));
  EXPECT_TRUE(One(L"colour").action.numbers.empty());
}

TEST(ScriptTest, DirectivesQuotingAndComments) {
  ScriptStep s = One(L"expect 設定が終了しました。  # the closing message");
  EXPECT_EQ(s.kind, ScriptStep::Kind::kExpect);
  EXPECT_EQ(s.text, L"設定が終了しました。");

  s = One(L"expect \"say \\\"hi\\\" # not a comment\\\\\\n\"");
  EXPECT_EQ(s.text, L"say \"hi\" # not a comment\\\n");

  s = One(L"expect 5\" pipe");
  EXPECT_EQ(s.text, L"5\" pipe");

  EXPECT_EQ(One(L"show palette").kind, ScriptStep::Kind::kShowPalette);
  EXPECT_EQ(One(L"show drawing").kind, ScriptStep::Kind::kShowDrawing);
  s = One(L"show entity 2A");
  EXPECT_EQ(s.kind, ScriptStep::Kind::kShowEntity);
  EXPECT_EQ(s.handle, 0x2Au);

  const auto result = ReadScript(L"# heading\r\n\r\n  command A\r\nenter\n\nesc\rbreak");
  ASSERT_TRUE(result.ok()) << platform::WideToUtf8(result.error);
  ASSERT_EQ(result.steps.size(), 4u);
  EXPECT_EQ(result.steps[0].line, 3);
  EXPECT_EQ(result.steps[0].action.line, 3);
  EXPECT_EQ(result.steps[1].line, 4);
  EXPECT_EQ(result.steps[2].line, 6);
  EXPECT_EQ(result.steps[3].line, 7);
}

TEST(ScriptTest, BadLinesAreReportedWithTheirLineNumber) {
  const struct {
    const wchar_t* script;
    const wchar_t* error;
  } cases[] = {
      {L"enter\nfly away", L"line 2: unknown action \"fly\""},
      {L"\n\npoint 1", L"line 3: expected a point X,Y or X,Y,Z, got \"1\""},
      {L"pickat 1,2,3", L"line 1: expected a point X,Y, got \"1,2,3\""},
      {L"pick XYZ", L"line 1: expected entity handles in hex (H[,H...]), got \"XYZ\""},
      {L"pick", L"line 1: expected entity handles in hex (H[,H...]), got \"\""},
      {L"preselect", L"line 1: expected entity handles in hex (H[,H...]), got \"\""},
      {L"preselect 1A,zz", L"line 1: expected entity handles in hex (H[,H...]), got \"1A,zz\""},
      {L"preselect box 0,0 1,1",
       L"line 1: preselect: expected H[,H...], window or crossing, got \"box\""},
      {L"preselect Windows 0,0 1,1",
       L"line 1: preselect: expected H[,H...], window or crossing, got \"Windows\""},
      {L"preselect window",
       L"line 1: preselect window: expected two corners X1,Y1 X2,Y2, got \"\""},
      {L"preselect window 0,0",
       L"line 1: preselect window: expected two corners X1,Y1 X2,Y2, got \"0,0\""},
      {L"preselect crossing 0,0 1,1 2,2",
       L"line 1: preselect crossing: expected two corners X1,Y1 X2,Y2, got \"0,0 1,1 2,2\""},
      {L"preselect window 0,0 1", L"line 1: preselect window: expected a corner X,Y, got \"1\""},
      {L"preselect window 0,0,0 1,1",
       L"line 1: preselect window: expected a corner X,Y, got \"0,0,0\""},
      {L"preselect crossing a,b 1,1",
       L"line 1: preselect crossing: expected a corner X,Y, got \"a,b\""},
      {L"preselect window 0,0 1,inf",
       L"line 1: preselect window: expected a corner X,Y, got \"1,inf\""},
      {L"answer maybe", L"line 1: answer: expected ok, yes, no or cancel, got \"maybe\""},
      {L"colour 300", L"line 1: colour: expected a colour index 0 to 256, got \"300\""},
      {L"expect", L"line 1: expect: expected the text to look for"},
      {L"expect \"open", L"line 1: unterminated quoted text"},
      {L"expect \"a\" b", L"line 1: unexpected text after the closing quote"},
      {L"type 12 \"\\t\"", L"line 1: unknown escape \\t in quoted text"},
      {L"click OK", L"line 1: click: expected a control id, got \"OK\""},
      {L"@x click 1", L"line 1: expected a template id after @, got \"@x\""},
      {L"@202 pick 1",
       L"line 1: expected a window action after @202 (click, type, choose, rows, "
       L"header, menu)"},
      {L"show", L"line 1: show: expected palette, entity H or drawing"},
      {L"command", L"line 1: command: expected a command name"},
      {L"enter now", L"line 1: enter: unexpected text \"now\""},
      {L"typed \"a\" b", L"line 1: unexpected text after the closing quote"},
      {L"typed \"open", L"line 1: unterminated quoted text"},
      {L"menu", L"line 1: menu: expected a control id, got \"\""},
      {L"menu 365 \"a\" b", L"line 1: unexpected text after the closing quote"},
      {L"choose 376", L"line 1: choose: expected the item's text"},
  };
  for (const auto& c : cases) {
    const auto result = ReadScript(c.script);
    EXPECT_EQ(result.error, c.error) << "script: " << platform::WideToUtf8(c.script);
  }
}

TEST(ScriptTest, ScriptEncodings) {
  // "expect 配線" in each encoding a script file may come in.
  const std::string utf8 = "expect \xE9\x85\x8D\xE7\xB7\x9A\n";
  const std::string utf8_bom = "\xEF\xBB\xBF" + utf8;
  const std::string cp932 = "expect \x94\x7A\x90\xFC\n";
  const std::string utf16{
      "\xFF\xFE"
      "e\0x\0p\0e\0c\0t\0 \0\x4D\x91\xDA\x7D\n\0",
      2 + 20};
  for (const std::string& bytes : {utf8, utf8_bom, cp932, utf16}) {
    const auto result = ReadScript(DecodeScriptBytes(bytes));
    ASSERT_TRUE(result.ok()) << platform::WideToUtf8(result.error);
    ASSERT_EQ(result.steps.size(), 1u);
    EXPECT_EQ(result.steps[0].text, L"配線") << "bytes: " << bytes;
  }
  // Half-width katakana in code page 932 are single bytes.
  EXPECT_EQ(DecodeScriptBytes("\xBC\xBD\xC3\xD1"), L"ｼｽﾃﾑ");
}

TEST(ScriptTest, ALineOfAMegabyteIsOneStep) {
  const std::string text(1 << 20, 'x');
  const auto result = ReadScript(DecodeScriptBytes("enter\nexpect \"" + text + "\"\nesc\n"));
  ASSERT_TRUE(result.ok()) << platform::WideToUtf8(result.error);
  ASSERT_EQ(result.steps.size(), 3u);
  EXPECT_EQ(result.steps[1].text, std::wstring(text.begin(), text.end()));
  EXPECT_EQ(result.steps[2].line, 3);
}

}  // namespace
}  // namespace host
