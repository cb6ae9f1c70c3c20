// A host session on a route drawing for the tests of the wiring attribute record: the drawing
// is built with the drawing builder, the scripted user answers the prompts, and every test
// checks at the end that nothing was left open.
#pragma once

#include <gtest/gtest.h>

#include <afx.h>
#include <afxcoll.h>
#include <dbid.h>
#include "platform/acad/status_bar.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/drawing_builder.h"
#include "host/session/session.h"
#include "tools/system_folder.h"

namespace attributes_test {

class RouteDrawingTest : public ::testing::Test {
 protected:
  // Starts a session (Harnex loaded, on a copy of the system folder) whose drawing `build`
  // fills. Fails the test when the builder or the session reports an error.
  void StartSession(const std::function<void(tools::DrawingBuilder&)>& build);
  // The same on a DXF drawing.
  void StartSessionOnFile(const std::string& dxf);
  void TearDown() override;

  // The scripted user's next actions.
  void Queue(std::vector<host::ScriptStep> steps);
  host::Session& session() { return *session_; }
  const tools::SystemFolderCopy& folder() const { return *folder_; }

 private:
  std::unique_ptr<tools::SystemFolderCopy> folder_;
  std::unique_ptr<host::Session> session_;
};

// The strings of one application's XData, read straight from the entity's 1000 groups (not
// through the maker's library). Empty when the entity has none or cannot be opened; `found`
// tells the two apart.
std::vector<std::wstring> XDataStrings(AcDbObjectId id, const wchar_t* app, bool* found = nullptr);
bool HasXData(AcDbObjectId id, const wchar_t* app);

// The colour index of an entity, and of each attribute of a block reference.
int ColourOf(AcDbObjectId id);
std::vector<int> AttributeColoursOf(AcDbObjectId id);
void SetColour(AcDbObjectId id, int colour);

// The first entity of the block definition `block` of the working drawing.
AcDbObjectId FirstEntityOfBlock(const wchar_t* block);

// Conversions between MFC string arrays and vectors.
std::vector<std::wstring> ToVector(const CStringArray& list);
void Fill(CStringArray& list, const std::vector<std::wstring>& strings);

// How often `text` occurs in `haystack`.
int CountOf(const std::wstring& haystack, const std::wstring& text);

// Presses Esc (queues a `break` for the session's user) when the progress meter reaches
// position `pos`, for as long as it lives; the observer before it is put back at the end.
class BreakAt : public platform::acad::ProgressMeterObserver {
 public:
  BreakAt(host::Session& session, int pos) : session_(session), pos_(pos) {
    previous_ = platform::acad::SetProgressMeterObserver(this);
  }
  ~BreakAt() override { platform::acad::SetProgressMeterObserver(previous_); }
  void OnMeterShown(const std::wstring&, int, int) override {}
  void OnMeterPos(int pos) override {
    if (pos == pos_) session_.user().Add(host::steps::Break());
  }
  void OnStatusBarRestored() override {}

 private:
  host::Session& session_;
  int pos_;
  platform::acad::ProgressMeterObserver* previous_;
};

}  // namespace attributes_test
