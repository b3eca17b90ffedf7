#include "EditModel.h"

#include <algorithm>
#include <cstring>

namespace platform::detail {

EditModel::EditModel(HWND hwnd) : ControlModel(hwnd) {
  if (Style() & ES_PASSWORD) m_password = '*';
}

bool EditModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return HandleText(message, wParam, lParam, result) || HandleSelection(message, wParam, lParam, result) ||
         HandleLines(message, wParam, lParam, result) || HandleInput(message, wParam, lParam);
}

bool EditModel::HandleText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      m_text = cs && cs->lpszName ? cs->lpszName : "";
      return false;
    }
    case WM_SETTEXT:
      ::DefWindowProc(Hwnd(), message, wParam, lParam);
      SetText(lParam ? reinterpret_cast<const char*>(lParam) : "");
      result = TRUE;
      return true;
    case EM_REPLACESEL: ReplaceSelection(lParam ? reinterpret_cast<const char*>(lParam) : "", false); return true;
    case EM_SETLIMITTEXT: m_limit = wParam ? static_cast<UINT>(wParam) : 0x7FFFFFFE; return true;
    case EM_GETLIMITTEXT: result = m_limit; return true;
    case EM_SETPASSWORDCHAR:
      m_password = static_cast<char>(wParam);
      Redraw();
      return true;
    case EM_GETPASSWORDCHAR: result = static_cast<unsigned char>(m_password); return true;
    case EM_SETREADONLY:
      ::SetWindowLong(Hwnd(), GWL_STYLE, static_cast<LONG>(wParam ? Style() | ES_READONLY : Style() & ~ES_READONLY));
      Redraw();
      result = TRUE;
      return true;
    case EM_GETMODIFY: result = m_modified; return true;
    case EM_SETMODIFY: m_modified = wParam != 0; return true;
    case EM_FMTLINES: m_fmtLines = wParam != 0; result = m_fmtLines; return true;
    case WM_CLEAR: ReplaceSelection("", false); return true;
    default: return false;
  }
}

bool EditModel::HandleSelection(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case EM_SETSEL: SetSelection(static_cast<int>(wParam), static_cast<int>(lParam)); return true;
    case EM_GETSEL:
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(m_selStart);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(m_selEnd);
      result = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(m_selStart), static_cast<WORD>(m_selEnd)));
      return true;
    default: return false;
  }
}

bool EditModel::HandleLines(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  std::vector<int> starts = LineStarts();
  int count = static_cast<int>(starts.size());
  auto lineEnd = [&](int line) {
    int end = line + 1 < count ? starts[line + 1] - 2 : static_cast<int>(m_text.size());
    return std::max(end, starts[line]);
  };
  switch (message) {
    case EM_GETLINECOUNT: result = count; return true;
    case EM_GETFIRSTVISIBLELINE: result = m_firstLine; return true;
    case EM_LINESCROLL:
      if (Multiline()) m_firstLine = std::clamp(m_firstLine + static_cast<int>(lParam), 0, count - 1);
      Redraw();
      result = TRUE;
      return true;
    case EM_LINEINDEX: {
      int line = static_cast<int>(wParam) == -1 ? LineOf(m_selStart) : static_cast<int>(wParam);
      result = line >= 0 && line < count ? starts[line] : -1;
      return true;
    }
    case EM_LINEFROMCHAR:
      result = LineOf(static_cast<int>(wParam) == -1 ? m_selStart : static_cast<int>(wParam));
      return true;
    case EM_LINELENGTH: {
      int line = static_cast<int>(wParam) == -1 ? LineOf(m_selStart) : LineOf(static_cast<int>(wParam));
      result = lineEnd(line) - starts[line];
      return true;
    }
    case EM_GETLINE: {
      int line = static_cast<int>(wParam);
      char* buffer = reinterpret_cast<char*>(lParam);
      if (line < 0 || line >= count || !buffer) {
        result = 0;
        return true;
      }
      WORD room = 0;
      std::memcpy(&room, buffer, sizeof room);  // the caller stores the buffer size in the first word
      int n = std::min<int>(room, lineEnd(line) - starts[line]);
      std::memcpy(buffer, m_text.data() + starts[line], static_cast<std::size_t>(n));
      result = n;
      return true;
    }
    default: return false;
  }
}

bool EditModel::HandleInput(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_CHAR: TypeChar(static_cast<char>(wParam)); return true;
    case WM_KEYDOWN: KeyDown(static_cast<UINT>(wParam)); return true;
    case WM_LBUTTONDOWN: ::SetFocus(Hwnd()); return true;
    case WM_SETFOCUS: NotifyCommand(EN_SETFOCUS); Redraw(); return true;
    case WM_KILLFOCUS: NotifyCommand(EN_KILLFOCUS); Redraw(); return true;
    default: return false;
  }
}

void EditModel::SetText(const std::string& text) {
  m_text = text;
  m_selStart = m_selEnd = 0;
  m_firstLine = 0;
  m_modified = false;
  Changed();
}

