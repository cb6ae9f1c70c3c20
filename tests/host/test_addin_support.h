// A small ObjectARX application of the tests' own ("HxTest.arx"), so that the host's loading,
// command running and checks can be tested without Harnex.
//
// Its commands, group "HXTEST":
//   HXHELLO  (flags 3)  prints "hello\n"
//   HXSEND   (flags 1)  prints "send-begin\n", sends "HXHELLO " and "HXECHO queued " to the
//                       command line, prints "send-end\n"
//   HXECHO   (flags 0)  asks "\n言葉: " and prints "echo:<answer>\n"
//   HXLEAK   (flags 0)  opens model space for read and forgets to close it
//   HXWINLEAK (flags 0) makes (once) a window "HxLeaky" with button 1001, the window that takes
//                       actions without @ID, and posts it a message; the message's handler
//                       opens the layer table and the button's the text style table, and
//                       neither closes them
//   HXDRAG   (flags 0)  drags a line from (0,0,0) to (10,0,0) whose start follows the cursor
//                       (prompt "位置"), renders the drawing into DragSvg() at every cursor
//                       sample, ends at a point and prints "drag:<result>\n"
//   HXFIRST  (flags 2)  prints "pickfirst:N" for the pick-first set's size, "pickfirst:none"
//                       without one
//   HXPICKED (flags 2)  prints "picked:" and the pick-first set's handles in its order, each
//                       after a blank ("picked: 1F 2A"), "picked:none" without one
#pragma once

#include <string>

#include "host/session/module_loader.h"

namespace host::testing {

// Counters of what the host did to the image.
struct TestAddinCalls {
  int attaches = 0;
  int detaches = 0;
  int inits = 0;
  int unloads = 0;
};

// The image; with `refuse` its acrxEntryPoint answers kInitAppMsg with kRetError and the image is
// named "HxRefuse.arx".
ModuleImage TestAddinImage(bool refuse = false);
TestAddinCalls& TestAddinCallCounts();
// The SVG picture that HXDRAG rendered at its last cursor sample.
std::string& DragSvg();

}  // namespace host::testing
