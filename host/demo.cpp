// The bundled demo: copy the example, write its configuration, run its script.
#include "host/demo.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "host/drawing_builder.h"
#include "host/script.h"
#include "host/session.h"
#include "host/text_codec.h"

#ifndef HARNEX_EXAMPLES_DIR
#define HARNEX_EXAMPLES_DIR "examples"
#endif

namespace host {
namespace fs = std::filesystem;

std::string BundledExamplesDir() {
  if (const char* source = std::getenv("HARNEX_SOURCE_DIR"); source && *source) {
    return std::string(source) + "/examples";
  }
  return HARNEX_EXAMPLES_DIR;
}

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

namespace {

bool CopyExample(const fs::path& from, const fs::path& to, std::string* error) {
  std::error_code ec;
  fs::create_directories(to, ec);
  if (!ec && fs::exists(from / "system")) {
    fs::copy(from / "system", to / "system",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  } else if (!ec) {
    fs::create_directories(to / "system", ec);
  }
  if (!ec) {
    fs::copy_file(from / "demo" / "demo.hxs", to / "demo.hxs", fs::copy_options::overwrite_existing,
                  ec);
  }
  if (ec) *error = ec.message();
  return !ec;
}

}  // namespace

int RunDemo(const std::string& dir) {
  fs::path target = dir;
  if (target.empty()) {
    std::string pattern = (fs::temp_directory_path() / "harnex-demo-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::cerr << "harnex-host: cannot make a temporary folder for the demo\n";
      return kExitHostError;
    }
    target = pattern;
  }
  std::error_code ec;
  target = fs::absolute(target, ec);
  std::string error;
  if (!CopyExample(BundledExamplesDir(), target, &error)) {
    std::cerr << "harnex-host: cannot copy the demo into " << target.string() << ": " << error
              << "\n";
    return kExitHostError;
  }
  // The host configuration file names the copied system folder, written as Windows writes INI
  // files.
  const std::wstring config = Utf8ToWide((target / "harnex.ini").string());
  const std::wstring system = Utf8ToWide((target / "system").string());
  // The profile functions cache what they write; the session's modules read the file from disk.
  if (!WritePrivateProfileStringW(L"環境設定", L"ｼｽﾃﾑ", system.c_str(), config.c_str()) ||
      platform::FlushProfileFiles() != ERROR_SUCCESS) {
    std::cerr << "harnex-host: cannot write " << WideToUtf8(config) << "\n";
    return kExitHostError;
  }
  const ScriptReadResult script = ReadScriptFile((target / "demo.hxs").string());
  if (!script.ok()) {
    std::cerr << "harnex-host: " << WideToUtf8(script.error) << "\n";
    return kExitHostError;
  }

  Session::Options options;
  options.config_path = config;
  options.drawing = [](AcDbDatabase* db) { BuildDemoDrawing(db); };
  options.output = [](std::wstring_view text) {
    const std::string bytes = WideToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  };
  options.diagnostics = [](std::wstring_view text) {
    std::cerr << "harnex-host: " << WideToUtf8(text);
  };
  options.progress_bar = true;
  int status = kExitHostError;
  {
    Session session(options);
    status = session.Run(script.steps);
    if (!session.transcript().empty() && session.transcript().back() != L'\n') std::puts("");
    std::fflush(stdout);
    if (!session.stop_reason().empty()) {
      std::cerr << "harnex-host: " << WideToUtf8(session.stop_reason()) << "\n";
    }
  }
  std::cerr << "harnex-host: the demo ran in " << target.string() << "\n"
            << "  system folder:      " << (target / "system").string() << "\n"
            << "  host configuration: " << (target / "harnex.ini").string() << "\n"
            << "  session script:     " << (target / "demo.hxs").string() << "\n";
  return status;
}

}  // namespace host
