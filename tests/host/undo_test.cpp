// U, UNDO and REDO in whole sessions on the example drawing (made by the drawing builder), with
// the palette open on the sample project: each command taken back leaves the drawing byte for
// byte as it was before the command, and REDO gives back byte for byte what U took.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "example_session_support.h"
#include "host/dxf/dxf_writer.h"
#include "host/session/session.h"
#include "host/user/entity_view.h"
#include "platform/acad/dbhost.h"
#include "platform/acad/undo_history.h"
#include "platform/win/text_encoding.h"
#include "tools/example_drawing.h"
#include "tools/harnex_session.h"
#include "tools/system_folder.h"

namespace host {
namespace {

namespace fs = std::filesystem;

// Ticks rows 0 and 1 of the pattern 1F照明・コンセント (1L-2 to L-1, 1L-3 to L-2).
constexpr wchar_t kTickLighting[] =
    L"choose 203 1F照明・コンセント\n@200 click 333\n@200 click 238\n@200 click 239\n";
// Automatic assignment from the riser's terminal segment.
constexpr wchar_t kAutoSet[] = L"@200 click 387\npickat 8000,5000\n";
// Manual assignment of the ticked rows to the branch at (3300,8000).
constexpr wchar_t kManualSet[] = L"@200 click 336\npickat 3300,8000\n";
// Only row 1 ticked, then given to the same branch.
constexpr wchar_t kManualSetSecondRow[] =
    L"@200 click 333\n@200 click 239\n@200 click 336\npickat 3300,8000\n";

class UndoTest : public ExampleSessionTest {};

#define EXPECT_SAME_DRAWING(now, then) \
  EXPECT_TRUE((now) == (then)) << testing::FirstDifference(now, then)

TEST_F(UndoTest, AutomaticAssignmentTakenBackAndGivenBack) {
  Start();
  Run(kTickLighting);
  const std::string before = Dxf();
  Run(kAutoSet);
  ASSERT_TRUE(Shows(L"配線情報設定中...設定が終了しました。"))
      << platform::WideToUtf8(Transcript());
  const std::string assigned = Dxf();
  ASSERT_TRUE(assigned != before);
  ASSERT_NE(Entity(0x126).find(L"PX02|1L-2"), std::wstring::npos);

  EXPECT_EQ(Said(L"command U\n"), L"\nコマンド: U\n\nRQ_HARNEX_AUTOSET");
  EXPECT_SAME_DRAWING(Dxf(), before);
  EXPECT_EQ(Entity(0x126).find(L"PX02"), std::wstring::npos);

  // Nothing more to take back; REDO gives the assignment back, then has nothing to give.
  EXPECT_EQ(Said(L"command U\ncommand REDO\n"),
            L"\nコマンド: U\n\n元に戻す操作はありません。"
            L"\nコマンド: REDO\n\nRQ_HARNEX_AUTOSET");
  EXPECT_SAME_DRAWING(Dxf(), assigned);
  EXPECT_EQ(Said(L"command REDO\n"), L"\nコマンド: REDO\n\nやり直す操作はありません。");

  // Taken back again after the redo, and saved: ezdxf reads the file saved after U as the
  // drawing before the command, entity for entity with colours and XData.
  Run(L"command U\n");
  const fs::path dir = fs::temp_directory_path() / ("harnex_undo_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "before.dxf", std::ios::binary) << before;
  std::wstring error;
  ASSERT_TRUE(WriteDxfFile(*session_->database(), (dir / "undone.dxf").string(), &error));
  std::ofstream(dir / "dump.py")
      << "import sys, ezdxf\n"
         "for path in sys.argv[1:]:\n"
         "    doc = ezdxf.readfile(path)\n"
         "    out = open(path + '.txt', 'w')\n"
         "    for e in doc.entitydb.values():\n"
         "        xd = sorted((a, str(list(e.get_xdata(a)))) for a in (e.xdata.data if e.xdata "
         "else {}))\n"
         "        out.write('%s %s %s %s\\n' % (e.dxf.handle, e.dxftype(), e.dxf.get('color') if "
         "e.dxf.is_supported('color') else '', "
         "xd))\n";
  const std::string command = "/usr/bin/python3 " + (dir / "dump.py").string() + " " +
                              (dir / "before.dxf").string() + " " + (dir / "undone.dxf").string();
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream a(dir / "before.dxf.txt"), b(dir / "undone.dxf.txt");
  const std::string seen_before((std::istreambuf_iterator<char>(a)), {});
  const std::string seen_undone((std::istreambuf_iterator<char>(b)), {});
  EXPECT_GT(seen_before.size(), 1000u);
  EXPECT_NE(seen_before.find("RQ_ATTR"), std::string::npos);
  EXPECT_EQ(seen_undone, seen_before) << testing::FirstDifference(seen_undone, seen_before);
  fs::remove_all(dir);
}

TEST_F(UndoTest, TwoManualAssignmentsTakenBackByUndoTwo) {
  Start();
  Run(kTickLighting);
  const std::string before = Dxf();
  Run(kManualSet);
  const std::string once = Dxf();
  Run(kManualSetSecondRow);
  ASSERT_TRUE(Dxf() != once);
  EXPECT_EQ(Said(L"command UNDO\ntyped 2\n"),
            L"\nコマンド: UNDO\n\n元に戻す操作の数を入力 <1>: 2\n"
            L"\nRQ_HARNEX_MANUALSET RQ_HARNEX_MANUALSET");
  EXPECT_SAME_DRAWING(Dxf(), before);
  // REDO gives back both, oldest first.
  EXPECT_EQ(Said(L"command REDO\n"),
            L"\nコマンド: REDO\n\nRQ_HARNEX_MANUALSET RQ_HARNEX_MANUALSET");
  Run(L"command U\n");
  EXPECT_SAME_DRAWING(Dxf(), once);
  // UNDO with more than there is: everything, and the host says so; Enter takes one.
  EXPECT_EQ(Said(L"command UNDO\ntyped 5\ncommand UNDO\nenter\n"),
            L"\nコマンド: UNDO\n\n元に戻す操作の数を入力 <1>: 5\n"
            L"\nRQ_HARNEX_MANUALSET\nすべて元に戻されました。"
            L"\nコマンド: UNDO\n\n元に戻す操作の数を入力 <1>: \n"
            L"\n元に戻す操作はありません。");
  EXPECT_SAME_DRAWING(Dxf(), before);
}

TEST_F(UndoTest, TheCheckTakenBackGivesTheColoursAndRecordsBack) {
  Start();
  const std::string before = Dxf();
  const std::wstring c3 = Entity(0xC3);
  ASSERT_NE(c3.find(L"colour 256"), std::wstring::npos);
  Run(L"command RQ_HARNEX_CHECKATT\n");
  ASSERT_NE(Entity(0xC3).find(L"colour 1\n"), std::wstring::npos);
  ASSERT_NE(Entity(0xC3).find(L"$P13|256|"), std::wstring::npos);
  Run(L"command U\n");
  EXPECT_EQ(Entity(0xC3), c3);
  EXPECT_SAME_DRAWING(Dxf(), before);
}

TEST_F(UndoTest, TheNoteLoopIsOneStepPerNote) {
  Start();
  Run(kTickLighting);
  Run(kManualSet);
  const std::string none = Dxf();
  // Three notes on the branch, each a pick and two points, in one run of the note loop; the
  // drawing is taken just before the third pick.
  std::string two;
  RunLines(
      {L"@200 click 340", L"click 1", L"pickat 3300,8000", L"move 3800,8600", L"point 3800,8600",
       L"move 4500,8700", L"point 4500,8700", L"pickat 3300,8000", L"move 2800,8600",
       L"point 2800,8600", L"move 2000,8700", L"point 2000,8700", L"pickat 3300,8000",
       L"move 3800,7400", L"point 3800,7400", L"move 4500,7300", L"point 4500,7300", L"esc"},
      [&](size_t i) {
        if (i == 12) two = Dxf();
      });
  const std::string three = Dxf();
  ASSERT_NE(three.find("PXNT0003"), std::string::npos);
  ASSERT_NE(two.find("PXNT0002"), std::string::npos);
  ASSERT_EQ(two.find("PXNT0003"), std::string::npos);

  EXPECT_EQ(Said(L"command U\n"), L"\nコマンド: U\n\nRQ_HARNEX_LOCATE");
  // The third note and its block definition are gone, the first two stay.
  EXPECT_SAME_DRAWING(Dxf(), two);
  Run(L"command REDO\n");
  EXPECT_SAME_DRAWING(Dxf(), three);
  // Back to no note at all: three steps, and the note settings dialog changed nothing.
  EXPECT_EQ(Said(L"command UNDO\ntyped 3\n"),
            L"\nコマンド: UNDO\n\n元に戻す操作の数を入力 <1>: 3\n"
            L"\nRQ_HARNEX_LOCATE RQ_HARNEX_LOCATE RQ_HARNEX_LOCATE");
  EXPECT_SAME_DRAWING(Dxf(), none);
}

TEST_F(UndoTest, AListTableTakenBack) {
  Start();
  const std::string before = Dxf();
  Run(L"@200 click 344\nmove 28000,9000\npoint 28000,9000\n");
  const std::string placed = Dxf();
  ASSERT_TRUE(placed != before);
  EXPECT_EQ(Said(L"command U\n"), L"\nコマンド: U\n\nRQ_HARNEX_LIST");
  EXPECT_SAME_DRAWING(Dxf(), before);
  // Placed again after U: the new table takes the handles and the name the undone one had, and
  // the drawing is the same as with the first.
  session_->ClearTranscript();
  Run(L"@200 click 344\nmove 28000,9000\npoint 28000,9000\n");
  EXPECT_SAME_DRAWING(Dxf(), placed) << platform::WideToUtf8(Transcript());
}

TEST_F(UndoTest, ANewChangeDropsTheRedoAndACommandThatChangesNothingIsNoStep) {
  Start(/*undo_steps=*/2);
  AcDbDatabase& db = *session_->database();
  // Cancelled at its prompt, the assignment changed nothing: nothing to take back.
  Run(std::wstring(kTickLighting) + L"@200 click 387\nesc\n");
  EXPECT_EQ(platform::acad::UndoStepCount(db), 0);
  EXPECT_EQ(Said(L"command U\n"), L"\nコマンド: U\n\n元に戻す操作はありません。");

  Run(kManualSet);
  Run(L"command U\ncommand RQ_HARNEX_CHECKATT\n");
  EXPECT_EQ(Said(L"command REDO\n"), L"\nコマンド: REDO\n\nやり直す操作はありません。");

  // Only the last two steps are kept.
  const std::string before = Dxf();
  Run(kManualSet);
  Run(kManualSet);
  EXPECT_EQ(platform::acad::UndoStepCount(db), 2);
  EXPECT_EQ(Said(L"command UNDO\ntyped 3\n"),
            L"\nコマンド: UNDO\n\n元に戻す操作の数を入力 <1>: 3\n"
            L"\nRQ_HARNEX_MANUALSET RQ_HARNEX_MANUALSET\nすべて元に戻されました。");
  EXPECT_SAME_DRAWING(Dxf(), before);
}

}  // namespace
}  // namespace host
