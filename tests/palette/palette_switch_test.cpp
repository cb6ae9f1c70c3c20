// Leaving what the palette shows: edits made before choosing another pattern, closing or opening
// a project are kept and reach the file, a pattern name the project lacks changes nothing, and a
// project that vanished after it was listed leaves the palette empty.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/harnex_module.h"
#include "platform/win/file_system.h"
#include "palette/main_dialog.h"
#include "palette_test_support.h"
#include "resources/resource.h"
#include "platform/win/win_path.h"

namespace palette_test {
namespace {

using Strings = std::vector<std::wstring>;

constexpr wchar_t kSample[] = L"サンプルビル";
constexpr wchar_t kTrunk[] = L"受変電から分電盤";
constexpr wchar_t kGeneral[] = L"1F照明・コンセント";

class PaletteSwitchTest : public PaletteSessionTest {
 protected:
  void StartOnSample() {
    SetLastProject(L"NAME", kSample);
    SetLastProject(L"PATTERN", kTrunk);
    Start();
    ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
    ASSERT_NE(Palette(), nullptr);
  }
  static const PatternData& Pattern(int index) { return *Palette()->Project().Pattern(index); }
  std::wstring Stored(const wchar_t* section, const wchar_t* key) const {
    return ProfileValue(ProjectFile(kSample), section, key);
  }
};

TEST_F(PaletteSwitchTest, EditsStayWithTheirPatternAcrossChoicesAndReachTheFile) {
  StartOnSample();
  // The trunk pattern (underground conduit): a system number on page 1, remarks on page 2 and
  // the indoor conduit; then a panel name on the general pattern.
  ASSERT_EQ(Run(L"type 248 1L-9\nclick 209\ntype 308 次頁\nclick 398\nchoose 203 " +
                std::wstring(kGeneral) + L"\ntype 258 L-9\n"),
            0)
      << StopReason();
  EXPECT_EQ(Pattern(0).keitou[0], L"1L-9");
  EXPECT_EQ(Pattern(0).memo[10], L"次頁");
  EXPECT_EQ(Pattern(0).pipeSel, kConduitIndoor);
  EXPECT_TRUE(IsChecked(IDC_CONDUIT_INDOOR));  // the general pattern's own choice

  // Back on the trunk pattern: its first page with the edits, the general one's edit kept too.
  ASSERT_EQ(Run(std::wstring(L"choose 203 ") + kTrunk + L"\n"), 0) << StopReason();
  EXPECT_EQ(ControlText(IDC_PAGE_FRAME), L"Page:1");
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU), L"1L-9");
  EXPECT_TRUE(IsChecked(IDC_CONDUIT_INDOOR));
  EXPECT_FALSE(IsChecked(IDC_CONDUIT_BURIED));
  EXPECT_EQ(Pattern(1).ban[0], L"L-9");
  ASSERT_EQ(Run(L"click 209\n"), 0) << StopReason();
  EXPECT_EQ(ControlText(IDC_ROW_MEMO), L"次頁");
  ASSERT_EQ(Run(std::wstring(L"choose 203 ") + kGeneral + L"\n"), 0) << StopReason();
  EXPECT_EQ(ControlText(IDC_ROW_BAN), L"L-9");
  EXPECT_TRUE(Palette()->Editor().IsModified());

  // Saved: the trunk pattern's three rows and the remark's row numbered 4, without gaps.
  ASSERT_EQ(Run(L"click 207\n"), 0) << StopReason();
  EXPECT_EQ(Boxes().back(), L"[box information] データが保存されました。 → OK");
  EXPECT_EQ(Stored(L"PATTERN-001", L"KEITOU-001"), L"1L-9");
  EXPECT_EQ(Stored(L"PATTERN-001", L"PIPESEL"), L"1");
  EXPECT_EQ(Stored(L"PATTERN-001", L"MEMO-004"), L"次頁");
  EXPECT_EQ(Stored(L"PATTERN-001", L"KEITOU-004"), L"");
  EXPECT_EQ(Stored(L"PATTERN-001", L"KOUJI-005"), L"");
  EXPECT_EQ(Stored(L"PATTERN-002", L"BAN-001"), L"L-9");

  // Closed and opened again: the palette restores the general pattern, with everything.
  ASSERT_EQ(Run(L"click 2\ncommand RQ_HARNEX\n"), 0) << StopReason();
  ASSERT_NE(Palette(), nullptr);
  EXPECT_EQ(ControlText(IDC_PATTERN_BOX), kGeneral);
  EXPECT_EQ(ControlText(IDC_ROW_BAN), L"L-9");
  EXPECT_EQ(Pattern(0).keitou[0], L"1L-9");
  EXPECT_EQ(Pattern(0).memo[3], L"次頁");
  EXPECT_EQ(Pattern(0).pipeSel, kConduitIndoor);
  EXPECT_FALSE(Palette()->Editor().IsModified());
}

TEST_F(PaletteSwitchTest, AnEditMadeJustBeforeANewPatternStaysWithThePatternItWasMadeOn) {
  StartOnSample();
  ASSERT_EQ(Run(L"type 248 1L-6\nclick 204\ntype 346 追加\nclick 1\n"), 0) << StopReason();
  EXPECT_EQ(Palette()->Project().Current()->name, L"追加");
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU), L"");
  EXPECT_EQ(Pattern(0).keitou[0], L"1L-6");
  ASSERT_EQ(Run(std::wstring(L"choose 203 ") + kTrunk + L"\n"), 0) << StopReason();
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU), L"1L-6");
  EXPECT_TRUE(Palette()->Editor().IsModified());
}

