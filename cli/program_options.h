// The options of harnex-host:
//
//   harnex-host [--config FILE] [--drawing FILE.dxf] [--save FILE.dxf] [--svg FILE.svg]
//               [--highlight SYSTEM]... [--no-host-module] [SCRIPT | -]
//   harnex-host --serve [--port N] [--record FILE.hxs] [the session's options] [SCRIPT]
//   harnex-host --demo [DIR]
//   harnex-host --make-example FILE.dxf
//   harnex-host --report wires|untagged|patterns FILE... [--config FILE] [--out FILE.csv]
//               [--encoding cp932] [--allowance M]
#pragma once

#include <string>
#include <vector>

#include "tools/report.h"

namespace cli {

struct ProgramOptions {
  std::string config;  // empty: $HARNEX_CONFIG, else harnex.ini in the current folder
  std::string drawing;
  std::string save;
  std::string svg;
  std::vector<std::wstring> highlights;  // --highlight: systems marked in the --svg picture
  bool no_host_module = false;
  int undo_steps = 50;  // --undo-steps: how many steps U and UNDO can take back (0: none)
  std::string script;  // "-" (or empty): standard input
  // --serve: the session is used from a web page on 127.0.0.1 (a script given runs first).
  bool serve = false;
  int port = 0;        // 0: a free port
  std::string record;  // --record: every action is written there as a script line
  bool demo = false;
  std::string demo_dir;      // empty: a new temporary folder
  std::string make_example;  // writes the bundled example drawing anew to this file
  bool help = false;
  // --report: no session; the files are read into one CSV report.
  bool report = false;
  tools::ReportOptions report_options;  // config_path stays empty: ResolveConfigPath gives it
};

// Reads the arguments after the program name. False with a message for the user (one line,
// without the program name) on an unknown option, a missing value, a second script, or options
// that do not go with --demo, --make-example or --report (--port and --record need --serve). With
// --report every argument that is no option is a file to report on (at least one); --out,
// --encoding (cp932 or utf-8) and
// --allowance (wires only, metres, not negative) belong to it. --highlight needs --svg.
bool ParseProgramOptions(const std::vector<std::string>& args, ProgramOptions* out,
                         std::string* error);

// The usage text printed by --help and after an option error.
const char* UsageText();

// The host configuration file: the option, else $HARNEX_CONFIG, else harnex.ini in the current
// folder (made absolute).
std::string ResolveConfigPath(const ProgramOptions& command_line);

}  // namespace cli
