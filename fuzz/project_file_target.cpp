// Fuzz target: a project file (.tpr) loaded, saved under another name and loaded again.
#include "platform/win/text_encoding.h"
#include "platform/win/user_session.h"
#include <windows.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "fuzz/fuzz_targets.h"
#include "fuzz/scratch_folder.h"
#include "project/project_file.h"
#include "project/project_model.h"

namespace fuzz {
namespace {

// A loaded name or value keeps at most this many characters.
constexpr int kLoadedLength = 127;

const CString& ProjectFolder() {
  static const CString folder = [] {
    const std::string posix = ScratchFolder() + "/tpr/system/プロジェクト";
    std::filesystem::create_directories(posix);
    return CString(WindowsPath(posix).c_str());
  }();
  return folder;
}

// What a save keeps of a pattern: its name, type, conduit selection and non-empty rows in order.
struct Saved {
  CString name;
  int type = 0;
  int pipe_sel = 0;
  std::vector<std::vector<CString>> rows;  // the eight texts and the on-rack flag in decimal
  bool operator==(const Saved&) const = default;
};

std::vector<Saved> SavedOf(const ProjectModel& model) {
  std::vector<Saved> saved;
  for (int i = 0; i < model.PatternCount(); ++i) {
    const PatternData& p = *model.Pattern(i);
    FUZZ_CHECK(!p.name.IsEmpty() && p.name.GetLength() <= kLoadedLength,
               "a loaded pattern has a name of at most 127 characters");
    if (p.IsSearchPattern()) continue;  // never saved
    Saved s{p.name, p.type, p.pipeSel, {}};
    for (int row = 0; row < kPatternRows; ++row) {
      if (p.IsRowEmpty(row)) continue;
      std::vector<CString> values;
      for (int c = 0; c < kPatternColumns; ++c) {
        if (c == kColumnOnRack) {
          values.push_back(CString(std::to_wstring(p.onRack[row]).c_str()));
        } else {
          const CString& text = p.Text(static_cast<PatternColumn>(c), row);
          FUZZ_CHECK(text.GetLength() <= kLoadedLength, "a loaded value is cut at 127");
          values.push_back(text);
        }
      }
      s.rows.push_back(std::move(values));
    }
    saved.push_back(std::move(s));
  }
  return saved;
}

// What a saved file gives back of a loaded text: the profile functions drop the blanks around a
// value, so a loaded text never ends with one unless the buffer cut it there, and then the saved
// text reads back without them (on Windows too).
CString WithoutEndBlanks(CString text) {
  int n = text.GetLength();
  while (n > 0 && (text[n - 1] == L' ' || text[n - 1] == L'\t')) --n;
  return text.Left(n);
}

std::vector<Saved> AsReadBack(std::vector<Saved> saved) {
  for (Saved& s : saved) {
    s.name = WithoutEndBlanks(s.name);
    for (std::vector<CString>& row : s.rows)
      for (CString& text : row) text = WithoutEndBlanks(text);
  }
  return saved;
}

}  // namespace

void ProjectFile(std::string_view bytes) {
  const CString& folder = ProjectFolder();
  FUZZ_CHECK(platform::WriteFileBytes(ProjectFilePath(folder, L"FUZZ"), std::string(bytes)) ==
                 ERROR_SUCCESS,
             "the input file can be written");
  platform::ActionQueueSession session;  // an error box would be acknowledged and logged
  platform::ScopedUserSession scoped(&session);

  ProjectModel loaded(folder);
  const int count = LoadProject(loaded, L"FUZZ");
  FUZZ_CHECK(count >= 0 && count == loaded.PatternCount(), "a project file is loaded");
  const std::vector<Saved> expected = SavedOf(loaded);

  FUZZ_CHECK(SaveProject(loaded, L"COPY"), "a loaded project can be saved");
  FUZZ_CHECK(session.transcript().empty(), "a save shows no message");
  ProjectModel copy(folder);
  LoadProject(copy, L"COPY");
  const std::vector<Saved> reloaded = SavedOf(copy);
  // A value holding a NUL character ends there for every reader (as on Windows), so blanks
  // before it are kept on loading and dropped after saving: such a damaged file is only read.
  if (platform::DecodeText(bytes).find(L'\0') != std::wstring::npos) return;
  FUZZ_CHECK(reloaded == AsReadBack(expected), "a saved project loads as it was saved");

  // Reading the first pattern again from the saved file gives it as loaded.
  if (copy.PatternCount() > 0) {
    PatternData again;
    again.name = copy.Pattern(0)->name;
    ReloadPattern(copy, again);
    ProjectModel one(folder);
    one.AddPattern(std::make_unique<PatternData>(again));
    FUZZ_CHECK(SavedOf(one).front() == reloaded.front(), "a pattern reloads as it was loaded");
  }
}

}  // namespace fuzz
