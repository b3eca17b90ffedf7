#include "IpAddressModel.h"

#include <algorithm>
#include <cstdio>

namespace platform::detail {

namespace {

// The four numbers of "a.b.c.d" (each 0-255, decimal), or false for any other text.
bool ParseDotted(const char* text, BYTE fields[4]) {
  const char* p = text;
  for (int i = 0; i < 4; ++i) {
    int value = 0;
    int digits = 0;
    while (*p >= '0' && *p <= '9' && digits < 4) value = value * 10 + (*p++ - '0'), ++digits;
    if (digits == 0 || digits > 3 || value > 255) return false;
    fields[i] = static_cast<BYTE>(value);
    if (i < 3 && *p++ != '.') return false;
  }
  return *p == '\0';
}

}  // namespace

bool IpAddressModel::Handle(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SETTEXT: {
      // Text set from outside (a script, a dialog's data) reads as the dotted address.
      const char* text = reinterpret_cast<const char*>(lParam);
      BYTE fields[4];
      m_blank = !(text && ParseDotted(text, fields));
      if (m_blank) std::fill(std::begin(m_fields), std::end(m_fields), BYTE{0});
      else std::copy(std::begin(fields), std::end(fields), std::begin(m_fields));
      Show();
      result = TRUE;
      return true;
    }
    case IPM_SETADDRESS: {
      DWORD address = static_cast<DWORD>(lParam);
      for (int i = 0; i < 4; ++i) m_fields[i] = static_cast<BYTE>(address >> (24 - 8 * i));
      m_blank = false;
      Show();
      return true;
    }
    case IPM_GETADDRESS: {
      DWORD address = 0;
      for (int i = 0; i < 4; ++i) address |= static_cast<DWORD>(m_fields[i]) << (24 - 8 * i);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = address;
      result = m_blank ? 0 : 4;
      return true;
    }
    case IPM_CLEARADDRESS:
      std::fill(std::begin(m_fields), std::end(m_fields), BYTE{0});
      m_blank = true;
      Show();
      return true;
    case IPM_ISBLANK: result = m_blank; return true;
    default: return false;
  }
}

void IpAddressModel::Show() {
  char text[20] = {};
  if (!m_blank) std::snprintf(text, sizeof text, "%u.%u.%u.%u", m_fields[0], m_fields[1], m_fields[2], m_fields[3]);
  ::DefWindowProc(Hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  Redraw();
}

void IpAddressModel::Paint(CDC& dc, const RECT& client) {
  RECT r = client;
  dc.FillSolidRect(&r, ::GetSysColor(COLOR_WINDOW));
  DrawSunkenFrame(dc, r);
  CString text = m_blank ? CString(" .  .  . ") : Text();
  DrawLabel(dc, text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, ::IsWindowEnabled(Hwnd()) != FALSE);
}

}  // namespace platform::detail
