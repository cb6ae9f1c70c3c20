// Dravik.dll: module exports, configuration values and commands sent to the command line.
#include <string>

#include <acdocman.h>
#include <windows.h>

#include <ApiComn.h>

FARPROC ApiComn_GetProcAdrs(HMODULE module, const char* name) {
  if (module == nullptr || name == nullptr) return nullptr;
  return GetProcAddress(module, name);
}

FARPROC ApiComn_GetProcAdrs(HMODULE module, const wchar_t* name) {
  if (name == nullptr) return nullptr;
  // Export names are plain ASCII; a wide name is narrowed character by character.
  std::string narrow;
  for (const wchar_t* c = name; *c != L'\0'; ++c) {
    if (*c > 0x7F) return nullptr;
    narrow += static_cast<char>(*c);
  }
  return ApiComn_GetProcAdrs(module, narrow.c_str());
}

int ApiComn_GetEnv(CString& value, int mode, const wchar_t* file, const wchar_t* section,
                   const wchar_t* key) {
  value.Empty();
  if (key == nullptr) return -1;
  switch (mode) {
    case 1: {
      if (file == nullptr || section == nullptr) return 1;
      wchar_t buffer[1024] = {};
      GetPrivateProfileStringW(section, key, L"", buffer, 1024, file);
      value = buffer;
      return value.IsEmpty() ? 1 : 0;
    }
    case 0: {
      const DWORD size = GetEnvironmentVariableW(key, nullptr, 0);
      if (size > 0) {
        std::wstring text(size, L'\0');
        const DWORD length = GetEnvironmentVariableW(key, text.data(), size);
        if (length < size) value = text.substr(0, length).c_str();
      }
      return value.IsEmpty() ? 1 : 0;
    }
    default:
      return -1;
  }
}

int ApiComn_sendCommand(const wchar_t* command, int activate, int wrapUpInactiveDoc, int echo) {
  if (command == nullptr || *command == L'\0') return 1;
  AcApDocument* document = acDocManager->curDocument();
  if (document == nullptr) return 1;
  std::wstring text = command;
  if (text.back() != L' ' && text.back() != L'\n') text += L'\n';
  const Acad::ErrorStatus es = acDocManager->sendStringToExecute(
      document, text.c_str(), activate != 0, wrapUpInactiveDoc != 0, echo != 0);
  return es == Acad::eOk ? 0 : static_cast<int>(es);
}
