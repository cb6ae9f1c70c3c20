// The layers of the source tree as a rule on its #include lines: each folder may include only the
// folders below it, as the build lets it. The build already refuses most forbidden includes; this
// test also catches the ones a path can sneak past it ("../host/..."), and says which line.
#include <gtest/gtest.h>

#include "layers_support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The folders of the add-in: one layer.
const std::set<std::string> kAddin = {"app",     "attributes", "annotation", "project",
                                      "palette", "dialogs",    "controls",   "resources"};

// The layer a file belongs to, from its path below the root ("" for files of no layer).
std::string LayerOf(const std::string& path) {
  const std::string first = path.substr(0, path.find('/'));
  if (kAddin.count(first) != 0) return "addin";
  static const std::vector<std::string> kNested = {
      "platform/win/api/", "platform/mfc/api/", "platform/acad/api/", "platform/win/",
      "platform/mfc/",     "platform/acad/",    "maker/api/",         "maker/",
      "host/dxf/",         "host/svg/",         "host/user/",         "host/session/",
      "tools/",            "cli/",              "tests/",             "bench/",
      "fuzz/"};
  for (const std::string& prefix : kNested) {
    if (path.compare(0, prefix.size(), prefix) == 0) return prefix.substr(0, prefix.size() - 1);
  }
  return "";
}

// What each layer may include besides itself. Tests, benchmarks and fuzz targets may include
// anything.
const std::map<std::string, std::set<std::string>>& Allowed() {
  static const std::set<std::string> kApi = {"platform/win/api", "platform/mfc/api",
                                             "platform/acad/api"};
  static const std::set<std::string> kPlatform = {"platform/win/api", "platform/mfc/api",
                                                  "platform/acad/api", "platform/win",
                                                  "platform/mfc", "platform/acad"};
  auto with = [](std::set<std::string> base, std::initializer_list<const char*> more) {
    for (const char* m : more) base.insert(m);
    return base;
  };
  static const std::map<std::string, std::set<std::string>> allowed = {
      {"platform/win/api", {}},
      {"platform/win", {"platform/win/api"}},
      {"platform/mfc/api", {"platform/win/api"}},
      {"platform/mfc", {"platform/win/api", "platform/win", "platform/mfc/api"}},
      {"platform/acad/api", {"platform/win/api", "platform/mfc/api"}},
      {"platform/acad", kPlatform},
      {"maker/api", kApi},
      {"maker", with(kApi, {"maker/api"})},
      {"addin", with(kApi, {"maker/api"})},
      {"host/dxf", kPlatform},
      {"host/svg", kPlatform},
      {"host/user", kPlatform},
      {"host/session", with(kPlatform, {"host/dxf", "host/user"})},
      {"tools", with(kPlatform, {"maker/api", "addin", "host/dxf", "host/svg", "host/user",
                                 "host/session"})},
      {"cli", with(kPlatform, {"maker/api", "addin", "host/dxf", "host/svg", "host/user",
                               "host/session", "tools"})},
  };
  return allowed;
}

// Every include of every source file below `root` that crosses a forbidden edge, as
// "file:line includes TARGET (LAYER may not use OTHER)".
std::vector<std::string> ForbiddenIncludes(const fs::path& root) {
  // Headers included as <name.h>: the real API headers, found by name in the api/ folders.
  std::map<std::string, std::string> api;
  for (const char* folder : {"platform/win/api", "platform/mfc/api", "platform/acad/api",
                             "maker/api"}) {
    if (!fs::is_directory(root / folder)) continue;
    for (const auto& e : fs::directory_iterator(root / folder)) {
      api[e.path().filename().string()] = std::string(folder) + "/" +
                                           e.path().filename().string();
    }
  }
  std::vector<std::string> files;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    const std::string rel = fs::relative(it->path(), root).generic_string();
    if (it->is_directory() && (rel.rfind("build", 0) == 0 || rel[0] == '.')) {
      it.disable_recursion_pending();
      continue;
    }
    const std::string ext = it->path().extension().string();
    if (it->is_regular_file() && (ext == ".h" || ext == ".cpp" || ext == ".rc")) {
      files.push_back(rel);
    }
  }
  std::sort(files.begin(), files.end());
  std::vector<std::string> faults;
  for (const std::string& file : files) {
    const std::string layer = LayerOf(file);
    const auto rule = Allowed().find(layer);
    if (rule == Allowed().end()) continue;  // tests, benchmarks, fuzz targets, or no layer
    for (const testing::IncludeLine& include : testing::IncludeLines(root / file)) {
      const std::string& name = include.name;
      std::string target;
      if (!include.quoted) {
        const auto found = api.find(name);
        if (found == api.end()) continue;  // the C++ or system library
        target = found->second;
      } else {
        // As the compiler looks: beside the including file first, then from the root.
        const fs::path beside = (root / file).parent_path() / name;
        if (fs::exists(beside)) {
          target = fs::relative(fs::weakly_canonical(beside), fs::weakly_canonical(root))
                       .generic_string();
        } else if (fs::exists(root / name)) {
          target = fs::path(name).lexically_normal().generic_string();
        } else {
          continue;  // a generated file
        }
      }
      const std::string other = LayerOf(target);
      if (other.empty() || other == layer || rule->second.count(other) != 0) continue;
      faults.push_back(file + ":" + std::to_string(include.line) + " includes " + name + " (" + layer +
                       " may not use " + other + ")");
    }
  }
  return faults;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += l + "\n";
  return text;
}

