// ProjectModel: the open project in memory, its name and its ordered list of patterns, one of
// them current.
//
// The palette owns one ProjectModel for as long as it exists; the model itself knows no window.
// The pattern list is kept in file order: new patterns go to the end, removing one keeps the
// order of the others. Exactly one pattern is current while the list is not empty, and none
// while it is empty. The model owns its patterns; pointers to them stay valid until the pattern
// is removed or the list cleared.
//
// The project folder, where the project files of this model live, is set once when the palette
// starts (ProjectFolderFromConfig in project_file.h gives it).
#pragma once

#include <afx.h>

#include <memory>
#include <vector>

#include "project/pattern_data.h"

class ProjectModel {
 public:
  ProjectModel() = default;
  explicit ProjectModel(const CString& folder) : folder_(folder) {}
  ProjectModel(const ProjectModel&) = delete;
  ProjectModel& operator=(const ProjectModel&) = delete;

  // The project folder in the Windows form ("...\プロジェクト"), without a trailing "\".
  const CString& Folder() const { return folder_; }
  void SetFolder(const CString& folder) { folder_ = folder; }

  // The project's name: its file name without the extension; empty while a new project has not
  // been saved.
  const CString& Name() const { return name_; }
  void SetName(const CString& name) { name_ = name; }

  int PatternCount() const { return static_cast<int>(patterns_.size()); }
  // The pattern at `index` in list order, or null when out of range.
  PatternData* Pattern(int index) const;
  // Appends a pattern (a null one is ignored) and returns it; the first pattern of an empty
  // list becomes current.
  PatternData* AddPattern(std::unique_ptr<PatternData> pattern);
  // Removes the pattern at `index`; false when out of range. When it was current, the pattern
  // before it becomes current, or, when it was the first, the one that follows it.
  bool RemovePattern(int index);
  // Discards every pattern; no pattern is current. The name and folder stay.
  void ClearPatterns();

  // The index of the first pattern whose name equals `name`: exactly, or without regard to case
  // when ignore_case. -1 when none does.
  int FindPattern(const wchar_t* name, bool ignore_case = false) const;

  // The current pattern's index (-1 when the list is empty) and the pattern itself (or null).
  int CurrentIndex() const { return current_; }
  PatternData* Current() const { return Pattern(current_); }
  // Makes the pattern at `index` current; false (and no change) when out of range.
  bool SetCurrent(int index);

 private:
  CString folder_;
  CString name_;
  std::vector<std::unique_ptr<PatternData>> patterns_;
  int current_ = -1;
};