void EditModel::ReplaceSelection(std::string text, bool typed) {
  int start = std::min(m_selStart, m_selEnd);
  int end = std::max(m_selStart, m_selEnd);
  std::size_t kept = m_text.size() - static_cast<std::size_t>(end - start);
  std::size_t room = m_limit > kept ? m_limit - kept : 0;
  if (text.size() > room) {
    if (typed) {
      NotifyCommand(EN_MAXTEXT);
      return;
    }
    text.resize(room);
  }
  if (text.empty() && start == end) return;
  m_text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), text);
  m_selStart = m_selEnd = start + static_cast<int>(text.size());
  if (typed) m_modified = true;
  ::DefWindowProc(Hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_text.c_str()));
  Changed();
}

void EditModel::TypeChar(char ch) {
  if (ReadOnly()) return;
  if (ch == '\b') {
    if (m_selStart == m_selEnd && m_selStart > 0) {
      bool lineBreak = m_selStart >= 2 && m_text.compare(static_cast<std::size_t>(m_selStart - 2), 2, "\r\n") == 0;
      m_selStart -= lineBreak ? 2 : 1;  // a line break goes as one
    }
    ReplaceSelection("", true);
    return;
  }
  if (ch == '\r') {
    if (Multiline() && (Style() & ES_WANTRETURN)) ReplaceSelection("\r\n", true);
    return;
  }
  if (static_cast<unsigned char>(ch) < 0x20) return;
  if ((Style() & ES_NUMBER) && (ch < '0' || ch > '9')) return;
  ReplaceSelection(std::string(1, ch), true);
}

void EditModel::KeyDown(UINT key) {
  int size = static_cast<int>(m_text.size());
  switch (key) {
    case VK_LEFT: SetSelection(std::max(0, std::min(m_selStart, m_selEnd) - 1), -2); break;
    case VK_RIGHT: SetSelection(std::min(size, std::max(m_selStart, m_selEnd) + 1), -2); break;
    case VK_HOME: SetSelection(0, -2); break;
    case VK_END: SetSelection(size, -2); break;
    case VK_DELETE:
      if (ReadOnly()) break;
      if (m_selStart == m_selEnd && m_selEnd < size) ++m_selEnd;
      ReplaceSelection("", true);
      break;
    default: break;
  }
}

// end -2 places the caret at start; start -1 removes the selection; end -1 selects to the end.
void EditModel::SetSelection(int start, int end) {
  int size = static_cast<int>(m_text.size());
  if (end == -2) end = start;
  if (start == -1) {
    m_selStart = m_selEnd = std::clamp(m_selEnd, 0, size);
  } else {
    m_selStart = std::clamp(start, 0, size);
    m_selEnd = end < 0 ? size : std::clamp(end, 0, size);
  }
  Redraw();
}

void EditModel::Changed() {
  Redraw();
  NotifyCommand(EN_UPDATE);
  NotifyCommand(EN_CHANGE);
}

std::vector<int> EditModel::LineStarts() const {
  std::vector<int> starts{0};
  if (!Multiline()) return starts;
  for (std::size_t at = m_text.find("\r\n"); at != std::string::npos; at = m_text.find("\r\n", at + 2)) {
    starts.push_back(static_cast<int>(at + 2));
  }
  return starts;
}

int EditModel::LineOf(int offset) const {
  std::vector<int> starts = LineStarts();
  auto it = std::upper_bound(starts.begin(), starts.end(), offset);
  return static_cast<int>(it - starts.begin()) - 1;
}

std::string EditModel::Shown() const {
  return m_password ? std::string(m_text.size(), m_password) : m_text;
}

void EditModel::Paint(CDC& dc, const RECT& client) {
  RECT r = client;
  bool enabled = ::IsWindowEnabled(Hwnd()) != FALSE;
  dc.FillSolidRect(&r, ::GetSysColor(enabled && !ReadOnly() ? COLOR_WINDOW : COLOR_BTNFACE));
  if (::GetWindowLong(Hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) DrawSunkenFrame(dc, r);
  ::InflateRect(&r, -2, -1);
  std::string shown = Shown();
  std::vector<int> starts = LineStarts();
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  int lineHeight = std::max<int>(1, tm.tmHeight);
  RECT line = r;
  for (std::size_t i = static_cast<std::size_t>(m_firstLine); i < starts.size() && line.top < r.bottom; ++i) {
    int end = i + 1 < starts.size() ? starts[i + 1] - 2 : static_cast<int>(shown.size());
    line.bottom = line.top + lineHeight;
    CString text(shown.substr(static_cast<std::size_t>(starts[i]), static_cast<std::size_t>(end - starts[i])).c_str());
    DrawLabel(dc, text, line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | (Multiline() ? 0 : DT_VCENTER), enabled);
    if (!Multiline()) break;
    line.top = line.bottom;
  }
}

}  // namespace platform::detail
