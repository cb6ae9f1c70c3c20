// harnex-host run on a pseudo-terminal, as a person at a terminal runs it: keys typed, signals
// sent, everything it writes (standard output and error share the terminal) read back.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testing_terminal {

class TerminalProgram {
 public:
  // Starts the built harnex-host with `args` on a new 200-column pseudo-terminal, with the
  // variables of `env` set in its environment.
  TerminalProgram(const std::vector<std::string>& args,
                  const std::vector<std::pair<std::string, std::string>>& env);
  // Kills the program when it still runs.
  ~TerminalProgram();
  TerminalProgram(const TerminalProgram&) = delete;
  TerminalProgram& operator=(const TerminalProgram&) = delete;

  bool started() const { return pid_ > 0; }
  void Type(std::string_view keys);
  void Signal(int signal);
  // Waits until `text` appears after the end of the previous match; then the next wait looks
  // after it. False when it does not appear within the timeout or the program ended first.
  bool WaitFor(std::string_view text, std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // Waits for the program to end and reads what it wrote until then. Its exit status, 128 + the
  // signal's number when a signal ended it, -1 when it is still running after the timeout.
  int Finish(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // Everything written so far.
  const std::string& output() const { return output_; }
  // What was written after the end of the last match.
  std::string Unmatched() const { return output_.substr(matched_); }

 private:
  // Reads what is there, waiting up to `wait`; false at the end of the output.
  bool ReadSome(std::chrono::milliseconds wait);

  pid_t pid_ = -1;
  int fd_ = -1;
  std::string output_;
  size_t matched_ = 0;
  int status_ = -1;
};

// The built program, beside the tests' folder.
std::string ProgramPath();

}  // namespace testing_terminal
