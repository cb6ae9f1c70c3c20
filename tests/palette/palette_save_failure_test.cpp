// Saving from the palette when the disk refuses: the file-system seam fails a chosen call, and
// the user must see the write error with its code, never "データが保存されました。", keep the
// project marked changed, stay where the save was asked for, and find the old file untouched.
#include <gtest/gtest.h>

#include <PaletteDialog.h>

#include <memory>
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
using platform::FileOp;

constexpr wchar_t kSample[] = L"サンプルビル";
constexpr wchar_t kFirstPattern[] = L"受変電から分電盤";
constexpr wchar_t kSaved[] = L"[box information] データが保存されました。 → OK";
constexpr wchar_t kModifiedYes[] = L"[box question] データが変更されています。保存しますか？ → Yes";

std::wstring WriteError(DWORD code) {
  return L"[box stop] ファイル書込みエラー(" + std::to_wstring(code) + L") → OK";
}

// The palette open on the sample project, with the file-system seam ready to fail calls.
class PaletteSaveFailureTest : public PaletteSessionTest {
 protected:
  void SetUp() override {
    PaletteSessionTest::SetUp();
    SetLastProject(L"NAME", kSample);
    SetLastProject(L"PATTERN", kFirstPattern);
    Start();
    ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
    ASSERT_NE(Palette(), nullptr);
    sample_ = platform::ResolvePath(ProjectFile(kSample).GetString()).posix;
    original_ = DiskBytes();
    ASSERT_FALSE(original_.empty());
  }
  void TearDown() override {
    scoped_.reset();
    PaletteSessionTest::TearDown();
  }

  // The sample project's bytes as the disk holds them, read past the seam.
  std::string DiskBytes() const {
    std::string bytes;
    platform::DiskFileSystem().Read(sample_, &bytes);
    return bytes;
  }
  // From now on the seam fails the calls that `fault` names.
  void Fail(platform::FaultInjectingFileSystem::Fault fault) {
    Install();
    faulty_.AddFault(fault);
  }
  void Install() {
    if (!scoped_) scoped_ = std::make_unique<platform::ScopedFileSystem>(&faulty_);
  }
  void Heal() { faulty_.ClearFaults(); }
  bool Modified() const { return Palette()->Editor().IsModified(); }
  std::wstring Stored(const wchar_t* section, const wchar_t* key) const {
    return ProfileValue(ProjectFile(kSample), section, key);
  }

  platform::DiskFileSystem disk_;
  platform::FaultInjectingFileSystem faulty_{&disk_};
  std::unique_ptr<platform::ScopedFileSystem> scoped_;
  std::string sample_;
  std::string original_;
};

