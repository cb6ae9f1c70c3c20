// The command stack: groups of commands in registration order, looked up without regard to case.
#include <accmd.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/acad/dbstub.h"

ACRX_DEFINE_MEMBERS(AcEdCommand, AcRxObject, L"")
ACRX_DEFINE_MEMBERS(AcEdCommandIterator, AcRxObject, L"")
ACRX_DEFINE_MEMBERS(AcEdCommandStack, AcRxObject, L"")

using platform::acad::internal::SameName;

namespace {

struct Group {
  std::wstring name;
  std::vector<std::unique_ptr<AcEdCommand>> commands;
};

// One command stack per process; the registry holds its only instance.
std::vector<Group>& Groups() {
  static std::vector<Group> groups;
  return groups;
}

Group* FindGroup(const ACHAR* name) {
  for (Group& g : Groups())
    if (SameName(g.name.c_str(), name)) return &g;
  return nullptr;
}

}  // namespace

const ACHAR* AcEdCommand::commandGroup() const {
  return group_.c_str();
}
const ACHAR* AcEdCommand::globalName() const {
  return global_.c_str();
}
const ACHAR* AcEdCommand::localName() const {
  return local_.c_str();
}
Adesk::Int32 AcEdCommand::commandFlags() const {
  return flags_;
}
AcRxFunctionPtr AcEdCommand::functionAddr() const {
  return function_;
}
AcEdUIContext* AcEdCommand::UIContext() const {
  return ui_context_;
}
int AcEdCommand::functionCode() const {
  return fcode_;
}
HINSTANCE AcEdCommand::resourceHandle() const {
  return resource_;
}

Acad::ErrorStatus AcEdCommandStack::addCommand(const ACHAR* cmdGroupName,
                                               const ACHAR* cmdGlobalName,
                                               const ACHAR* cmdLocalName, Adesk::Int32 commandFlags,
                                               AcRxFunctionPtr functionAddr,
                                               AcEdUIContext* UIContext, int fcode,
                                               HINSTANCE hResourceHandle, AcEdCommand** cmdPtrRet) {
  if (cmdPtrRet != nullptr) *cmdPtrRet = nullptr;
  if (cmdGroupName == nullptr || *cmdGroupName == 0 || cmdGlobalName == nullptr ||
      *cmdGlobalName == 0 || functionAddr == nullptr)
    return Acad::eInvalidInput;
  if (cmdLocalName == nullptr || *cmdLocalName == 0) cmdLocalName = cmdGlobalName;
  Group* group = FindGroup(cmdGroupName);
  if (group != nullptr) {
    for (const auto& cmd : group->commands)
      if (SameName(cmd->globalName(), cmdGlobalName) || SameName(cmd->localName(), cmdLocalName))
        return Acad::eDuplicateKey;
  } else {
    Groups().push_back(Group{cmdGroupName, {}});
    group = &Groups().back();
  }
  auto cmd = std::unique_ptr<AcEdCommand>(new AcEdCommand);
  cmd->group_ = group->name;
  cmd->global_ = cmdGlobalName;
  cmd->local_ = cmdLocalName;
  cmd->flags_ = commandFlags;
  cmd->function_ = functionAddr;
  cmd->ui_context_ = UIContext;
  cmd->fcode_ = fcode;
  cmd->resource_ = hResourceHandle;
  if (cmdPtrRet != nullptr) *cmdPtrRet = cmd.get();
  group->commands.push_back(std::move(cmd));
  return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const ACHAR* groupName) {
  auto& groups = Groups();
  for (auto it = groups.begin(); it != groups.end(); ++it) {
    if (SameName(it->name.c_str(), groupName)) {
      groups.erase(it);
      return Acad::eOk;
    }
  }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const ACHAR* cmdGroupName,
                                              const ACHAR* cmdGlobalName) {
  Group* group = FindGroup(cmdGroupName);
  if (group == nullptr) return Acad::eKeyNotFound;
  for (auto it = group->commands.begin(); it != group->commands.end(); ++it) {
    if (SameName((*it)->globalName(), cmdGlobalName)) {
      group->commands.erase(it);
      return Acad::eOk;
    }
  }
  return Acad::eKeyNotFound;
}

namespace {

AcEdCommand* Lookup(const ACHAR* name, const ACHAR* groupName, bool local) {
  if (name == nullptr) return nullptr;
  auto& groups = Groups();
  // The group created last is searched first, as the command stack's top is.
  for (auto g = groups.rbegin(); g != groups.rend(); ++g) {
    if (groupName != nullptr && !SameName(g->name.c_str(), groupName)) continue;
    for (const auto& cmd : g->commands)
      if (SameName(local ? cmd->localName() : cmd->globalName(), name)) return cmd.get();
  }
  return nullptr;
}

}  // namespace

AcEdCommand* AcEdCommandStack::lookupGlobalCmd(const ACHAR* globalName,
                                               const ACHAR* groupName) const {
  return Lookup(globalName, groupName, false);
}

AcEdCommand* AcEdCommandStack::lookupLocalCmd(const ACHAR* localName,
                                              const ACHAR* groupName) const {
  return Lookup(localName, groupName, true);
}

AcEdCommandIterator* AcEdCommandStack::iterator() const {
  auto* it = new AcEdCommandIterator;
  // Skip leading empty groups.
  while (it->group_ < Groups().size() && Groups()[it->group_].commands.empty()) ++it->group_;
  return it;
}

int AcEdCommandStack::groupCount() const {
  return static_cast<int>(Groups().size());
}

const ACHAR* AcEdCommandStack::groupNameAt(int index) const {
  if (index < 0 || index >= groupCount()) return nullptr;
  return Groups()[index].name.c_str();
}

bool AcEdCommandIterator::done() const {
  return group_ >= Groups().size();
}

bool AcEdCommandIterator::next() {
  if (done()) return false;
  if (++command_ >= Groups()[group_].commands.size()) {
    command_ = 0;
    ++group_;
    while (group_ < Groups().size() && Groups()[group_].commands.empty()) ++group_;
  }
  return !done();
}

const AcEdCommand* AcEdCommandIterator::command() const {
  return done() ? nullptr : Groups()[group_].commands[command_].get();
}

const ACHAR* AcEdCommandIterator::commandGroup() const {
  return done() ? nullptr : Groups()[group_].name.c_str();
}
