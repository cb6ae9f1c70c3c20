// The bundled demo: copy the example, write its configuration, run its script, keep the results.
#include "tools/demo.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <utility>
#include <vector>

#include "platform/win/text_encoding.h"
#include "tools/drawing_builder.h"
#include "tools/example_drawing.h"
#include "tools/report.h"
#include "host/user/script.h"
#include "host/session/session.h"
#include "host/svg/svg_renderer.h"
#include "tools/svg_wiring.h"
#include "tools/system_folder.h"
#include "tools/harnex_session.h"

namespace tools {
namespace fs = std::filesystem;

bool BuildDemoDrawing(AcDbDatabase* db, std::wstring* error) {
  DrawingBuilder b(db);
  b.DefineSegment(L"RT100", 100);
  b.DefineTee(L"RB50", 50);
  b.DefinePart(L"KK_PANEL", 40);
  b.DefinePart(L"KK_LOAD", 20);
  const AcDbObjectId panel = b.AddPart(L"KK_PANEL", {0, 0}, L"P-1");
  const auto west = b.AddStraightRun(L"RT100", 0, 0, 200, 0, 2);
  const AcDbObjectId tee = b.AddRouteElement(L"RB50", {250, 0});
  const auto east = b.AddStraightRun(L"RT100", 300, 0, 500, 0, 2);
  const AcDbObjectId load1 = b.AddPart(L"KK_LOAD", {500, 0}, L"L-1");
  const auto branch = b.AddStraightRun(L"RT100", 250, 50, 250, 150, 1);
  const AcDbObjectId load2 = b.AddPart(L"KK_LOAD", {250, 150}, L"L-2");
  std::vector<AcDbObjectId> route1 = {panel};
  route1.insert(route1.end(), west.begin(), west.end());
  route1.push_back(tee);
  route1.insert(route1.end(), east.begin(), east.end());
  route1.push_back(load1);
  b.AddGroup(L"ROUTE1", route1);
  std::vector<AcDbObjectId> route2 = {tee};
  route2.insert(route2.end(), branch.begin(), branch.end());
  route2.push_back(load2);
  b.AddGroup(L"ROUTE2", route2);
  if (b.failed() && error != nullptr) *error = b.error();
  return !b.failed();
}

int RunDemo(const std::string& dir) {
  std::string error;
  std::unique_ptr<SystemFolderCopy> folder = SystemFolderCopy::Create(dir, &error);
  if (folder == nullptr) {
    std::cerr << "harnex-host: cannot prepare the demo: " << error << "\n";
    return host::kExitHostError;
  }
  folder->Keep();
  const fs::path target = folder->root();
  const fs::path drawing = target / fs::path(kExampleDrawingName).filename();
  const fs::path saved = target / "demo_saved.dxf";
  const fs::path picture = target / "demo_saved.svg";
  // After the automatic assignment: the circuit of the outdoor unit on its own, and the reports
  // a designer takes from the saved drawing and the sample project to a spreadsheet.
  const fs::path circuit = target / "demo_1P-2.svg";
  const fs::path wires = target / "demo_wires.csv";
  const fs::path untagged = target / "demo_untagged.csv";
  const fs::path patterns = target / "demo_patterns.csv";
  std::error_code ec;
  // The user's copy of the drawing: the session reads it, and the results go beside it.
  // The scripts in the order a user would run them, in one session; the check's marks are drawn
  // before the recovery takes them away.
  struct DemoScript {
    const char* name;
    const char* picture_after;  // a picture drawn when the script has run, or null
  };
  const DemoScript kScripts[] = {{"demo.hxs", nullptr},    {"palette.hxs", nullptr},
                                 {"manual.hxs", nullptr},  {"notes.hxs", nullptr},
                                 {"list.hxs", nullptr},    {"check.hxs", "demo_checked.svg"},
                                 {"recover.hxs", nullptr}, {"auto.hxs", nullptr}};
  std::vector<std::pair<fs::path, fs::path>> copies;
  for (const DemoScript& script : kScripts) {
    copies.emplace_back(fs::path(BundledExamplesDir()) / "demo" / script.name,
                        target / script.name);
  }
  copies.emplace_back(fs::path(BundledExampleDrawingPath()), drawing);
  for (const auto& [from, to] : copies) {
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) {
      std::cerr << "harnex-host: cannot copy " << from.string() << ": " << ec.message() << "\n";
      return host::kExitHostError;
    }
  }
  // The drawing session first, then the palette session, then an assignment and the notes, one
  // after the other as a user would.
  std::vector<host::ScriptReadResult> scripts;
  for (const DemoScript& script : kScripts) {
    scripts.push_back(host::ReadScriptFile((target / script.name).string()));
    if (!scripts.back().ok()) {
      std::cerr << "harnex-host: " << platform::WideToUtf8(scripts.back().error) << "\n";
      return host::kExitHostError;
    }
  }

