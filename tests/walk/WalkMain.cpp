#include "walk/WalkMain.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/display/XvfbServer.h"
#include "support/ChildProcess.h"

#include <X11/Xlib.h>

namespace walk {
namespace {

struct Command {
  Options walk;
  bool child{false};
  bool windowManager{false};
  bool show{false};  // the walk's own lines printed, passed or not
  int shrinkRuns{40};
};

bool ReadCommand(int argc, char** argv, Command& command) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    const auto number = [&] { return std::strtoll(argv[++i], nullptr, 10); };
    if (arg == "--child") command.child = true;
    else if (arg == "--wm") command.windowManager = true;
    else if (arg == "--show") command.show = true;
    else if (arg == "--go-on") command.walk.serverFaultsEnd = false;
    else if (arg == "--seed" && hasValue) command.walk.seed = static_cast<std::uint64_t>(number());
    else if (arg == "--steps" && hasValue) command.walk.steps = static_cast<int>(number());
    else if (arg == "--skip" && hasValue) command.walk.skip = static_cast<int>(number());
    else if (arg == "--seconds" && hasValue) command.walk.seconds = static_cast<int>(number());
    else if (arg == "--answer-ms" && hasValue) command.walk.answerMs = static_cast<int>(number());
    else if (arg == "--memory-mb" && hasValue) command.walk.memoryMb = static_cast<int>(number());
    else if (arg == "--shrink-runs" && hasValue) command.shrinkRuns = static_cast<int>(number());
    else if (arg == "--display" && hasValue) command.walk.display = argv[++i];
    else if (arg == "--folder" && hasValue) command.walk.folder = argv[++i];
    else if (arg == "--replay" && hasValue) {
      std::vector<Step> steps;
      if (!Parse(argv[++i], steps)) return false;
      command.walk.replay = steps;
    } else {
      return false;
    }
  }
  return true;
}

// How one run of the walk ended.
struct Outcome {
  bool failed{false};
  std::string kind;    // what failed, to tell whether a shorter walk fails the same way
  std::string reason;
  std::vector<Step> taken;
  std::string output;
};

std::vector<Step> TakenSteps(const std::string& output) {
  std::vector<Step> taken;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("walk: step ", 0) != 0) continue;
    std::vector<Step> one;
    const std::size_t space = line.find(' ', 11);
    if (space != std::string::npos && Parse(line.substr(space + 1), one) && one.size() == 1) taken.push_back(one[0]);
  }
  return taken;
}

std::string LineWith(const std::string& output, const std::string& marker) {
  const std::size_t at = output.find(marker);
  if (at == std::string::npos) return "";
  const std::size_t begin = output.rfind('\n', at);
  const std::size_t end = output.find('\n', at);
  const std::size_t from = begin == std::string::npos ? 0 : begin + 1;
  return output.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

Outcome Judge(int status, bool timedOut, std::string output) {
  Outcome outcome;
  outcome.taken = TakenSteps(output);
  const std::string failed = LineWith(output, "walk: FAILED");
  const std::string sanitizer = LineWith(output, "ERROR: AddressSanitizer");
  const std::string undefined = LineWith(output, "runtime error:");
  if (!sanitizer.empty()) {
    // The function the report names first tells one fault from another.
    const std::size_t in = output.find(" in ", output.find("ERROR: AddressSanitizer"));
    const std::string where = in == std::string::npos ? "" : output.substr(in + 4, output.find_first_of(" \n", in + 4) - in - 4);
    outcome = {true, "sanitizer " + where, sanitizer + " in " + where, outcome.taken, {}};
  } else if (!undefined.empty()) {
    outcome = {true, "undefined", undefined, outcome.taken, {}};
  } else if (timedOut) {
    outcome = {true, "stalled", "the walk did not end in its time", outcome.taken, {}};
  } else if (!failed.empty()) {
    const std::size_t colon = failed.find(": ", 13);
    const std::string reason = colon == std::string::npos ? failed : failed.substr(colon + 2);
    // The reason's first words tell the kind of failure (numbers vary from run to run).
    std::string kind = reason.substr(0, reason.find_first_of("0123456789("));
    outcome = {true, kind, reason, outcome.taken, {}};
  } else if (WIFSIGNALED(status)) {
    outcome = {true, "signal", "the program ended on signal " + std::to_string(WTERMSIG(status)), outcome.taken, {}};
  } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    outcome = {true, "exit", "the program ended with code " + std::to_string(WEXITSTATUS(status)), outcome.taken, {}};
  }
  outcome.output = std::move(output);
  return outcome;
}

