// The options of harnex-host.
#include "cli/program_options.h"

#include <cstdlib>
#include <filesystem>

#include "platform/win/text_encoding.h"

namespace cli {

const char* UsageText() {
  return "usage: harnex-host [--config FILE] [--drawing FILE.dxf] [--save FILE.dxf]\n"
         "                   [--svg FILE.svg [--highlight SYSTEM]...] [--no-host-module]\n"
         "                   [--undo-steps N] [SCRIPT | -]\n"
         "       harnex-host --serve [--port N] [--record FILE.hxs] [session options] [SCRIPT]\n"
         "       harnex-host --demo [DIR]\n"
         "       harnex-host --make-example FILE.dxf\n"
         "       harnex-host --report wires DRAWING.dxf... [--config FILE] [--out FILE.csv]\n"
         "                   [--encoding cp932] [--allowance M]\n"
         "       harnex-host --report untagged DRAWING.dxf... [--out FILE.csv] [--encoding cp932]\n"
         "       harnex-host --report patterns PROJECT.tpr... [--config FILE] [--out FILE.csv]\n"
         "                   [--encoding cp932]\n";
}

namespace {

// A number of metres: decimal, not negative, finite.
bool ParseMetres(const std::string& text, double* metres) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == nullptr || *end != '\0' || !(value >= 0) || value > 1e9) return false;
  *metres = value;
  return true;
}

// What goes with --report and what does not, once every argument has been read.
bool CheckReport(const ProgramOptions& c, bool session_options, bool have_allowance,
                 bool have_report_options, std::string* error) {
  if (!c.report) {
    if (have_report_options || have_allowance) {
      *error = "--out, --encoding and --allowance belong to --report";
      return false;
    }
    return true;
  }
  if (c.demo || !c.make_example.empty() || session_options) {
    *error =
        "--report runs no session: it takes no --drawing, --save, --svg, --highlight or "
        "--no-host-module";
    return false;
  }
  if (c.report_options.files.empty()) {
    *error = "--report needs at least one file";
    return false;
  }
  if (have_allowance && c.report_options.kind != tools::ReportKind::kWires) {
    *error = "--allowance belongs to --report wires";
    return false;
  }
  return true;
}

}  // namespace

bool ParseProgramOptions(const std::vector<std::string>& args, ProgramOptions* out,
                         std::string* error) {
  *out = ProgramOptions{};
  bool have_script = false;
  bool other_options = false;
  bool session_options = false;  // options of a session, which --report does not run
  bool have_allowance = false;
  bool have_report_options = false;
  bool have_serve_options = false;
  std::string word;
  std::vector<std::string> positional;
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
      session_options = true;
    } else if (arg == "--save") {
      if (!value(&out->save)) return false;
      session_options = true;
    } else if (arg == "--svg") {
      if (!value(&out->svg)) return false;
      session_options = true;
    } else if (arg == "--highlight") {
      if (!value(&word)) return false;
      out->highlights.push_back(platform::Utf8ToWide(word));
      session_options = true;
    } else if (arg == "--no-host-module") {
      out->no_host_module = true;
      other_options = true;
      session_options = true;
    } else if (arg == "--undo-steps") {
      if (!value(&word)) return false;
      char* end = nullptr;
      const long steps = std::strtol(word.c_str(), &end, 10);
      if (word.empty() || end == nullptr || *end != '\0' || steps < 0 || steps > 100000) {
        *error = "--undo-steps takes a number of steps 0 to 100000, not " + word;
        return false;
      }
      out->undo_steps = static_cast<int>(steps);
      session_options = true;
    } else if (arg == "--serve") {
      out->serve = true;
      other_options = true;
      session_options = true;
    } else if (arg == "--port") {
      if (!value(&word)) return false;
      char* end = nullptr;
      const long port = std::strtol(word.c_str(), &end, 10);
      if (end == nullptr || *end != '\0' || port < 1 || port > 65535) {
        *error = "--port takes a port number 1 to 65535, not " + word;
        return false;
      }
      out->port = static_cast<int>(port);
      have_serve_options = true;
    } else if (arg == "--record") {
      if (!value(&out->record)) return false;
      have_serve_options = true;
    } else if (arg == "--report") {
      if (!value(&word)) return false;
      if (!tools::ParseReportKind(word, &out->report_options.kind)) {
        *error = "--report takes wires, untagged or patterns, not " + word;
        return false;
      }
      out->report = true;
    } else if (arg == "--out") {
      if (!value(&out->report_options.out)) return false;
      have_report_options = true;
    } else if (arg == "--encoding") {
      if (!value(&word)) return false;
      if (word == "cp932") {
        out->report_options.encoding = tools::CsvEncoding::kCp932;
      } else if (word == "utf-8" || word == "utf8") {
        out->report_options.encoding = tools::CsvEncoding::kUtf8Bom;
      } else {
        *error = "--encoding takes cp932 or utf-8, not " + word;
        return false;
      }
      have_report_options = true;
    } else if (arg == "--allowance") {
      if (!value(&word)) return false;
      if (!ParseMetres(word, &out->report_options.allowance)) {
        *error = "--allowance takes a number of metres, not " + word;
        return false;
      }
      out->report_options.with_allowance = true;
      have_allowance = true;
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
      positional.push_back(arg);
    }
  }
  // Arguments that are no options are the files of a report, else the one script.
  if (out->report) {
    out->report_options.files = positional;
  } else if (positional.size() > 1) {
    *error = "more than one script: " + positional[0] + " and " + positional[1];
    return false;
  } else if (!positional.empty()) {
    out->script = positional[0];
    have_script = true;
  }
  if (!CheckReport(*out, session_options || have_script, have_allowance, have_report_options,
                   error)) {
    return false;
  }
  if (have_serve_options && !out->serve) {
    *error = "--port and --record belong to --serve";
    return false;
  }
  if (out->serve && out->script == "-") {
    *error = "--serve takes its input from the page, not from standard input";
    return false;
  }
  if (!out->highlights.empty() && out->svg.empty()) {
    *error = "--highlight marks systems in the --svg picture: it needs --svg";
    return false;
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

std::string ResolveConfigPath(const ProgramOptions& command_line) {
  std::string path = command_line.config;
  if (path.empty()) {
    const char* env = std::getenv("HARNEX_CONFIG");
    path = env != nullptr && *env != '\0' ? env : "harnex.ini";
  }
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.string();
}

}  // namespace cli
