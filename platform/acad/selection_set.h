// Selection sets (acedSSGet and friends in acedads.h) and the pick-first set of the editor.
#pragma once

#include <cstddef>
#include <vector>

#include <adsdef.h>
#include <dbid.h>

namespace platform::acad {

// The pick-first set that the user selected before the command (the scripted user's
// `preselect`); the host sets it before running a command and clears it afterwards.
// acedSSGet("I") and acedSSGetFirst read it; acedSSSetFirst replaces it.
void SetPickfirst(const std::vector<AcDbObjectId>& ids);
void ClearPickfirst();
const std::vector<AcDbObjectId>& Pickfirst();

// Selection sets not yet freed with acedSSFree (AutoCAD allows only 128 at a time, so a
// command that leaks them is a bug the host reports).
size_t OpenSelectionSetCount();
// Frees every selection set; for the host between sessions and for tests.
void FreeAllSelectionSets();

// A new selection set of these entities (in this order, duplicates removed) named in `ss`.
void NewSelectionSet(const std::vector<AcDbObjectId>& ids, ads_name ss);
// The members of a set, or null when `ss` names no open set.
std::vector<AcDbObjectId>* FindSelectionSet(const ads_name ss);

}  // namespace platform::acad
