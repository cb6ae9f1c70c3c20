// Sessions of Harnex: the simulated host with the maker's host module and the add-in installed.
#pragma once

#include "host/session/session.h"
#include "tools/standard_images.h"

namespace tools {

// Options for a session of Harnex: Veltra.arx and Harnex.arx installed (their images made from
// the configuration file named later in `config_path`) and loaded at start in that order, and
// `show palette` showing the palette's page.
host::Session::Options HarnexSessionOptions();

// Leaves the module of that name out of those loaded at start (it stays installed, for ARXLOAD).
void SkipAtStart(host::Session::Options* options, const wchar_t* name);

}  // namespace tools
