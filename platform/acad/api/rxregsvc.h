// The system registry and the dynamic linker: what an application reaches from its entry point.
#pragma once

#include <rxobject.h>

#define ACRX_DYNAMIC_LINKER L"DynamicLinker"
#define ACRX_COMMAND_DOCK L"ACAD_REGISTERED_COMMANDS"

// A dictionary of named service objects. Entries are owned by the registry.
class AcRxDictionary : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcRxDictionary);

 public:
  // The object under that key (exact, case-sensitive), or null.
  virtual AcRxObject* at(const ACHAR* key) const = 0;
};

// The process-wide registry holding ACRX_DYNAMIC_LINKER and ACRX_COMMAND_DOCK.
AcRxDictionary* acrxSysRegistry();

class AcRxDynamicLinker : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcRxDynamicLinker);

 public:
  // Allows the application to be unloaded (remembered per application id). Always true.
  bool unlockApplication(void* appId) const;
  bool lockApplication(void* appId) const;
  bool isApplicationLocked(const void* appId) const;
  // Declares the application able to work with several documents. Always true.
  bool registerAppMDIAware(void* appId) const;
  bool registerAppNotMDIAware(void* appId) const;
};

#define acrxDynamicLinker AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))

// The API version an application reports through its acrxGetApiVersion export.
#define ACRX_API_VERSION_MAJOR 20
#define ACRX_API_VERSION_MINOR 0
extern "C" int acrxGetApiVersion();

namespace platform::acad {
// What applications told the dynamic linker (for the host and tests).
bool IsApplicationMdiAware(const void* appId);
bool IsApplicationUnlocked(const void* appId);
// Forgets everything recorded for that application (the host calls it after an unload).
void ForgetApplication(const void* appId);
}  // namespace platform::acad
