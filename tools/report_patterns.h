// What the pattern report reads from one project file: a line per non-empty row of every
// pattern, as the palette shows the row.
#pragma once

#include <string>
#include <vector>

namespace tools {

// The rows of the pattern report for the project `project`: a path to a project file (.tpr,
// any case), or, when no file of that path exists and it names no folder, the name of a project
// in the project folder of the host configuration `config_path` (its system folder followed by
// "プロジェクト"). The project is read as the palette reads it (LoadProject: code page 932,
// UTF-16LE and UTF-8 files alike). Each row: project name (the file name without extension),
// pattern name, "幹線" or "一般", the row number from 1, then the nine values of the palette's
// columns in order, the construction item as its name (as stored) and the on-rack flag as "○"
// or empty. Rows that are empty are left out; patterns and rows keep the project's order.
// False, with the reason in *error (no file name, which the caller adds), when the project
// cannot be found or read or holds no pattern; *rows is then unchanged.
bool ReadPatternRows(const std::string& project, const std::string& config_path,
                     std::vector<std::vector<std::wstring>>* rows, std::wstring* error);

}  // namespace tools
