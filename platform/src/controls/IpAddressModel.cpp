#include "IpAddressModel.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/dialogs.h"
#include "platform/msgbox.h"

namespace platform::detail {

namespace {

constexpr UINT_PTR kBlinkTimer = 0x1917;
constexpr UINT kBlinkMs = 530;

// The four numbers of "a.b.c.d" (each 0-255, decimal), or false for any other text.
bool ParseDotted(const char* text, int fields[4]) {
  const char* p = text;
  for (int i = 0; i < 4; ++i) {
    int value = 0;
    int digits = 0;
    while (*p >= '0' && *p <= '9' && digits < 4) value = value * 10 + (*p++ - '0'), ++digits;
    if (digits == 0 || digits > 3 || value > 255) return false;
    fields[i] = value;
    if (i < 3 && *p++ != '.') return false;
  }
  return *p == '\0';
}

int ValueOf(const std::string& field) { return field.empty() ? -1 : std::stoi(field); }

}  // namespace

bool IpAddressModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SETTEXT: {
      // Text set from outside (a script, a dialog's data) reads as the dotted address.
      const char* text = reinterpret_cast<const char*>(lParam);
      int fields[4] = {-1, -1, -1, -1};
      if (!(text && ParseDotted(text, fields))) std::fill(std::begin(fields), std::end(fields), -1);
      SetFields(fields);
      result = TRUE;
      return true;
    }
    case IPM_SETADDRESS: {
      DWORD address = static_cast<DWORD>(lParam);
      int fields[4];
      for (int i = 0; i < 4; ++i) fields[i] = static_cast<BYTE>(address >> (24 - 8 * i));
      SetFields(fields);
      return true;
    }
    case IPM_GETADDRESS: {
      // Blank fields read as 0; the answer counts the fields that are filled.
      DWORD address = 0;
      int filled = 0;
      for (int i = 0; i < 4; ++i) {
        int value = ValueOf(m_fields[i]);
        if (value >= 0) ++filled;
        address |= static_cast<DWORD>(std::max(value, 0)) << (24 - 8 * i);
      }
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = address;
      result = filled;
      return true;
    }
    case IPM_CLEARADDRESS: {
      int fields[4] = {-1, -1, -1, -1};
      SetFields(fields);
      return true;
    }
    case IPM_ISBLANK: result = Blank(); return true;
    case IPM_SETFOCUS:
      if (::GetFocus() != Hwnd()) ::SetFocus(Hwnd());
      MoveTo(std::clamp(static_cast<int>(wParam), 0, 3), true);
      return true;
    case WM_GETDLGCODE: result = DLGC_WANTARROWS | DLGC_WANTCHARS; return true;
    default: return HandleInput(message, wParam, lParam);
  }
}

bool IpAddressModel::HandleInput(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      POINT point{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
      int field = 3;
      while (field > 0 && point.x < FieldRect(field).left) --field;
      if (::GetFocus() != Hwnd()) ::SetFocus(Hwnd());
      MoveTo(field, true);
      return true;
    }
    case WM_CHAR: {
      char ch = static_cast<char>(wParam);
      if (ch >= '0' && ch <= '9') TypeDigit(ch);
      else if (ch == '.' || ch == ' ') {
        // A dot typed just after a full field moved on belongs to that field: it moves no further.
        if (!m_fields[m_current].empty() && !m_selected && m_current < 3) MoveTo(m_current + 1, true);
      } else if (ch == '\b') BackSpace();
      return true;
    }
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_RIGHT: MoveTo(std::min(m_current + 1, 3)); break;
        case VK_LEFT: MoveTo(std::max(m_current - 1, 0)); break;
        case VK_HOME: MoveTo(0); break;
        case VK_END: MoveTo(3); break;
        case VK_DELETE:
          m_selected = false;
          if (!m_fields[m_current].empty()) {
            m_fields[m_current].clear();
            FieldEdited(m_current);
          }
          break;
        default: break;
      }
      return true;
    case WM_SETFOCUS:
      // The keys come in at the first field, ready to be typed over.
      MoveTo(0, true);
      m_caretOn = true;
      ::SetTimer(Hwnd(), kBlinkTimer, kBlinkMs, nullptr);
      NotifyCommand(EN_SETFOCUS);
      Redraw();
      return true;
    case WM_KILLFOCUS:
      ::KillTimer(Hwnd(), kBlinkTimer);
      m_caretOn = false;
      NotifyCommand(EN_KILLFOCUS);
      Redraw();
      return true;
    case WM_TIMER:
      if (wParam != kBlinkTimer) return false;
      m_caretOn = ::GetFocus() == Hwnd() && !m_caretOn;
      if (::GetFocus() != Hwnd()) ::KillTimer(Hwnd(), kBlinkTimer);
      Redraw();
      return true;
    default: return false;
  }
}

bool IpAddressModel::Blank() const {
  return std::all_of(std::begin(m_fields), std::end(m_fields), [](const std::string& f) { return f.empty(); });
}

void IpAddressModel::SetFields(const int values[4]) {
  for (int i = 0; i < 4; ++i) m_fields[i] = values[i] < 0 ? std::string() : std::to_string(values[i]);
  m_current = 0;
  m_selected = ::GetFocus() == Hwnd();
  Show();
}

