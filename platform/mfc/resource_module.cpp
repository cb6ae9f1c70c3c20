// The current resource module, the extension modules whose resources are searched after it,
// and the parsed scripts of both.
#include "platform/mfc/resource_module.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <vector>

#include <afxwin.h>
#include <winbase.h>

namespace platform::mfc {
namespace {

struct Modules {
  HINSTANCE resource = nullptr;
  HINSTANCE instance = nullptr;
  std::vector<CDynLinkLibrary*> libraries;  // in creation order
  struct Parsed {
    const std::string* source = nullptr;
    size_t size = 0;
    ResourceScript script;
    std::string error;
  };
  std::map<HMODULE, Parsed> parsed;
};

Modules& M() {
  static Modules m;
  return m;
}

const ResourceScript* ScriptOf(HMODULE module) {
  const std::string* text = platform::ModuleResourceScript(module);
  if (!text) return nullptr;
  auto& p = M().parsed[module];
  if (p.source != text || p.size != text->size()) {
    p.source = text;
    p.size = text->size();
    if (!ParseResourceScript(*text, &p.script, &p.error)) {
      std::cerr << "resource script: " << p.error << "\n";
      p.script = ResourceScript{};
    } else {
      p.error.clear();
    }
  }
  return &p.script;
}

std::vector<HMODULE> SearchOrder() {
  std::vector<HMODULE> order;
  if (M().resource) order.push_back(M().resource);
  for (auto it = M().libraries.rbegin(); it != M().libraries.rend(); ++it) {
    order.push_back((*it)->m_hResource ? (*it)->m_hResource : (*it)->m_hModule);
  }
  if (M().instance) order.push_back(M().instance);
  return order;
}

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
  for (HMODULE m : SearchOrder()) {
    const ResourceScript* s = ScriptOf(m);
    if (!s) continue;
    auto it = s->dialogs.find(id);
    if (it != s->dialogs.end()) return &it->second;
  }
  return nullptr;
}

std::string ResourceScriptError(HMODULE module) {
  ScriptOf(module);
  auto it = M().parsed.find(module);
  return it == M().parsed.end() ? std::string() : it->second.error;
}

bool LookupResourceString(UINT id, std::wstring* out) {
  for (HMODULE m : SearchOrder()) {
    const ResourceScript* s = ScriptOf(m);
    if (!s) continue;
    auto it = s->strings.find(static_cast<int>(id));
    if (it != s->strings.end()) {
      *out = it->second;
      return true;
    }
  }
  return false;
}

}  // namespace platform::mfc

using platform::mfc::M;

HINSTANCE AfxGetResourceHandle() {
  return M().resource ? M().resource : M().instance;
}
void AfxSetResourceHandle(HINSTANCE h) {
  M().resource = h;
}
HINSTANCE AfxGetInstanceHandle() {
  return M().instance;
}
HINSTANCE AfxFindResourceHandle(LPCTSTR, LPCTSTR) {
  return AfxGetResourceHandle();
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
  state.bInitialized = TRUE;
  state.hModule = hModule;
  state.hResource = hModule;
  return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) {
  auto& libs = M().libraries;
  std::vector<CDynLinkLibrary*> doomed;
  for (auto* lib : libs) {
    if (lib->m_hModule == state.hModule) doomed.push_back(lib);
  }
  for (auto* lib : doomed) delete lib;
  if (M().resource == state.hModule) M().resource = nullptr;
  state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL)
    : CDynLinkLibrary(state.hModule, state.hResource) {}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource) {
  M().libraries.push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  std::erase(M().libraries, this);
}

namespace {
CWinApp*& TheApp() {
  static CWinApp* app = nullptr;
  return app;
}
}  // namespace

CWinApp::CWinApp(LPCTSTR) {
  TheApp() = this;
  m_hInstance = GetModuleHandleW(nullptr);
  M().instance = m_hInstance;
}
CWinApp* AfxGetApp() {
  return TheApp();
}
CWnd* AfxGetMainWnd() {
  return TheApp() ? TheApp()->m_pMainWnd : nullptr;
}
