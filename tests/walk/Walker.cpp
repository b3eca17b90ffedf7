#include "walk/Walker.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

#include "platform/display.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

namespace walk {
namespace {

constexpr UINT kTickMs = 30;
// Ticks a step is given before the next one: the program reads the X server's events and
// handles them before the walk looks again.
constexpr int kSettleTicks = 2;
// Ticks the walk waits at most for the server's queued records to go out.
constexpr int kMostServerWaitTicks = 400;

using Clock = std::chrono::steady_clock;

Walker*& Current() {
  static Walker* current = nullptr;
  return current;
}
std::mutex& OutputLock() {
  static std::mutex lock;
  return lock;
}

long long NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}
long long ProcessorMs() {
  timespec spent{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &spent);
  return static_cast<long long>(spent.tv_sec) * 1000 + spent.tv_nsec / 1000000;
}
std::atomic<long long>& ProcessorAtTick() {
  static std::atomic<long long> spent{0};
  return spent;
}

long ResidentMb() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word)
    if (word == "VmRSS:") {
      long kb = 0;
      status >> kb;
      return kb / 1024;
    }
  return 0;
}

std::string Contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Say(const std::string& line) {
  const std::lock_guard<std::mutex> hold(OutputLock());
  std::fprintf(stdout, "walk: %s\n", line.c_str());
  std::fflush(stdout);
}

}  // namespace

Walker::Walker(World& world, Options options)
    : m_world(world),
      m_options(std::move(options)),
      m_person(m_options.display, world.BoardClass(),
               [&world](HWND board, std::uint32_t arg) { return world.BoardPoint(board, arg); },
               [&world](Person& person) { return world.LogIn(person); }),
      m_source(m_options.seed, [&world] {
        std::vector<WeightedKind> kinds = Person::Kinds();
        for (const WeightedKind& kind : world.ServerKinds()) kinds.push_back(kind);
        return kinds;
      }()) {
  if (m_options.replay) return;
  for (int i = 0; i < m_options.skip; ++i) m_source.Next();
  m_next = static_cast<std::size_t>(m_options.skip);
}

Walker::~Walker() {
  m_stopWatch = true;
  if (m_watch.joinable()) m_watch.join();
  if (Current() == this) Current() = nullptr;
}

void Walker::Start() {
  Current() = this;
  m_prepareBegin = Clock::now();
  m_lastTickMs = NowMs();
  ProcessorAtTick() = ProcessorMs();
  ::SetTimer(nullptr, 0, kTickMs, &Walker::Tick);
  m_watch = std::thread([this] { Watch(); });
  Say("seed " + std::to_string(m_options.seed) + (m_options.replay ? " (a replay)" : ""));
}

int Walker::Finish() {
  m_stopWatch = true;
  if (m_watch.joinable()) m_watch.join();
  if (!m_done) Say("the program ended after step " + std::to_string(m_options.skip + m_taken.size()));
  return 0;
}

void Walker::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (Walker* walker = Current()) walker->OnTick();
}

void Walker::OnTick() {
  m_lastTickMs = NowMs();
  ProcessorAtTick() = ProcessorMs();
  if (m_done) return;
  if (!m_prepared) {
    if (m_world.Prepare(m_person)) {
      m_prepared = true;
      m_begin = Clock::now();
      CheckFiles();  // the files as the walk begins
      Say("begins");
    } else if (Clock::now() - m_prepareBegin > std::chrono::seconds(90)) {
      Fail("the walk could not begin: the program never got ready", 3);
    }
    return;
  }
  const auto before = Clock::now();
  platform::display::Sync();
  const auto roundTrip = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - before).count();
  if (roundTrip > m_options.answerMs) Fail("an X round trip took " + std::to_string(roundTrip) + " ms", 4);
  if (m_settleTicks > 0) {
    --m_settleTicks;
    return;
  }
  static thread_local int serverWait = 0;
  if (!m_world.Settled() && ++serverWait < kMostServerWaitTicks) return;
  serverWait = 0;
  CheckAll();
  TakeStep();
}

std::optional<Step> Walker::NextStep() {
  if (m_options.replay) {
    if (m_next >= m_options.replay->size()) return std::nullopt;
    return (*m_options.replay)[m_next++];
  }
  const bool timeUp = m_options.seconds > 0 && Clock::now() - m_begin > std::chrono::seconds(m_options.seconds);
  const bool stepsDone = m_options.seconds <= 0 && static_cast<int>(m_next) >= m_options.steps;
  if (timeUp || stepsDone) return std::nullopt;
  ++m_next;
  return m_source.Next();
}

