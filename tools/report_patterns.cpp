// Reading the pattern report's rows from a project file.
#include "tools/report_patterns.h"

#include "platform/win/text_encoding.h"

#include <cwctype>
#include <filesystem>

#include "project/pattern_rows.h"
#include "project/project_file.h"
#include "project/project_model.h"

namespace tools {
namespace fs = std::filesystem;

namespace {

bool HasProjectExtension(const fs::path& path) {
  std::wstring extension = platform::Utf8ToWide(path.extension().string());
  for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(c));
  return extension == kProjectExtension;
}

// Where the project lives: its folder and its name. False with the reason when there is none.
bool LocateProject(const std::string& project, const std::string& config_path, CString* folder,
                   CString* name, std::wstring* error) {
  const fs::path path(project);
  std::error_code ec;
  if (fs::is_regular_file(path, ec)) {
    if (!HasProjectExtension(path)) {
      *error = L"not a project file (.tpr)";
      return false;
    }
    const fs::path parent = path.parent_path();
    *folder = parent.empty() ? L"." : platform::Utf8ToWide(parent.string()).c_str();
    *name = platform::Utf8ToWide(path.stem().string()).c_str();
    return true;
  }
  if (fs::exists(path, ec)) {
    *error = L"not a project file (.tpr)";
    return false;
  }
  // A bare name is looked for in the configured project folder.
  const CString projects = ProjectFolderFromConfig(platform::Utf8ToWide(config_path).c_str());
  if (path.has_parent_path() || projects.IsEmpty()) {
    *error = L"no such file";
    return false;
  }
  *folder = projects;
  *name = platform::Utf8ToWide((HasProjectExtension(path) ? path.stem() : path).string()).c_str();
  return true;
}

}  // namespace

bool ReadPatternRows(const std::string& project, const std::string& config_path,
                     std::vector<std::vector<std::wstring>>* rows, std::wstring* error) {
  CString folder, name;
  if (!LocateProject(project, config_path, &folder, &name, error)) return false;
  ProjectModel model(folder);
  const int patterns = LoadProject(model, name);
  if (patterns < 0) {
    *error = CheckProjectName(name) != ERROR_SUCCESS
                 ? L"the file name cannot be a project's name"
                 : L"no project of that name in " + std::wstring(folder.GetString());
    return false;
  }
  if (patterns == 0) {
    *error = L"the project holds no pattern (no PATTERN-001 in [PROJECT])";
    return false;
  }
  std::vector<std::vector<std::wstring>> found;
  CStringArray values;
  for (int p = 0; p < model.PatternCount(); ++p) {
    const PatternData& pattern = *model.Pattern(p);
    const wchar_t* type = pattern.type == kPatternTypeTrunk ? L"幹線" : L"一般";
    for (int row = 0; row < kPatternRows; ++row) {
      if (pattern.IsRowEmpty(row)) continue;
      std::vector<std::wstring> line = {model.Name().GetString(), pattern.name.GetString(), type,
                                        std::to_wstring(row + 1)};
      values.RemoveAll();
      AppendRowStrings(pattern, row, pattern.kouji[row], values);
      for (INT_PTR i = 0; i < values.GetSize(); ++i) line.emplace_back(values[i].GetString());
      found.push_back(std::move(line));
    }
  }
  rows->insert(rows->end(), std::make_move_iterator(found.begin()),
               std::make_move_iterator(found.end()));
  return true;
}

}  // namespace tools