  host::Session::Options options = tools::HarnexSessionOptions();
  options.config_path = folder->config_path();
  options.drawing_file = drawing.string();
  options.output = [](std::wstring_view text) {
    const std::string bytes = platform::WideToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  };
  options.diagnostics = [](std::wstring_view text) {
    std::cerr << "harnex-host: " << platform::WideToUtf8(text);
  };
  options.progress_bar = true;
  int status = host::kExitHostError;
  {
    host::Session session(options);
    bool picture_failed = false;
    for (size_t i = 0; i < scripts.size(); ++i) {
      status = session.Run(scripts[i].steps);
      if (status != host::kExitOk) break;
      if (kScripts[i].picture_after == nullptr) continue;
      std::wstring picture_error;
      if (!host::WriteSvgFile(*session.database(), (target / kScripts[i].picture_after).string(),
                        &picture_error)) {
        std::cerr << "harnex-host: " << platform::WideToUtf8(picture_error) << "\n";
        picture_failed = true;
        break;
      }
    }
    session.CloseWindows();
    status = session.exit_status();
    if (picture_failed && status == host::kExitOk) status = host::kExitHostError;
    if (!session.transcript().empty() && session.transcript().back() != L'\n') std::puts("");
    std::fflush(stdout);
    if (!session.stop_reason().empty()) {
      std::cerr << "harnex-host: " << platform::WideToUtf8(session.stop_reason()) << "\n";
    }
    std::wstring write_error;
    if (session.database() == nullptr || !session.SaveDrawing(saved.string(), &write_error) ||
        !WriteMarkedSvgFile(*session.database(), picture.string(), {kAnySystem}, &write_error) ||
        !WriteMarkedSvgFile(*session.database(), circuit.string(), {L"1P-2"}, &write_error)) {
      std::cerr << "harnex-host: " << platform::WideToUtf8(write_error) << "\n";
      if (status == host::kExitOk) status = host::kExitHostError;
    }
  }
  // The reports open the saved drawing themselves, once the session has closed it.
  if (status == host::kExitOk) {
    ReportIo io;
    io.diagnostics = [](const std::wstring& line) {
      std::cerr << "harnex-host: " << platform::WideToUtf8(line) << "\n";
    };
    ReportOptions report;
    report.config_path = platform::WideToUtf8(folder->config_path());
    report.kind = ReportKind::kWires;
    report.files = {saved.string()};
    report.out = wires.string();
    report.with_allowance = true;
    report.allowance = 1.0;
    int reports = RunReport(report, io);
    report.kind = ReportKind::kUntagged;
    report.with_allowance = false;
    report.out = untagged.string();
    reports |= RunReport(report, io);
    report.kind = ReportKind::kPatterns;
    report.files = {(target / "system" / "プロジェクト" / "サンプルビル.tpr").string()};
    report.out = patterns.string();
    reports |= RunReport(report, io);
    if (reports != host::kExitOk) status = host::kExitHostError;
  }
  std::cerr << "harnex-host: the demo ran in " << target.string() << "\n"
            << "  system folder:      " << (target / "system").string() << "\n"
            << "  host configuration: " << (target / "harnex.ini").string() << "\n"
            << "  session scripts:    " << (target / "demo.hxs").string() << ", "
            << (target / "palette.hxs").string() << ", " << (target / "manual.hxs").string() << ", "
            << (target / "notes.hxs").string() << ", " << (target / "list.hxs").string() << ", "
            << (target / "check.hxs").string() << ", " << (target / "recover.hxs").string() << ", "
            << (target / "auto.hxs").string() << "\n"
            << "  checked picture:    " << (target / "demo_checked.svg").string() << "\n"
            << "  drawing:            " << drawing.string() << "\n"
            << "  saved drawing:      " << saved.string() << "\n"
            << "  picture:            " << picture.string()
            << " (an orange band marks the route elements that carry wires)\n"
            << "  one circuit:        " << circuit.string()
            << " (only the elements of system 1P-2, the outdoor unit's)\n"
            << "  reports:            " << wires.string() << ", " << untagged.string() << ", "
            << patterns.string() << "\n";
  return status;
}

}  // namespace tools