// The import button takes the page into the pattern before its dialog opens; a cancelled import
// leaves the edit where it is, and it goes with its pattern to the file.
TEST_F(PaletteSwitchTest, AnEditMadeJustBeforeACancelledImportStaysAndReachesTheFile) {
  StartOnSample();
  ASSERT_EQ(Run(L"type 248 1L-7\nclick 210\nclick 2\n"), 0) << StopReason();
  EXPECT_EQ(Dialogs(), Strings{L"[dialog 204 パターンデータの取込み]"});
  EXPECT_EQ(Pattern(0).keitou[0], L"1L-7");
  EXPECT_TRUE(Palette()->Editor().IsModified());
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU), L"1L-7");
  ASSERT_EQ(Run(std::wstring(L"choose 203 ") + kGeneral + L"\nchoose 203 " + kTrunk + L"\n"), 0)
      << StopReason();
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU), L"1L-7");
  ASSERT_EQ(Run(L"click 207\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), Strings{L"[box information] データが保存されました。 → OK"});
  EXPECT_EQ(Stored(L"PATTERN-001", L"KEITOU-001"), L"1L-7");
  EXPECT_EQ(Stored(L"PATTERN-001", L"KEITOU-002"), L"1P-1");
  EXPECT_EQ(Stored(L"PATTERN-002", L"KEITOU-001"), L"1L-2");
}

TEST_F(PaletteSwitchTest, AnEditOnALaterPageBeforeEscIsWhatYesSaves) {
  StartOnSample();
  ASSERT_EQ(Run(std::wstring(L"choose 203 ") + kGeneral +
                L"\nclick 209\ntype 248 2P-11\nclick 2\nanswer yes\n"),
            0)
      << StopReason();
  EXPECT_EQ(Palette(), nullptr);
  // The general pattern's three rows, then the new one, numbered without gaps.
  EXPECT_EQ(Stored(L"PATTERN-002", L"KEITOU-004"), L"2P-11");
  EXPECT_EQ(Stored(L"PATTERN-002", L"KEITOU-003"), L"1P-2");
  EXPECT_EQ(Stored(L"PATTERN-001", L"KEITOU-001"), L"1L-1");
  EXPECT_EQ(LastProject(L"PATTERN"), kGeneral);
}

TEST_F(PaletteSwitchTest, ANameThePatternBoxShowsButTheProjectLacksChangesNothing) {
  StartOnSample();
  // A name only the box holds, as after the list and the box parted ways.
  auto* box = static_cast<CComboBox*>(Palette()->GetDlgItem(IDC_PATTERN_BOX));
  ASSERT_NE(box, nullptr);
  box->AddString(L"幻");
  ASSERT_EQ(Run(L"type 248 1L-5\nchoose 203 幻\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), Strings{L"[box stop] パターンデータを表示出来ません。 → OK"});
  EXPECT_EQ(Palette()->Project().Current()->name, kTrunk);
  // The page left was collected all the same.
  EXPECT_EQ(Palette()->Project().Current()->keitou[0], L"1L-5");
  EXPECT_TRUE(Palette()->Editor().IsModified());
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU), L"1L-5");
  EXPECT_TRUE(IsChecked(IDC_TYPE_TRUNK));
  EXPECT_EQ(Palette()->Project().PatternCount(), 2);
}

// A file system on which a project disappears right after the project list has looked at it, as
// when another user deletes it while the list is open.
class VanishingFileSystem : public platform::DiskFileSystem {
 public:
  explicit VanishingFileSystem(std::string path) : path_(std::move(path)) {}
  DWORD Stat(const std::string& path, platform::FileInfo* info) override {
    const DWORD result = DiskFileSystem::Stat(path, info);
    if (path == path_ && result == ERROR_SUCCESS && !gone_) {
      gone_ = true;
      std::filesystem::remove(path_);
    }
    return result;
  }

 private:
  std::string path_;
  bool gone_ = false;
};

TEST_F(PaletteSwitchTest, AProjectGoneBetweenListingAndLoadingLeavesThePaletteEmptyWithoutAWord) {
  StartOnSample();
  WriteProject(L"消える", 2);
  VanishingFileSystem vanishing(platform::ResolvePath(ProjectFile(L"消える").GetString()).posix);
  platform::ScopedFileSystem scoped(&vanishing);
  ClearTranscript();
  // The list still shows it (rows in file-system order: サンプルビル, then 消える).
  ASSERT_EQ(Run(L"click 201\nrows 360 1\nclick 1\n"), 0) << StopReason();
  ASSERT_FALSE(ProjectExists(L"消える"));
  EXPECT_EQ(Dialogs(), Strings{L"[dialog 203 プロジェクト一覧]"});
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Palette()->Project().PatternCount(), 0);
  EXPECT_EQ(Palette()->Project().Name(), L"");
  EXPECT_EQ(ControlText(IDC_PROJECT_NAME), L"");
  EXPECT_TRUE(Items(IDC_PATTERN_BOX).empty());
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU), L"");
  EXPECT_FALSE(IsEnabled(IDC_PATTERN_BOX));
  EXPECT_FALSE(IsEnabled(IDC_ROW_KEITOU));
  EXPECT_TRUE(IsEnabled(IDC_PROJECT_OPEN));
  EXPECT_FALSE(Palette()->Editor().IsModified());
}

}  // namespace
}  // namespace palette_test
