// The editor functions of the ADS layer: prompts, entity picks, selection sets, system variables,
// the Esc check of long loops and the raw input of drags.
//
// Every function here that waits for the user prints its prompt through the user session
// (platform/win/user_session.h) and pulls the scripted user's actions:
//
//   * Echo. A typed answer is shown after the prompt and ends the line ("12\n"); a pick, a
//     pointed point or an empty response (Enter) shows nothing but ends the line ("\n"); Esc
//     shows "*キャンセル*" on a line of its own ("\n*キャンセル*\n") and the call returns RTCAN.
//   * Window actions that arrive while a prompt waits go to the modeless windows
//     (platform::DeliverWindowAction) and the prompt keeps waiting; when a window has asked the
//     command line to cancel (platform::RequestCancel), the prompt ends with RTCAN and the
//     cancel echo. A window action that no window takes stops the session as a mismatch.
//   * An action that cannot answer the prompt (a command, an answer for a box, a `pick` at a
//     point prompt, ...) stops the session with kExitScriptMismatch; the call returns RTCAN.
//     The end of the input, and a stopped session, also give RTCAN (no echo: the user did
//     nothing).
//   * Typed text that does not parse for the prompt's kind (a point "X,Y[,Z]" or "@DX,DY[,DZ]"
//     relative to the base point, an integer, a real) shows AutoCAD's complaint and asks again.
//   * A NULL prompt prints nothing, except for the entity and object selections, which show
//     AutoCAD's default "\nオブジェクトを選択: ".
#pragma once

#include <cstddef>

#include <adesk.h>
#include <adsdef.h>

// The options of the next prompt (RSG_* bits) and its keywords, separated by blanks, with the
// capital letters giving the shortest abbreviation the user may type. Applies to the next
// acedGet* call only. Returns RTNORM.
int acedInitGet(int val, const ACHAR* kwl);
// The keyword of the last call that returned RTKWORD. RTNORM, or RTERROR when there is none
// or it does not fit into `bufsize` characters.
int acedGetInput(ACHAR* str, size_t bufsize);

// A point: RTNORM with the point in `result`; RTNONE for Enter; RTKWORD for a keyword of
// acedInitGet; RTCAN as above. `pt` (may be NULL) is the base point of relative typed input.
// Answered by `point`, `pickat` (the point pointed at) and typed points.
int acedGetPoint(const ads_point pt, const ACHAR* prompt, ads_point result);
// The other corner of a rectangle from `pt` (required); otherwise as acedGetPoint.
int acedGetCorner(const ads_point pt, const ACHAR* prompt, ads_point result);

// A line of text. As in AutoCAD, Enter gives RTNORM with an empty string. `cronly` is accepted
// and ignored: a scripted answer is always a whole line. RTERROR when the answer does not fit
// into `bufsize` characters (including the terminator).
int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result, size_t bufsize);
// The classic form without a size assumes AutoCAD's historic buffer of 133 characters.
int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result);

// A 16-bit integer or a real number: RTNORM, RTNONE for Enter, RTKWORD, RTCAN.
int acedGetInt(const ACHAR* prompt, int* result);
int acedGetReal(const ACHAR* prompt, ads_real* result);
// One of the keywords of acedInitGet: RTNORM with the full keyword, RTNONE for Enter, RTCAN.
int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t bufsize);

// One top-level entity. A `pick H` names it; a `pickat X,Y` (or `point X,Y`) points at it: the
// topmost entity within the pick aperture (platform::acad::PickAperture()). RTNORM with the
// entity and the pick point; RTERROR with ERRNO 7 when the point hits nothing and with ERRNO 52
// for Enter (as AutoCAD, an empty response is an error here, not RTNONE); RTCAN.
int acedEntSel(const ACHAR* prompt, ads_name entres, ads_point ptres);

// A pick that reaches into block references. `pick H` of a block reference takes the first
// entity of its block (recursively through nested references, attribute definitions
// skipped); `pickat` takes the topmost entity under the point at the deepest level. RTNORM with:
// `entres` the entity, `ptres` the pick point (for `pick`, a point on the entity), `xformres`
// its model-to-world matrix (row-major, translation in column 3; identity for a top-level
// entity) and `*refstkres` the containing block references innermost first as a chain of
// RTENAME result buffers that the caller frees with acutRelRb (NULL for a top-level entity).
// With `pickflag` non-zero nothing is asked: `ptres` is the point pointed at. Failures as
// acedEntSel.
int acedNEntSelP(const ACHAR* prompt, ads_name entres, ads_point ptres, int pickflag,
                 ads_matrix xformres, struct resbuf** refstkres);
