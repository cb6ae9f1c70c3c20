// Dravik.dll, the maker's utility library: its plain functions (prefix ApiComn_).
//
// Every function returns 0 for success unless its comment says otherwise, and never throws.
// Strings are wide (CString / const wchar_t*). Entities passed in stay owned by the caller.
#pragma once

#include <windows.h>

#include <adsdef.h>
#include <afx.h>
#include <afxcoll.h>
#include <dbid.h>
#include <gepnt3d.h>

class AcDbBlockReference;
class AcDbEntity;
class AcDbExtents;
class AcDbObject;

// ---- Modules and configuration -------------------------------------------------------------

// The address of the export `name` of `module`, or null when the module or the export is
// missing (GetLastError tells which, as GetProcAddress does).
FARPROC ApiComn_GetProcAdrs(HMODULE module, const char* name);
FARPROC ApiComn_GetProcAdrs(HMODULE module, const wchar_t* name);

// Reads a setting into `value`. Modes:
//   1  the value of `key` in `section` of the INI file `file` (GetPrivateProfileStringW, up to
//      1023 characters); result 0 when the value is not empty, 1 when it is empty or missing.
//   0  the process environment variable `key` (`file` and `section` are not used); result 0
//      when it is set and not empty, 1 otherwise.
//   any other mode: result -1.
// `value` is emptied first whatever the result.
int ApiComn_GetEnv(CString& value, int mode, const wchar_t* file, const wchar_t* section,
                   const wchar_t* key);

// Queues `command` to run on the command line of the current document after the caller has
// returned, as if typed (AcApDocManager::sendStringToExecute). The flags are passed on as
// sendStringToExecute's activate, wrapUpInactiveDoc and echo. A line end is added unless the
// text already ends with a blank or a line end. Result 1 without a current document or with an
// empty command; nothing runs now.
int ApiComn_sendCommand(const wchar_t* command, int activate, int wrapUpInactiveDoc, int echo);

// ---- String lists as extended entity data ------------------------------------------------
//
// A list is stored as the XData of one application: the 1001 group with the application name,
// then one 1000 group per list item, in order. Any text round-trips (empty strings, "|", "!",
// Japanese). The host keeps at most 16 KiB of XData per entity; a write that would exceed it is
// refused and the entity keeps its old XData.

// Reads the strings of application `app` of entity `id` into `list` (emptied first unless
// `append` is non-zero). Result 0 when the entity has XData of that application, 1 when it has
// none, -1 when the entity cannot be opened for read.
int ApiComn_extractAttributesArrayID(AcDbObjectId id, const wchar_t* app, CStringArray& list,
                                     int append);
// The same on an entity the caller has open (for read or write); `list` is emptied first.
int ApiComn_extractAttributesArray(AcDbObject* object, const wchar_t* app, CStringArray& list);

// Writes `list` as the XData of application `app` of entity `id`, registering the application
// in the drawing when needed. With `replace` non-zero the application's XData becomes exactly
// the list; with 0 the list is added after the strings already there. An empty result removes
// the application's XData, as the host does with an application without data, so it then reads
// as none. Result 0 on success; -1 when the entity cannot be opened for write; the host's error
// status (e.g. eXdataSizeExceeded) when it refuses the XData, the old XData then kept.
int ApiComn_appendAttributesArray(AcDbObjectId id, const wchar_t* app, const CStringArray& list,
                                  int replace);
// The same on an entity the caller has open for write (it stays open): several lists of one
// entity written with one open and one notification of its change, at its close. -1 when `object`
// is null.
int ApiComn_appendAttributesArray(AcDbObject* object, const wchar_t* app, const CStringArray& list,
                                  int replace);
// Makes each of the `count` lists the whole XData of the application of the same index, on an
// entity the caller has open for write (it stays open), registering the applications when needed:
// one change of the entity's XData, taken or refused whole (16 KiB for all its XData together).
// Result as for ApiComn_appendAttributesArray with `replace`; -1 when `object` is null, `count` is
// not positive or an application name is empty.
int ApiComn_replaceAttributesArrays(AcDbObject* object, const wchar_t* const* apps,
                                    const CStringArray* const* lists, int count);

// Removes the XData of application `app` from entity `id`. Result 0 when the entity has none of
// it afterwards (also when it had none), -1 when it cannot be opened for write.
int ApiComn_removeXData(AcDbObjectId id, const wchar_t* app);

// ---- Selection sets, numbers, angles -----------------------------------------------------

// Writes the number of entities of selection set `ss` into `length`. Result 0, or RTERROR (and
// `length` 0) for a set that does not exist.
int spedSSLength(const ads_name ss, long* length);

// The decimal value of `text`: leading blanks are skipped, then an optional sign, digits with an
// optional decimal point and an optional exponent are read as far as they go, the rest is
// ignored ("12abc" gives 12, "1.5e2m" 150). Text that does not begin with a number gives 0, and
// so does null. Only decimal notation is read: no hexadecimal, "inf" or "nan".
double ApiComn_atof(const wchar_t* text);

// Degrees to radians and radians to degrees.
double ApiComn_ConvToRadian(double degrees);
double ApiComn_ConvToAngle(double radians);

// ---- Entities -------------------------------------------------------------------------------

// The corners of the geometric extents of `entity` (open for read or write). Result 0, or the
// host's error status when the entity has no extents (it is then unchanged).
int ApiComn_GetEntityRang(AcDbEntity* entity, AcGePoint3d& minPoint, AcGePoint3d& maxPoint);
int ApiComn_GetEntityRang(AcDbEntity* entity, AcDbExtents& extents);

// The text height and width factor of the working drawing's current text style, and setting
// them. Text measured with that style afterwards uses them; callers restore the old values when
// they are done. Result 0, -1 without a working drawing or current style.
int ApiComn_GetTextStyle(double& textSize, double& widthFactor);
int ApiComn_SetTextStyle(double textSize, double widthFactor);

// Turns the prefix in `name` into the first block name of the working drawing that is not used:
// the prefix followed by a number of `digits` digits, counting from 1 (PXNT0001, PXNT0002,
// ...). The buffer must hold the prefix, the digits and the terminator. Result 0, 1 when every
// number is taken or the arguments are unusable (the buffer then unchanged).
int ApiComn_SpaceBlockName(wchar_t* name, int digits);
int ApiComn_SpaceBlockName(CString& name, int digits);

// A new block reference of the block `blockName` of the working drawing, at `position` with
// `rotation` (radians) and the three scale factors, not added to any drawing: the caller owns it
// (appends it somewhere, or deletes it). Result 0, 1 when the block does not exist (the output
// then null).
int ApiComn_CreateInsert(AcDbBlockReference*& reference, const wchar_t* blockName,
                         const AcGePoint3d& position, double rotation, double xScale, double yScale,
                         double zScale);
int ApiComn_CreateInsert(AcDbEntity*& reference, const wchar_t* blockName,
                         const AcGePoint3d& position, double rotation, double xScale, double yScale,
                         double zScale);
