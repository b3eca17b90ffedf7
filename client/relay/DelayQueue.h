#pragma once
// CDelayQueue: the relay's moves and take-backs in arrival order, released to the board when their
// time stamp is due, optionally a chosen number of seconds late. Also keeps the game as received.

#include <cstdint>
#include <memory>
#include <vector>

#include "client/model/ReceivedMoves.h"
#include "client/relay/DelayEvent.h"
#include "platform/collections.h"
#include "platform/object.h"

class CDelayBoard;
class CDelayOwner;
class CStoneNode;

class CDelayQueue : public CObject, public CReceivedMoves {
public:
  static constexpr int kOk = 0;
  static constexpr int kNothingToDo = 101;
  static constexpr int kOutOfMemory = 201;
  static constexpr int kMaxDelay = 600;

  CDelayQueue() = default;
  ~CDelayQueue() override = default;

  // Clears, then binds the view and the board (neither owned).
  void Attach(CDelayOwner* owner, CDelayBoard* board);
  // Drops every event and move and resets times, delay and current index; the flags stay.
  void Clear();
  // Queues one event; once the history is complete the clock is re-based on its time and due
  // events are released with notification. kOk or kOutOfMemory.
  int AddEvent(int kind, int moveNumber, std::int64_t time, int x, int y, int colour);
  // Releases what is due at now (seconds, -1 = the clock). kOk, or kNothingToDo when the index or
  // the display time is out of range.
  int Advance(std::int64_t now, bool notify);
  // Sets the server and local references (local -1 = the clock), then advances.
  int SetTimes(std::int64_t serverTime, std::int64_t localTime, bool notify);
  // The relay's present time: re-bases the clock without notification.
  int SetServerTime(std::int64_t serverTime) { return SetTimes(serverTime, -1, false); }
  int Enable();
  // Stores the delay (seconds), then advances without notification.
  void SetDelay(int seconds);
  // Replays every event not yet on the board, whatever its time (the relay has ended); nothing
  // while the board is browsing.
  void ReleaseAll();
  int GetDelay() const { return m_delay; }
  bool IsDelayActive() const { return m_noReference == 0 && m_enabled == 1; }
  // Server time shown at local time t, less the delay when asked for and active.
  std::int64_t ToDisplayTime(std::int64_t t, bool withDelay) const;
  std::int64_t GetCurrentDisplayTime() const;
  // Removes the last received move; kNothingToDo when there is none.
  int PopLastMove();

  int GetMoveCount() const override { return static_cast<int>(m_moves.size()); }
  // Fills node from move i; false when i is out of range.
  bool GetNodeAt(CStoneNode& node, int i) const override;
  // Appends one new CStoneNode per move to list (the caller owns them); returns the count.
  int CopyMoves(CPtrArray& list) const;
  // Colour of the next move: 2 black when no move yet, else the other of the last move's.
  int GetNextColor() const;

  int GetEventCount() const { return static_cast<int>(m_events.size()); }
  // Index of the last event replayed onto the board, -1 for none.
  int GetCurrentIndex() const { return m_currentIndex; }
  // Some received event is not on the board yet.
  bool HoldsEvents() const { return m_currentIndex < GetEventCount() - 1; }

private:
  void Reset();
  // First event to replay at display time, -1 when there are no events.
  int ChooseFirst(std::int64_t displayTime) const;
  // Index before the first event at or after first that is not yet due.
  int FindLastDue(int first, std::int64_t displayTime) const;
  // Replays what is due at display time; the common step of Advance and ReleaseAll.
  int ReplayDue(std::int64_t display, bool notify);
  // Plays events first..last on the board; returns moves minus take-backs.
  int Replay(int first, int last);
  void NotifyChanged();

  int m_noReference{1};  // 1 until a time reference is set: no delay is applied before
  int m_enabled{0};
  int m_currentIndex{-1};
  int m_delay{0};
  std::int64_t m_localReference{0};
  std::int64_t m_serverReference{0};
  std::vector<std::unique_ptr<CDelayEvent>> m_events;
  std::vector<std::unique_ptr<CDelayEvent>> m_moves;  // moves with take-backs applied
  CDelayBoard* m_board{nullptr};
  CDelayOwner* m_owner{nullptr};
};