TEST(IncludeRulesTest, TheSourceTreeKeepsItsLayers) {
  const char* dir = std::getenv("HARNEX_SOURCE_DIR");
  ASSERT_NE(dir, nullptr);
  ASSERT_TRUE(fs::is_directory(fs::path(dir) / "host/session"));
  const std::vector<std::string> faults = ForbiddenIncludes(dir);
  EXPECT_TRUE(faults.empty()) << Joined(faults);
}

// A tree made for the purpose, with one forbidden include of each kind and allowed ones beside.
class MadeTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("harnex_include_rules_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    for (const char* f : {"platform/win/api/windows.h", "platform/win/text_encoding.h",
                          "platform/acad/api/dbmain.h", "maker/api/VuRida.h", "maker/route_index.h",
                          "palette/main_dialog.h", "host/session/session.h", "host/dxf/dxf_reader.h",
                          "tools/report.h"}) {
      Write(f, "#pragma once\n");
    }
  }
  void TearDown() override { fs::remove_all(root_); }
  void Write(const std::string& path, const std::string& text) {
    fs::create_directories((root_ / path).parent_path());
    std::ofstream(root_ / path) << text;
  }
  fs::path root_;
};

TEST_F(MadeTreeTest, EachForbiddenEdgeIsNamedWithItsFileAndLine) {
  // Allowed: the add-in uses the real API and the maker's API; the host uses the seams; tools
  // use both sides; tests use anything.
  Write("attributes/auto_trace.cpp",
        "#include <windows.h>\n#include <VuRida.h>\n#include <vector>\n#include \"palette/main_dialog.h\"\n");
  Write("host/session/session.cpp",
        "#include \"host/dxf/dxf_reader.h\"\n#include \"platform/win/text_encoding.h\"\n");
  Write("tools/report.cpp", "#include \"palette/main_dialog.h\"\n#include \"host/session/session.h\"\n");
  Write("tests/host/x_test.cpp", "#include \"palette/main_dialog.h\"\n#include \"tools/report.h\"\n");
  EXPECT_EQ(ForbiddenIncludes(root_), std::vector<std::string>{});

  // Forbidden: the add-in includes a host header (also through a relative path) or a seam, the
  // platform includes the maker or the add-in, the host includes the add-in or the tools, the
  // maker includes the add-in, a lower host library includes the session.
  Write("annotation/note_drag.cpp", "#include <dbmain.h>\n#include \"host/session/session.h\"\n");
  Write("palette/main_dialog.cpp", "#include \"../host/dxf/dxf_reader.h\"\n#include \"platform/win/text_encoding.h\"\n");
  Write("platform/acad/dbobject.cpp", "#include <VuRida.h>\n#include \"palette/main_dialog.h\"\n");
  Write("host/session/drawing_document.cpp", "#include \"palette/main_dialog.h\"\n\n#include \"tools/report.h\"\n");
  Write("maker/route_index.cpp", "#include \"maker/route_index.h\"\n#include \"palette/main_dialog.h\"\n");
  Write("host/dxf/dxf_writer.cpp", "#include \"host/session/session.h\"\n");
  EXPECT_EQ(ForbiddenIncludes(root_),
            (std::vector<std::string>{
                "annotation/note_drag.cpp:2 includes host/session/session.h (addin may not use host/session)",
                "host/dxf/dxf_writer.cpp:1 includes host/session/session.h (host/dxf may not use host/session)",
                "host/session/drawing_document.cpp:1 includes palette/main_dialog.h (host/session may not use addin)",
                "host/session/drawing_document.cpp:3 includes tools/report.h (host/session may not use tools)",
                "maker/route_index.cpp:2 includes palette/main_dialog.h (maker may not use addin)",
                "palette/main_dialog.cpp:1 includes ../host/dxf/dxf_reader.h (addin may not use host/dxf)",
                "palette/main_dialog.cpp:2 includes platform/win/text_encoding.h (addin may not use platform/win)",
                "platform/acad/dbobject.cpp:1 includes VuRida.h (platform/acad may not use maker/api)",
                "platform/acad/dbobject.cpp:2 includes palette/main_dialog.h (platform/acad may not use addin)",
            }))
      << Joined(ForbiddenIncludes(root_));
}

}  // namespace
