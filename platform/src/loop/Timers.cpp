#include "Timers.h"

#include <algorithm>
#include <vector>

#include "platform/messageloop.h"
#include "platform/time.h"

namespace platform::detail {
namespace {

// Windows never runs a timer faster than this.
constexpr UINT kMinimumElapse = 10;

struct Timer {
  HWND hwnd{nullptr};
  UINT_PTR id{0};
  UINT elapse{0};
  TIMERPROC proc{nullptr};
  std::uint64_t due{0};
  std::uint64_t order{0};  // ties between equal due times go in the order timers were set
};

struct TimerTable {
  std::vector<Timer> timers;
  std::uint64_t nextOrder{1};
  UINT_PTR nextThreadId{0x7FF0};
};

TimerTable& Table() {
  static TimerTable table;
  return table;
}

std::vector<Timer>::iterator Earliest(std::vector<Timer>& timers, HWND filter, std::uint64_t upTo) {
  auto best = timers.end();
  for (auto it = timers.begin(); it != timers.end(); ++it) {
    if (filter && it->hwnd != filter) continue;
    if (it->due > upTo) continue;
    if (best == timers.end() || it->due < best->due || (it->due == best->due && it->order < best->order)) best = it;
  }
  return best;
}

MSG TimerMessage(const Timer& t) {
  MSG msg{};
  msg.hwnd = t.hwnd;
  msg.message = WM_TIMER;
  msg.wParam = t.id;
  msg.lParam = reinterpret_cast<LPARAM>(t.proc);
  msg.time = GetTickCount();
  return msg;
}

}  // namespace

UINT_PTR AddTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  TimerTable& table = Table();
  if (!hwnd) id = ++table.nextThreadId;
  Timer timer{hwnd, id, std::max(elapse, kMinimumElapse), proc, 0, table.nextOrder++};
  timer.due = Clock::NowMs() + timer.elapse;
  auto it = std::find_if(table.timers.begin(), table.timers.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it != table.timers.end()) {
    *it = timer;
  } else {
    table.timers.push_back(timer);
  }
  WakeLoop();
  return id;
}

bool RemoveTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = Table().timers;
  auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers.end()) return false;
  timers.erase(it);
  return true;
}

void RemoveWindowTimers(HWND hwnd) {
  auto& timers = Table().timers;
  std::erase_if(timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

void ClearTimers() { Table().timers.clear(); }

bool TakeDueTimer(std::uint64_t now, HWND filter, MSG* msg, bool remove) {
  auto& timers = Table().timers;
  auto it = Earliest(timers, filter, now);
  if (it == timers.end()) return false;
  *msg = TimerMessage(*it);
  if (remove) it->due = now + it->elapse;
  return true;
}

std::optional<std::uint64_t> NextTimerDue() {
  const auto& timers = Table().timers;
  if (timers.empty()) return std::nullopt;
  std::uint64_t due = timers.front().due;
  for (const Timer& t : timers) due = std::min(due, t.due);
  return due;
}

void FireTimersUntil(std::uint64_t target, const std::function<void(std::uint64_t)>& setClock) {
  for (;;) {
    auto& timers = Table().timers;
    auto it = Earliest(timers, nullptr, target);
    if (it == timers.end()) return;
    std::uint64_t due = it->due;
    // Late timers (after a manual Sleep) catch up once, as a real one that missed its time.
    it->due = std::max(due + it->elapse, Clock::NowMs() + 1);
    MSG msg = TimerMessage(*it);
    setClock(due);
    msg.time = GetTickCount();
    DispatchMessage(&msg);
  }
}

}  // namespace platform::detail
