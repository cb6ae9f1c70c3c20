// The hidden placement window of the note tool: made once per RQ_HARNEX_DRAWNOTE from template
// 207, never shown, owned by the host's main window, holding the drawing's scale; a second
// DRAWNOTE replaces it; the jig's notification 0x1401 is not handled; a window destroyed by
// the host leaves no placement behind.
#include <gtest/gtest.h>

#include <acui.h>
#include <windows.h>

#include <string>
#include <vector>

#include "annotation/draw_note.h"
#include "app/harnex_module.h"
#include "note_support.h"
#include "resources/resource.h"
#include "platform/mfc/window_system.h"

namespace note_test {
namespace {

std::vector<HWND> PlacementWindows() {
  std::vector<HWND> found;
  for (HWND h : platform::mfc::AllWindows()) {
    const platform::mfc::WindowRecord* r = platform::mfc::FindWindowRecord(h);
    if (r != nullptr && r->template_id == IDD_DRAW_NOTE) found.push_back(h);
  }
  return found;
}

class NoteWindowTest : public NoteSessionTest {};

TEST_F(NoteWindowTest, DrawNoteMakesOneHiddenPlacementWindowWithTheDrawingsScale) {
  Start([](tools::DrawingBuilder& b) { b.SetGlobalScale(50); });
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_DRAWNOTE", L"esc"}), 0) << session().stop_reason();
  ASSERT_NE(NoteDragInstance, nullptr);
  CDrawNote* first = NoteDragInstance;
  EXPECT_EQ(first->mode, kDrawNoteModeNote);
  EXPECT_EQ(first->scale, 50);
  ASSERT_EQ(PlacementWindows(), std::vector<HWND>{first->m_hWnd});
  const platform::mfc::WindowRecord* record = platform::mfc::FindWindowRecord(first->m_hWnd);
  EXPECT_EQ(record->text, L"ﾀﾞｲｱﾛｸﾞ");
  EXPECT_FALSE(::IsWindowVisible(first->m_hWnd));
  EXPECT_EQ(record->parent, acedGetAcadFrame()->m_hWnd);
  ASSERT_EQ(record->children.size(), 1u);
  EXPECT_EQ(platform::mfc::FindWindowRecord(record->children[0])->text,
            L"このﾀﾞｲｱﾛｸﾞはﾄﾞﾗｯｷﾞﾝｸﾞ用の隠しﾀﾞｲｱﾛｸﾞです。");
  // The notification before an input is not handled; without a jig the handlers end a drag.
  EXPECT_EQ(first->SendMessage(DRAG_MSG_NOTIFY, 0, 0), 0);
  dragdata empty;
  EXPECT_EQ(first->SendMessage(DRAG_MSG_SAMPLE, 0, reinterpret_cast<LPARAM>(&empty)), 0);

  // A second note command replaces the object: still one window.
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_DRAWNOTE", L"esc"}), 0) << session().stop_reason();
  ASSERT_NE(NoteDragInstance, nullptr);
  EXPECT_EQ(PlacementWindows(), std::vector<HWND>{NoteDragInstance->m_hWnd});

  // When the host destroys the window, no command finds the placement any more. The object
  // goes with its window, as nothing else holds it (`make asan` reports it when it leaks).
  ::DestroyWindow(NoteDragInstance->m_hWnd);
  EXPECT_EQ(NoteDragInstance, nullptr);
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_LOCATE"}), 0) << session().stop_reason();
  EXPECT_NE(Transcript().find(L"\n設定画面が表示されていません。\n"), std::wstring::npos);
}

}  // namespace
}  // namespace note_test
