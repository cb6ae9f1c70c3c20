// The process module table: the module images that the host has "loaded", their exports and
// their resource scripts.
#include <unistd.h>

#include <cwchar>
#include <memory>
#include <vector>

#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"
#include "platform/win/win_path.h"
#include <winbase.h>

namespace {

struct Module {
  HMODULE handle;
  std::wstring name;
  std::map<std::string, void*> exports;
  std::unique_ptr<std::string> resource_script;
};

std::vector<Module>& Modules() {
  static std::vector<Module> modules;
  return modules;
}

// Handles look like image base addresses; they are never dereferenced.
HMODULE MakeHandle(uintptr_t n) {
  return reinterpret_cast<HMODULE>(0x10000000 + n * 0x10000);
}
const HMODULE kProgramHandle = MakeHandle(0);

Module* Find(HMODULE handle) {
  for (Module& m : Modules())
    if (m.handle == handle) return &m;
  return nullptr;
}

std::wstring ProgramPath() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? platform::Utf8ToWide(std::string_view(buf, static_cast<size_t>(n))) : L"";
}

}  // namespace

namespace platform {

HMODULE RegisterModule(const std::wstring& name, std::map<std::string, void*> exports) {
  for (Module& m : Modules())
    if (EqualsNoCase(PathLeaf(m.name), PathLeaf(name))) return m.handle;
  static uintptr_t next = 1;
  Modules().push_back(Module{MakeHandle(next++), name, std::move(exports), nullptr});
  return Modules().back().handle;
}

bool UnregisterModule(HMODULE module) {
  return std::erase_if(Modules(), [module](const Module& m) { return m.handle == module; }) > 0;
}

void SetModuleResourceScript(HMODULE module, std::string rc_text) {
  if (Module* m = Find(module))
    m->resource_script = std::make_unique<std::string>(std::move(rc_text));
}

const std::string* ModuleResourceScript(HMODULE module) {
  Module* m = Find(module);
  return m ? m->resource_script.get() : nullptr;
}

}  // namespace platform

HMODULE GetModuleHandleW(LPCWSTR lpModuleName) {
  if (!lpModuleName) return kProgramHandle;
  std::wstring wanted(platform::PathLeaf(lpModuleName));
  if (wanted.find(L'.') == std::wstring::npos) wanted += L".dll";
  for (const Module& m : Modules()) {
    if (platform::EqualsNoCase(platform::PathLeaf(m.name), wanted)) {
      SetLastError(ERROR_SUCCESS);
      return m.handle;
    }
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  const Module* m = Find(hModule);
  if (!m) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // Exports by ordinal (a value below 0x10000 in place of a name) are not kept.
  if (reinterpret_cast<uintptr_t>(lpProcName) < 0x10000) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  auto it = m->exports.find(lpProcName);
  if (it == m->exports.end()) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  SetLastError(ERROR_SUCCESS);
  return reinterpret_cast<FARPROC>(it->second);
}

DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  std::wstring name;
  if (!hModule || hModule == kProgramHandle) {
    name = ProgramPath();
  } else if (const Module* m = Find(hModule)) {
    name = m->name;
  } else {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (!lpFilename || nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (name.size() >= nSize) {
    std::wmemcpy(lpFilename, name.data(), nSize - 1);
    lpFilename[nSize - 1] = L'\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  std::wmemcpy(lpFilename, name.data(), name.size());
  lpFilename[name.size()] = L'\0';
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(name.size());
}
