#include "platform/time.h"

#include <array>

namespace {

// strftime into a CString; an over-long result is cut rather than lost entirely.
CString FormatTm(const char* format, const std::tm& tm) {
  if (!format || !*format) return CString();
  std::array<char, 512> buffer{};
  std::size_t n = std::strftime(buffer.data(), buffer.size(), format, &tm);
  return CString(buffer.data(), static_cast<int>(n));
}

}  // namespace

CTimeSpan::CTimeSpan(long days, int hours, int minutes, int seconds)
    : m_span(static_cast<std::time_t>(days) * 86400 + static_cast<std::time_t>(hours) * 3600 +
             static_cast<std::time_t>(minutes) * 60 + seconds) {}

CString CTimeSpan::Format(const char* format) const {
  CString out;
  if (!format) return out;
  for (const char* p = format; *p; ++p) {
    if (*p != '%' || p[1] == '\0') {
      out += *p;
      continue;
    }
    CString part;
    switch (*++p) {
      case 'D': part.Format("%ld", GetDays()); break;
      case 'H': part.Format("%02d", GetHours()); break;
      case 'M': part.Format("%02d", GetMinutes()); break;
      case 'S': part.Format("%02d", GetSeconds()); break;
      case '%': part = "%"; break;
      default: part += '%'; part += *p; break;
    }
    out += part;
  }
  return out;
}

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = dst;
  bool plausible = year >= 1900 && month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 &&
                   hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 61;
  std::time_t t = plausible ? std::mktime(&tm) : static_cast<std::time_t>(-1);
  m_time = t == static_cast<std::time_t>(-1) ? 0 : t;
}

CTime::CTime(const SYSTEMTIME& st, int dst)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, dst) {}

bool CTime::GetAsSystemTime(SYSTEMTIME& st) const {
  if (m_time < 0) return false;
  std::tm tm = Local();
  st.wYear = static_cast<WORD>(tm.tm_year + 1900);
  st.wMonth = static_cast<WORD>(tm.tm_mon + 1);
  st.wDayOfWeek = static_cast<WORD>(tm.tm_wday);
  st.wDay = static_cast<WORD>(tm.tm_mday);
  st.wHour = static_cast<WORD>(tm.tm_hour);
  st.wMinute = static_cast<WORD>(tm.tm_min);
  st.wSecond = static_cast<WORD>(tm.tm_sec);
  st.wMilliseconds = 0;
  return true;
}

CTime CTime::GetCurrentTime() { return CTime(platform::Clock::Now()); }

std::tm CTime::Local() const {
  std::tm tm{};
  localtime_r(&m_time, &tm);
  return tm;
}

int CTime::GetYear() const { return Local().tm_year + 1900; }
int CTime::GetMonth() const { return Local().tm_mon + 1; }
int CTime::GetDay() const { return Local().tm_mday; }
int CTime::GetHour() const { return Local().tm_hour; }
int CTime::GetMinute() const { return Local().tm_min; }
int CTime::GetSecond() const { return Local().tm_sec; }
int CTime::GetDayOfWeek() const { return Local().tm_wday + 1; }

CString CTime::Format(const char* format) const { return FormatTm(format, Local()); }

CString CTime::FormatGmt(const char* format) const {
  std::tm tm{};
  gmtime_r(&m_time, &tm);
  return FormatTm(format, tm);
}
