// Module images and their loading: register, attach, initialise; and the way back.
#include "host/session/module_loader.h"

#include <rxobject.h>
#include <rxregsvc.h>

#include <cwctype>

#ifndef DLL_PROCESS_DETACH
#define DLL_PROCESS_DETACH 0
#endif
#ifndef DLL_PROCESS_ATTACH
#define DLL_PROCESS_ATTACH 1
#endif

namespace host {
namespace {

using DllMainProc = BOOL (*)(HINSTANCE, DWORD, LPVOID);
using EntryPointProc = AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*);

EntryPointProc EntryPointOf(HMODULE module) {
  return reinterpret_cast<EntryPointProc>(GetProcAddress(module, "acrxEntryPoint"));
}

// The application id that AutoCAD passes to acrxEntryPoint identifies the loaded application;
// the module handle is unique per loaded module, so it serves.
void* AppIdOf(HMODULE module) {
  return module;
}

}  // namespace

bool SameModuleName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  }
  return true;
}

ModuleLoader::~ModuleLoader() {
  UnloadAll();
}

void ModuleLoader::AddImage(ModuleImage image) {
  for (auto& existing : images_) {
    if (SameModuleName(existing.name, image.name)) {
      existing = std::move(image);
      return;
    }
  }
  images_.push_back(std::move(image));
}

const ModuleImage* ModuleLoader::FindImage(const std::wstring& name) const {
  for (const auto& image : images_) {
    if (SameModuleName(image.name, name)) return &image;
  }
  return nullptr;
}

bool ModuleLoader::IsLoaded(const std::wstring& name) const {
  for (const auto& m : loaded_) {
    if (SameModuleName(m.name, name)) return true;
  }
  return false;
}

std::vector<std::wstring> ModuleLoader::Loaded() const {
  std::vector<std::wstring> names;
  for (const auto& m : loaded_) names.push_back(m.name);
  return names;
}

ModuleLoader::LoadResult ModuleLoader::Load(const std::wstring& name) {
  if (IsLoaded(name)) return LoadResult::kAlreadyLoaded;
  const ModuleImage* image = FindImage(name);
  if (image == nullptr) return LoadResult::kNoImage;

  LoadedModule module;
  module.name = image->name;
  module.handle = platform::RegisterModule(image->name, image->exports);
  if (!image->resource_script.empty()) {
    platform::SetModuleResourceScript(module.handle, image->resource_script);
  }
  if (auto dll_main = reinterpret_cast<DllMainProc>(GetProcAddress(module.handle, "DllMain"))) {
    dll_main(reinterpret_cast<HINSTANCE>(module.handle), DLL_PROCESS_ATTACH, nullptr);
  }
  EntryPointProc entry = EntryPointOf(module.handle);
  module.application = entry != nullptr;
  if (entry != nullptr && entry(AcRx::kInitAppMsg, AppIdOf(module.handle)) != AcRx::kRetOK) {
    Detach(module);
    return LoadResult::kRefused;
  }
  loaded_.push_back(module);
  return LoadResult::kLoaded;
}

bool ModuleLoader::Unload(const std::wstring& name) {
  for (auto it = loaded_.begin(); it != loaded_.end(); ++it) {
    if (!SameModuleName(it->name, name)) continue;
    if (it->application) {
      EntryPointProc entry = EntryPointOf(it->handle);
      if (entry != nullptr && entry(AcRx::kUnloadAppMsg, AppIdOf(it->handle)) != AcRx::kRetOK) {
        return false;
      }
    }
    const LoadedModule module = *it;
    loaded_.erase(it);
    Detach(module);
    return true;
  }
  return false;
}

void ModuleLoader::UnloadAll() {
  while (!loaded_.empty()) {
    const std::wstring name = loaded_.back().name;
    if (!Unload(name)) {
      // An application that will not unload is detached regardless: the process ends.
      const LoadedModule module = loaded_.back();
      loaded_.pop_back();
      Detach(module);
    }
  }
}

void ModuleLoader::Detach(const LoadedModule& module) {
  if (auto dll_main = reinterpret_cast<DllMainProc>(GetProcAddress(module.handle, "DllMain"))) {
    dll_main(reinterpret_cast<HINSTANCE>(module.handle), DLL_PROCESS_DETACH, nullptr);
  }
  platform::acad::ForgetApplication(AppIdOf(module.handle));
  platform::UnregisterModule(module.handle);
}

}  // namespace host
