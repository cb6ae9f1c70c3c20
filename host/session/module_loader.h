// Module images and their loading: what ARXLOAD and ARXUNLOAD do in the simulated host.
//
// A module image stands for a DLL file on disk: a file name ("Harnex.arx"), its export table and
// the resource script embedded in it. Loading registers it in the process module table, calls
// its DLL entry function ("DllMain") with DLL_PROCESS_ATTACH and then, for an ObjectARX
// application, its "acrxEntryPoint" with kInitAppMsg. An application that answers kRetError is
// unloaded again at once: detached and removed from the process. An image without
// "acrxEntryPoint" is a plain DLL: it is only registered and attached.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace host {

struct ModuleImage {
  std::wstring name;                     // file name, e.g. "Harnex.arx"
  std::map<std::string, void*> exports;  // export name to address
  std::string resource_script;           // .rc text (UTF-8) carried by the image; may be empty
};

class ModuleLoader {
 public:
  enum class LoadResult {
    kLoaded,         // registered, attached and (for an application) initialised
    kAlreadyLoaded,  // nothing done
    kNoImage,        // the host knows no image of that name
    kRefused,        // the application answered kRetError; it is not in the process
  };

  ModuleLoader() = default;
  // Unloads whatever is still loaded, last loaded first.
  ~ModuleLoader();
  ModuleLoader(const ModuleLoader&) = delete;
  ModuleLoader& operator=(const ModuleLoader&) = delete;

  // Makes an image loadable; replaces an image of the same name (without regard to case).
  void AddImage(ModuleImage image);
  // The image of that name, or null.
  const ModuleImage* FindImage(const std::wstring& name) const;

  LoadResult Load(const std::wstring& name);
  // Sends kUnloadAppMsg (applications), detaches and unregisters. False when it is not loaded or
  // the application refused to unload (it then stays loaded, as AutoCAD keeps it).
  bool Unload(const std::wstring& name);
  // Unloads every module, last loaded first.
  void UnloadAll();

  bool IsLoaded(const std::wstring& name) const;
  // File names of the loaded modules, in load order.
  std::vector<std::wstring> Loaded() const;

 private:
  struct LoadedModule {
    std::wstring name;
    HMODULE handle = nullptr;
    bool application = false;
  };
  void Detach(const LoadedModule& module);

  std::vector<ModuleImage> images_;
  std::vector<LoadedModule> loaded_;
};

// Name comparison as Windows compares file names.
bool SameModuleName(const std::wstring& a, const std::wstring& b);

}  // namespace host
