#include "orvanta/room/GameClock.h"

#include <algorithm>
#include <cstdint>

namespace {

LONG ClampToLong(std::int64_t value) {
  return static_cast<LONG>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

void CGameClock::Start(LONG mainSeconds, short periodSeconds, short periods) {
  m_mainMs = ClampToLong(std::int64_t{mainSeconds} * 1000);
  m_periodSeconds = periodSeconds;
  m_periodCount = periods;
  m_seconds = periodSeconds;
  m_periods = periods;
  m_inByoYomi = false;
}

void CGameClock::ApplyServerTime(LONG secondsLeft) {
  std::int64_t byoYomi = std::int64_t{m_periodSeconds} * m_periodCount;
  if (secondsLeft <= byoYomi) {
    m_mainMs = 0;
    m_seconds = m_periodSeconds;
    // Without byo-yomi there is nothing to divide by and no period to count.
    m_periods = m_periodSeconds > 0 ? secondsLeft / m_periodSeconds : 0;
  } else {
    // Main time given back by the server: the side is out of byo-yomi until it runs out again.
    m_mainMs = ClampToLong((std::int64_t{secondsLeft} - byoYomi) * 1000);
    m_inByoYomi = false;
  }
}

CGameClock::Update CGameClock::Tick() {
  if (m_mainMs > 0) m_mainMs -= std::min<LONG>(m_mainMs, 1000);
  return Advance();
}

CGameClock::Update CGameClock::Advance() {
  Update update;
  if (m_mainMs > 0) return update;
  m_inByoYomi = true;
  update.inByoYomi = true;
  if (m_periods > 1) {
    if (m_seconds < 1) {
      --m_periods;
      m_seconds = m_periodSeconds;
      update.periodUsed = true;
    } else {
      --m_seconds;
    }
  } else if (m_seconds < 1) {
    update.timeUp = true;
    update.lastPeriod = true;
  } else {
    --m_seconds;
    update.lastPeriod = true;
  }
  return update;
}

LONG CGameClock::TimeForMove(bool pass) {
  if (m_periods != m_periodCount) {
    m_seconds = m_periodSeconds;
    m_mainMs = 0;
  } else if (m_mainMs == 0 && !pass) {
    m_seconds = m_periodSeconds;
  }
  return ClampToLong((std::int64_t{m_mainMs} + std::int64_t{m_seconds} * m_periods * 1000) / 1000);
}

void CGameClock::Clear() { *this = CGameClock(); }

LONG CGameClock::ElapsedSeconds(LONG mainSeconds) const {
  const std::int64_t main = std::max<LONG>(mainSeconds, 0);
  if (m_mainMs > 0) return ClampToLong(std::max<std::int64_t>(main - m_mainMs / 1000, 0));
  std::int64_t byoYomi = 0;
  if (m_periodSeconds > 0 && m_periodCount > 0) {
    // Whole periods gone, then the part of the current one.
    const std::int64_t periodsGone = std::clamp<std::int64_t>(m_periodCount - m_periods, 0, m_periodCount);
    const std::int64_t inPeriod = std::clamp<std::int64_t>(m_periodSeconds - m_seconds, 0, m_periodSeconds);
    byoYomi = periodsGone * m_periodSeconds + inPeriod;
  }
  return ClampToLong(main + byoYomi);
}

CString CGameClock::MainText(LONG ms) {
  auto value = static_cast<unsigned long>(std::max<LONG>(ms, 0));
  CString text;
  text.Format("%lu hr %lu min %lu sec", value / 3600000, (value / 60000) % 60, (value / 1000) % 60);
  return text;
}

CString CGameClock::SecondsText(LONG seconds) {
  CString text;
  text.Format("%ds ", static_cast<int>(seconds));
  return text;
}

CString CGameClock::PeriodsText(LONG periods) {
  CString text;
  text.Format(" %d **", static_cast<int>(periods));
  return text;
}
