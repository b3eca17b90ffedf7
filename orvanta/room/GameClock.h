#pragma once
// CGameClock: one player's clock in the game room: main time first, then byo-yomi, a number of
// periods of S seconds each. It counts and formats; the room draws the texts and plays sounds.
// A game without byo-yomi (S = 0 or no periods) ends as soon as the main time runs out.

#include <platform/strings.h>
#include <platform/types.h>

class CGameClock {
public:
  // What one clock update did.
  struct Update {
    bool inByoYomi{false};       // the main time is used up
    bool periodUsed{false};      // a period ran out and the next one began
    bool timeUp{false};          // the last period ran out
    bool lastPeriod{false};      // the side plays its last period
  };

  // Main time in seconds, period length S and period count P of the game.
  void Start(LONG mainSeconds, short periodSeconds, short periods);
  // The time left the server reported with a move (whole seconds).
  void ApplyServerTime(LONG secondsLeft);
  // One tick of the game clock for the side to move: a second off the main time, then the
  // update below.
  Update Tick();
  // The update of the side's clock without taking main time (a tick has taken it already).
  Update Advance();
  // The time left the local player sends with a move; a period used up partly starts afresh.
  // A pass does not refill the seconds of a first period.
  LONG TimeForMove(bool pass);
  void Clear();
  // The time the side has used of a game of mainSeconds main time, in seconds: the main time
  // gone while some is left, else all of it and the byo-yomi gone so far.
  LONG ElapsedSeconds(LONG mainSeconds) const;

  LONG GetMainMs() const { return m_mainMs; }
  void SetMainMs(LONG ms) { m_mainMs = ms; }
  LONG GetSeconds() const { return m_seconds; }
  LONG GetPeriods() const { return m_periods; }
  void SetPeriods(LONG periods) { m_periods = periods; }
  short GetPeriodSeconds() const { return m_periodSeconds; }
  short GetPeriodCount() const { return m_periodCount; }
  bool IsInByoYomi() const { return m_inByoYomi; }
  // P × S in seconds.
  double GetByoYomiTotal() const { return static_cast<double>(m_periodSeconds) * m_periodCount; }

  // "h hr m min s sec" of a time in milliseconds.
  static CString MainText(LONG ms);
  // The seconds pane: the number followed by "s ".
  static CString SecondsText(LONG seconds);
  // The periods pane: " " + the number + " **".
  static CString PeriodsText(LONG periods);

private:
  LONG m_mainMs{0};
  LONG m_seconds{0};   // seconds left in the current period
  LONG m_periods{0};   // periods left
  short m_periodSeconds{0};
  short m_periodCount{0};
  bool m_inByoYomi{false};
};
