// A small ObjectARX application of the tests' own ("HxTest.arx"), so that the host's loading,
// command running and checks can be tested without Harnex.
//
// Its commands, group "HXTEST":
//   HXHELLO  (flags 3)  prints "hello\n"
//   HXSEND   (flags 1)  prints "send-begin\n", sends "HXHELLO " and "HXECHO queued " to the
//                       command line, prints "send-end\n"
//   HXECHO   (flags 0)  asks "\n言葉: " and prints "echo:<answer>\n"
//   HXLEAK   (flags 0)  opens model space for read and forgets to close it
//   HXFIRST  (flags 2)  prints "pickfirst:N" for the pick-first set's size, "pickfirst:none"
//                       without one
#pragma once

#include "host/module_loader.h"

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

}  // namespace host::testing
