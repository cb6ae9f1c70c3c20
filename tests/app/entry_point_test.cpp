// Loading and unloading Harnex in the host: the refusal without the host module, the command
// table, the identification export and the document lock's messages.
#include <windows.h>

#include <accmd.h>
#include <acdocman.h>
#include "tools/harnex_session.h"
#include "platform/acad/dbhost.h"
#include <gtest/gtest.h>
#include <rxregsvc.h>

#include <string>
#include <vector>

#include "app/harnex_module.h"
#include "host/session/session.h"

namespace {

const std::vector<std::wstring> kCommandsInOrder = {
    L"RQ_HARNEX",        L"RQ_HARNEX_AUTOSET",  L"RQ_HARNEX_MANUALSET",    L"RQ_HARNEX_DRAWNOTE",
    L"RQ_HARNEX_LOCATE", L"RQ_HARNEX_CHECKATT", L"RQ_HARNEX_RECOVERCOLOR", L"RQ_HARNEX_LIST",
};

AcEdCommandStack* Stack() {
  return AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK));
}

// The commands of a group as the command stack holds them, in registration order.
std::vector<const AcEdCommand*> GroupCommands(const wchar_t* group) {
  std::vector<const AcEdCommand*> found;
  AcEdCommandIterator* it = Stack()->iterator();
  for (; !it->done(); it->next()) {
    if (std::wstring(it->commandGroup()) == group) found.push_back(it->command());
  }
  delete it;
  return found;
}

host::Session::Options BaseOptions() {
  host::Session::Options options = tools::HarnexSessionOptions();
  options.config_path = L"/tmp/harnex-entry-test/harnex.ini";
  return options;
}

std::wstring ArxCommandsListing(host::Session& session) {
  session.ClearTranscript();
  session.Run({host::steps::Command(L"ARXCOMMANDS", {L"HARNEX"})});
  return session.transcript();
}

TEST(EntryPointTest, WithoutTheHostModuleTheLoadIsRefusedAndNothingIsRegistered) {
  host::Session::Options options = BaseOptions();
  tools::SkipAtStart(&options, tools::kHostModuleName);
  host::Session session(options);
  ASSERT_TRUE(session.Start());
  EXPECT_FALSE(session.modules().IsLoaded(L"Harnex.arx"));
  EXPECT_EQ(GetModuleHandleW(L"Harnex.arx"), nullptr);
  EXPECT_TRUE(GroupCommands(L"HARNEX").empty());
  for (const auto& name : kCommandsInOrder)
    EXPECT_EQ(Stack()->lookupGlobalCmd(name.c_str()), nullptr);
  EXPECT_EQ(ArxCommandsListing(session).find(L"RQ_HARNEX"), std::wstring::npos);
}

TEST(EntryPointTest, AHostModuleWithoutItsIniExportIsRefusedToo) {
  host::Session::Options options = BaseOptions();
  // A Veltra.arx that lacks "RQAddinGetIniFile": the image given later replaces the standard one.
  options.extra_images.push_back({L"Veltra.arx", {}, ""});
  host::Session session(options);
  ASSERT_TRUE(session.Start());
  EXPECT_TRUE(session.modules().IsLoaded(L"Veltra.arx"));
  EXPECT_FALSE(session.modules().IsLoaded(L"Harnex.arx"));
  EXPECT_TRUE(GroupCommands(L"HARNEX").empty());
}

