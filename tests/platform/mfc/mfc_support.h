// Shared helpers of the MFC stand-in's tests: a test resource module and user actions.
#pragma once

#include <string>

#include <afxwin.h>
#include "platform/win/user_session.h"

namespace mfc_test {

// The resource script of the tests' own dialogs (ids 300...).
extern const char kTestScript[];

// Registers a module with kTestScript (or the given text) and makes it the resource module.
HMODULE UseTestResources(const std::string& script = kTestScript);

platform::UserAction Click(int control, int template_id = 0);
// The Enter key (the script's `enter`).
platform::UserAction Enter();
platform::UserAction Type(int control, const std::wstring& text);
platform::UserAction Choose(int control, const std::wstring& text);
platform::UserAction Rows(int control, std::vector<int> rows);
platform::UserAction Header(int control, int column);
platform::UserAction Menu(int control, const std::wstring& item);
platform::UserAction Answer(const std::wstring& word);
platform::UserAction Command(const std::wstring& name, int line = 0);

}  // namespace mfc_test
