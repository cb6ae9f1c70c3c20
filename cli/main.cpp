// harnex-host: runs a user session of the simulated CAD host from a script or the keyboard.
#include <unistd.h>

#include <winbase.h>

#include <langinfo.h>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/program_options.h"
#include "cli/served_session.h"
#include "cli/session_end.h"
#include "cli/typed_session.h"
#include "host/session/session.h"
#include "host/svg/svg_renderer.h"
#include "host/user/script.h"
#include "platform/win/text_encoding.h"
#include "tools/demo.h"
#include "tools/example_drawing.h"
#include "tools/harnex_session.h"
#include "tools/report.h"
#include "tools/svg_wiring.h"

namespace {

void WriteOut(std::wstring_view text) {
  const std::string bytes = platform::WideToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void WriteErr(std::wstring_view text) {
  std::cerr << "harnex-host: " << platform::WideToUtf8(text);
}

// Whether two paths name the same file (the same path, or one file reached two ways).
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (std::filesystem::equivalent(a, b, ec)) return true;
  return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

// The line editor measures and decodes characters by the locale: Japanese needs a UTF-8 one,
// whatever the environment chose for the rest.
void UseUtf8Characters() {
  if (std::setlocale(LC_CTYPE, "") != nullptr && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0)
    return;
  if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) std::setlocale(LC_CTYPE, "C.utf8");
}

// HARNEX_CLOCK="YYYY-MM-DD HH:MM:SS" fixes the date and time the session sees, so that a replay
// of a recorded session writes the same files (projects keep their update time). False when the
// variable is set but is no such time.
bool FixClockFromEnvironment() {
  const char* text = std::getenv("HARNEX_CLOCK");
  if (text == nullptr || *text == '\0') return true;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  char separator = 0;
  int used = 0;
  if (std::sscanf(text, "%4d-%2d-%2d%c%2d:%2d:%2d%n", &year, &month, &day, &separator, &hour,
                  &minute, &second, &used) != 7 ||
      text[used] != '\0' || (separator != ' ' && separator != 'T') || year < 1601 || month < 1 ||
      month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) {
    return false;
  }
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  time.wHour = static_cast<WORD>(hour);
  time.wMinute = static_cast<WORD>(minute);
  time.wSecond = static_cast<WORD>(second);
  platform::SetClockForTesting(&time);
  return true;
}

int Fail(const std::string& message) {
  std::cerr << "harnex-host: " << message << "\n";
  return host::kExitHostError;
}

// Ends the process with the drawing still in memory, once the session has quit (its windows,
// modules and profiles done) and every output is flushed: the system takes the memory back
// whole, where freeing a large floor's million objects one by one took a tenth of its load.
// Under the sanitizers the process ends as usual, so that what a change leaves unfreed is found.
void ExitKeepingTheDrawing(host::Session& session, int status) {
#if defined(__SANITIZE_ADDRESS__)
#define HARNEX_CHECKED_EXIT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HARNEX_CHECKED_EXIT 1
#endif
#endif
#if defined(HARNEX_CHECKED_EXIT)
  (void)session;
  (void)status;
#else
  session.Quit();
  std::cout.flush();
  std::cerr.flush();
  std::wcout.flush();
  if (std::fflush(nullptr) == 0) std::_Exit(status);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  cli::ProgramOptions options;
  std::string error;
  if (!cli::ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc), &options,
                                &error)) {
    std::cerr << "harnex-host: " << error << "\n" << cli::UsageText();
    return host::kExitHostError;
  }
  if (options.help) {
    std::fputs(cli::UsageText(), stdout);
    return host::kExitOk;
  }
  if (!FixClockFromEnvironment()) {
    return Fail("HARNEX_CLOCK must be a time \"YYYY-MM-DD HH:MM:SS\", not " +
                std::string(std::getenv("HARNEX_CLOCK")));
  }
  if (options.demo) return tools::RunDemo(options.demo_dir);
  if (options.report) {
    tools::ReportOptions report = options.report_options;
    report.config_path = cli::ResolveConfigPath(options);
    tools::ReportIo io;
    io.output = [](std::string_view bytes) {
      std::fwrite(bytes.data(), 1, bytes.size(), stdout);
      std::fflush(stdout);
    };
    io.diagnostics = [](const std::wstring& line) { WriteErr(line + L"\n"); };
    io.progress_bar = true;
    return tools::RunReport(report, io);
  }
  if (!options.make_example.empty()) {
    std::wstring make_error;
    if (!tools::WriteExampleDrawing(options.make_example, &make_error)) {
      return Fail(platform::WideToUtf8(make_error));
    }
    return host::kExitOk;
  }

  // The drawing a user brought is never written over: --save must name another file.
  if (!options.drawing.empty() && !options.save.empty() &&
      SameFile(options.drawing, options.save)) {
    return Fail("will not write over the drawing that was read: " + options.save);
  }

  const bool from_stdin = options.script.empty() || options.script == "-";
  host::ScriptReadResult script;
  if (!from_stdin) {
    script = host::ReadScriptFile(options.script);
    if (!script.ok()) return Fail(options.script + ": " + platform::WideToUtf8(script.error));
  }

  host::Session::Options session_options = tools::HarnexSessionOptions();
  const std::string config = cli::ResolveConfigPath(options);
  session_options.config_path = platform::Utf8ToWide(config);
  // Without its configuration the host finds no system folder, and the palette no project: say
  // so once, at the start, rather than leave the user with "プロジェクトは存在しません。".
  std::error_code config_error;
  if (!std::filesystem::is_regular_file(config, config_error)) {
    std::cerr << "harnex-host: no host configuration: " << config
              << " does not exist, so there is no system folder and no project; give one with "
                 "--config FILE or HARNEX_CONFIG (harnex-host --demo DIR copies the example's "
                 "system folder to DIR and writes DIR/harnex.ini)\n";
  }
  if (options.no_host_module) tools::SkipAtStart(&session_options, tools::kHostModuleName);
  session_options.undo_steps = options.undo_steps;
  session_options.drawing_file = options.drawing;
  session_options.output = WriteOut;
  session_options.diagnostics = WriteErr;
  session_options.progress_bar = true;
  host::Session session(session_options);
  const bool typed = !options.serve && from_stdin && isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
  std::unique_ptr<cli::TypedSession> terminal;
  std::unique_ptr<cli::ServedSession> served;
  if (options.serve) {
    cli::ServedSession::Options serve_options;
    serve_options.port = options.port;
    serve_options.record_path = options.record;
    served = std::make_unique<cli::ServedSession>(&session, serve_options);
    std::string serve_error;
    if (!served->Start(&serve_error)) return Fail(serve_error);
    served->RecordSteps(script.steps);
    std::cerr << served->Url() << std::endl;
  } else if (typed) {
    UseUtf8Characters();
    terminal = std::make_unique<cli::TypedSession>(&session, cli::HistoryPath());
  } else if (from_stdin) {
    const bool prompt = isatty(STDIN_FILENO);
    session.SetLineSource([prompt](std::wstring* line, int) {
      if (prompt) std::fputs("\n> ", stdout);
      std::fflush(stdout);
      std::string bytes;
      if (!std::getline(std::cin, bytes)) return false;
      // Typed and piped input is UTF-8 (or code page 932 from old files).
      *line = host::DecodeScriptBytes(bytes);
      return true;
    });
  }
  session.Run(std::move(script.steps));
  const int terminated = terminal ? terminal->Terminated() : served ? served->Terminated() : 0;
  if (terminated != 0) {
    // Nobody is left to ask: unsaved palette edits go to a recovery file, never over the project.
    std::string recovery;
    std::wstring recovery_error;
    if (cli::WritePaletteRecovery(&recovery, &recovery_error)) {
      std::cerr << "harnex-host: unsaved palette edits written to " << recovery << "\n";
    } else if (!recovery_error.empty()) {
      WriteErr(recovery_error + L"\n");
    }
  }
  session.CloseWindows();
  terminal.reset();
  int status = session.exit_status();
  if (!session.transcript().empty() && session.transcript().back() != L'\n') WriteOut(L"\n");
  std::fflush(stdout);
  if (!session.stop_reason().empty()) WriteErr(session.stop_reason() + L"\n");
  bool saved = true;
  if (!options.save.empty() && session.database() != nullptr) {
    std::wstring save_error;
    saved = session.SaveDrawing(options.save, &save_error);
    if (!saved) {
      WriteErr(save_error + L"\n");
      status = host::kExitHostError;
    }
  }
  if (saved && !options.svg.empty() && session.database() != nullptr) {
    std::wstring svg_error;
    const bool written = options.highlights.empty()
                             ? host::WriteSvgFile(*session.database(), options.svg, &svg_error)
                             : tools::WriteMarkedSvgFile(*session.database(), options.svg,
                                                         options.highlights, &svg_error);
    if (!written) {
      WriteErr(svg_error + L"\n");
      status = host::kExitHostError;
    }
  }
  if (!served) ExitKeepingTheDrawing(session, status);
  return status;
}
