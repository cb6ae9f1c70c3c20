// Scripted-user actions for the editor's tests: short builders over platform::UserAction.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/win/user_session.h"

namespace editor_test {

platform::UserAction Typed(std::wstring text, int line = 0);
platform::UserAction Point(double x, double y);
platform::UserAction Point3(double x, double y, double z);
platform::UserAction PickAt(double x, double y);
platform::UserAction Move(double x, double y);
platform::UserAction Pick(std::initializer_list<uint64_t> handles, int line = 0);
platform::UserAction Enter();
platform::UserAction Esc();
platform::UserAction Break();
platform::UserAction Click(int control, int line = 0);
platform::UserAction Colour(std::initializer_list<int> numbers, int line = 0);
platform::UserAction Command(std::wstring name, int line = 0);

}  // namespace editor_test