// The same with the matrix in AutoCAD's 4 x 3 form (rows 0-2: the images of the axes, row 3:
// the translation) and without the preset pick point.
int acedNEntSel(const ACHAR* prompt, ads_name entres, ads_point ptres, ads_point xformres[4],
                struct resbuf** refstkres);

// Selection sets. `mode`:
//   NULL   the user selects: `pick` adds the named entities, `pickat`/`point` the topmost one
//          under the point, Enter ends, Esc cancels;
//   "_:S"  / ":S" as NULL, but the first pick that adds something ends it;
//   "I"    the pick-first set (platform::acad::SetPickfirst, acedSSSetFirst);
//   "X"    every entity of the drawing's model space;
//   "A"    every entity of model space on a layer that is not frozen;
//   "W"/"C" the entities inside (window) or touching (crossing) the rectangle pt1-pt2.
// `filter` (may be NULL) is a chain of DXF groups that an entity must all match: 0 entity type,
// 8 layer, 2 block name, 62 colour, -3 followed by 1001 application names (the entity has
// XData of one of them). Strings may be comma lists of wildcard patterns (* ? # @ . ~ and
// `-escapes, case-insensitive). RTNORM with a new set in `ss` that the caller frees with
// acedSSFree; RTERROR when nothing was selected (AutoCAD never gives an empty set) or the mode
// is unknown; RTCAN when the user cancelled.
int acedSSGet(const ACHAR* mode, const void* pt1, const void* pt2, const struct resbuf* filter,
              ads_name ss);
int acedSSFree(const ads_name sname);
// RTNORM with the number of members; RTERROR for an unknown set.
int acedSSLength(const ads_name sname, Adesk::Int32* len);
// The member at `i` (0-based). RTERROR when `i` is out of range or the set unknown.
int acedSSName(const ads_name ss, Adesk::Int32 i, ads_name entres);
// Adds `ename` to `sname` (result names the same set). With `ename` NULL: a new empty set;
// with `sname` NULL: a new set holding `ename`. RTNORM or RTERROR.
int acedSSAdd(const ads_name ename, const ads_name sname, ads_name result);
// Removes `ename` from `ss`. RTERROR when it is no member.
int acedSSDel(const ads_name ename, const ads_name ss);
// RTNORM when `ename` is a member of `ss`, else RTERROR.
int acedSSMemb(const ads_name ename, const ads_name ss);

// System variables known to the editor: ERRNO (RTSHORT; set by the entity picks), DIMSCALE
// (RTREAL; the working database's global scale), PICKBOX (RTSHORT, read only). RTNORM, or
// RTERROR for an unknown name or a value of the wrong type.
int acedGetVar(const ACHAR* sym, struct resbuf* result);
int acedSetVar(const ACHAR* sym, const struct resbuf* val);

// 1 when the user pressed Esc during a long loop (the next action is `break`, which this call
// takes), else 0. Never takes any other action.
int acedUsrBrk();

// One raw input of a drag. Actions map to:
//   `move X,Y`             type 5 (drag sample), RTPOINT; only when `track` is non-zero,
//                          otherwise cursor moves are skipped;
//   `point X,Y`, `pickat`  type 3 (pick), RTPOINT; a typed point does the same;
//   `enter`                type 2 (keyboard), RTSHORT 13, the Enter key;
//   other typed text       type 2 once per character, then 13;
//   `esc`                  RTCAN (with the cancel echo).
// Window actions go to the windows as at a prompt. RTNORM, or RTCAN (also at the end of the
// input and on a mismatch). Nothing is echoed for samples, picks or keys.
int acedGrRead(int track, int* type, struct resbuf* result);
// Temporary vectors and redraws have nothing to draw on; both return RTNORM.
int acedGrDraw(const ads_point from, const ads_point to, int color, int hl);
int acedRedraw(const ads_name ent, int mode);

// acedInitGet bits.
#ifndef RSG_NONULL
#define RSG_NONULL 0x0001
#define RSG_NOZERO 0x0002
#define RSG_NONEG 0x0004
#define RSG_NOLIM 0x0008
#define RSG_GETZ 0x0010
#define RSG_DASH 0x0020
#define RSG_2D 0x0040
#define RSG_OTHER 0x0080
#endif