void IpAddressModel::FieldEdited(int field) {
  Show();
  NMIPADDRESS change{};
  change.iField = field;
  change.iValue = ValueOf(m_fields[field]);
  Notify(change.hdr, IPN_FIELDCHANGED);
  NotifyCommand(EN_CHANGE);
}

void IpAddressModel::MoveTo(int field, bool select) {
  if (field != m_current) {
    // A field left shows its number plainly ("007" as "7").
    std::string& left = m_fields[m_current];
    if (!left.empty() && std::to_string(ValueOf(left)) != left) {
      left = std::to_string(ValueOf(left));
      FieldEdited(m_current);
    }
    m_current = field;
  }
  m_selected = select && !m_fields[field].empty();
  m_caretOn = true;
  Redraw();
}

void IpAddressModel::TypeDigit(char digit) {
  if (m_selected) {
    m_fields[m_current].clear();
    m_selected = false;
  } else if (m_fields[m_current].size() >= 3) {
    // A full field goes on into the next one, as the person goes on typing.
    if (m_current == 3) return;
    MoveTo(m_current + 1);
    m_fields[m_current].clear();
  }
  const int at = m_current;
  std::string& field = m_fields[at];
  field += digit;
  if (const int value = std::stoi(field); value > 255) {
    field = "255";
    FieldEdited(at);
    ReportTooLarge(value);
    // The message took the focus and gave it back at the first field: the person retypes here.
    MoveTo(at, true);
    return;
  }
  FieldEdited(at);
  if (field.size() == 3 && at < 3) MoveTo(at + 1, true);
}

void IpAddressModel::ReportTooLarge(int value) {
  char text[96];
  std::snprintf(text, sizeof text, "%d is not a valid entry. Please specify a value between 0 and 255.", value);
  ::MessageBox(::GetAncestorTopLevel(Hwnd()), text, "Error", MB_OK | MB_ICONEXCLAMATION);
}

void IpAddressModel::BackSpace() {
  if (m_selected) {
    // BackSpace takes a selected field's text whole.
    m_selected = false;
    if (!m_fields[m_current].empty()) {
      m_fields[m_current].clear();
      FieldEdited(m_current);
      return;
    }
  }
  if (m_fields[m_current].empty()) {
    if (m_current == 0) return;
    MoveTo(m_current - 1);
  }
  std::string& field = m_fields[m_current];
  if (field.empty()) return;
  field.pop_back();
  FieldEdited(m_current);
}

RECT IpAddressModel::FieldRect(int field) const {
  RECT r = Client();
  ::InflateRect(&r, -2, -2);
  int width = static_cast<int>(r.right - r.left) / 4;
  return RECT{r.left + field * width, r.top, field == 3 ? r.right : r.left + (field + 1) * width, r.bottom};
}

void IpAddressModel::Show() {
  char text[20] = {};
  if (!Blank()) {
    std::snprintf(text, sizeof text, "%s.%s.%s.%s", m_fields[0].c_str(), m_fields[1].c_str(), m_fields[2].c_str(),
                  m_fields[3].c_str());
  }
  ::DefWindowProc(Hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  Redraw();
}

void IpAddressModel::Paint(CDC& dc, const RECT& client) {
  RECT r = client;
  bool enabled = ::IsWindowEnabled(Hwnd()) != FALSE;
  dc.FillSolidRect(&r, ::GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
  DrawSunkenFrame(dc, r);
  bool focused = ::GetFocus() == Hwnd();
  for (int i = 0; i < 4; ++i) {
    RECT field = FieldRect(i);
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    if (focused && m_selected && i == m_current) {
      // The selected number in the highlight, as an edit shows its selection.
      const int width = dc.GetTextExtent(m_fields[i].c_str(), static_cast<int>(m_fields[i].size())).cx;
      TEXTMETRIC tm{};
      dc.GetTextMetrics(&tm);
      const int left = (field.left + field.right - width) / 2, top = (field.top + field.bottom - tm.tmHeight) / 2;
      RECT band{left, top, left + width, top + tm.tmHeight};
      dc.FillSolidRect(&band, ::GetSysColor(COLOR_HIGHLIGHT));
      const int oldMode = dc.SetBkMode(TRANSPARENT);
      const COLORREF oldColor = dc.SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
      dc.DrawText(CString(m_fields[i].c_str()), &field, format);
      dc.SetTextColor(oldColor);
      dc.SetBkMode(oldMode);
    } else {
      DrawLabel(dc, CString(m_fields[i].c_str()), field, format, enabled);
    }
    if (i < 3) {
      RECT dot{field.right - 3, field.top, field.right + 3, field.bottom};
      DrawLabel(dc, CString("."), dot, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, enabled);
    }
    if (focused && m_caretOn && !m_selected && i == m_current) {
      // The caret after the field's digits (centred text: half its width right of the middle).
      int width = dc.GetTextExtent(m_fields[i].c_str(), static_cast<int>(m_fields[i].size())).cx;
      int x = (field.left + field.right) / 2 + (width + 1) / 2;
      TEXTMETRIC tm{};
      dc.GetTextMetrics(&tm);
      int top = (field.top + field.bottom - tm.tmHeight) / 2;
      RECT caret{x, top, x + 1, top + tm.tmHeight};
      dc.FillSolidRect(&caret, ::GetSysColor(COLOR_WINDOWTEXT));
    }
  }
}

}  // namespace platform::detail