void Walker::TakeStep() {
  const std::optional<Step> step = NextStep();
  if (!step) {
    m_done = true;
    Say("done after " + std::to_string(m_taken.size()) + " steps");
    std::fflush(nullptr);
    ::_exit(0);
  }
  {
    const std::lock_guard<std::mutex> hold(OutputLock());
    m_taken.push_back(*step);
    m_recentPersonWrites.push_back(Person::Does(step->kind) && Person::MayWriteFiles(step->kind));
  }
  const std::string number = std::to_string(m_options.skip + m_taken.size());
  Say("step " + number + " " + step->kind + ":" + std::to_string(step->arg));
  m_settleTicks = kSettleTicks;
  // The action may run the loop itself (text an input method commits is handled at once), and
  // the ticks it runs take the steps after this one.
  const std::string done =
      Person::Does(step->kind) ? m_person.Act(step->kind, step->arg) : m_world.ServerAct(step->kind, step->arg);
  Say("  " + number + ": " + (done.empty() ? "nothing to act on" : done));
}

void Walker::CheckAll() {
  const long resident = ResidentMb();
  if (resident > m_options.memoryMb)
    Fail("resident memory is " + std::to_string(resident) + " MB, above " + std::to_string(m_options.memoryMb), 3);
  const std::string files = CheckFiles();
  if (!files.empty()) Fail(files, 3);
  const std::string world = m_world.Check();
  if (!world.empty()) Fail(world, 3);
  const std::string twice = Person::DialogOpenTwice();
  if (!twice.empty()) Fail(twice, 3);
}

std::string Walker::CheckFiles() {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> now;
  std::error_code error;
  const fs::path root(m_options.folder);
  for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::recursive_directory_iterator();
       it.increment(error)) {
    if (!it->is_regular_file(error) || it->file_size(error) > (4u << 20)) continue;
    const std::string relative = fs::relative(it->path(), root, error).string();
    // The walk's own files, and what the platform keeps of its own (the registry, the lists of
    // windows other programs find).
    if (relative.rfind("walk-", 0) == 0 || relative == "home/registry.txt" || relative.rfind("home/windows/", 0) == 0)
      continue;
    now[relative] = Contents(it->path());
  }
  // A file may be rewritten or removed by a save or delete of the person's, just taken.
  bool personMayWrite = false;
  for (std::size_t i = m_recentPersonWrites.size() >= 3 ? m_recentPersonWrites.size() - 3 : 0;
       i < m_recentPersonWrites.size(); ++i)
    personMayWrite |= m_recentPersonWrites[i];
  std::string problem;
  if (!personMayWrite) {
    for (const auto& [name, before] : m_files) {
      const auto found = now.find(name);
      if (found == now.end()) {
        problem = name + " was removed without the person's saying so";
      } else if (found->second.size() < before.size() || found->second.compare(0, before.size(), before) != 0) {
        problem = name + " was rewritten without the person's saying so (" + std::to_string(before.size()) +
                  " bytes before, " + std::to_string(found->second.size()) + " after)";
      }
      if (!problem.empty()) break;
    }
  }
  m_files = std::move(now);
  return problem;
}

void Walker::Fail(const std::string& reason, int code) {
  {
    const std::lock_guard<std::mutex> hold(OutputLock());
    std::fprintf(stdout, "walk: FAILED after step %zu: %s\nwalk: steps: %s\n", m_taken.size(), reason.c_str(),
                 Text(m_taken).c_str());
    std::fflush(stdout);
  }
  ::_exit(code);
}

void Walker::Watch() {
  while (!m_stopWatch) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const long long gap = NowMs() - m_lastTickMs;
    const long long busy = ProcessorMs() - ProcessorAtTick();
    // A program that spins without taking its loop's timers, or waits on something for long.
    if ((gap > m_options.answerMs && busy > gap / 2) || gap > m_options.blockedMs)
      Fail("the program did not answer for " + std::to_string(gap) + " ms (" + std::to_string(busy) +
               " ms of processor time meanwhile)",
           4);
  }
}

}  // namespace walk
