// The bundled demo: a system folder, a host configuration file and a session script, copied
// into a folder and run on a drawing from the drawing builder.
#pragma once

#include <string>

class AcDbDatabase;

namespace host {

// The demo drawing: a panel P-1, a route of four segments through a tee to the load L-1 and a
// branch from the tee to the load L-2, as two route groups "ROUTE1" and "ROUTE2".
// False when the database refused a step (the builder's error goes to *error when given).
bool BuildDemoDrawing(AcDbDatabase* db, std::wstring* error = nullptr);

// Copies the bundled example into `dir` (created if missing; empty: a new temporary folder),
// writes its host configuration file naming the copied system folder, runs the demo script and
// tells on standard error where everything is. Returns the session's exit status (1 when the
// example cannot be copied).
int RunDemo(const std::string& dir);

}  // namespace host
