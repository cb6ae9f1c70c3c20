// The system registry with its two services, and what the dynamic linker records per application.
#include <rxregsvc.h>

#include <map>
#include <string>

#include <accmd.h>

ACRX_DEFINE_MEMBERS(AcRxDictionary, AcRxObject, L"")
ACRX_DEFINE_MEMBERS(AcRxDynamicLinker, AcRxObject, L"")

namespace {

struct AppRecord {
  bool mdi_aware = false;
  bool unlocked = false;
};

std::map<const void*, AppRecord>& Apps() {
  static std::map<const void*, AppRecord> apps;
  return apps;
}

class SystemRegistry : public AcRxDictionary {
 public:
  AcRxObject* at(const ACHAR* key) const override {
    if (key == nullptr) return nullptr;
    std::wstring k = key;
    if (k == ACRX_DYNAMIC_LINKER) return linker_;
    if (k == ACRX_COMMAND_DOCK) return commands_;
    return nullptr;
  }
  AcRxDynamicLinker* linker_ = nullptr;
  AcEdCommandStack* commands_ = nullptr;
};

}  // namespace

AcRxDictionary* acrxSysRegistry() {
  // Built once and kept for the life of the process, as the host's registry is.
  static SystemRegistry* registry = [] {
    auto* r = new SystemRegistry;
    r->linker_ = new AcRxDynamicLinker;
    r->commands_ = new AcEdCommandStack;
    return r;
  }();
  return registry;
}

bool AcRxDynamicLinker::unlockApplication(void* appId) const {
  Apps()[appId].unlocked = true;
  return true;
}

bool AcRxDynamicLinker::lockApplication(void* appId) const {
  Apps()[appId].unlocked = false;
  return true;
}

bool AcRxDynamicLinker::isApplicationLocked(const void* appId) const {
  auto it = Apps().find(appId);
  return it == Apps().end() || !it->second.unlocked;
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) const {
  Apps()[appId].mdi_aware = true;
  return true;
}

bool AcRxDynamicLinker::registerAppNotMDIAware(void* appId) const {
  Apps()[appId].mdi_aware = false;
  return true;
}

extern "C" int acrxGetApiVersion() {
  return (ACRX_API_VERSION_MAJOR << 16) | ACRX_API_VERSION_MINOR;
}

namespace platform::acad {

bool IsApplicationMdiAware(const void* appId) {
  auto it = Apps().find(appId);
  return it != Apps().end() && it->second.mdi_aware;
}

bool IsApplicationUnlocked(const void* appId) {
  auto it = Apps().find(appId);
  return it != Apps().end() && it->second.unlocked;
}

void ForgetApplication(const void* appId) {
  Apps().erase(appId);
}

}  // namespace platform::acad
