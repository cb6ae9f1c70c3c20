// The editor's C++ functions: the status bar's progress meter, the colour dialog, the display
// update and the pick-first set.
//
// See acedads.h for how every wait for the user echoes on the command line and when it stops
// the session as a mismatch.
#pragma once

#include <acadstrc.h>
#include <acedads.h>
#include <adesk.h>
#include <adsdef.h>

// Shows the progress meter with `label` from `min_pos` to `max_pos` (position min_pos).
// 0, or -1 when min_pos > max_pos. The meter's state and its observer: status_bar.h.
int acedSetStatusBarProgressMeter(const ACHAR* label, int min_pos, int max_pos);
// Moves the meter (clamped to its range). 0, or -1 when no meter is shown.
int acedSetStatusBarProgressMeterPos(int pos);
// Takes the meter away: the status bar shows its usual panes again.
void acedRestoreStatusBar();

// AutoCAD's colour dialog (modal), answered by the scripted user's `colour N` (true, nColor = N)
// or `colour` alone (cancelled: false, nColor unchanged). Index 0 (ByBlock) and 256 (ByLayer)
// are accepted only with bAllowMetaColor; any other index outside 1..255, any other action and
// the end of the input answer false, the first two also stopping the session as a mismatch.
// The transcript shows "[colour dialog] N" or "[colour dialog] cancelled".
bool acedSetColorDialog(int& nColor, Adesk::Boolean bAllowMetaColor, int nCurLayerColor);

// Repaints the drawing window: there is nothing to paint here, so it only counts the calls
// (platform::acad::DisplayUpdateCount in colour_dialog.h).
void acedUpdateDisplay();

// The pick-first set: `pset` a selection set (copied) or NULL to clear it. RTNORM, or RTERROR
// for an unknown set.
int acedSSSetFirst(const ads_name pset, const ads_name unused);
// `*gset` (grip set) is always NULL; `*pset` a chain of one RTPICKS buffer naming a new
// selection set of the pick-first entities (free the set with acedSSFree and the chain with
// acutRelRb), or NULL when there is none. RTNORM.
int acedSSGetFirst(struct resbuf** gset, struct resbuf** pset);

// acdbGetObjectId and acdbGetAdsName, which turn entity names into object ids and back, are
// declared with the database in dbmain.h.
