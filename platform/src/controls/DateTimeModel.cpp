#include "DateTimeModel.h"

#include <cstdio>

#include "platform/dialogs.h"

namespace platform::detail {
namespace {

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// 0 = Sunday, on the Gregorian calendar.
WORD DayOfWeek(int year, int month, int day) {
  static const int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) --year;
  return static_cast<WORD>((year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7);
}

void StepOneDay(SYSTEMTIME& st, int direction) {
  int year = st.wYear, month = st.wMonth, day = st.wDay + direction;
  if (day < 1) {
    if (--month < 1) {
      month = 12;
      --year;
    }
    day = DaysInMonth(year, month);
  } else if (day > DaysInMonth(year, month)) {
    day = 1;
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  SYSTEMTIME next = st;
  next.wYear = static_cast<WORD>(year);
  next.wMonth = static_cast<WORD>(month);
  next.wDay = static_cast<WORD>(day);
  if (DateTimeModel::IsValid(next)) st = next;  // stops at the ends of the calendar
}

}  // namespace

DateTimeModel::DateTimeModel(HWND hwnd) : ControlModel(hwnd) {
  CTime::GetCurrentTime().GetAsSystemTime(m_value);
}

bool DateTimeModel::IsValid(const SYSTEMTIME& st) {
  return st.wYear >= 1601 && st.wYear <= 30827 && st.wMonth >= 1 && st.wMonth <= 12 && st.wDay >= 1 &&
         st.wDay <= DaysInMonth(st.wYear, st.wMonth) && st.wHour <= 23 && st.wMinute <= 59 &&
         st.wSecond <= 59 && st.wMilliseconds <= 999;
}

bool DateTimeModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case DTM_GETSYSTEMTIME: result = Get(reinterpret_cast<SYSTEMTIME*>(lParam)); return true;
    case DTM_SETSYSTEMTIME: result = Set(wParam, reinterpret_cast<const SYSTEMTIME*>(lParam)); return true;
    case WM_GETDLGCODE: result = DLGC_WANTARROWS; return true;
    case WM_LBUTTONDOWN: ::SetFocus(Hwnd()); return true;
    case WM_KEYDOWN:
      if (wParam == VK_UP) StepDays(1);
      else if (wParam == VK_DOWN) StepDays(-1);
      else return false;
      return true;
    default: return false;
  }
}

LRESULT DateTimeModel::Get(SYSTEMTIME* out) const {
  if (!out) return GDT_ERROR;
  if (m_none) return GDT_NONE;
  *out = m_value;
  return GDT_VALID;
}

LRESULT DateTimeModel::Set(WPARAM flag, const SYSTEMTIME* in) {
  if (flag == static_cast<WPARAM>(GDT_NONE)) {
    if (!(Style() & DTS_SHOWNONE)) return FALSE;
    m_none = true;
  } else {
    if (flag != static_cast<WPARAM>(GDT_VALID) || !in || !IsValid(*in)) return FALSE;
    m_value = *in;
    m_value.wDayOfWeek = DayOfWeek(in->wYear, in->wMonth, in->wDay);
    m_none = false;
  }
  Redraw();
  return TRUE;
}

void DateTimeModel::StepDays(int days) {
  if (m_none) return;
  SYSTEMTIME before = m_value;
  for (int i = 0; i < (days < 0 ? -days : days); ++i) StepOneDay(m_value, days < 0 ? -1 : 1);
  m_value.wDayOfWeek = DayOfWeek(m_value.wYear, m_value.wMonth, m_value.wDay);
  if (m_value.wYear == before.wYear && m_value.wMonth == before.wMonth && m_value.wDay == before.wDay) return;
  Redraw();
  TellParent();
}

void DateTimeModel::TellParent() {
  NMDATETIMECHANGE change{};
  change.dwFlags = m_none ? GDT_NONE : GDT_VALID;
  if (!m_none) change.st = m_value;
  Notify(change.nmhdr, DTN_DATETIMECHANGE);
}

CString DateTimeModel::DisplayText() const {
  if (m_none) return CString();
  char text[32];
  if ((Style() & DTS_TIMEFORMAT) == DTS_TIMEFORMAT)
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", unsigned{m_value.wHour}, unsigned{m_value.wMinute},
                  unsigned{m_value.wSecond});
  else
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", unsigned{m_value.wYear}, unsigned{m_value.wMonth},
                  unsigned{m_value.wDay});
  return CString(text);
}

void DateTimeModel::Paint(CDC& dc, const RECT& client) {
  RECT r = client;
  dc.FillSolidRect(&r, ::GetSysColor(COLOR_WINDOW));
  DrawSunkenFrame(dc, r);
  r.left += 2;
  DrawLabel(dc, DisplayText(), r, DT_LEFT | DT_VCENTER | DT_SINGLELINE, ::IsWindowEnabled(Hwnd()) != FALSE);
}

}  // namespace platform::detail
