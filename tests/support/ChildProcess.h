#pragma once
// A program of the suite started by a test as a person would start it: its own environment
// additions, working folder and output file. The process is always ended and reaped when the
// object goes, so a failing test never leaves a program running.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace testsupport {

class ChildProcess {
public:
  // Starts argv[0] with argv, the caller's environment with env laid over it, in folder, its
  // standard output and error both written to outputPath. Started() tells whether it ran.
  ChildProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
               const std::string& folder, const std::string& outputPath)
      : m_outputPath(outputPath) {
    std::map<std::string, std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
      const char* equals = std::strchr(*entry, '=');
      if (equals) merged[std::string(*entry, static_cast<std::size_t>(equals - *entry))] = equals + 1;
    }
    for (const auto& [name, value] : env) merged[name] = value;
    std::vector<std::string> envText;
    for (const auto& [name, value] : merged) envText.push_back(name + "=" + value);

    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : envText) envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, STDIN_FILENO);
    // The folder is entered by the child alone; the test's own working folder stays.
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    if (posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~ChildProcess() { Stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return m_pid > 0; }

  // Everything the program has written so far.
  std::string Output() const {
    std::ifstream file(m_outputPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

  // Polls until pred holds or timeoutMs of real time pass (programs run on their own clock).
  static bool WaitUntil(const std::function<bool()>& pred, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }

  // Whether the program has ended by itself; its wait status in *status.
  bool Ended(int* status = nullptr) {
    if (m_pid <= 0) return true;
    int result = 0;
    if (::waitpid(m_pid, &result, WNOHANG) != m_pid) return false;
    m_pid = -1;
    m_status = result;
    if (status) *status = result;
    return true;
  }

  // Asks the program to end (SIGTERM), then forces it after a few seconds; the wait status.
  int Stop() {
    if (m_pid <= 0) return m_status;
    ::kill(m_pid, SIGTERM);
    if (!WaitUntil([this] { return Ended(); }, 5000)) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, &m_status, 0);
      m_pid = -1;
    }
    return m_status;
  }

private:
  pid_t m_pid{-1};
  int m_status{0};
  std::string m_outputPath;
};

}  // namespace testsupport
