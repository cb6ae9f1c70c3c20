// VuRida.dll, the maker's drawing-support library: layer names and the VuRida_ functions.
//
// The route tools' drawing conventions: connection points are POINT entities on the layer
// RQCONECT_LAYER inside a route element's block; notes and table texts go on RQANNO_LAYER, their
// lines on RQTABLE_LAYER. Functions return 0 for success unless stated and never throw.
#pragma once

#include <windows.h>

#include <afx.h>
#include <afxcoll.h>
#include <dbid.h>
#include <gepnt3d.h>

#include <AttributeData.h>
#include <ListCtrlEx.h>
#include <RootComn.h>

class AcDbEntity;

// "RQ_CONNECT", "RQ_ANNO" and "RQ_TABLE".
extern const wchar_t* const RQCONECT_LAYER;
extern const wchar_t* const RQANNO_LAYER;
extern const wchar_t* const RQTABLE_LAYER;

// Entity types that VuRida_locate takes, listed in its `types` argument.
enum VuRidaEntityType {
  kVuRidaLine = 1,
  kVuRidaPolyline = 2,
  kVuRidaBlockReference = 3,
  kVuRidaText = 4,
  kVuRidaPoint = 5,
};

// A further test of a picked entity: non-zero accepts it.
typedef int (*VuRidaLocateFilter)(const AcDbObjectId& id, void* data);

// Asks the user to pick one entity with `prompt` (acedEntSel) and gives its id in `ids` (emptied
// first) and, when `points` is not null, the pick point in `points`. The entity must be of one of
// the `types` (null or empty: any type) and pass `filter` when one is given; otherwise, and when
// the pick hits nothing, the prompt is asked again when `retry` is non-zero, else RTREJ is
// returned. `multiple` must be 0 (one pick); `highlight` is accepted for compatibility and has no
// effect in a headless host. Result RTNORM with one id, RTNONE for an empty response, RTCAN when
// cancelled, RTERROR for unusable arguments.
// When the user chose entities before the command (the pick-first selection), nothing is asked:
// the result is RTNORM with those of them that are of the `types` and pass `filter`, in their
// selection order, which may be none or several; the selection is used up (cleared), so that
// a caller who asks again gets the prompt.
int VuRida_locate(const wchar_t* prompt, AcDbObjectIdArray& ids, const CUIntArray* types,
                  int multiple, int retry, int highlight, VuRidaLocateFilter filter, void* data,
                  AcGePoint3dArray* points);

// The block name of block reference `id` into `name`. Result 0; 1 when `id` is no block
// reference or cannot be opened (`name` then empty). The buffer form copies at most 255
// characters and the terminator.
int VuRida_GetIDByBlockName(AcDbObjectId id, CString& name);
int VuRida_GetIDByBlockName(AcDbObjectId id, wchar_t* name);

// The connection points of block reference `id`: the POINT entities on layer `layer` (compared
// without regard to case, as layer names are) inside its block definition, in their stored
// order, transformed by the reference (position, rotation, scale). `points` is emptied first;
// `pointIds`, when not null, gets the ids of those POINT entities in the same order. Result 0
// when at least one point was found; 1 when none; -1 when `id` is no block reference or cannot
// be opened.
int VuRida_GetConnectPoint(AcDbObjectId id, AcGePoint3dArray& points, const wchar_t* layer,
                           AcDbObjectIdArray* pointIds);

// Appends `entity` (not yet in a database, owned by the caller) to the current space of the
// working drawing and gives its id. On success the database owns it and it stays open for write:
// the caller closes it. On failure (result non-zero, the host's error status) the caller still
// owns it.
int VuRida_addEntity(AcDbEntity* entity, AcDbObjectId& id);

// Makes sure the working drawing has the layer `name` (new layers get the default colour 7 and
// linetype "Continuous"); `layerId`, when not null, gets its id. Result 0 when the layer exists
// afterwards.
int VuRida_createLayer(const wchar_t* name, AcDbObjectId* layerId);

// The working drawing's global scale factor: its header variable $DIMSCALE, or 1.0 when there is
// no working drawing or the value is not positive. Always positive.
double VuRida_GetGlobalScale();

// Reads the records of the text file `path`, one record per line, in file order. The file may
// be UTF-16LE or UTF-8 with a byte-order mark, plain UTF-8, or code page 932. Blank lines (empty
// or only blanks, full-width blanks and tabs) are skipped, and so are the first `skipLines` lines
// of the file and lines beginning with `commentPrefix` (when not null or empty). The record-array
// form adds one new CStringArray* per record to `records`, holding the record's fields split at
// `separator`; the caller frees them with VuRida_RemoveAllFree. A separator ends the field before
// it: "A|B|" and "A|B" both give A, B; "A||B" gives A, "", B; a line without separator is one
// field. With `trim` non-zero every field loses its surrounding blanks. The string-array form adds
// each record whole (line end removed; trimmed when `trim`). Result 0 when the file was read; 1
// when it cannot be read (nothing added), -1 for an empty separator.
int VuRida_ReadConfigFile(const wchar_t* path, CPtrArray& records, int skipLines,
                          const wchar_t* commentPrefix, const wchar_t* separator, int trim);
int VuRida_ReadConfigFile(const wchar_t* path, CStringArray& records, int skipLines,
                          const wchar_t* commentPrefix, const wchar_t* separator, int trim);

// Deletes every CStringArray* of `records` and empties it.
void VuRida_RemoveAllFree(CPtrArray& records);
