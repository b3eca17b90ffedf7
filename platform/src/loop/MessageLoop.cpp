#include "platform/messageloop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "../display/DisplayBackend.h"
#include "../display/InputRouting.h"
#include "../windows/WindowTable.h"
#include "InputQueue.h"
#include "Timers.h"
#include "platform/time.h"
#include "platform/windows.h"

namespace platform {
namespace {

// A watched descriptor; the generation tells a replaced watch from the one poll reported on.
struct Watch {
  short events{0};
  std::uint64_t generation{0};
  std::shared_ptr<std::function<void(int, short)>> callback;
};

// A queued message and, for a person's input, where it was routed: to a window, or to the
// keys (routedTo then is the top-level window that had them), and whether that window took
// input then.
struct Queued {
  enum class Input { None, ToWindow, ToKeys };
  MSG msg{};
  Input input{Input::None};
  HWND routedTo{nullptr};
  bool tookInput{false};
};

struct LoopState {
  std::mutex mutex;  // guards queue, quit and wake
  std::deque<Queued> queue;
  bool quit{false};
  int quitCode{0};
  int wakeFd{-1};
  // Set when the UI thread has written the wake descriptor and it has not been drained since:
  // invalidating many windows in a row then costs one system call, not one each.
  std::atomic<bool> uiWakePending{false};
  std::thread::id uiThread{std::this_thread::get_id()};
  // UI thread only:
  std::map<int, Watch> watches;
  std::uint64_t nextGeneration{1};
  std::function<BOOL(MSG*)> preTranslate;
  std::function<BOOL(long)> idle;
  // Whether GetMessage runs idle processing before it next waits: set by a message that may have
  // changed what the idle work shows, cleared when the work ran.
  bool idleDue{true};
  // The last mouse move taken, to tell a pointer that moved from one reported again in place.
  HWND lastMoveWindow{nullptr};
  LPARAM lastMovePoint{-1};
};

LoopState& Loop() {
  static LoopState* state = [] {
    auto* s = new LoopState;  // lives for the whole process: other threads may post at exit
    s->wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return s;
  }();
  return *state;
}

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
  if (filterMin == 0 && filterMax == 0) return true;
  return message >= filterMin && message <= filterMax;
}

bool MatchesWindow(HWND msgWnd, HWND filter) {
  return !filter || msgWnd == filter || ::IsChild(filter, msgWnd);
}

// Stands for "the window with the keys" in a queued keyboard message until it is taken. Handles
// are even numbers, so no window ever has it.
const HWND kKeyTarget = reinterpret_cast<HWND>(~std::uintptr_t{0});

// The modifier keys held when a keyboard message was queued ride in its point (unused for keys)
// and are the key state again when it is handled, so Shift, Ctrl and Alt go with their key even
// when a whole burst of keys was read before the first was handled.
constexpr UINT kModifierKeys[] = {VK_SHIFT, VK_CONTROL, VK_MENU};

LONG HeldModifiers() {
  LONG bits = 0;
  for (int i = 0; i < 3; ++i) {
    if (detail::KeyDownState(static_cast<int>(kModifierKeys[i]))) bits |= 1 << i;
  }
  return bits;
}

void RestoreModifiers(LONG bits) {
  for (int i = 0; i < 3; ++i) detail::KeyDownState(static_cast<int>(kModifierKeys[i])) = (bits & (1 << i)) != 0;
}

// Input routed to a window that took it then and no longer does: it is not delivered. Keys
// typed ahead of a window that closed or hid go on to the window that has the keys now, as
// a person typing on after Return or Escape expects; only a window that a modal one disabled
// since loses them, as they were meant for it and not for the modal one.
bool IsStale(const Queued& queued) {
  if (queued.input == Queued::Input::None || !queued.tookInput) return false;
  if (queued.input == Queued::Input::ToKeys) {
    const detail::WindowState* top = detail::Find(queued.routedTo);
    return top && (top->style & WS_VISIBLE) && (top->style & WS_DISABLED);
  }
  return !detail::TakesInput(queued.routedTo);
}

bool IsButtonUp(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP ||
         message == WM_NCLBUTTONUP || message == WM_NCRBUTTONUP || message == WM_NCMBUTTONUP;
}

// What dropping a queued input message still does: the key state becomes what it was when the
// message was queued, as handling it would have made it, so a key let go is not taken for held.
// Returns the window whose capture a dropped button release ends (null: none).
HWND Drop(const Queued& queued) {
  if (queued.msg.hwnd == kKeyTarget) {
    RestoreModifiers(queued.msg.pt.x);
    return nullptr;
  }
  bool releases = queued.input == Queued::Input::ToWindow && IsButtonUp(queued.msg.message) &&
                  detail::CaptureHandle() == queued.msg.hwnd;
  return releases ? queued.msg.hwnd : nullptr;
}

bool TakePosted(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  LoopState& loop = Loop();
  bool taken = false;
  HWND releaseCapture = nullptr;
  {
    std::lock_guard lock(loop.mutex);
    for (auto it = loop.queue.begin(); it != loop.queue.end();) {
      HWND target = it->msg.hwnd;
      if (target == kKeyTarget) {
        target = detail::KeyTarget();
        if (!target) {
          Drop(*it);
          it = loop.queue.erase(it);  // nobody takes keys now: they are lost, as typed into nothing
          continue;
        }
      }
      if (!MatchesWindow(target, hwnd) || !InRange(it->msg.message, filterMin, filterMax)) {
        ++it;
        continue;
      }
      if (IsStale(*it)) {
        if (HWND released = Drop(*it)) releaseCapture = released;
        it = loop.queue.erase(it);
        continue;
      }
      *msg = it->msg;
      msg->hwnd = target;
      if (it->msg.hwnd == kKeyTarget) {
        msg->pt = POINT{0, 0};
        if (remove) RestoreModifiers(it->msg.pt.x);
      }
      if (remove) loop.queue.erase(it);
      taken = true;
      break;
    }
  }
  // A button held while its window stopped taking input must not keep the mouse.
  if (releaseCapture && ::GetCapture() == releaseCapture) ::ReleaseCapture();
  return taken;
}

bool TakeQuit(MSG* msg, bool remove) {
  LoopState& loop = Loop();
  std::lock_guard lock(loop.mutex);
  if (!loop.quit) return false;
  *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(loop.quitCode), 0, GetTickCount(), {0, 0}};
  if (remove) loop.quit = false;
  return true;
}

