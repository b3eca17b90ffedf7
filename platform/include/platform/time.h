#pragma once
// The one platform clock, tick counts, wall time, CTime and CTimeSpan.
// Every timer, tick count and timeout of the programs reads platform::Clock; tests switch it to
// manual mode and advance it by hand.

#include <cstdint>
#include <ctime>

#include "platform/strings.h"
#include "platform/types.h"

namespace platform {

// Program-wide clock. Real mode follows the steady clock; manual mode only moves when told to.
class Clock {
public:
  // Milliseconds since the clock started (monotonic in both modes).
  static std::uint64_t NowMs();
  // Wall time in seconds since 1970: the system time in real mode, a settable base plus the
  // manual time elapsed since the base was set in manual mode.
  static std::time_t Now();

  // Switches manual mode on or off; the millisecond count continues from where it is.
  static void SetManual(bool manual);
  static bool IsManual();
  // Manual mode: moves the clock forward by ms, firing every timer that falls due on the way in
  // time order, each with the clock set to its due time. Call it on the UI thread only.
  static void Advance(std::uint64_t ms);
  // Manual mode: sets the wall time that Now() reports at the current instant.
  static void SetWallTime(std::time_t wallTime);
};

// RAII: manual clock for the life of the object (a test fixture's member), real again afterwards.
class ManualClockScope {
public:
  explicit ManualClockScope(std::time_t wallTime = 0);
  ~ManualClockScope();
  ManualClockScope(const ManualClockScope&) = delete;
  ManualClockScope& operator=(const ManualClockScope&) = delete;

private:
  bool m_wasManual{false};
};

}  // namespace platform

// Milliseconds of the platform clock, wrapping at 2^32 as Windows' counter does.
DWORD GetTickCount();
// Real mode blocks the calling thread; manual mode moves the clock without firing timers
// (they fire on the next pump or advance, as they would after a real sleep).
void Sleep(DWORD ms);

// A length of time in whole seconds.
class CTimeSpan {
public:
  CTimeSpan() = default;
  CTimeSpan(std::time_t seconds) : m_span(seconds) {}
  CTimeSpan(long days, int hours, int minutes, int seconds);

  long GetDays() const { return static_cast<long>(m_span / 86400); }
  // Hours within the day (-23..23); minutes and seconds likewise within the hour and minute.
  int GetHours() const { return static_cast<int>((m_span / 3600) % 24); }
  int GetMinutes() const { return static_cast<int>((m_span / 60) % 60); }
  int GetSeconds() const { return static_cast<int>(m_span % 60); }
  long GetTotalHours() const { return static_cast<long>(m_span / 3600); }
  long GetTotalMinutes() const { return static_cast<long>(m_span / 60); }
  std::time_t GetTotalSeconds() const { return m_span; }
  // Codes: %D days, %H hours (00-23), %M minutes, %S seconds, %% a percent sign.
  CString Format(const char* format) const;

  CTimeSpan operator+(CTimeSpan o) const { return CTimeSpan(m_span + o.m_span); }
  CTimeSpan operator-(CTimeSpan o) const { return CTimeSpan(m_span - o.m_span); }
  CTimeSpan& operator+=(CTimeSpan o) { m_span += o.m_span; return *this; }
  CTimeSpan& operator-=(CTimeSpan o) { m_span -= o.m_span; return *this; }
  auto operator<=>(const CTimeSpan&) const = default;

private:
  std::time_t m_span{0};
};

// A broken-down local date and time; months 1-12, day of week 0 = Sunday.
struct SYSTEMTIME {
  WORD wYear{0};
  WORD wMonth{0};
  WORD wDayOfWeek{0};
  WORD wDay{0};
  WORD wHour{0};
  WORD wMinute{0};
  WORD wSecond{0};
  WORD wMilliseconds{0};
};

// A point in time (seconds since 1970), read and formatted in local time.
class CTime {
public:
  CTime() = default;
  CTime(std::time_t t) : m_time(t) {}
  // Local date and time; month 1-12, day 1-31. An impossible date gives time 0.
  CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);
  // The local time st names (day of week and milliseconds ignored); an impossible date gives time 0.
  explicit CTime(const SYSTEMTIME& st, int dst = -1);

  // The platform clock's wall time.
  static CTime GetCurrentTime();

  std::time_t GetTime() const { return m_time; }
  int GetYear() const;
  int GetMonth() const;  // 1-12
  int GetDay() const;    // 1-31
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday ... 7 = Saturday
  // Fills st with the local date and time (milliseconds 0); false for a time before 1970.
  bool GetAsSystemTime(SYSTEMTIME& st) const;
  // strftime codes on local time.
  CString Format(const char* format) const;
  // strftime codes on UTC.
  CString FormatGmt(const char* format) const;

  CTimeSpan operator-(CTime o) const { return CTimeSpan(m_time - o.m_time); }
  CTime operator+(CTimeSpan s) const { return CTime(m_time + s.GetTotalSeconds()); }
  CTime operator-(CTimeSpan s) const { return CTime(m_time - s.GetTotalSeconds()); }
  CTime& operator+=(CTimeSpan s) { m_time += s.GetTotalSeconds(); return *this; }
  CTime& operator-=(CTimeSpan s) { m_time -= s.GetTotalSeconds(); return *this; }
  auto operator<=>(const CTime&) const = default;

private:
  std::tm Local() const;

  std::time_t m_time{0};
};
