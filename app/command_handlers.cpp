// Handlers of the commands whose features are not built yet: each ends at once, touching
// nothing. The palette, the assignments, the notes, the list table, the settings check and the
// colour recovery replace them one by one with their own files.
#include "app/command_handlers.h"

void CmdDrawList() {}
