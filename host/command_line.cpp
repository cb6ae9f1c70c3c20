// The options of harnex-host.
#include "host/command_line.h"

#include <cstdlib>
#include <filesystem>

namespace host {

const char* UsageText() {
  return "usage: harnex-host [--config FILE] [--drawing FILE.dxf] [--save FILE.dxf]\n"
         "                   [--svg FILE.svg] [--no-host-module] [SCRIPT | -]\n"
         "       harnex-host --demo [DIR]\n"
         "       harnex-host --make-example FILE.dxf\n";
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* out, std::string* error) {
  *out = CommandLine{};
  bool have_script = false;
  bool other_options = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string* field) {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        *error = "option " + arg + " needs a value";
        return false;
      }
      *field = args[++i];
      other_options = true;
      return true;
    };
    if (arg == "--config") {
      if (!value(&out->config)) return false;
    } else if (arg == "--drawing") {
      if (!value(&out->drawing)) return false;
    } else if (arg == "--save") {
      if (!value(&out->save)) return false;
    } else if (arg == "--svg") {
      if (!value(&out->svg)) return false;
    } else if (arg == "--no-host-module") {
      out->no_host_module = true;
      other_options = true;
    } else if (arg == "--demo") {
      out->demo = true;
      // The folder is optional: the next argument is it unless it is another option.
      if (i + 1 < args.size() && (args[i + 1].empty() || args[i + 1][0] != '-')) {
        out->demo_dir = args[++i];
      }
    } else if (arg == "--make-example") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        *error = "option " + arg + " needs a value";
        return false;
      }
      out->make_example = args[++i];
    } else if (arg == "--help" || arg == "-h") {
      out->help = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      *error = "unknown option " + arg;
      return false;
    } else {
      if (have_script) {
        *error = "more than one script: " + out->script + " and " + arg;
        return false;
      }
      out->script = arg;
      have_script = true;
    }
  }
  if (out->demo && (other_options || have_script)) {
    *error = "--demo takes no other options and no script";
    return false;
  }
  if (!out->make_example.empty() && (out->demo || other_options || have_script)) {
    *error = "--make-example takes no other options and no script";
    return false;
  }
  return true;
}

std::string ResolveConfigPath(const CommandLine& command_line) {
  std::string path = command_line.config;
  if (path.empty()) {
    const char* env = std::getenv("HARNEX_CONFIG");
    path = env != nullptr && *env != '\0' ? env : "harnex.ini";
  }
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.string();
}

}  // namespace host