// The internal timer of caret blinks and the like, which changes nothing idle work shows.
constexpr UINT kSystemTimerMessage = 0x0118;

// Whether handling msg may change what idle processing updates. A paint, a system timer or a mouse
// move to the place of the one before do not: were they to restart idle processing, idle work
// that paints would paint again and again and the loop would never wait for input.
bool IsIdleMessage(const MSG& msg) {
  LoopState& loop = Loop();
  if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
    if (msg.hwnd == loop.lastMoveWindow && msg.lParam == loop.lastMovePoint) return false;
    loop.lastMoveWindow = msg.hwnd;
    loop.lastMovePoint = msg.lParam;
    return true;
  }
  return msg.message != WM_PAINT && msg.message != kSystemTimerMessage;
}

// The next message in Windows' order: posted, quit, paint, timer.
bool NextMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove, bool withQuit) {
  if (TakePosted(msg, hwnd, filterMin, filterMax, remove)) return true;
  if (withQuit && TakeQuit(msg, remove)) return true;
  if (InRange(WM_PAINT, filterMin, filterMax) && detail::FindPaintMessage(hwnd, msg)) return true;
  if (InRange(WM_TIMER, filterMin, filterMax) && detail::TakeDueTimer(Clock::NowMs(), hwnd, msg, remove)) return true;
  return false;
}

void DrainWake() {
  std::uint64_t value = 0;
  // Cleared before reading: a wake written after this point is written anew and stays readable.
  Loop().uiWakePending.store(false);
  while (read(Loop().wakeFd, &value, sizeof value) > 0) {
  }
}

