// Builders of scripted-user actions for the editor's tests.
#include "editor_test_support.h"

namespace editor_test {
namespace {
platform::UserAction Make(platform::ActionKind kind, int line = 0) {
  platform::UserAction a;
  a.kind = kind;
  a.line = line;
  return a;
}
platform::UserAction At(platform::ActionKind kind, double x, double y) {
  platform::UserAction a = Make(kind);
  a.x = x;
  a.y = y;
  return a;
}
}  // namespace

platform::UserAction Typed(std::wstring text, int line) {
  auto a = Make(platform::ActionKind::kTyped, line);
  a.text = std::move(text);
  return a;
}
platform::UserAction Point(double x, double y) {
  return At(platform::ActionKind::kPoint, x, y);
}
platform::UserAction Point3(double x, double y, double z) {
  auto a = At(platform::ActionKind::kPoint, x, y);
  a.z = z;
  a.has_z = true;
  return a;
}
platform::UserAction PickAt(double x, double y) {
  return At(platform::ActionKind::kPickAt, x, y);
}
platform::UserAction Move(double x, double y) {
  return At(platform::ActionKind::kMove, x, y);
}
platform::UserAction Pick(std::initializer_list<uint64_t> handles, int line) {
  auto a = Make(platform::ActionKind::kPick, line);
  a.handles = handles;
  return a;
}
platform::UserAction Enter() {
  return Make(platform::ActionKind::kEnter);
}
platform::UserAction Esc() {
  return Make(platform::ActionKind::kEsc);
}
platform::UserAction Break() {
  return Make(platform::ActionKind::kBreak);
}
platform::UserAction Click(int control, int line) {
  auto a = Make(platform::ActionKind::kClick, line);
  a.control = control;
  return a;
}
platform::UserAction Colour(std::initializer_list<int> numbers, int line) {
  auto a = Make(platform::ActionKind::kColour, line);
  a.numbers = numbers;
  return a;
}
platform::UserAction Command(std::wstring name, int line) {
  auto a = Make(platform::ActionKind::kCommand, line);
  a.text = std::move(name);
  return a;
}

}  // namespace editor_test
