// The modal colour dialog of the editor (acedSetColorDialog in aced.h) and the display update
// counter, the two editor calls that show something outside the command line.
#pragma once

namespace platform::acad {

// How often acedUpdateDisplay was called since the start (or ResetDisplayUpdateCount).
int DisplayUpdateCount();
void ResetDisplayUpdateCount();

}  // namespace platform::acad