// Polls the wake descriptor and the watched ones for up to timeoutMs (-1: forever) and runs the
// callbacks of those that are ready. Returns the number of callbacks run.
int PollOnce(int timeoutMs) {
  LoopState& loop = Loop();
  // A display may hold events it has already read, which poll cannot see.
  detail::Display().BeforeWait();
  std::vector<pollfd> fds;
  std::vector<std::uint64_t> generations;
  fds.push_back(pollfd{loop.wakeFd, POLLIN, 0});
  generations.push_back(0);
  for (const auto& [fd, watch] : loop.watches) {
    fds.push_back(pollfd{fd, watch.events, 0});
    generations.push_back(watch.generation);
  }
  int ready = poll(fds.data(), fds.size(), timeoutMs);
  if (ready <= 0) return 0;
  if (fds[0].revents) DrainWake();
  int ran = 0;
  for (std::size_t i = 1; i < fds.size(); ++i) {
    if (!fds[i].revents) continue;
    auto it = loop.watches.find(fds[i].fd);
    // An earlier callback may have unwatched or replaced this watch (and the fd reused).
    if (it == loop.watches.end() || it->second.generation != generations[i]) continue;
    short revents = static_cast<short>(fds[i].revents & (it->second.events | POLLERR | POLLHUP | POLLNVAL));
    if (!revents) continue;
    if (fds[i].revents & POLLNVAL) {
      loop.watches.erase(it);  // closed without unwatching: stop polling it
      continue;
    }
    auto callback = it->second.callback;  // keeps the function alive while it runs
    (*callback)(fds[i].fd, revents);
    ++ran;
  }
  return ran;
}

int TimeoutUntilNextTimer() {
  if (Clock::IsManual()) return -1;
  auto due = detail::NextTimerDue();
  if (!due) return -1;
  std::uint64_t now = Clock::NowMs();
  return *due <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(*due - now, 60000));
}

void RunIdle() {
  LoopState& loop = Loop();
  if (!loop.idle) return;
  auto idle = loop.idle;
  for (long count = 0; count < 1000 && idle(count); ++count) {
  }
}

void Handle(MSG& msg) {
  LoopState& loop = Loop();
  BOOL handled = loop.preTranslate ? loop.preTranslate(&msg) : CWnd::WalkPreTranslateTree(nullptr, &msg);
  if (handled) return;
  TranslateMessage(&msg);
  DispatchMessage(&msg);
}

}  // namespace

int Run() {
  MSG msg{};
  while (GetMessage(&msg, nullptr, 0, 0)) Handle(msg);
  return static_cast<int>(msg.wParam);
}

int PumpMessages() {
  int handled = 0;
  bool idle = true;  // each pump has its idle turn, and another after each message that may need one
  // A handler that keeps posting to itself would spin forever; a pump is bounded.
  constexpr int kMaxRounds = 100000;
  for (int round = 0; round < kMaxRounds; ++round) {
    int before = handled;
    handled += PollOnce(0);
    MSG msg{};
    while (NextMessage(&msg, nullptr, 0, 0, true, false)) {
      if (IsIdleMessage(msg)) idle = true;
      Handle(msg);
      ++handled;
      if (handled - before > kMaxRounds) break;
    }
    if (handled == before) {
      if (!idle) return handled;
      RunIdle();
      idle = false;
      MSG peek{};
      if (!NextMessage(&peek, nullptr, 0, 0, false, false)) return handled;
    }
  }
  std::fprintf(stderr, "platform: PumpMessages stopped: messages keep arriving\n");
  return handled;
}

bool RunUntil(const std::function<bool()>& predicate, int timeoutMs) {
  auto start = std::chrono::steady_clock::now();
  for (;;) {
    PumpMessages();
    if (predicate()) return true;
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    if (elapsed >= timeoutMs) return predicate();
    int wait = static_cast<int>(timeoutMs - elapsed);
    int timer = TimeoutUntilNextTimer();
    if (timer >= 0) wait = std::min(wait, std::max(timer, 1));
    PollOnce(std::min(wait, 50));
  }
}

