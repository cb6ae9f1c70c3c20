// The options of harnex-host:
//
//   harnex-host [--config FILE] [--drawing FILE.dxf] [--save FILE.dxf] [--svg FILE.svg]
//               [--no-host-module] [SCRIPT | -]
//   harnex-host --demo [DIR]
//   harnex-host --make-example FILE.dxf
#pragma once

#include <string>
#include <vector>

namespace host {

struct CommandLine {
  std::string config;  // empty: $HARNEX_CONFIG, else harnex.ini in the current folder
  std::string drawing;
  std::string save;
  std::string svg;
  bool no_host_module = false;
  std::string script;  // "-" (or empty): standard input
  bool demo = false;
  std::string demo_dir;      // empty: a new temporary folder
  std::string make_example;  // writes the bundled example drawing anew to this file
  bool help = false;
};

// Reads the arguments after the program name. False with a message for the user (one line,
// without the program name) on an unknown option, a missing value, a second script, or options
// that do not go with --demo or --make-example.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* out, std::string* error);

// The usage text printed by --help and after an option error.
const char* UsageText();

// The host configuration file: the option, else $HARNEX_CONFIG, else harnex.ini in the current
// folder (made absolute).
std::string ResolveConfigPath(const CommandLine& command_line);

}  // namespace host
