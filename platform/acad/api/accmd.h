// The command stack: command groups and their commands, looked up by name as AutoCAD does.
#pragma once

#include <windef.h>

#include <string>

#include <rxregsvc.h>

#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001
#define ACRX_CMD_USEPICKSET 0x00000002
#define ACRX_CMD_REDRAW 0x00000004
#define ACRX_CMD_NOPERSPECTIVE 0x00000008
#define ACRX_CMD_NOMULTIPLE 0x00000010
#define ACRX_CMD_NOTILEMODE 0x00000020
#define ACRX_CMD_NOPAPERSPACE 0x00000040
#define ACRX_CMD_SESSION 0x00200000

class AcEdUIContext;

// One registered command. Owned by the command stack; valid until its group or it is removed.
class AcEdCommand : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcEdCommand);

 public:
  const ACHAR* commandGroup() const;
  const ACHAR* globalName() const;
  const ACHAR* localName() const;
  Adesk::Int32 commandFlags() const;
  AcRxFunctionPtr functionAddr() const;
  AcEdUIContext* UIContext() const;
  int functionCode() const;
  HINSTANCE resourceHandle() const;

 private:
  friend class AcEdCommandStack;
  AcEdCommand() = default;
  std::wstring group_, global_, local_;
  Adesk::Int32 flags_ = 0;
  AcRxFunctionPtr function_ = nullptr;
  AcEdUIContext* ui_context_ = nullptr;
  int fcode_ = -1;
  HINSTANCE resource_ = nullptr;
};

// Walks every command, group by group in registration order and in each group in the order the
// commands were added.
class AcEdCommandIterator : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcEdCommandIterator);

 public:
  bool done() const;
  bool next();
  const AcEdCommand* command() const;
  const ACHAR* commandGroup() const;

 private:
  friend class AcEdCommandStack;
  AcEdCommandIterator() = default;
  size_t group_ = 0;
  size_t command_ = 0;
};

class AcEdCommandStack : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcEdCommandStack);

 public:
  // Adds a command to a group (created on first use). Names are compared without regard to case.
  // eDuplicateKey when the group already has that global name (or that local name); the command
  // is then not added. eInvalidInput for a null or empty name or a null function. The optional
  // retCmd receives the new command.
  Acad::ErrorStatus addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
                               const ACHAR* cmdLocalName, Adesk::Int32 commandFlags,
                               AcRxFunctionPtr functionAddr, AcEdUIContext* UIContext = nullptr,
                               int fcode = -1, HINSTANCE hResourceHandle = nullptr,
                               AcEdCommand** cmdPtrRet = nullptr);
  // eKeyNotFound when there is no such group.
  Acad::ErrorStatus removeGroup(const ACHAR* groupName);
  // eKeyNotFound when the group or the command (by global name) is missing.
  Acad::ErrorStatus removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName);
  // The command with that name, searched in the most recently created group first (or in the
  // named group only); null when there is none.
  AcEdCommand* lookupGlobalCmd(const ACHAR* globalName, const ACHAR* groupName = nullptr) const;
  AcEdCommand* lookupLocalCmd(const ACHAR* localName, const ACHAR* groupName = nullptr) const;
  // A new iterator over all commands; the caller deletes it.
  AcEdCommandIterator* iterator() const;

  // Group names in registration order (for listings).
  int groupCount() const;
  const ACHAR* groupNameAt(int index) const;

  // There is one stack per process, the registry's; commands are process-wide.
  AcEdCommandStack() = default;
};

#define acedRegCmds AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK))
