// The bundled demo: a system folder, the example drawing, a host configuration file and a
// session script, copied into a folder and run.
#pragma once

#include <string>

class AcDbDatabase;

namespace tools {

// A small route drawing for tests: a panel P-1, a route of four segments through a tee to the
// load L-1 and a branch from the tee to the load L-2, as two route groups "ROUTE1" and "ROUTE2".
// False when the database refused a step (the builder's error goes to *error when given).
bool BuildDemoDrawing(AcDbDatabase* db, std::wstring* error = nullptr);

// Copies the bundled example into `dir` (created if missing; empty: a new temporary folder): the
// system folder, the example drawing (host/example_drawing.h) and the demo scripts; writes its
// host configuration file naming the copied system folder; runs the scripts one after the other
// in one session on the copied drawing (demo.hxs, palette.hxs, check.hxs, recover.hxs), drawing
// the picture demo_checked.svg after the trunk-number check; saves the drawing as
// demo_saved.dxf and its picture as demo_saved.svg beside it; and tells on standard error where
// everything is. Returns the session's exit status (1 when the example cannot be copied or the
// results cannot be written).
int RunDemo(const std::string& dir);

}  // namespace tools
