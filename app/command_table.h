// The commands of the group "HARNEX": their names and handlers, in registration order.
#pragma once

#include <accmd.h>

#include <cstddef>

// The command group under which every command of Harnex is registered.
inline constexpr const wchar_t* kHarnexCommandGroup = L"HARNEX";

// ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET: every command of the group carries these flags.
inline constexpr int kHarnexCommandFlags = ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET;

struct HarnexCommand {
  const wchar_t* name;  // global and local name alike
  AcRxFunctionPtr handler;
};

// The eight commands in the order in which they are registered.
extern const HarnexCommand kHarnexCommands[];
extern const size_t kHarnexCommandCount;

// Adds every command of the table to the command stack; false when the stack refused one (the
// ones added before it stay, as with the real command stack: the caller removes the group).
bool RegisterHarnexCommands();
// Removes the whole group "HARNEX" from the command stack.
void UnregisterHarnexCommands();
