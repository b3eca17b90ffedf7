#include "ProcessTable.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <map>
#include <mutex>

#include "platform/shell.h"

extern char** environ;

namespace platform::shell {
namespace {

struct Child {
  pid_t pid{0};
  std::optional<DWORD> exitCode;
};

// Handles of started children, and children nobody holds a handle to any more.
struct Table {
  std::mutex lock;
  std::map<UINT_PTR, Child> byHandle;
  std::vector<pid_t> unheld;
  UINT_PTR nextHandle{0x7000};
};

// Never destroyed: objects of static lifetime made before it (the sound device's player) close
// their children's handles in their own destructors, after it would otherwise have gone.
Table& TheTable() {
  static Table& table = *new Table;
  return table;
}

DWORD ExitCodeFromStatus(int status) {
  if (WIFEXITED(status)) return static_cast<DWORD>(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return static_cast<DWORD>(128 + WTERMSIG(status));
  return 0;
}

// Reaps the unheld children that have ended; called with the lock held.
void ReapUnheld(Table& table) {
  std::erase_if(table.unheld, [](pid_t pid) {
    int status = 0;
    pid_t r = waitpid(pid, &status, WNOHANG);
    return r == pid || r < 0;
  });
}

void Refresh(Child& child) {
  if (child.exitCode) return;
  int status = 0;
  pid_t r = waitpid(child.pid, &status, WNOHANG);
  if (r == child.pid) child.exitCode = ExitCodeFromStatus(status);
  else if (r < 0) child.exitCode = 0;  // reaped elsewhere: its code is lost
}

Child* Find(Table& table, HANDLE handle) {
  auto it = table.byHandle.find(reinterpret_cast<UINT_PTR>(handle));
  return it == table.byHandle.end() ? nullptr : &it->second;
}

std::vector<char*> ArgvOf(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  return argv;
}

}  // namespace

std::optional<pid_t> Spawn(const std::string& program, const std::vector<std::string>& args,
                           const std::string& folder) {
  {
    std::lock_guard guard(TheTable().lock);
    ReapUnheld(TheTable());
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  std::vector<char*> argv = ArgvOf(args);
  pid_t pid = 0;
  int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return std::nullopt;
  return pid;
}

void Adopt(pid_t pid) {
  std::lock_guard guard(TheTable().lock);
  TheTable().unheld.push_back(pid);
}

HANDLE OpenHandle(pid_t pid) {
  Table& table = TheTable();
  std::lock_guard guard(table.lock);
  UINT_PTR value = table.nextHandle;
  table.nextHandle += 4;
  table.byHandle[value] = Child{pid, std::nullopt};
  return reinterpret_cast<HANDLE>(value);
}

std::optional<pid_t> PidOf(HANDLE handle) {
  Table& table = TheTable();
  std::lock_guard guard(table.lock);
  Child* child = Find(table, handle);
  if (!child) return std::nullopt;
  return child->pid;
}

std::optional<DWORD> ExitCodeOf(HANDLE handle) {
  Table& table = TheTable();
  std::lock_guard guard(table.lock);
  Child* child = Find(table, handle);
  if (!child) return std::nullopt;
  Refresh(*child);
  return child->exitCode ? *child->exitCode : STILL_ACTIVE;
}

bool Terminate(HANDLE handle, DWORD exitCode) {
  Table& table = TheTable();
  std::lock_guard guard(table.lock);
  Child* child = Find(table, handle);
  if (!child) return false;
  Refresh(*child);
  if (child->exitCode) return false;  // already ended: Windows answers access denied
  kill(child->pid, SIGKILL);
  int status = 0;
  waitpid(child->pid, &status, 0);
  child->exitCode = exitCode;
  return true;
}

bool Close(HANDLE handle) {
  Table& table = TheTable();
  std::lock_guard guard(table.lock);
  auto it = table.byHandle.find(reinterpret_cast<UINT_PTR>(handle));
  if (it == table.byHandle.end()) return false;
  Refresh(it->second);
  if (!it->second.exitCode) table.unheld.push_back(it->second.pid);
  table.byHandle.erase(it);
  return true;
}

}  // namespace platform::shell