TEST(EntryPointTest, LoadRegistersTheEightCommandsInOrderAndUnloadRemovesThem) {
  host::Session session(BaseOptions());
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.modules().IsLoaded(L"Harnex.arx"));
  EXPECT_EQ(std::wstring(ConfigIniPath), L"/tmp/harnex-entry-test/harnex.ini");
  EXPECT_EQ(HostModule, GetModuleHandleW(L"Veltra.arx"));

  std::vector<const AcEdCommand*> commands = GroupCommands(L"HARNEX");
  ASSERT_EQ(commands.size(), kCommandsInOrder.size());
  std::wstring expected_listing;
  for (size_t i = 0; i < commands.size(); ++i) {
    EXPECT_EQ(std::wstring(commands[i]->globalName()), kCommandsInOrder[i]);
    EXPECT_EQ(std::wstring(commands[i]->localName()), kCommandsInOrder[i]);
    EXPECT_EQ(commands[i]->commandFlags(), ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET);
    expected_listing += L"HARNEX " + kCommandsInOrder[i] + L" " + kCommandsInOrder[i] + L" 3\n";
  }
  EXPECT_NE(ArxCommandsListing(session).find(expected_listing), std::wstring::npos);

  // The identification export answers through the module table like any export.
  using NameFunction = const wchar_t* (*)();
  auto name = reinterpret_cast<NameFunction>(
      GetProcAddress(GetModuleHandleW(L"Harnex.arx"), "RqAddIn_$$6525dim"));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(std::wstring(name()), L"RQ Add In Application");

  session.Run({host::steps::Command(L"ARXUNLOAD", {L"Harnex.arx"})});
  EXPECT_TRUE(GroupCommands(L"HARNEX").empty());
  EXPECT_EQ(ArxCommandsListing(session).find(L"RQ_HARNEX"), std::wstring::npos);

  session.Run({host::steps::Command(L"ARXLOAD", {L"Harnex.arx"})});
  EXPECT_EQ(GroupCommands(L"HARNEX").size(), kCommandsInOrder.size());
  EXPECT_NE(ArxCommandsListing(session).find(expected_listing), std::wstring::npos);
  EXPECT_EQ(session.exit_status(), 0) << session.stop_reason();
}

TEST(EntryPointTest, DocumentLockReportsEachFailureWithItsMessage) {
  host::Session session(BaseOptions());
  ASSERT_TRUE(session.Start());
  AcApDocument* doc = acDocManager->curDocument();
  ASSERT_NE(doc, nullptr);

  session.ClearTranscript();
  EXPECT_TRUE(LockCurrentDocument(true));
  EXPECT_EQ(doc->lockCount(), 1);
  EXPECT_TRUE(LockCurrentDocument(false));
  EXPECT_EQ(doc->lockCount(), 0);
  EXPECT_EQ(session.transcript(), L"");

  platform::acad::FailNextLock(Acad::eLockViolation);
  EXPECT_FALSE(LockCurrentDocument(true));
  EXPECT_EQ(session.transcript(),
            L"\nERROR:ﾄﾞｷｭﾒﾝﾄをﾛｯｸ出来ません。(" + std::to_wstring(Acad::eLockViolation) + L")");

  session.ClearTranscript();
  ASSERT_TRUE(LockCurrentDocument(true));
  platform::acad::FailNextUnlock(Acad::eNotApplicable);
  EXPECT_FALSE(LockCurrentDocument(false));
  EXPECT_EQ(session.transcript(), L"\nERROR:ﾄﾞｷｭﾒﾝﾄﾛｯｸを解除出来ません。(" +
                                      std::to_wstring(Acad::eNotApplicable) + L")");
  ASSERT_TRUE(LockCurrentDocument(false));

  // Without a document the lock is not even tried: a fault armed for the next lock is still
  // waiting when a document is there again.
  AcDbDatabase* db = doc->database();
  platform::acad::CloseDocument();
  session.ClearTranscript();
  platform::acad::FailNextLock(Acad::eLockViolation);
  EXPECT_FALSE(LockCurrentDocument(true));
  EXPECT_EQ(session.transcript(), L"\nERROR:ｶﾚﾝﾄﾄﾞｷｭﾒﾝﾄを取得出来ません。");
  platform::acad::OpenDocument(db, L"Drawing1.dwg");
  session.ClearTranscript();
  EXPECT_FALSE(LockCurrentDocument(true));
  EXPECT_NE(session.transcript().find(L"ﾄﾞｷｭﾒﾝﾄをﾛｯｸ出来ません。"), std::wstring::npos);
}

}  // namespace
