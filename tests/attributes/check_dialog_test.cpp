// The settings check window through the palette: its starting colour and place, "実行" with the
// window's colour, choosing another colour with the swatch, and "クリア".
#include "attributes/check_dialog.h"

#include <gtest/gtest.h>

#include <acdocman.h>

#include <string>
#include <vector>

#include "app/harnex_module.h"
#include "attributes_support.h"
#include "palette/main_dialog.h"
#include "resources/resource.h"

namespace {

using attributes_test::ColourOf;
using attributes_test::XDataStrings;
using Strings = std::vector<std::wstring>;

const std::wstring kFound = L"\n幹線番号が設定されていない要素が見つかりました.\n";

Strings Records(const std::wstring& trunk, const wchar_t* saved = nullptr) {
  Strings records = {L"S501||2|1|55|0|", L"S004|" + trunk + L"|2|1|55|0|", L"S3B9||2|1|55|0|",
                     L"S002||2|1|55|0|"};
  if (saved != nullptr) records.push_back(std::wstring(L"$P13|") + saved + L"|2|1|55|0|");
  return records;
}

class CheckDialogTest : public attributes_test::RouteDrawingTest {
 protected:
  // Two elements without a trunk number (one coloured 4) and one with it; then the palette and
  // its settings check window are opened on the sample project.
  void StartWithWindow() {
    StartSession([this](tools::DrawingBuilder& b) {
      b.DefineSegment(L"RT1", 100);
      unset_ = b.AddRouteElement(L"RT1", {0, 0});
      coloured_ = b.AddRouteElement(L"RT1", {100, 0});
      set_ = b.AddRouteElement(L"RT1", {200, 0});
      b.SetStrings(set_, L"RQ_ATTR", Records(L"T-1"));
    });
    attributes_test::SetColour(coloured_, 4);
    // The palette's drawing buttons wait for a project: the sample project is opened first.
    ASSERT_EQ(Run(L"command RQ_HARNEX\nclick 201\nrows 360 0\nclick 1\n"), 0)
        << session().stop_reason();
    // An even palette height, so that centring by halves (400 / 2 - 65 / 2 = 168) and by the
    // difference ((400 - 65) / 2 = 167) place the window apart.
    ASSERT_NE(PaletteInstance, nullptr);
    PaletteInstance->SetWindowPos(nullptr, 0, 0, 301, 400, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(Run(L"@200 click 335\n"), 0) << session().stop_reason();
    ASSERT_NE(CheckDlgInstance, nullptr);
    session().ClearTranscript();
  }

  int Run(const std::wstring& script) { return session().RunScript(script); }
  HWND Swatch() const { return CheckDlgInstance->GetDlgItem(IDC_CHECK_COLOUR)->m_hWnd; }
  COLORREF SwatchColour() const {
    return static_cast<CDeruColorButton*>(CWnd::FromHandle(Swatch()))->GetColor();
  }

  AcDbObjectId unset_, coloured_, set_;
};

TEST_F(CheckDialogTest, ANewWindowMarksRedAndStandsInTheMiddleOfThePalette) {
  StartWithWindow();
  EXPECT_EQ(CheckDlgInstance->ColourIndexText(), L"1");
  EXPECT_EQ(CheckDlgInstance->Colour(), RGB(255, 0, 0));

  CRect palette;
  CRect window;
  ::GetWindowRect(::GetParent(CheckDlgInstance->m_hWnd), &palette);
  CheckDlgInstance->GetWindowRect(&window);
  EXPECT_EQ(window.Width(), 230) << "moved, not resized";
  EXPECT_EQ(window.Height(), 65);
  ASSERT_EQ(palette.Width(), 301);
  ASSERT_EQ(palette.Height(), 400);
  EXPECT_EQ(window.left, palette.left + 150 - 115) << "301 / 2 rounds toward zero";
  EXPECT_EQ(window.top, palette.top + 200 - 32) << "65 / 2 rounds toward zero";

  ASSERT_EQ(Run(L"@209 click 396\n"), 0) << session().stop_reason();
  EXPECT_EQ(session().transcript(), kFound) << "the window's check takes no lock messages";
  EXPECT_EQ(ColourOf(unset_), 1);
  EXPECT_EQ(ColourOf(coloured_), 1);
  EXPECT_EQ(ColourOf(set_), 256);
  EXPECT_EQ(XDataStrings(coloured_, L"RQ_ATTR"), Records(L"", L"4"));
  EXPECT_EQ(acDocManager->curDocument()->lockCount(), 0);
}

TEST_F(CheckDialogTest, AChosenColourIsShownAndUsedAndTheFirstSavedColourStays) {
  StartWithWindow();
  ASSERT_EQ(Run(L"@209 click 396\n@209 click 217\ncolour 5\n"), 0) << session().stop_reason();
  EXPECT_NE(session().transcript().find(L"[colour dialog] 5"), std::wstring::npos);
  EXPECT_EQ(CheckDlgInstance->ColourIndexText(), L"5");
  EXPECT_EQ(CheckDlgInstance->Colour(), RGB(0, 0, 255));
  EXPECT_EQ(SwatchColour(), RGB(0, 0, 255));
  EXPECT_EQ(::GetFocus(), Swatch());

  // "実行" again, now blue: the colour saved by the red check stays.
  ASSERT_EQ(Run(L"@209 click 396\n"), 0) << session().stop_reason();
  EXPECT_EQ(ColourOf(unset_), 5);
  EXPECT_EQ(ColourOf(coloured_), 5);
  EXPECT_EQ(XDataStrings(coloured_, L"RQ_ATTR"), Records(L"", L"4"));
  EXPECT_EQ(XDataStrings(unset_, L"RQ_ATTR"), Records(L"", L"256"));

  // A cancelled colour dialog changes nothing, and the focus still goes back to the swatch,
  // also when the swatch was pressed from the keyboard while "実行" had the focus.
  ::SetFocus(CheckDlgInstance->GetDlgItem(IDC_CHECK_RUN)->m_hWnd);
  Queue({host::steps::ColourCancel()});
  CheckDlgInstance->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CHECK_COLOUR, BN_CLICKED),
                                reinterpret_cast<LPARAM>(Swatch()));
  EXPECT_NE(session().transcript().find(L"[colour dialog] cancelled"), std::wstring::npos);
  EXPECT_EQ(CheckDlgInstance->ColourIndexText(), L"5");
  EXPECT_EQ(SwatchColour(), RGB(0, 0, 255));
  EXPECT_EQ(::GetFocus(), Swatch());

  // "クリア" gives back the colours the elements had before the first check.
  session().ClearTranscript();
  ASSERT_EQ(Run(L"@209 click 359\n"), 0) << session().stop_reason();
  EXPECT_EQ(session().transcript(), L"") << "recovery prints nothing";
  EXPECT_EQ(ColourOf(unset_), 256);
  EXPECT_EQ(ColourOf(coloured_), 4);
  EXPECT_EQ(XDataStrings(coloured_, L"RQ_ATTR"), Records(L"", L""));
}

TEST_F(CheckDialogTest, EveryNewWindowStartsRedAgain) {
  StartWithWindow();
  ASSERT_EQ(Run(L"@209 click 217\ncolour 3\n"), 0) << session().stop_reason();
  CheckDlgInstance->SendMessage(WM_CLOSE);
  ASSERT_EQ(CheckDlgInstance, nullptr);
  ASSERT_EQ(Run(L"@200 click 335\n"), 0) << session().stop_reason();
  ASSERT_NE(CheckDlgInstance, nullptr);
  EXPECT_EQ(CheckDlgInstance->ColourIndexText(), L"1");
  EXPECT_EQ(SwatchColour(), RGB(255, 0, 0));
}

}  // namespace