bool RunModalLoop(const std::function<bool()>& done, const std::function<bool(MSG&)>& filter) {
  bool idle = true;  // a modal loop starts with its idle turn
  for (;;) {
    MSG msg{};
    while (!done() && NextMessage(&msg, nullptr, 0, 0, true, false)) {
      if (IsIdleMessage(msg)) idle = true;
      if (!filter || !filter(msg)) Handle(msg);
    }
    if (done()) return true;
    if (QuitRequested()) return false;  // the quit stays queued for the outer loop
    if (idle) {
      RunIdle();
      idle = false;
    }
    if (done()) return true;
    MSG peek{};
    if (NextMessage(&peek, nullptr, 0, 0, false, false)) continue;
    PollOnce(TimeoutUntilNextTimer());
  }
}

bool QuitRequested(int* exitCode) {
  LoopState& loop = Loop();
  std::lock_guard lock(loop.mutex);
  if (loop.quit && exitCode) *exitCode = loop.quitCode;
  return loop.quit;
}

void ResetMessageQueue() {
  LoopState& loop = Loop();
  std::lock_guard lock(loop.mutex);
  loop.queue.clear();
  loop.quit = false;
}

void WatchFd(int fd, short pollEvents, std::function<void(int fd, short revents)> callback) {
  LoopState& loop = Loop();
  Watch& w = loop.watches[fd];
  w.events = pollEvents;
  w.generation = loop.nextGeneration++;
  w.callback = std::make_shared<std::function<void(int, short)>>(std::move(callback));
}

void UnwatchFd(int fd) { Loop().watches.erase(fd); }

void SetWatchEvents(int fd, short pollEvents) {
  auto it = Loop().watches.find(fd);
  if (it != Loop().watches.end()) it->second.events = pollEvents;
}

bool IsFdWatched(int fd) { return Loop().watches.count(fd) != 0; }

void SetPreTranslateHook(std::function<BOOL(MSG*)> hook) { Loop().preTranslate = std::move(hook); }
void SetIdleHook(std::function<BOOL(long)> hook) { Loop().idle = std::move(hook); }

bool IsPosted(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LoopState& loop = Loop();
  std::lock_guard lock(loop.mutex);
  return std::any_of(loop.queue.begin(), loop.queue.end(), [&](const Queued& queued) {
    const MSG& posted = queued.msg;
    return posted.hwnd == hwnd && posted.message == message && posted.wParam == wParam && posted.lParam == lParam;
  });
}

void WakeLoop() {
  // Only the UI thread drains, so while its own earlier wake is pending the descriptor is readable.
  if (IsUiThread() && Loop().uiWakePending.exchange(true)) return;
  std::uint64_t one = 1;
  ssize_t written = write(Loop().wakeFd, &one, sizeof one);
  (void)written;  // a full counter already wakes the loop
}

bool IsUiThread() { return std::this_thread::get_id() == Loop().uiThread; }

}  // namespace platform

using platform::Loop;

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !platform::detail::IsLiveHandle(hwnd)) return FALSE;
  auto& loop = platform::Loop();
  {
    std::lock_guard lock(loop.mutex);
    loop.queue.push_back(platform::Queued{MSG{hwnd, message, wParam, lParam, GetTickCount(), {0, 0}}});
  }
  platform::WakeLoop();
  return TRUE;
}

namespace platform::detail {

void PostInput(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsLiveHandle(target)) return;
  Queued queued{MSG{target, message, wParam, lParam, GetTickCount(), {0, 0}}, Queued::Input::ToWindow, target,
                TakesInput(target)};
  auto& loop = platform::Loop();
  {
    std::lock_guard lock(loop.mutex);
    loop.queue.push_back(queued);
  }
  platform::WakeLoop();
}

void PostToKeyTarget(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND keys = KeyTarget();
  HWND top = keys ? ::GetAncestorTopLevel(keys) : nullptr;
  Queued queued{MSG{kKeyTarget, message, wParam, lParam, GetTickCount(), {HeldModifiers(), 0}}, Queued::Input::ToKeys,
                top, TakesInput(top)};
  auto& loop = platform::Loop();
  {
    std::lock_guard lock(loop.mutex);
    loop.queue.push_back(queued);
  }
  platform::WakeLoop();
}

}  // namespace platform::detail

BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  auto& loop = platform::Loop();
  for (;;) {
    if (platform::NextMessage(msg, hwnd, filterMin, filterMax, true, true)) {
      if (platform::IsIdleMessage(*msg)) loop.idleDue = true;
      return msg->message != WM_QUIT;
    }
    if (loop.idleDue) {
      loop.idleDue = false;
      platform::RunIdle();
      continue;
    }
    platform::PollOnce(platform::TimeoutUntilNextTimer());
  }
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  platform::PollOnce(0);
  return platform::NextMessage(msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0, true);
}

namespace {

// The characters of a key go ahead of everything queued after the key: they are handled next,
// before a later key can move the focus away from the window they were typed into. They are
// input to that window: the key's own handling may disable it (a button opening a modal dialog).
void PostCharactersNext(HWND hwnd, UINT message, const std::string& typed, LPARAM lParam) {
  auto& loop = platform::Loop();
  const bool takesInput = platform::detail::TakesInput(hwnd);
  {
    std::lock_guard lock(loop.mutex);
    std::vector<platform::Queued> messages;
    for (char ch : typed) {
      messages.push_back(platform::Queued{MSG{hwnd, message, static_cast<unsigned char>(ch), lParam, GetTickCount(), {0, 0}},
                                          platform::Queued::Input::ToWindow, hwnd, takesInput});
    }
    loop.queue.insert(loop.queue.begin(), messages.begin(), messages.end());
  }
  platform::WakeLoop();
}

}  // namespace

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  UINT vk = static_cast<UINT>(msg->wParam);
  // A key pressed with Alt types a system character, which menus take as a mnemonic.
  UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  if (vk == VK_MENU || vk == VK_F10) return FALSE;
  std::string typed;
  if (platform::detail::Display().TextOfKey(vk, msg->lParam, &typed)) {
    // The display's keyboard knows what the key types with the modifiers it was pressed with.
    if (msg->hwnd && !IsWindow(msg->hwnd)) return FALSE;
    PostCharactersNext(msg->hwnd, charMessage, typed, msg->lParam);
    return typed.empty() ? FALSE : TRUE;
  }
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool control = GetKeyState(VK_CONTROL) < 0;
  int ch = -1;
  if (vk >= 'A' && vk <= 'Z') {
    ch = control ? static_cast<int>(vk - 'A' + 1) : static_cast<int>(shift ? vk : vk + ('a' - 'A'));
  } else if (vk >= '0' && vk <= '9' && !control) {
    ch = static_cast<int>(vk);
  } else if (vk == VK_SPACE) {
    ch = ' ';
  } else if (vk == VK_RETURN) {
    ch = '\r';
  } else if (vk == VK_BACK) {
    ch = '\b';
  } else if (vk == VK_TAB) {
    ch = '\t';
  } else if (vk == VK_ESCAPE) {
    ch = 0x1B;
  }
  if (ch < 0 || (msg->hwnd && !IsWindow(msg->hwnd))) return FALSE;
  PostCharactersNext(msg->hwnd, charMessage, std::string(1, static_cast<char>(ch)), msg->lParam);
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    if (msg->hwnd && !IsWindow(msg->hwnd)) return 0;
    proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd || !IsWindow(msg->hwnd)) return 0;
  // A close asked for before a modal window opened over its window would destroy that window
  // under the code that opened the modal one; it waits for the modal one to end.
  if (msg->message == WM_CLOSE && platform::detail::HoldsCloseWhileDisabled(msg->hwnd)) return 0;
  if (msg->message != WM_PAINT) return platform::detail::Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  std::uint64_t begun = platform::detail::Find(msg->hwnd)->paintsBegun;
  LRESULT result = platform::detail::Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  // A paint handler that never began painting would be asked again forever.
  platform::detail::WindowState* s = platform::detail::Find(msg->hwnd);
  if (s && s->paintsBegun == begun) ValidateRect(msg->hwnd, nullptr);
  return result;
}

void PostQuitMessage(int exitCode) {
  auto& loop = platform::Loop();
  {
    std::lock_guard lock(loop.mutex);
    loop.quit = true;
    loop.quitCode = exitCode;
  }
  platform::WakeLoop();
}