class Supervisor {
public:
  Supervisor(const Command& command, std::string display) : m_command(command), m_display(std::move(display)) {}

  // One walk (replay: these steps instead of the seed's) in a fresh folder. When the person ends
  // the program, it is started again in the same folder, with the settings it wrote, and the walk
  // goes on with its next steps.
  Outcome Run(const std::optional<std::vector<Step>>& replay) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("walk-" + std::to_string(::getpid()) + "-" + std::to_string(++m_runs));
    std::error_code error;
    fs::remove_all(folder, error);
    fs::create_directories(folder / "home", error);
    const auto begin = std::chrono::steady_clock::now();
    std::vector<Step> taken;
    std::string output;
    for (int start = 0; start < kMostStarts; ++start) {
      const int spent = static_cast<int>(
          std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - begin).count());
      std::optional<std::vector<Step>> rest;
      if (replay) rest = std::vector<Step>(replay->begin() + static_cast<std::ptrdiff_t>(std::min(taken.size(), replay->size())), replay->end());
      const int seconds = m_command.walk.seconds > 0 ? std::max(1, m_command.walk.seconds - spent) : 0;
      const int steps = rest ? static_cast<int>(rest->size()) : m_command.walk.steps;
      if ((rest && rest->empty()) || (!rest && m_command.walk.seconds <= 0 && static_cast<int>(taken.size()) >= steps) ||
          (!rest && m_command.walk.seconds > 0 && spent >= m_command.walk.seconds))
        break;
      Outcome part = RunOnce(folder, rest, static_cast<int>(taken.size()), seconds);
      taken.insert(taken.end(), part.taken.begin(), part.taken.end());
      output += part.output;
      if (part.failed || part.output.find("walk: the program ended") == std::string::npos) {
        part.taken = taken;
        part.output = output;
        if (!part.failed) fs::remove_all(folder, error);
        else part.output += "\n(the walk's folder: " + folder.string() + ")\n";
        return part;
      }
      output += "walk: (the program is started again)\n";
    }
    fs::remove_all(folder, error);
    Outcome outcome;
    outcome.taken = taken;
    outcome.output = output;
    return outcome;
  }

private:
  static constexpr int kMostStarts = 200;

  // One start of the program in folder for the walk's steps after skip (or the steps of rest).
  Outcome RunOnce(const std::filesystem::path& folder, const std::optional<std::vector<Step>>& rest, int skip,
                  int seconds) {
    std::error_code error;
    std::vector<std::string> args = {std::filesystem::read_symlink("/proc/self/exe", error).string(), "--child",
                                     "--seed", std::to_string(m_command.walk.seed), "--steps",
                                     std::to_string(m_command.walk.steps), "--skip", std::to_string(skip),
                                     "--seconds", std::to_string(seconds), "--answer-ms",
                                     std::to_string(m_command.walk.answerMs), "--memory-mb",
                                     std::to_string(m_command.walk.memoryMb), "--display", m_display, "--folder",
                                     folder.string()};
    if (!m_command.walk.serverFaultsEnd) args.push_back("--go-on");
    if (rest) {
      args.push_back("--replay");
      args.push_back(Text(*rest));
    }
    const int steps = rest ? static_cast<int>(rest->size()) : m_command.walk.steps - skip;
    const int limitMs = 1000 * (120 + (seconds > 0 && !rest ? seconds : 3 * steps));
    testsupport::ChildProcess child(args,
                                    {{"DISPLAY", m_display},
                                     {"PLATFORM_HEADLESS", "0"},
                                     {"PLATFORM_UI_SCRIPT", ""},
                                     {"PLATFORM_HOME", (folder / "home").string()},
                                     {"PLATFORM_OPENER", "/bin/true"},
                                     {"PLATFORM_SOUND_PLAYER", "/bin/true"},
                                     {"PLATFORM_PRINT_PREFIX", (folder / "walk-print").string()},
                                     {"UBSAN_OPTIONS", "print_stacktrace=1"}},
                                    folder.string(), (folder / "walk-output.txt").string());
    int status = 0;
    const bool ended = testsupport::ChildProcess::WaitUntil([&] { return child.Ended(&status); }, limitMs);
    if (!ended) child.Stop();
    return Judge(status, !ended, child.Output());
  }

  const Command& m_command;
  std::string m_display;
  int m_runs{0};
};

