// The command table of Harnex: data, registered and removed as one group.
#include "app/command_table.h"

#include <rxregsvc.h>

#include "app/command_handlers.h"

const HarnexCommand kHarnexCommands[] = {
    {L"RQ_HARNEX", CmdShowPalette},
    {L"RQ_HARNEX_AUTOSET", CmdAutoSet},
    {L"RQ_HARNEX_MANUALSET", CmdManualSet},
    {L"RQ_HARNEX_DRAWNOTE", CmdDrawNote},
    {L"RQ_HARNEX_LOCATE", CmdLocate},
    {L"RQ_HARNEX_CHECKATT", CmdCheckAttributes},
    {L"RQ_HARNEX_RECOVERCOLOR", CmdRecoverColour},
    {L"RQ_HARNEX_LIST", CmdDrawList},
};
const size_t kHarnexCommandCount = sizeof(kHarnexCommands) / sizeof(kHarnexCommands[0]);

namespace {
AcEdCommandStack* CommandStack() {
  return AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK));
}
}  // namespace

bool RegisterHarnexCommands() {
  AcEdCommandStack* stack = CommandStack();
  if (stack == nullptr) return false;
  for (const HarnexCommand& cmd : kHarnexCommands) {
    Acad::ErrorStatus es =
        stack->addCommand(kHarnexCommandGroup, cmd.name, cmd.name, kHarnexCommandFlags, cmd.handler,
                          nullptr, -1, nullptr, nullptr);
    if (es != Acad::eOk) return false;
  }
  return true;
}

void UnregisterHarnexCommands() {
  if (AcEdCommandStack* stack = CommandStack()) stack->removeGroup(kHarnexCommandGroup);
}
