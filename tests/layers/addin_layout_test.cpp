// The add-in's folders as layers, read from the source tree: which folder's headers each one
// includes, that no folder comes back to itself through its includes, how includes are spelled,
// the one style of the add-in's member names and the class named atop each dialog header.
#include <gtest/gtest.h>

#include "layers_support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kAddinFolders = {"app",     "attributes", "annotation", "project",
                                                "palette", "dialogs",    "controls",   "resources"};

fs::path SourceDir() {
  const char* dir = std::getenv("HARNEX_SOURCE_DIR");
  return dir ? dir : ".";
}

bool IsAddinFolder(const std::string& name) {
  return std::find(kAddinFolders.begin(), kAddinFolders.end(), name) != kAddinFolders.end();
}

// One #include line of an add-in file: where it is, and what it names as written.
struct Include {
  std::string where;  // "folder/file:line"
  std::string folder;
  std::string target;
  bool quoted;
};

std::vector<Include> AddinIncludes() {
  std::vector<Include> found;
  for (const std::string& folder : kAddinFolders) {
    std::vector<fs::path> files;
    for (const fs::directory_entry& e : fs::directory_iterator(SourceDir() / folder)) {
      if (e.is_regular_file()) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
      for (const testing::IncludeLine& include : testing::IncludeLines(file)) {
        found.push_back(
            {folder + "/" + file.filename().string() + ":" + std::to_string(include.line), folder,
             include.name, include.quoted});
      }
    }
  }
  return found;
}

// The add-in folder that a quoted include names first ("palette/main_dialog.h" names palette),
// or "" when it names none.
std::string FolderNamed(const Include& include) {
  if (!include.quoted) return "";
  const size_t slash = include.target.find('/');
  if (slash == std::string::npos) return "";
  const std::string folder = include.target.substr(0, slash);
  return IsAddinFolder(folder) ? folder : "";
}

// Every identifier that begins with "m_" in the files of `folder`, with where it stands.
std::vector<std::pair<std::string, std::string>> MPrefixedNames(const fs::path& folder) {
  static const std::regex kName(R"(\bm_[A-Za-z0-9_]+)");
  std::vector<std::pair<std::string, std::string>> found;
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
    if (!e.is_regular_file()) continue;
    std::ifstream in(e.path());
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
      for (std::sregex_iterator m(line.begin(), line.end(), kName), end; m != end; ++m) {
        found.emplace_back(m->str(), folder.filename().string() + "/" +
                                         e.path().filename().string() + ":" + std::to_string(n));
      }
    }
  }
  return found;
}

// folder -> folder it includes -> the include lines that make the edge.
using FolderGraph = std::map<std::string, std::map<std::string, std::vector<std::string>>>;

FolderGraph AddinFolderGraph() {
  FolderGraph graph;
  for (const std::string& folder : kAddinFolders) graph[folder];
  for (const Include& include : AddinIncludes()) {
    const std::string to = FolderNamed(include);
    if (!to.empty() && to != include.folder) graph[include.folder][to].push_back(include.where);
  }
  return graph;
}

// A path of folders from `from` to `to` along the graph's edges (both ends included), or empty.
std::vector<std::string> PathBetween(const FolderGraph& graph, const std::string& from,
                                     const std::string& to) {
  std::map<std::string, std::string> came_from;
  std::vector<std::string> pending = {from};
  came_from[from] = "";
  while (!pending.empty()) {
    const std::string at = pending.back();
    pending.pop_back();
    for (const auto& [next, lines] : graph.at(at)) {
      if (came_from.count(next)) continue;
      came_from[next] = at;
      if (next == to) {
        std::vector<std::string> path = {to};
        for (std::string f = at; !f.empty(); f = came_from[f]) path.insert(path.begin(), f);
        return path;
      }
      pending.push_back(next);
    }
  }
  return {};
}

// The cycle through an edge, written out with the include line of each step.
std::string DescribeCycle(const FolderGraph& graph, const std::vector<std::string>& path) {
  std::string text;
  for (size_t i = 0; i + 1 < path.size(); ++i) {
    text += "\n  " + path[i] + " -> " + path[i + 1] + "  (" +
            graph.at(path[i]).at(path[i + 1]).front() + ")";
  }
  return text;
}

