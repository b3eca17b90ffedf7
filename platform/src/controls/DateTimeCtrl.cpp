#include "platform/controls.h"

BOOL CDateTimeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("SysDateTimePick32", "", style, rect, parent, id);
}

DWORD CDateTimeCtrl::GetTime(CTime& time) const {
  SYSTEMTIME st{};
  DWORD result = GetTime(&st);
  if (result == GDT_VALID) time = CTime(st);
  return result;
}

DWORD CDateTimeCtrl::GetTime(SYSTEMTIME* time) const {
  return static_cast<DWORD>(::SendMessage(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time)));
}

BOOL CDateTimeCtrl::SetTime(const CTime* time) {
  if (!time) return SetTime(static_cast<SYSTEMTIME*>(nullptr));
  SYSTEMTIME st{};
  if (!time->GetAsSystemTime(st)) return FALSE;
  return SetTime(&st);
}

BOOL CDateTimeCtrl::SetTime(SYSTEMTIME* time) {
  WPARAM flag = static_cast<WPARAM>(time ? GDT_VALID : GDT_NONE);
  return static_cast<BOOL>(::SendMessage(m_hWnd, DTM_SETSYSTEMTIME, flag, reinterpret_cast<LPARAM>(time)));
}
