// A host session for the wiring note tests: a route drawing made by the drawing builder, the
// palette open, the note settings written for the test, and a scripted user whose lines are fed
// one at a time so that the test can look at the jig's entities between two of them.
#pragma once

#include <gtest/gtest.h>

#include <dbid.h>
#include <gepnt3d.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/drawing_builder.h"
#include "host/session/session.h"
#include "tools/system_folder.h"

class AcDbEntity;

namespace note_test {

// One entity as the tests compare it: its DXF type, its layer and colour, and its geometry:
//   LINE     points {start, end}
//   TEXT     points {position, alignment point}, text, height, width factor
//   ELLIPSE  points {centre, centre + major axis}, ratio, start and end parameter
//   INSERT   points {position}, text = block name
struct Shape {
  std::wstring type;
  std::wstring layer;
  int colour = 0;
  std::wstring linetype;
  int line_weight = 0;
  std::vector<AcGePoint3d> points;
  std::wstring text;
  double height = 0, width_factor = 0, ratio = 0, start = 0, end = 0;
};
Shape ShapeOf(const AcDbEntity* entity);
// The shapes of the running jig's shown entities (empty when no jig runs).
std::vector<Shape> ShownShapes();
// The shapes of the entities of block definition `name` in their stored order.
std::vector<Shape> BlockShapes(const std::wstring& name);
// The names of the drawing's block definitions that begin with "PXNT", in table order.
std::vector<std::wstring> NoteBlockNames();
// The shapes of model space's entities in drawing order.
std::vector<Shape> ModelSpaceShapes();

// Point comparison to 1e-7 (script points carry 17 digits) with a readable failure.
::testing::AssertionResult Near(const AcGePoint3d& actual, const AcGePoint3d& expected);
::testing::AssertionResult IsLine(const Shape& shape, const AcGePoint3d& start,
                                  const AcGePoint3d& end);

// The session. Settings are written to ZazoZivi.ini before the session starts.
class NoteSessionTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Replaces the note section with these values (key, text) before Start.
  void WriteNoteSettings(const std::vector<std::pair<std::wstring, std::wstring>>& values);
  // Starts the session on the drawing `build` makes; opens the palette unless told not to.
  void Start(const std::function<void(tools::DrawingBuilder&)>& build, bool palette = true);

  // Runs script lines one by one. Before each line after the first, the shapes the jig shows
  // are recorded: shown[i] is what the jig showed after lines[i] had been taken. `before`, when
  // given, is called with the index of each line just before the line is given.
  int RunLines(const std::vector<std::wstring>& lines,
               const std::function<void(size_t)>& before = nullptr);
  const std::vector<std::vector<Shape>>& shown() const { return shown_; }

  const std::wstring& Transcript() const { return session_->transcript(); }
  host::Session& session() { return *session_; }

 private:
  std::unique_ptr<tools::SystemFolderCopy> folder_;
  std::unique_ptr<host::Session> session_;
  std::vector<std::vector<Shape>> shown_;
};

// A point as a script writes it, "X,Y" with enough digits.
std::wstring At(double x, double y);

}  // namespace note_test
