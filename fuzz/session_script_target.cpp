// Fuzz target: a session script as harnex-host reads it from a file, and each step it reads
// written back as a line that reads as the same step.
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_targets.h"
#include "host/user/script.h"
#include "host/user/script_writer.h"

namespace fuzz {
namespace {

bool SameNumber(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

// Every field that the reader sets, the line number aside.
bool SameStep(const host::ScriptStep& s, const host::ScriptStep& t) {
  const platform::UserAction& a = s.action;
  const platform::UserAction& b = t.action;
  return s.kind == t.kind && s.text == t.text && s.handle == t.handle && a.kind == b.kind &&
         a.text == b.text && a.args == b.args && a.handles == b.handles && SameNumber(a.x, b.x) &&
         SameNumber(a.y, b.y) && SameNumber(a.z, b.z) && SameNumber(a.x2, b.x2) &&
         SameNumber(a.y2, b.y2) && a.has_z == b.has_z && a.template_id == b.template_id &&
         a.control == b.control && a.numbers == b.numbers;
}

void CheckWrittenBack(const host::ScriptStep& step) {
  // A number too large for a double reads as infinity, which no line can say.
  const platform::UserAction& a = step.action;
  for (const double v : {a.x, a.y, a.z, a.x2, a.y2}) {
    if (!std::isfinite(v)) return;
  }
  std::vector<host::ScriptStep> again;
  std::wstring error;
  const bool read = host::ReadScriptLine(host::ScriptLineOf(step), 1, &again, &error);
  FUZZ_CHECK(read && again.size() == 1, "a step written back reads as one step");
  if (read && again.size() == 1) {
    FUZZ_CHECK(SameStep(step, again.front()), "a step written back reads as the same step");
  }
}

}  // namespace

void SessionScript(std::string_view bytes) {
  const host::ScriptReadResult read = host::ReadScript(host::DecodeScriptBytes(bytes));
  if (!read.ok()) FUZZ_CHECK(read.error.rfind(L"line ", 0) == 0, "an error names its line");
  int line = 0;
  for (const host::ScriptStep& step : read.steps) {
    FUZZ_CHECK(step.line > line, "steps come one a line, in order");
    line = step.line;
    CheckWrittenBack(step);
  }
}

}  // namespace fuzz
