// Fuzz target: a session script as harnex-host reads it from a file.
#include <string>

#include "fuzz/fuzz_targets.h"
#include "host/user/script.h"

namespace fuzz {

void SessionScript(std::string_view bytes) {
  const host::ScriptReadResult read = host::ReadScript(host::DecodeScriptBytes(bytes));
  if (!read.ok()) FUZZ_CHECK(read.error.rfind(L"line ", 0) == 0, "an error names its line");
  int line = 0;
  for (const host::ScriptStep& step : read.steps) {
    FUZZ_CHECK(step.line > line, "steps come one a line, in order");
    line = step.line;
  }
}

}  // namespace fuzz
