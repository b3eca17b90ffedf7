#include "client/relay/DelayQueue.h"

#include <algorithm>
#include <limits>
#include <new>

#include "client/relay/DelayBoard.h"
#include "client/relay/DelayOwner.h"
#include "client/widgets/TextUtilities.h"
#include "client/model/StoneNode.h"

namespace {

// One flag for the whole program: a board callback during a replay must not start another replay,
// whichever queue it reaches.
bool g_advancing = false;

class AdvanceGuard {
public:
  AdvanceGuard() { g_advancing = true; }
  ~AdvanceGuard() { g_advancing = false; }
  AdvanceGuard(const AdvanceGuard&) = delete;
  AdvanceGuard& operator=(const AdvanceGuard&) = delete;
};

std::int64_t NowIfUnset(std::int64_t t) { return t < 0 ? GetNowSeconds() : t; }

}  // namespace

void CDelayQueue::Attach(CDelayOwner* owner, CDelayBoard* board) {
  Clear();
  m_owner = owner;
  m_board = board;
}

void CDelayQueue::Clear() {
  m_events.clear();
  m_moves.clear();
  Reset();
}

void CDelayQueue::Reset() {
  m_delay = 0;
  m_localReference = 0;
  m_serverReference = 0;
  m_currentIndex = -1;
}

int CDelayQueue::AddEvent(int kind, int moveNumber, std::int64_t time, int x, int y, int colour) {
  try {
    m_events.push_back(std::make_unique<CDelayEvent>(kind, x, y, moveNumber, colour, time));
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
  if (kind == CDelayEvent::kMove) {
    try {
      m_moves.push_back(std::make_unique<CDelayEvent>(kind, x, y, moveNumber, colour, time));
    } catch (const std::bad_alloc&) {
      // The event itself is kept; only the received-game copy is missing.
    }
  } else {
    PopLastMove();
  }
  if (m_owner != nullptr && m_owner->IsHistoryComplete()) {
    SetTimes(time, -1, true);
  } else {
    NotifyChanged();
  }
  return kOk;
}

int CDelayQueue::SetTimes(std::int64_t serverTime, std::int64_t localTime, bool notify) {
  localTime = NowIfUnset(localTime);
  m_serverReference = serverTime;
  m_localReference = localTime;
  m_noReference = 0;
  const int result = Advance(localTime, notify);
  NotifyChanged();
  return result;
}

int CDelayQueue::Enable() {
  m_enabled = 1;
  NotifyChanged();
  return kOk;
}

void CDelayQueue::SetDelay(int seconds) {
  m_delay = seconds;
  Advance(-1, false);
  NotifyChanged();
}

void CDelayQueue::ReleaseAll() {
  if (g_advancing) return;
  AdvanceGuard guard;
  if (m_board == nullptr || m_board->IsBrowsing()) return;
  ReplayDue(std::numeric_limits<std::int64_t>::max(), false);
}

void CDelayQueue::NotifyChanged() {
  if (m_owner != nullptr) m_owner->OnQueueChanged();
}

std::int64_t CDelayQueue::ToDisplayTime(std::int64_t t, bool withDelay) const {
  // Relay numbers saturate at the integer limits; the sum is clamped rather than left to wrap,
  // which would put every later move out of reach.
  __int128 display = static_cast<__int128>(m_serverReference) + (static_cast<__int128>(t) - m_localReference);
  if (withDelay && IsDelayActive()) display -= m_delay;
  return static_cast<std::int64_t>(std::clamp<__int128>(display, std::numeric_limits<std::int64_t>::min(),
                                                         std::numeric_limits<std::int64_t>::max()));
}

std::int64_t CDelayQueue::GetCurrentDisplayTime() const { return ToDisplayTime(GetNowSeconds(), true); }

int CDelayQueue::PopLastMove() {
  if (m_moves.empty()) return kNothingToDo;
  m_moves.pop_back();
  return kOk;
}

int CDelayQueue::Advance(std::int64_t now, bool notify) {
  if (g_advancing) return kOk;
  AdvanceGuard guard;
  // The board never changes under a user who is looking back; the next tick catches up.
  // Without a board nothing can be replayed (a record file or a login not yet bound to one).
  if (m_board == nullptr) return kNothingToDo;
  if (m_board->IsBrowsing()) return kOk;
  return ReplayDue(ToDisplayTime(NowIfUnset(now), true), notify);
}

int CDelayQueue::ReplayDue(std::int64_t display, bool notify) {
  if (m_currentIndex < -1 || m_currentIndex >= GetEventCount() || display < 0) return kNothingToDo;

  const int first = ChooseFirst(display);
  if (first < 0) {
    m_currentIndex = -1;
    return kOk;
  }
  const int last = FindLastDue(first, display);
  if (first == 0) m_board->ResetBoard();
  const int net = Replay(first, last);
  m_currentIndex = last;
  if (notify && net >= 1 && m_owner != nullptr) m_owner->PlayStoneSound();
  return kOk;
}

int CDelayQueue::ChooseFirst(std::int64_t displayTime) const {
  if (m_events.empty()) return -1;
  if (m_currentIndex < 0) return 0;
  // A grown delay means the board shows more than is due: start over.
  if (m_events[static_cast<size_t>(m_currentIndex)]->m_time > displayTime) return 0;
  return m_currentIndex + 1;
}

int CDelayQueue::FindLastDue(int first, std::int64_t displayTime) const {
  int i = first;
  // Events reach the board strictly in arrival order, whatever their stamps.
  while (i < GetEventCount() && m_events[static_cast<size_t>(i)]->m_time <= displayTime) ++i;
  return i - 1;
}

int CDelayQueue::Replay(int first, int last) {
  int net = 0;
  for (int i = first; i <= last; ++i) {
    const CDelayEvent& event = *m_events[static_cast<size_t>(i)];
    if (event.m_kind == CDelayEvent::kMove) {
      m_board->PlaceStone(event.m_x, event.m_y, event.m_colour, 0, 1);
      ++net;
    } else if (event.m_kind == CDelayEvent::kTakeBack) {
      m_board->UndoMove(0);
      --net;
    }
  }
  return net;
}

bool CDelayQueue::GetNodeAt(CStoneNode& node, int i) const {
  if (i < 0 || i >= GetMoveCount()) return false;
  const CDelayEvent& move = *m_moves[static_cast<size_t>(i)];
  node.Set(move.m_x, move.m_y, static_cast<DWORD>(move.m_colour), move.m_moveNumber, 0);
  return true;
}

int CDelayQueue::CopyMoves(CPtrArray& list) const {
  for (int i = 0; i < GetMoveCount(); ++i) {
    auto node = std::make_unique<CStoneNode>();
    GetNodeAt(*node, i);
    list.Add(node.release());
  }
  return GetMoveCount();
}

int CDelayQueue::GetNextColor() const {
  if (m_moves.empty()) return 2;
  return (m_moves.back()->m_colour & 3) == 2 ? 1 : 2;
}