TEST(AddinLayout, NoFolderComesBackToItselfThroughItsIncludes) {
  const FolderGraph graph = AddinFolderGraph();
  ASSERT_FALSE(graph.at("palette").empty()) << "no includes found below " << SourceDir();
  for (const auto& [from, edges] : graph) {
    for (const auto& [to, lines] : edges) {
      std::vector<std::string> back = PathBetween(graph, to, from);
      if (back.empty()) continue;
      back.insert(back.begin(), from);
      ADD_FAILURE() << "include cycle:" << DescribeCycle(graph, back);
    }
  }
}

TEST(AddinLayout, AppIsTheLowestLayerAndTheCommandsReadThePaletteThroughItsInterface) {
  const FolderGraph graph = AddinFolderGraph();
  for (const auto& [to, lines] : graph.at("app")) {
    ADD_FAILURE() << "app/ includes " << to << "/ at " << lines.front();
  }
  for (const char* commands : {"attributes", "annotation"}) {
    const auto& edges = graph.at(commands);
    const auto palette = edges.find("palette");
    if (palette != edges.end()) {
      ADD_FAILURE() << commands << "/ includes the palette at " << palette->second.front()
                    << "; the commands read it as PaletteAccess (app/palette_access.h)";
    }
  }
  // The interface is what they use instead, so it must be there to be used.
  EXPECT_TRUE(fs::is_regular_file(SourceDir() / "app/palette_access.h"));
}

// The platform's and the maker's headers are the real APIs' and are named as an add-in names
// them, <VuRida.h>, <dbmain.h>; the add-in's own files are named from the repository root,
// "folder/name.h", also beside each other, so that one spelling finds one file everywhere.
TEST(AddinLayout, IncludesNameApiHeadersInBracketsAndOwnFilesFromTheRoot) {
  int quoted = 0;
  for (const Include& include : AddinIncludes()) {
    const std::string first = include.target.substr(0, include.target.find('/'));
    if (!include.quoted) {
      EXPECT_TRUE(include.target.find('/') == std::string::npos || !IsAddinFolder(first))
          << include.where << ": <" << include.target << "> is the add-in's own file";
      EXPECT_NE(first, "maker") << include.where << ": <" << include.target << ">";
      continue;
    }
    ++quoted;
    EXPECT_FALSE(FolderNamed(include).empty())
        << include.where << ": \"" << include.target
        << "\" is neither an API header in brackets nor an add-in file named from the root";
    EXPECT_TRUE(fs::is_regular_file(SourceDir() / include.target))
        << include.where << ": \"" << include.target << "\" is not there";
  }
  EXPECT_GT(quoted, 0);
}

// The add-in's own members are camelCase_; "m_" names only the toolkit's real members, such as
// CWnd's m_hWnd, which the stand-ins of MFC and ObjectARX declare as the real classes do.
TEST(AddinLayout, MembersOfTheAddinsOwnClassesAreNotMPrefixed) {
  std::set<std::string> toolkit;
  for (const char* platform : {"platform/mfc", "platform/acad"}) {
    for (const auto& [name, where] : MPrefixedNames(SourceDir() / platform)) toolkit.insert(name);
  }
  ASSERT_TRUE(toolkit.count("m_hWnd")) << "the MFC stand-in was not read";
  for (const std::string& folder : kAddinFolders) {
    for (const auto& [name, where] : MPrefixedNames(SourceDir() / folder)) {
      EXPECT_TRUE(toolkit.count(name)) << where << ": " << name << " is no member of the toolkit";
    }
  }
}

// A dialog header is named for what the dialog does, its class for its history (CInsDataDlg in
// pattern_import_dialog.h): the first line names the class, so a search for either finds both.
TEST(AddinLayout, EveryDialogHeaderNamesItsClassOnItsFirstLine) {
  static const std::regex kDialogClass(R"(^class (C\w+) : public (CDialog|CAcUiDialog)\b)");
  int dialogs = 0;
  for (const std::string& folder : kAddinFolders) {
    for (const fs::directory_entry& e : fs::directory_iterator(SourceDir() / folder)) {
      if (e.path().extension() != ".h") continue;
      std::ifstream in(e.path());
      std::string first, line;
      std::getline(in, first);
      for (line = first; in; std::getline(in, line)) {
        std::smatch m;
        if (!std::regex_search(line, m, kDialogClass)) continue;
        ++dialogs;
        EXPECT_EQ(first.rfind("// " + m[1].str() + ":", 0), 0u)
            << folder << "/" << e.path().filename().string() << " begins \"" << first << "\"";
      }
    }
  }
  EXPECT_GE(dialogs, 9);
}

}  // namespace
