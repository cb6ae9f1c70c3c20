// Veltra.arx, the maker's host add-in module: its two exports and the host program's hooks.
//
// Add-ins never link against this module: they find it in the process by its file name
// "Veltra.arx" (GetModuleHandleW) and look its exports up by name (GetProcAddress /
// ApiComn_GetProcAdrs). The typedefs below are the exact types to cast those addresses to.
#pragma once

#include <map>
#include <string>

#include <gepnt3d.h>

// Export "RQAddinGetIniFile": the path of the host configuration file (an INI file whose key
// "ｼｽﾃﾑ" in section "環境設定" names the system folder). The host program sets it when it starts
// (veltra::SetIniFile); before that, and after an empty setting, the result is an empty string,
// never null. The text stays valid until the next SetIniFile.
extern "C" const wchar_t* RQAddinGetIniFile();
typedef const wchar_t* (*RQAddinGetIniFileProc)();

// Export "RQAddin_perpendicular": the foot of the perpendicular from `pick` onto the line through
// the connection points `p1` and `p2` (the line, not the segment: a pick beyond an end gives a
// foot beyond that end). Returns 0 and writes `foot`; returns 1 and leaves `foot` unchanged when
// the two points coincide (closer than AcGeContext::gTol.equalPoint()), so that no line exists.
extern "C" int RQAddin_perpendicular(const AcGePoint3d& p1, const AcGePoint3d& p2,
                                     const AcGePoint3d& pick, AcGePoint3d& foot);
typedef int (*RQAddinPerpendicularProc)(const AcGePoint3d&, const AcGePoint3d&, const AcGePoint3d&,
                                        AcGePoint3d&);

namespace veltra {

// The module's file name as it appears in the process module table.
inline constexpr const wchar_t* kModuleName = L"Veltra.arx";

// Sets the path that RQAddinGetIniFile returns. Called by the host program at start.
void SetIniFile(const std::wstring& path);

// The module's export table, export name to address, for the host to register "Veltra.arx" in
// the process module table (platform::RegisterModule). Holds exactly the two exports above.
std::map<std::string, void*> ExportTable();

}  // namespace veltra