// openbox on display, for the walk under a window manager; false when it cannot be had.
std::unique_ptr<testsupport::ChildProcess> StartWindowManager(const std::string& display) {
  const char* openbox = "/usr/bin/openbox";
  if (!std::filesystem::exists(openbox)) return nullptr;
  auto manager = std::make_unique<testsupport::ChildProcess>(
      std::vector<std::string>{openbox, "--sm-disable"}, std::map<std::string, std::string>{{"DISPLAY", display}},
      std::filesystem::temp_directory_path().string(), "/dev/null");
  ::Display* look = XOpenDisplay(display.c_str());
  if (!look) return nullptr;
  const Atom managerSelection = XInternAtom(look, "WM_S0", False);
  const bool running =
      testsupport::ChildProcess::WaitUntil([&] { return XGetSelectionOwner(look, managerSelection) != None; }, 15000);
  XCloseDisplay(look);
  return running ? std::move(manager) : nullptr;
}

std::string Tail(const std::string& output, std::size_t lines) {
  std::size_t at = output.size();
  for (std::size_t n = 0; n <= lines && at != std::string::npos && at > 0; ++n) at = output.rfind('\n', at - 1);
  return at == std::string::npos ? output : output.substr(at + 1);
}

}  // namespace

int Main(int argc, char** argv, const std::function<int(const Options&)>& runChild) {
  Command command;
  if (!ReadCommand(argc, argv, command)) {
    std::fprintf(stderr, "usage: %s [--seed N] [--steps N | --seconds N] [--replay \"kind:arg ...\"] [--wm] [--show] [--go-on] "
                         "[--shrink-runs N] [--answer-ms N] [--memory-mb N]\n", argv[0]);
    return 2;
  }
  if (command.child) return runChild(command.walk);

  // A private X server, never the desktop the walk was started from.
  ::unsetenv("DISPLAY");
  const std::string display = platform::testing::TestDisplayName();
  if (display.empty()) {
    std::fprintf(stderr, "walk: no X server (Xvfb) could be started\n");
    return 2;
  }
  std::unique_ptr<testsupport::ChildProcess> manager;
  if (command.windowManager && !(manager = StartWindowManager(display))) {
    std::fprintf(stderr, "walk: openbox could not be started (./setup installs it)\n");
    return 2;
  }
  Supervisor supervisor(command, display);
  const Outcome first = supervisor.Run(command.walk.replay);
  if (command.show) std::printf("%s\n", first.output.c_str());
  if (!first.failed) {
    std::printf("walk: seed %llu passed: %zu steps%s\n", static_cast<unsigned long long>(command.walk.seed),
                first.taken.size(), command.windowManager ? " under openbox" : "");
    return 0;
  }
  std::printf("walk: seed %llu FAILED after %zu steps: %s\n%s\n", static_cast<unsigned long long>(command.walk.seed),
              first.taken.size(), first.reason.c_str(), Tail(first.output, 40).c_str());
  // Every step taken, so that the walk can be replayed whatever the shrinking comes to.
  std::printf("walk: the steps taken: %s\n", Text(first.taken).c_str());
  std::fflush(stdout);
  // Shortened: each shorter list is replayed and kept when it fails the same way.
  int tries = 0;
  const std::vector<Step> shortest = Shrink(first.taken, [&](const std::vector<Step>& steps) {
    const Outcome again = supervisor.Run(steps);
    ++tries;
    std::printf("walk: shrinking: %zu steps %s\n", steps.size(), again.failed && again.kind == first.kind ? "still fail" : "pass");
    std::fflush(stdout);
    return again.failed && again.kind == first.kind;
  }, command.shrinkRuns);
  std::printf("walk: seed %llu: %s\nwalk: shortened (after %d replays) to %zu steps: %s\n"
              "walk: replay with: %s%s --replay '%s'\n",
              static_cast<unsigned long long>(command.walk.seed), first.reason.c_str(), tries, shortest.size(),
              Text(shortest).c_str(), argv[0], command.windowManager ? " --wm" : "", Text(shortest).c_str());
  return 1;
}

}  // namespace walk
