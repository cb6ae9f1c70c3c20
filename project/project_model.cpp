// ProjectModel: the pattern list of the open project and its current pattern.
#include "project/project_model.h"

PatternData* ProjectModel::Pattern(int index) const {
  if (index < 0 || index >= PatternCount()) return nullptr;
  return patterns_[index].get();
}

PatternData* ProjectModel::AddPattern(std::unique_ptr<PatternData> pattern) {
  if (!pattern) return nullptr;
  patterns_.push_back(std::move(pattern));
  if (current_ < 0) current_ = 0;
  return patterns_.back().get();
}

bool ProjectModel::RemovePattern(int index) {
  if (index < 0 || index >= PatternCount()) return false;
  patterns_.erase(patterns_.begin() + index);
  if (patterns_.empty()) {
    current_ = -1;
  } else if (index < current_ || (index == current_ && current_ > 0)) {
    // The current pattern moved up one place, or was removed and its predecessor takes over;
    // removing the first while it was current leaves index 0, its successor.
    --current_;
  }
  return true;
}

void ProjectModel::ClearPatterns() {
  patterns_.clear();
  current_ = -1;
}

int ProjectModel::FindPattern(const wchar_t* name, bool ignore_case) const {
  const wchar_t* wanted = name ? name : L"";
  for (int i = 0; i < PatternCount(); ++i) {
    const CString& have = patterns_[i]->name;
    if (ignore_case ? have.CompareNoCase(wanted) == 0 : have.Compare(wanted) == 0) return i;
  }
  return -1;
}

bool ProjectModel::SetCurrent(int index) {
  if (index < 0 || index >= PatternCount()) return false;
  current_ = index;
  return true;
}
