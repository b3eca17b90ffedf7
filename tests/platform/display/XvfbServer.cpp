#include "XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include <X11/Xlib.h>

extern char** environ;

namespace platform::testing {
namespace {

bool CanOpen(const std::string& name) {
  ::Display* display = XOpenDisplay(name.c_str());
  if (!display) return false;
  XCloseDisplay(display);
  return true;
}

// The first line written to fd within timeoutMs (without its newline); empty on timeout or end.
std::string ReadLine(int fd, int timeoutMs) {
  std::string line;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char ch = 0;
    if (read(fd, &ch, 1) != 1) return {};
    if (ch == '\n') return line;
    line += ch;
  }
  return {};
}

std::string Choose() {
  const char* display = std::getenv("DISPLAY");
  if (display && *display && CanOpen(display)) return display;
  static PrivateXvfb server;
  return server.Name();
}

}  // namespace

// Xvfb picks a free display number itself and writes it to the pipe once it takes clients, so
// test programs running side by side never race for one number.
PrivateXvfb::PrivateXvfb(const std::vector<std::string>& extraArgs) {
  int ready[2];
  // Both ends close on exec; only the copy made as the server's descriptor 3 stays open there.
  if (pipe2(ready, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, ready[1], 3);
  std::vector<std::string> args = {"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                                   "-noreset"};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int failed = posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ready[1]);
  if (failed) {
    m_pid = -1;
    close(ready[0]);
    return;
  }
  std::string number = ReadLine(ready[0], 10000);
  close(ready[0]);
  if (!number.empty() && CanOpen(":" + number)) m_name = ":" + number;
}

PrivateXvfb::~PrivateXvfb() {
  if (m_pid <= 0) return;
  kill(m_pid, SIGTERM);
  int status = 0;
  waitpid(m_pid, &status, 0);
}

const std::string& TestDisplayName() {
  static const std::string name = Choose();
  return name;
}

}  // namespace platform::testing
