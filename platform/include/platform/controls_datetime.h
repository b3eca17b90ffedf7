#pragma once
// The date-time picker: one local date and time (or none), shown as text.

#include "platform/controls_defs.h"
#include "platform/time.h"
#include "platform/windows.h"

constexpr DWORD DTS_SHORTDATEFORMAT = 0x0000, DTS_UPDOWN = 0x0001, DTS_SHOWNONE = 0x0002,
                DTS_LONGDATEFORMAT = 0x0004, DTS_TIMEFORMAT = 0x0009;

constexpr UINT DTM_FIRST = 0x1000;
// wParam 0, lParam SYSTEMTIME*: fills it and returns GDT_VALID, or GDT_NONE when no date is set.
constexpr UINT DTM_GETSYSTEMTIME = DTM_FIRST + 1;
// wParam GDT_VALID with lParam SYSTEMTIME*, or GDT_NONE (DTS_SHOWNONE only); FALSE on a bad date.
constexpr UINT DTM_SETSYSTEMTIME = DTM_FIRST + 2;

constexpr LRESULT GDT_ERROR = -1, GDT_VALID = 0, GDT_NONE = 1;

// Sent to the parent in WM_NOTIFY when the user changes the value.
constexpr UINT DTN_DATETIMECHANGE = 0u - 759u;

struct NMDATETIMECHANGE {
  NMHDR nmhdr;
  DWORD dwFlags;  // GDT_VALID or GDT_NONE
  SYSTEMTIME st;  // the new value when dwFlags is GDT_VALID
};

// The user steps the day with the up and down arrow keys.
class CDateTimeCtrl : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // GDT_VALID with time filled, or GDT_NONE leaving it as it was.
  DWORD GetTime(CTime& time) const;
  DWORD GetTime(SYSTEMTIME* time) const;
  // Null clears the value (only with DTS_SHOWNONE). FALSE when the control refuses the value.
  BOOL SetTime(const CTime* time);
  BOOL SetTime(SYSTEMTIME* time);
};
