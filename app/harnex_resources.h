// The resource script embedded in Harnex.arx at build time (dialog templates and their ids).
#pragma once

// UTF-8 text of resources/harnex.rc with its included files resolved; the host hands it to
// the module table when it loads the module, as Windows maps a DLL's resources.
extern const char kHarnexResourceScript[];
