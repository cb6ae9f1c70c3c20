// The command stack: registration order, duplicates, lookups and removal; the registry.
#include <gtest/gtest.h>

#include <string>

#include <accmd.h>

namespace {

void First() {}
void Second() {}

// "GROUP GLOBAL LOCAL FLAGS" lines of every command, in iteration order.
std::wstring Listing() {
  std::wstring text;
  AcEdCommandIterator* it = acedRegCmds->iterator();
  for (; !it->done(); it->next()) {
    const AcEdCommand* cmd = it->command();
    text += std::wstring(it->commandGroup()) + L" " + cmd->globalName() + L" " + cmd->localName() +
            L" " + std::to_wstring(cmd->commandFlags()) + L"\n";
  }
  delete it;
  return text;
}

TEST(CommandStackTest, RegistersInOrderAndRefusesDuplicates) {
  AcRxObject* dock = acrxSysRegistry()->at(L"ACAD_REGISTERED_COMMANDS");
  AcEdCommandStack* stack = AcEdCommandStack::cast(dock);
  ASSERT_NE(stack, nullptr);
  EXPECT_EQ(AcRxDynamicLinker::cast(dock), nullptr);
  EXPECT_STREQ(dock->isA()->name(), L"AcEdCommandStack");

  ASSERT_EQ(stack->addCommand(L"TESTGRP", L"ZETA", L"ZETA", ACRX_CMD_MODAL, First), Acad::eOk);
  ASSERT_EQ(stack->addCommand(L"TESTGRP", L"ALPHA", L"ALPHA_L",
                              ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET, Second),
            Acad::eOk);
  EXPECT_EQ(stack->addCommand(L"testgrp", L"zeta", L"OTHER", 0, Second), Acad::eDuplicateKey);
  ASSERT_EQ(stack->addCommand(L"OTHERGRP", L"ZETA", L"ZETA", 4, Second), Acad::eOk);

  EXPECT_EQ(Listing(), L"TESTGRP ZETA ZETA 0\nTESTGRP ALPHA ALPHA_L 3\nOTHERGRP ZETA ZETA 4\n");

  // Lookups ignore case; the group registered last wins, unless a group is named.
  AcEdCommand* cmd = stack->lookupGlobalCmd(L"zeta");
  ASSERT_NE(cmd, nullptr);
  EXPECT_STREQ(cmd->commandGroup(), L"OTHERGRP");
  EXPECT_EQ(cmd->functionAddr(), &Second);
  cmd = stack->lookupGlobalCmd(L"ZETA", L"TESTGRP");
  ASSERT_NE(cmd, nullptr);
  EXPECT_EQ(cmd->functionAddr(), &First);
  EXPECT_NE(stack->lookupLocalCmd(L"alpha_l"), nullptr);
  EXPECT_EQ(stack->lookupGlobalCmd(L"ALPHA_L"), nullptr);

  EXPECT_EQ(stack->removeCmd(L"TESTGRP", L"ALPHA"), Acad::eOk);
  EXPECT_EQ(stack->removeCmd(L"TESTGRP", L"ALPHA"), Acad::eKeyNotFound);
  EXPECT_EQ(stack->removeGroup(L"OTHERGRP"), Acad::eOk);
  EXPECT_EQ(stack->removeGroup(L"OTHERGRP"), Acad::eKeyNotFound);
  EXPECT_EQ(Listing(), L"TESTGRP ZETA ZETA 0\n");
  EXPECT_EQ(stack->removeGroup(L"TESTGRP"), Acad::eOk);
  EXPECT_EQ(stack->lookupGlobalCmd(L"ZETA"), nullptr);
  EXPECT_EQ(Listing(), L"");
}

TEST(CommandStackTest, DynamicLinkerRecordsEachApplication) {
  int app_a = 0, app_b = 0;
  AcRxDynamicLinker* linker = AcRxDynamicLinker::cast(acrxSysRegistry()->at(L"DynamicLinker"));
  ASSERT_NE(linker, nullptr);
  EXPECT_TRUE(linker->unlockApplication(&app_a));
  EXPECT_TRUE(linker->registerAppMDIAware(&app_a));
  EXPECT_TRUE(platform::acad::IsApplicationUnlocked(&app_a));
  EXPECT_TRUE(platform::acad::IsApplicationMdiAware(&app_a));
  EXPECT_FALSE(platform::acad::IsApplicationUnlocked(&app_b));
  EXPECT_FALSE(platform::acad::IsApplicationMdiAware(&app_b));
  platform::acad::ForgetApplication(&app_a);
  EXPECT_FALSE(platform::acad::IsApplicationMdiAware(&app_a));
  EXPECT_EQ(acrxSysRegistry()->at(L"NoSuchService"), nullptr);
}

}  // namespace
