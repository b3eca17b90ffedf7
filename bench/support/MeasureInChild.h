#pragma once
// Figures that must not depend on what ran before in the benchmark process (resident memory
// above all) are measured in a child forked for the purpose. Figures is trivially copyable; the
// child's figures come back through a pipe, default ones when the child gave none.
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <type_traits>

namespace benchsupport {

// The resident set of the calling process, in KiB.
inline double ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6));
  return 0;
}

template <class Work>
auto MeasureInChild(Work work) -> decltype(work()) {
  using Figures = decltype(work());
  static_assert(std::is_trivially_copyable_v<Figures>);
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return Figures{};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipeFds[0]);
    const Figures figures = work();
    (void)!::write(pipeFds[1], &figures, sizeof figures);
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  Figures figures{};
  if (pid < 0 || ::read(pipeFds[0], &figures, sizeof figures) != static_cast<ssize_t>(sizeof figures)) figures = {};
  ::close(pipeFds[0]);
  if (pid > 0) {
    int status = 0;
    ::waitpid(pid, &status, 0);
  }
  return figures;
}

}  // namespace benchsupport
