// The session script's steps built in code: what tests and the host's own runs give the scripted
// user instead of script text.
#include <utility>

#include "host/user/script.h"

namespace host {

using platform::ActionKind;

namespace steps {
namespace {

// An action at a point of the drawing (pickat, point, move, a rectangle's first corner).
ScriptStep PointStep(ActionKind kind, double x, double y) {
  ScriptStep step = Action(kind);
  step.action.x = x;
  step.action.y = y;
  return step;
}

ScriptStep PreselectRectangle(const wchar_t* mode, double x1, double y1, double x2, double y2) {
  ScriptStep step = PointStep(ActionKind::kPreselect, x1, y1);
  step.action.text = mode;
  step.action.x2 = x2;
  step.action.y2 = y2;
  return step;
}

ScriptStep Window(ActionKind kind, int control, int template_id) {
  ScriptStep s = Action(kind);
  s.action.control = control;
  s.action.template_id = template_id;
  return s;
}
ScriptStep Directive(ScriptStep::Kind kind) {
  ScriptStep s;
  s.kind = kind;
  return s;
}
}  // namespace

ScriptStep Action(ActionKind kind) {
  ScriptStep step;
  step.action.kind = kind;
  return step;
}

ScriptStep Command(std::wstring name, std::vector<std::wstring> args) {
  ScriptStep s = Action(ActionKind::kCommand);
  s.action.text = std::move(name);
  s.action.args = std::move(args);
  return s;
}
ScriptStep Typed(std::wstring text) {
  ScriptStep s = Action(ActionKind::kTyped);
  s.action.text = std::move(text);
  return s;
}
ScriptStep Pick(std::vector<uint64_t> handles) {
  ScriptStep s = Action(ActionKind::kPick);
  s.action.handles = std::move(handles);
  return s;
}
ScriptStep PickAt(double x, double y) {
  return PointStep(ActionKind::kPickAt, x, y);
}
ScriptStep Point(double x, double y) {
  return PointStep(ActionKind::kPoint, x, y);
}
ScriptStep Point(double x, double y, double z) {
  ScriptStep s = Point(x, y);
  s.action.z = z;
  s.action.has_z = true;
  return s;
}
ScriptStep Move(double x, double y) {
  return PointStep(ActionKind::kMove, x, y);
}
ScriptStep Enter() {
  return Action(ActionKind::kEnter);
}
ScriptStep Esc() {
  return Action(ActionKind::kEsc);
}
ScriptStep Preselect(std::vector<uint64_t> handles) {
  ScriptStep s = Action(ActionKind::kPreselect);
  s.action.handles = std::move(handles);
  return s;
}
ScriptStep PreselectWindow(double x1, double y1, double x2, double y2) {
  return PreselectRectangle(L"window", x1, y1, x2, y2);
}
ScriptStep PreselectCrossing(double x1, double y1, double x2, double y2) {
  return PreselectRectangle(L"crossing", x1, y1, x2, y2);
}
ScriptStep Break() {
  return Action(ActionKind::kBreak);
}
ScriptStep Click(int control, int template_id) {
  return Window(ActionKind::kClick, control, template_id);
}
ScriptStep Type(int control, std::wstring text, int template_id) {
  ScriptStep s = Window(ActionKind::kType, control, template_id);
  s.action.text = std::move(text);
  return s;
}
ScriptStep Choose(int control, std::wstring text, int template_id) {
  ScriptStep s = Window(ActionKind::kChoose, control, template_id);
  s.action.text = std::move(text);
  return s;
}
ScriptStep Rows(int control, std::vector<int> rows, int template_id) {
  ScriptStep s = Window(ActionKind::kRows, control, template_id);
  s.action.numbers = std::move(rows);
  return s;
}
ScriptStep Header(int control, int column, int template_id) {
  ScriptStep s = Window(ActionKind::kHeader, control, template_id);
  s.action.numbers = {column};
  return s;
}
ScriptStep Menu(int control, std::wstring item, int template_id) {
  ScriptStep s = Window(ActionKind::kMenu, control, template_id);
  s.action.text = std::move(item);
  return s;
}
ScriptStep Answer(std::wstring answer) {
  ScriptStep s = Action(ActionKind::kAnswer);
  s.action.text = std::move(answer);
  return s;
}
ScriptStep Colour(int index) {
  ScriptStep s = Action(ActionKind::kColour);
  s.action.numbers = {index};
  return s;
}
ScriptStep ColourCancel() {
  return Action(ActionKind::kColour);
}
ScriptStep Expect(std::wstring text) {
  ScriptStep s = Directive(ScriptStep::Kind::kExpect);
  s.text = std::move(text);
  return s;
}
ScriptStep ShowPalette() {
  return Directive(ScriptStep::Kind::kShowPalette);
}
ScriptStep ShowEntity(uint64_t handle) {
  ScriptStep s = Directive(ScriptStep::Kind::kShowEntity);
  s.handle = handle;
  return s;
}
ScriptStep ShowDrawing() {
  return Directive(ScriptStep::Kind::kShowDrawing);
}
ScriptStep Help(std::wstring verb) {
  ScriptStep s = Directive(ScriptStep::Kind::kHelp);
  s.text = std::move(verb);
  return s;
}
}  // namespace steps

}  // namespace host