TEST_F(PaletteSaveFailureTest, AFailedSaveShowsItsCodeKeepsTheEditsAndTheFileAndTheNextSaveWorks) {
  struct Case {
    platform::FaultInjectingFileSystem::Fault fault;
    DWORD code;
    const wchar_t* edit;
  };
  const Case cases[] = {
      {{FileOp::kRename, 1, ERROR_ACCESS_DENIED, {}}, ERROR_ACCESS_DENIED, L"1L-7"},
      {{FileOp::kRename, 0, ERROR_SHARING_VIOLATION, {}}, ERROR_SHARING_VIOLATION, L"1L-8"},
      {{FileOp::kWrite, 0, ERROR_DISK_FULL, {}}, ERROR_DISK_FULL, L"1L-9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ASSERT_EQ(Run(std::wstring(L"type 248 ") + c.edit + L"\n"), 0) << StopReason();
    const std::string before = DiskBytes();
    Fail(c.fault);
    ClearTranscript();
    ASSERT_EQ(Run(L"click 207\n"), 0) << StopReason();
    EXPECT_EQ(Boxes(), Strings{WriteError(c.code)});
    EXPECT_TRUE(Modified());
    EXPECT_EQ(DiskBytes(), before);
    EXPECT_EQ(ControlText(IDC_ROW_KEITOU), c.edit);
    EXPECT_EQ(Palette()->Project().Current()->keitou[0], c.edit);

    // The disk recovers: the same edit is saved by the next 保存.
    Heal();
    ClearTranscript();
    ASSERT_EQ(Run(L"click 207\n"), 0) << StopReason();
    EXPECT_EQ(Boxes(), Strings{kSaved});
    EXPECT_FALSE(Modified());
    EXPECT_EQ(Stored(L"PATTERN-001", L"KEITOU-001"), c.edit);
    EXPECT_EQ(Stored(L"PROJECT", L"CREATEDATE"), L"2016/04/01 09:30:00");
  }
}

// Whichever single file call of a save fails, the save either completes (and says so, with the
// edit and the creation date in the file) or reports the failure and leaves the file as it was.
TEST_F(PaletteSaveFailureTest, EveryFileCallOfASaveMayFailWithoutLosingTheFileOrTheEdits) {
  Install();
  int failed = 0;
  for (size_t nth = 1;; ++nth) {
    SCOPED_TRACE(nth);
    const std::wstring edit = L"E-" + std::to_wstring(nth);
    ASSERT_EQ(Run(L"type 248 " + edit + L"\n"), 0) << StopReason();
    const std::string before = DiskBytes();
    faulty_.AddFault({std::nullopt, static_cast<int>(nth), ERROR_WRITE_FAULT, {}});
    faulty_.ResetCalls();
    ClearTranscript();
    ASSERT_EQ(Run(L"click 207\n"), 0) << StopReason();
    Heal();
    const bool hit = faulty_.calls().size() >= nth;
    if (Boxes() == Strings{kSaved}) {
      EXPECT_FALSE(Modified());
      EXPECT_EQ(Stored(L"PATTERN-001", L"KEITOU-001"), edit);
      EXPECT_EQ(Stored(L"PROJECT", L"CREATEDATE"), L"2016/04/01 09:30:00");
      EXPECT_EQ(Stored(L"PROJECT", L"PATTERN-002"), L"1F照明・コンセント");
      if (!hit) break;  // the save made fewer calls: each of them has failed once
      continue;
    }
    ++failed;
    EXPECT_EQ(Boxes(), Strings{WriteError(ERROR_WRITE_FAULT)});
    EXPECT_TRUE(Modified());
    EXPECT_EQ(DiskBytes(), before);
    // Saved again, so that every round starts from a saved project.
    ClearTranscript();
    ASSERT_EQ(Run(L"click 207\n"), 0) << StopReason();
    EXPECT_EQ(Boxes(), Strings{kSaved});
    EXPECT_EQ(Stored(L"PATTERN-001", L"KEITOU-001"), edit);
    ASSERT_LT(nth, 100u) << "a save that never ends its calls";
  }
  // At least the write of the new file and its move into place cannot be done without.
  EXPECT_GE(failed, 2);
}

TEST_F(PaletteSaveFailureTest, TheActionThatAskedForTheSaveDoesNotHappenWhenTheSaveFails) {
  ASSERT_EQ(Run(L"choose 203 1F照明・コンセント\ntype 258 L-99\n"), 0) << StopReason();
  Fail({FileOp::kRename, 0, ERROR_SHARING_VIOLATION, {}});
  auto expect_unchanged = [&](const char* after) {
    SCOPED_TRACE(after);
    ASSERT_NE(Palette(), nullptr);
    EXPECT_TRUE(Modified());
    EXPECT_EQ(Palette()->Project().Name(), kSample);
    EXPECT_EQ(Palette()->Project().PatternCount(), 2);
    EXPECT_EQ(ControlText(IDC_PROJECT_NAME), kSample);
    EXPECT_EQ(Items(IDC_PATTERN_BOX), (Strings{kFirstPattern, L"1F照明・コンセント"}));
    EXPECT_EQ(ControlText(IDC_PATTERN_BOX), L"1F照明・コンセント");
    EXPECT_EQ(ControlText(IDC_ROW_BAN), L"L-99");
    EXPECT_TRUE(IsEnabled(IDC_PATTERN_BOX));
    EXPECT_EQ(DiskBytes(), original_);
    EXPECT_EQ(LastProject(L"PATTERN"), kFirstPattern);
  };

  // New project: Cancel, then a Yes whose save fails.
  ClearTranscript();
  ASSERT_EQ(Run(L"click 202\nanswer cancel\nclick 202\nanswer yes\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), (Strings{L"[box question] データが変更されています。保存しますか？ → Cancel",
                              kModifiedYes, WriteError(ERROR_SHARING_VIOLATION)}));
  expect_unchanged("new project");

  // Open: the project list does not open.
  ClearTranscript();
  ASSERT_EQ(Run(L"click 201\nanswer yes\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), (Strings{L"[box question] 現在のプロジェクトを保存しますか？ → Yes",
                              WriteError(ERROR_SHARING_VIOLATION)}));
  EXPECT_TRUE(Dialogs().empty());
  expect_unchanged("open");

  // Esc: the palette stays, and the last project is not written.
  ClearTranscript();
  ASSERT_EQ(Run(L"click 2\nanswer yes\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), (Strings{kModifiedYes, WriteError(ERROR_SHARING_VIOLATION)}));
  EXPECT_TRUE(PaletteSetInstance != nullptr && PaletteSetInstance->IsWindowVisible());
  expect_unchanged("close");

  // Once the disk works, the same Esc saves the edit and closes.
  Heal();
  ClearTranscript();
  ASSERT_EQ(Run(L"click 2\nanswer yes\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), Strings{kModifiedYes});
  EXPECT_EQ(Palette(), nullptr);
  EXPECT_EQ(Stored(L"PATTERN-002", L"BAN-001"), L"L-99");
  EXPECT_EQ(LastProject(L"PATTERN"), L"1F照明・コンセント");
}

TEST_F(PaletteSaveFailureTest, AFailedFirstSaveOfANewProjectWritesNoFileAndKeepsTheEdits) {
  ASSERT_EQ(Run(L"click 202\nclick 204\ntype 346 新\nclick 1\ntype 248 N-1\n"), 0) << StopReason();
  Fail({FileOp::kRename, 0, ERROR_ACCESS_DENIED, {}});
  ClearTranscript();
  ASSERT_EQ(Run(L"click 207\ntype 346 新館\nclick 1\n"), 0) << StopReason();
  EXPECT_EQ(Dialogs(), Strings{L"[dialog 202 新規プロジェクト]"});
  EXPECT_EQ(Boxes(), Strings{WriteError(ERROR_ACCESS_DENIED)});
  EXPECT_TRUE(Modified());
  EXPECT_FALSE(ProjectExists(L"新館"));
  EXPECT_EQ(Palette()->Project().Current()->keitou[0], L"N-1");
  EXPECT_EQ(DiskBytes(), original_);

  // The name given became the project's name: the next save asks no more.
  Heal();
  ClearTranscript();
  ASSERT_EQ(Run(L"click 207\n"), 0) << StopReason();
  EXPECT_TRUE(Dialogs().empty());
  EXPECT_EQ(Boxes(), Strings{kSaved});
  EXPECT_EQ(ProfileValue(ProjectFile(L"新館"), L"PATTERN-001", L"KEITOU-001"), L"N-1");
}

TEST_F(PaletteSaveFailureTest, AWindowDestroyedWhileItsSaveFailsStillGoesAndLosesNothingOnDisk) {
  ASSERT_EQ(Run(L"type 308 壊れる前\n"), 0) << StopReason();
  Fail({FileOp::kRename, 0, ERROR_ACCESS_DENIED, {}});
  ClearTranscript();
  session().user().Add({host::steps::Answer(L"yes")});
  Palette()->DestroyWindow();
  EXPECT_EQ(Boxes(), (Strings{kModifiedYes, WriteError(ERROR_ACCESS_DENIED)}));
  EXPECT_EQ(Palette(), nullptr);
  EXPECT_EQ(DiskBytes(), original_);
}

}  // namespace
}  // namespace palette_test
