// harnex-host on a pseudo-terminal.
#include "terminal_support.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

namespace testing_terminal {

std::string ProgramPath() {
  return (std::filesystem::current_path().parent_path() / "harnex-host").string();
}

TerminalProgram::TerminalProgram(const std::vector<std::string>& args,
                                 const std::vector<std::pair<std::string, std::string>>& env) {
  const std::string program = ProgramPath();
  std::vector<std::string> argv_strings = {program};
  argv_strings.insert(argv_strings.end(), args.begin(), args.end());
  winsize size{};
  size.ws_row = 50;
  size.ws_col = 200;
  pid_ = forkpty(&fd_, nullptr, nullptr, &size);
  if (pid_ == 0) {
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv;
    for (auto& s : argv_strings) argv.push_back(s.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
}

TerminalProgram::~TerminalProgram() {
  if (pid_ > 0 && status_ < 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (fd_ >= 0) close(fd_);
}

void TerminalProgram::Type(std::string_view keys) {
  while (!keys.empty()) {
    const ssize_t n = write(fd_, keys.data(), keys.size());
    if (n <= 0) return;
    keys.remove_prefix(static_cast<size_t>(n));
  }
}

void TerminalProgram::Signal(int signal) {
  if (pid_ > 0) kill(pid_, signal);
}

bool TerminalProgram::ReadSome(std::chrono::milliseconds wait) {
  pollfd p{fd_, POLLIN, 0};
  if (poll(&p, 1, static_cast<int>(wait.count())) <= 0) return true;
  char buffer[4096];
  const ssize_t n = read(fd_, buffer, sizeof buffer);
  if (n <= 0) return false;  // EIO once the program and its terminal are gone
  output_.append(buffer, static_cast<size_t>(n));
  return true;
}

bool TerminalProgram::WaitFor(std::string_view text, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const size_t at = output_.find(text, matched_);
    if (at != std::string::npos) {
      matched_ = at + text.size();
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    if (!ReadSome(std::chrono::milliseconds(50)))
      return output_.find(text, matched_) != std::string::npos;
  }
}

int TerminalProgram::Finish(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (status_ < 0 && std::chrono::steady_clock::now() < deadline) {
    const bool open = ReadSome(std::chrono::milliseconds(50));
    int raw = 0;
    if (waitpid(pid_, &raw, WNOHANG) == pid_) {
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
      // What it wrote last is still in the terminal.
      for (;;) {
        const size_t before = output_.size();
        if (!ReadSome(std::chrono::milliseconds(100)) || output_.size() == before) break;
      }
    } else if (!open) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  return status_;
}

}  // namespace testing_terminal
