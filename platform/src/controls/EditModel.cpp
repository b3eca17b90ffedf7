#include "EditModel.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "../display/DisplayBackend.h"
#include "platform/strings.h"

namespace platform::detail {

namespace {

// The caret's blink timer; half a period on, half off.
constexpr UINT_PTR kBlinkTimer = 0xED17;
constexpr UINT kBlinkMs = 530;

}  // namespace

EditModel::EditModel(HWND hwnd) : ControlModel(hwnd) {
  if (Style() & ES_PASSWORD) m_password = '*';
}

bool EditModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == kCaretVisibilityMessage) {
    result = HideOrShowCaret(wParam != 0);
    return true;
  }
  if (message == WM_SIZE) SyncScrollBar();  // a new height is a new page, a new width new wraps
  if (message == WM_SETFONT) {
    m_linesValid = false;  // the wraps were measured with the old font
    SyncScrollBar();
    return true;
  }
  return HandleFormattedText(message, wParam, lParam, result) || HandleText(message, wParam, lParam, result) ||
         HandleSelection(message, wParam, lParam, result) || HandleLines(message, wParam, lParam, result) ||
         HandleMouse(message, wParam, lParam) || HandleInput(message, wParam, lParam);
}

// With EM_FMTLINES on, the text read back carries "\r\r\n" where lines wrap.
bool EditModel::HandleFormattedText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!m_fmtLines || !Wraps() || (message != WM_GETTEXT && message != WM_GETTEXTLENGTH)) return false;
  std::string text = WithSoftBreaks();
  if (message == WM_GETTEXTLENGTH) {
    result = static_cast<LRESULT>(text.size());
    return true;
  }
  auto* buffer = reinterpret_cast<char*>(lParam);
  std::size_t room = static_cast<std::size_t>(wParam);
  if (!buffer || room == 0) {
    result = 0;
    return true;
  }
  std::size_t n = std::min(text.size(), room - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  result = static_cast<LRESULT>(n);
  return true;
}

bool EditModel::HandleText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      m_text = cs && cs->lpszName ? cs->lpszName : "";
      ++m_textVersion;
      return false;
    }
    case WM_SETTEXT: {
      std::string text = WithoutSoftBreaks(lParam ? reinterpret_cast<const char*>(lParam) : "");
      ::DefWindowProc(Hwnd(), message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
      SetText(text);
      result = TRUE;
      return true;
    }
    case EM_REPLACESEL:
      ReplaceSelection(WithoutSoftBreaks(lParam ? reinterpret_cast<const char*>(lParam) : ""), false);
      return true;
    case EM_SETLIMITTEXT: m_limit = wParam ? static_cast<UINT>(wParam) : 0x7FFFFFFE; return true;
    case EM_GETLIMITTEXT: result = m_limit; return true;
    case EM_SETPASSWORDCHAR:
      m_password = static_cast<char>(wParam);
      ++m_textVersion;
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
    {
      // Reported in order, whichever end the caret is at.
      int start = std::min(m_selStart, m_selEnd);
      int end = std::max(m_selStart, m_selEnd);
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end);
      result = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(start), static_cast<WORD>(end)));
      return true;
    }
    default: return false;
  }
}

bool EditModel::HandleLines(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case EM_GETLINECOUNT:
    case EM_GETFIRSTVISIBLELINE:
    case EM_LINESCROLL:
    case EM_LINEINDEX:
    case EM_LINEFROMCHAR:
    case EM_LINELENGTH:
    case EM_GETLINE: break;
    case EM_SCROLLCARET:
      ScrollToCaret(true);
      result = TRUE;
      return true;
    default: return false;
  }
  const std::vector<Line>& lines = Lines();
  int count = static_cast<int>(lines.size());
  auto start = [&](int line) { return lines[static_cast<std::size_t>(line)].start; };
  auto lineEnd = [&](int line) { return lines[static_cast<std::size_t>(line)].end; };
  switch (message) {
    case EM_GETLINECOUNT: result = count; return true;
    case EM_GETFIRSTVISIBLELINE: result = m_firstLine; return true;
    case EM_LINESCROLL:
      // Stops where the last line reaches the bottom: scrolling on would leave a page of nothing
      // and a scroll bar without its thumb.
      if (Multiline()) m_firstLine = std::clamp(m_firstLine + static_cast<int>(lParam), 0, std::max(0, count - VisibleLines()));
      if (ScrollsSideways() && static_cast<int>(wParam) != 0) {
        TEXTMETRIC tm{};
        if (MeasuringDC dc(*this); dc.get()) dc.get()->GetTextMetrics(&tm);
        m_scrollX = std::max(0, m_scrollX + static_cast<int>(wParam) * std::max<int>(1, tm.tmAveCharWidth));
      }
      SyncScrollBar();
      Redraw();
      result = TRUE;
      return true;
    case EM_LINEINDEX: {
      int line = static_cast<int>(wParam) == -1 ? LineOf(m_selStart) : static_cast<int>(wParam);
      result = line >= 0 && line < count ? start(line) : -1;
      return true;
    }
    case EM_LINEFROMCHAR:
      result = LineOf(static_cast<int>(wParam) == -1 ? m_selStart : static_cast<int>(wParam));
      return true;
    case EM_LINELENGTH: {
      int line = static_cast<int>(wParam) == -1 ? LineOf(m_selStart) : LineOf(static_cast<int>(wParam));
      result = lineEnd(line) - start(line);
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
      int n = std::min<int>(room, lineEnd(line) - start(line));
      std::memcpy(buffer, m_text.data() + start(line), static_cast<std::size_t>(n));
      result = n;
      return true;
    }
    default: return false;
  }
}

bool EditModel::HandleInput(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_CHAR: TypeByte(static_cast<char>(wParam)); return true;
    case WM_IME_CHAR: {
      char lead = static_cast<char>((wParam >> 8) & 0xFF);
      char trail = static_cast<char>(wParam & 0xFF);
      if (lead) {
        TypeCharacter(std::string{lead, trail});
      } else {
        TypeByte(trail);
      }
      return true;
    }
    case WM_KEYDOWN: KeyDown(static_cast<UINT>(wParam)); return true;
    case WM_COPY: Copy(); return true;
    case WM_CUT:
      Copy();
      if (!ReadOnly() && !m_password) ReplaceSelection("", Source::Typed);
      return true;
    case WM_PASTE: Paste(); return true;
    case WM_VSCROLL:
      if (!HasLineBar()) return false;
      ScrollLines(LOWORD(wParam));
      return true;
    case WM_MOUSEWHEEL: {
      if (!HasLineBar()) return false;
      // Scrolled here, not through WM_VSCROLL, as the edit scrolls itself.
      int lines = -static_cast<SHORT>(HIWORD(wParam)) * kWheelLines / WHEEL_DELTA;
      for (int i = 0; i < std::abs(lines); ++i) ScrollLines(lines > 0 ? SB_LINEDOWN : SB_LINEUP);
      return true;
    }
    case WM_SETFOCUS:
      // A new focus brings a new caret, shown whatever the old one's HideCaret count was.
      m_caretHidden = 0;
      RestartBlink();
      NotifyCommand(EN_SETFOCUS);
      Redraw();
      return true;
    case WM_TIMER:
      if (wParam != kBlinkTimer) return false;
      if (::GetFocus() != Hwnd()) {
        ::KillTimer(Hwnd(), kBlinkTimer);
        m_caretOn = false;
      } else {
        m_caretOn = !m_caretOn;
      }
      Redraw();
      return true;
    case WM_KILLFOCUS:
      ::KillTimer(Hwnd(), kBlinkTimer);
      m_caretOn = false;
      m_pendingLead = 0;  // half a character typed never joins what comes after the focus returns
      NotifyCommand(EN_KILLFOCUS);
      Redraw();
      return true;
    default: return false;
  }
}

void EditModel::SetText(const std::string& text) {
  m_text = text;
  ++m_textVersion;
  m_selStart = m_selEnd = 0;
  m_firstLine = 0;
  m_scrollX = 0;
  m_modified = false;
  Changed();
}

void EditModel::ReplaceSelection(std::string text, Source source) {
  bool typed = source != Source::Program;
  int start = std::min(m_selStart, m_selEnd);
  int end = std::max(m_selStart, m_selEnd);
  std::size_t kept = m_text.size() - static_cast<std::size_t>(end - start);
  std::size_t room = m_limit > kept ? m_limit - kept : 0;
  if (text.size() > room) {
    if (source != Source::Program) NotifyCommand(EN_MAXTEXT);
    if (source == Source::Typed) return;
    // Cut at a character boundary: half a character at the end would spoil the text.
    std::size_t fit = 0;
    while (fit < text.size()) {
      std::size_t next = fit + static_cast<std::size_t>(CharLengthAt(text, static_cast<int>(fit)));
      if (next > room) break;
      fit = next;
    }
    text.resize(fit);
  }
  if (text.empty() && start == end) return;
  m_text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), text);
  ++m_textVersion;
  m_selStart = m_selEnd = start + static_cast<int>(text.size());
  if (typed) m_modified = true;
  ::DefWindowProc(Hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_text.c_str()));
  // What is typed or put in at the caret is where the person looks (before the parent hears of
  // the change, which may take the edit away).
  ScrollToCaret(true);
  RestartBlink();
  Changed();
}

void EditModel::TypeByte(char ch) {
  unsigned char byte = static_cast<unsigned char>(ch);
  if (m_pendingLead) {
    char lead = m_pendingLead;
    m_pendingLead = 0;
    if (IsCp949TrailByte(byte)) {
      TypeCharacter(std::string{lead, ch});
      return;
    }
    // A lead byte without its trail byte is no character: it is dropped.
  }
  if (IsCp949LeadByte(byte)) {
    m_pendingLead = ch;
    return;
  }
  TypeChar(ch);
}

void EditModel::TypeCharacter(const std::string& character) {
  if (ReadOnly() || (Style() & ES_NUMBER)) return;
  if (character.size() != 2 || Cp949CharLength(character, 0) != 2) return;
  ReplaceSelection(character, Source::Typed);
}

void EditModel::TypeChar(char ch) {
  // The clipboard keys, as Ctrl makes them.
  if (ch == 0x03) {
    ::SendMessage(Hwnd(), WM_COPY, 0, 0);
    return;
  }
  if (ch == 0x16) {
    ::SendMessage(Hwnd(), WM_PASTE, 0, 0);
    return;
  }
  if (ch == 0x18) {
    ::SendMessage(Hwnd(), WM_CUT, 0, 0);
    return;
  }
  if (ReadOnly()) return;
  if (ch == '\b') {
    if (m_selStart == m_selEnd) m_selStart = PreviousBoundary(m_selStart);  // a line break goes as one
    ReplaceSelection("", true);
    return;
  }
  if (ch == '\r') {
    if (Multiline() && (Style() & ES_WANTRETURN)) ReplaceSelection("\r\n", true);
    return;
  }
  if (ch == '\t') {
    if (Multiline()) ReplaceSelection("\t", true);
    return;
  }
  // Control characters and DEL (Ctrl+Back Space) are no text.
  if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) return;
  if ((Style() & ES_NUMBER) && (ch < '0' || ch > '9')) return;
  ReplaceSelection(std::string(1, ch), true);
}

void EditModel::KeyDown(UINT key) {
  int size = static_cast<int>(m_text.size());
  bool shift = ::GetKeyState(VK_SHIFT) < 0;
  bool control = ::GetKeyState(VK_CONTROL) < 0;
  // With Shift the caret moves and the anchor stays, so the selection grows or shrinks.
  auto moveTo = [&](int caret) { SetSelection(shift ? m_selStart : caret, caret); };
  // In a multi-line edit Home and End keep to the caret's line (Ctrl: the whole text), and Up and
  // Down go to the same byte column of the next line, snapped to a character.
  bool lineWise = Multiline() && !control;
  Line line{0, size, size};
  int lineIndex = 0;
  if (Multiline()) {
    lineIndex = LineOf(m_selEnd);
    line = Lines()[static_cast<std::size_t>(lineIndex)];
  }
  auto toLine = [&](int step) {
    const std::vector<Line>& lines = Lines();
    int target = lineIndex + step;
    if (target < 0 || target >= static_cast<int>(lines.size())) return m_selEnd;
    const Line& other = lines[static_cast<std::size_t>(target)];
    return SnapToBoundary(std::min(other.start + (m_selEnd - line.start), other.end));
  };
  switch (key) {
    case VK_LEFT: moveTo(shift ? PreviousBoundary(m_selEnd) : PreviousBoundary(std::min(m_selStart, m_selEnd))); break;
    case VK_RIGHT: moveTo(shift ? NextBoundary(m_selEnd) : NextBoundary(std::max(m_selStart, m_selEnd))); break;
    case VK_HOME: moveTo(lineWise ? line.start : 0); break;
    case VK_END: moveTo(lineWise ? line.end : size); break;
    case VK_UP:
      if (Multiline()) moveTo(toLine(-1));
      break;
    case VK_DOWN:
      if (Multiline()) moveTo(toLine(1));
      break;
    case VK_INSERT:
      if (control) ::SendMessage(Hwnd(), WM_COPY, 0, 0);
      if (shift) ::SendMessage(Hwnd(), WM_PASTE, 0, 0);
      break;
    case VK_DELETE:
      if (shift) {
        ::SendMessage(Hwnd(), WM_CUT, 0, 0);
        break;
      }
      if (ReadOnly()) break;
      if (m_selStart == m_selEnd) m_selEnd = NextBoundary(m_selEnd);
      ReplaceSelection("", true);
      break;
    default: return;
  }
  ScrollToCaret(true);
}

// end -2 places the caret at start; start -1 removes the selection; end -1 selects to the end.
void EditModel::SetSelection(int start, int end) {
  int size = static_cast<int>(m_text.size());
  if (end == -2) end = start;
  if (start == -1) {
    m_selStart = m_selEnd = SnapToBoundary(std::clamp(m_selEnd, 0, size));
  } else {
    m_selStart = SnapToBoundary(std::clamp(start, 0, size));
    m_selEnd = end < 0 ? size : SnapToBoundary(std::clamp(end, 0, size));
  }
  // A single line keeps its caret in sight; more lines wait for EM_SCROLLCARET.
  if (!Multiline()) ScrollToCaret(false);
  RestartBlink();
  Redraw();
}

int EditModel::CharLengthAt(const std::string& text, int at) const {
  if (text.compare(static_cast<std::size_t>(at), 2, "\r\n") == 0) return 2;
  return std::max(1, Cp949CharLength(text, static_cast<std::size_t>(at)));
}

int EditModel::SnapToBoundary(int offset) const {
  if (offset <= 0) return 0;
  // A line feed is never part of a double-byte character, so the walk starts after the last one.
  std::size_t feed = m_text.rfind('\n', static_cast<std::size_t>(offset - 1));
  int at = feed == std::string::npos ? 0 : static_cast<int>(feed) + 1;
  int last = at;
  while (at < offset) {
    last = at;
    at += CharLengthAt(m_text, at);
  }
  return at == offset ? offset : last;
}

int EditModel::PreviousBoundary(int offset) const {
  offset = SnapToBoundary(offset);
  return offset <= 0 ? 0 : SnapToBoundary(offset - 1);
}

int EditModel::NextBoundary(int offset) const {
  int size = static_cast<int>(m_text.size());
  offset = SnapToBoundary(offset);
  return offset >= size ? size : std::min(size, offset + CharLengthAt(m_text, offset));
}

void EditModel::Copy() {
  // A password is not given away.
  if (m_password) return;
  int start = std::min(m_selStart, m_selEnd);
  int end = std::max(m_selStart, m_selEnd);
  if (start == end) return;
  Display().SetClipboardText(m_text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

void EditModel::Paste() {
  if (ReadOnly()) return;
  std::string text = Display().ClipboardText();
  if (!Multiline()) {
    // A single line takes the first line of what was copied.
    text.resize(std::min(text.size(), text.find_first_of("\r\n")));
  } else {
    // Line feeds alone (from other programs) become the edit's line breaks.
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
      lines += text[i];
    }
    text = std::move(lines);
  }
  if (text.empty()) return;
  ReplaceSelection(std::move(text), Source::Pasted);
}

void EditModel::Changed() {
  SyncScrollBar();
  Redraw();
  NotifyCommand(EN_UPDATE);
  NotifyCommand(EN_CHANGE);
}

void EditModel::SyncScrollBar() {
  if (!HasLineBar()) return;
  int count = static_cast<int>(Lines().size());
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, std::max(0, count - 1),
                  static_cast<UINT>(VisibleLines()), m_firstLine, 0};
  SCROLLINFO was{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  ::GetScrollInfo(Hwnd(), SB_VERT, &was);
  // The bar is drawn with the edit's next paint, never here: this runs in the middle of a layout.
  ::SetScrollInfo(Hwnd(), SB_VERT, &info, FALSE);
  SCROLLINFO now{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  ::GetScrollInfo(Hwnd(), SB_VERT, &now);
  if (was.nMin != now.nMin || was.nMax != now.nMax || was.nPage != now.nPage || was.nPos != now.nPos)
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
}

void EditModel::ScrollLines(UINT code) {
  int page = VisibleLines();
  int last = std::max(0, static_cast<int>(Lines().size()) - page);
  int target = m_firstLine;
  switch (code) {
    case SB_LINEUP: --target; break;
    case SB_LINEDOWN: ++target; break;
    case SB_PAGEUP: target -= page; break;
    case SB_PAGEDOWN: target += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The full position, not the message's 16 bits.
      SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
      ::GetScrollInfo(Hwnd(), SB_VERT, &info);
      target = info.nTrackPos;
      break;
    }
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = last; break;
    default: return;  // SB_ENDSCROLL moves nothing
  }
  target = std::clamp(target, 0, last);
  if (target == m_firstLine) return;
  m_firstLine = target;
  SyncScrollBar();
  Redraw();
}

int EditModel::VisibleLines() const {
  TEXTMETRIC tm{};
  if (MeasuringDC dc(*this); dc.get()) dc.get()->GetTextMetrics(&tm);
  RECT area = TextArea();
  return std::max(1, static_cast<int>(area.bottom - area.top) / std::max<int>(1, tm.tmHeight));
}

// Lines, WrapLine and LineOf: EditModelLines.cpp.

std::string EditModel::WithSoftBreaks() const {
  const std::vector<Line>& lines = Lines();
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    text.append(m_text, static_cast<std::size_t>(line.start), static_cast<std::size_t>(line.next - line.start));
    if (i + 1 < lines.size() && line.next == line.end) text += "\r\r\n";
  }
  return text;
}

std::string EditModel::WithoutSoftBreaks(std::string text) const {
  if (!m_fmtLines || !Wraps()) return text;
  for (std::size_t at = text.find("\r\r\n"); at != std::string::npos; at = text.find("\r\r\n", at)) text.erase(at, 3);
  return text;
}

RECT EditModel::TextArea() const {
  RECT r = Client();
  if (::GetWindowLong(Hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) ::InflateRect(&r, -2, -2);
  ::InflateRect(&r, -2, -1);
  return r;
}

std::string EditModel::Shown() const {
  return m_password ? std::string(m_text.size(), m_password) : m_text;
}

bool EditModel::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  POINT point{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
  switch (message) {
    case WM_LBUTTONDOWN: {
      if (::GetFocus() != Hwnd()) ::SetFocus(Hwnd());
      int at = OffsetAt(point);
      SetSelection((wParam & MK_SHIFT) ? m_selStart : at, at);
      ScrollToCaret(true);
      m_dragging = true;
      ::SetCapture(Hwnd());
      return true;
    }
    case WM_MOUSEMOVE:
      if (!m_dragging || ::GetCapture() != Hwnd()) return false;
      SetSelection(m_selStart, OffsetAt(point));
      ScrollToCaret(true);
      return true;
    case WM_LBUTTONUP:
      if (!m_dragging) return false;
      m_dragging = false;
      if (::GetCapture() == Hwnd()) ::ReleaseCapture();
      return true;
    case WM_CAPTURECHANGED: m_dragging = false; return false;
    case WM_LBUTTONDBLCLK: {
      // The word (a run of characters other than spaces and line breaks) under the pointer.
      int at = OffsetAt(point);
      auto isGap = [&](int offset) {
        char ch = m_text[static_cast<std::size_t>(offset)];
        return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
      };
      int size = static_cast<int>(m_text.size());
      int start = at;
      while (start > 0 && !isGap(start - 1)) --start;
      int end = at;
      while (end < size && !isGap(end)) ++end;
      SetSelection(SnapToBoundary(start), SnapToBoundary(end));
      return true;
    }
    default: return false;
  }
}

int EditModel::LineHeight() const {
  TEXTMETRIC tm{};
  if (MeasuringDC dc(*this); dc.get()) dc.get()->GetTextMetrics(&tm);
  return std::max<int>(1, tm.tmHeight);
}

int EditModel::LineTop(int index) const {
  RECT area = TextArea();
  if (!Multiline()) return static_cast<int>(area.top) + (static_cast<int>(area.bottom - area.top) - LineHeight()) / 2;
  return static_cast<int>(area.top) + (index - m_firstLine) * LineHeight();
}

int EditModel::XOf(int offset) const {
  const Line& line = Lines()[static_cast<std::size_t>(LineOf(offset))];
  int end = std::clamp(offset, line.start, line.end);
  MeasuringDC dc(*this);
  if (!dc.get() || end <= line.start) return 0;
  std::string shown = Shown();
  return dc.get()->GetTextExtent(shown.data() + line.start, end - line.start).cx;
}

int EditModel::OffsetAt(POINT point) const {
  const std::vector<Line>& lines = Lines();
  RECT area = TextArea();
  int index = 0;
  if (Multiline()) {
    int row = point.y < area.top ? -1 : static_cast<int>(point.y - area.top) / LineHeight();
    index = std::clamp(m_firstLine + row, 0, static_cast<int>(lines.size()) - 1);
  }
  const Line& line = lines[static_cast<std::size_t>(index)];
  int x = static_cast<int>(point.x - area.left) + m_scrollX;
  MeasuringDC dc(*this);
  if (!dc.get()) return line.start;
  std::string shown = Shown();
  // The boundary whose position is nearest: past half a character's width the caret goes after it.
  int previousX = 0;
  for (int at = line.start; at < line.end;) {
    int next = std::min(line.end, at + CharLengthAt(shown, at));
    int nextX = dc.get()->GetTextExtent(shown.data() + line.start, next - line.start).cx;
    if (x < (previousX + nextX) / 2 + ((previousX + nextX) % 2)) return at;
    previousX = nextX;
    at = next;
  }
  return line.end;
}

void EditModel::ScrollToCaret(bool lines) {
  bool moved = false;
  if (lines && Multiline()) {
    int caretLine = LineOf(m_selEnd);
    int page = VisibleLines();
    int first = std::clamp(m_firstLine, caretLine - page + 1, caretLine);
    if (first != m_firstLine) {
      m_firstLine = first;
      SyncScrollBar();
      moved = true;
    }
  }
  if (ScrollsSideways()) {
    RECT area = TextArea();
    int width = std::max(1, static_cast<int>(area.right - area.left));
    int caretX = XOf(m_selEnd);
    int scroll = m_scrollX;
    // Past either edge the line moves by a third of the width, so typing on does not scroll at
    // every character.
    if (caretX < scroll) scroll = std::max(0, caretX - width / 3);
    else if (caretX >= scroll + width) scroll = caretX - width + width / 3;
    // Text taken away from the end lets the line come back into the box.
    if (!Multiline()) {
      std::string shown = Shown();
      MeasuringDC dc(*this);
      int whole = dc.get() ? dc.get()->GetTextExtent(shown.data(), static_cast<int>(shown.size())).cx : 0;
      scroll = std::clamp(scroll, 0, std::max(0, std::max(whole, caretX + 1) - width + 1));
    }
    if (scroll != m_scrollX) {
      m_scrollX = scroll;
      moved = true;
    }
  }
  if (moved) Redraw();
}

BOOL EditModel::HideOrShowCaret(bool hide) {
  if (hide) {
    ++m_caretHidden;
    // A hidden caret has nothing to blink: the program sleeps until something happens.
    ::KillTimer(Hwnd(), kBlinkTimer);
  } else if (m_caretHidden > 0) {
    --m_caretHidden;
    if (m_caretHidden == 0) RestartBlink();
  } else {
    return FALSE;
  }
  Redraw();
  return TRUE;
}

void EditModel::RestartBlink() {
  if (::GetFocus() != Hwnd()) return;
  m_caretOn = true;
  if (m_caretHidden == 0) ::SetTimer(Hwnd(), kBlinkTimer, kBlinkMs, nullptr);
}

void EditModel::PaintLine(CDC& dc, const std::string& shown, const Line& line, int top, bool enabled,
                          bool showSelection) {
  RECT area = TextArea();
  int lineHeight = LineHeight();
  int left = static_cast<int>(area.left) - m_scrollX;
  auto extent = [&](int to) {
    return to <= line.start ? 0 : dc.GetTextExtent(shown.data() + line.start, to - line.start).cx;
  };
  RECT box{left, top, std::max<LONG>(area.right, left + extent(line.end) + 1), top + lineHeight};
  CString text(shown.substr(static_cast<std::size_t>(line.start), static_cast<std::size_t>(line.end - line.start)).c_str());
  DrawColoredLabel(dc, text, box, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX, enabled);
  int selStart = std::max(std::min(m_selStart, m_selEnd), line.start);
  int selEnd = std::min(std::max(m_selStart, m_selEnd), line.end);
  // A selection running on past the line's end marks the line break too.
  bool breakSelected = std::max(m_selStart, m_selEnd) > line.end && std::min(m_selStart, m_selEnd) <= line.end &&
                       line.next > line.end;
  if (!showSelection || (selStart >= selEnd && !breakSelected)) return;
  int x0 = left + extent(selStart);
  int x1 = left + extent(selEnd) + (breakSelected ? std::max(4, lineHeight / 3) : 0);
  RECT marked{x0, top, x1, top + lineHeight};
  dc.FillSolidRect(&marked, ::GetSysColor(COLOR_HIGHLIGHT));
  if (selEnd > selStart) {
    RECT selected{x0, top, x1 + 1, top + lineHeight};
    int oldMode = dc.SetBkMode(TRANSPARENT);
    COLORREF old = dc.SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
    CString part(shown.substr(static_cast<std::size_t>(selStart), static_cast<std::size_t>(selEnd - selStart)).c_str());
    dc.DrawText(part, &selected, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    dc.SetTextColor(old);
    dc.SetBkMode(oldMode);
  }
}

void EditModel::Paint(CDC& dc, const RECT& client) {
  RECT r = client;
  bool enabled = ::IsWindowEnabled(Hwnd()) != FALSE;
  // A read-only or disabled edit asks as a static does, and so gets the face colour by default.
  ::FillRect(dc.GetSafeHdc(), &r, ParentColors(dc, enabled && !ReadOnly() ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC));
  if (::GetWindowLong(Hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) DrawSunkenFrame(dc, r);
  RECT area = TextArea();
  std::string shown = Shown();
  const std::vector<Line>& lines = Lines();
  bool focused = ::GetFocus() == Hwnd();
  bool showSelection = focused || (Style() & ES_NOHIDESEL);
  int saved = dc.SaveDC();
  dc.IntersectClipRect(&area);
  for (std::size_t i = static_cast<std::size_t>(Multiline() ? m_firstLine : 0); i < lines.size(); ++i) {
    int top = LineTop(static_cast<int>(i));
    if (top >= area.bottom) break;
    PaintLine(dc, shown, lines[i], top, enabled, showSelection);
    if (!Multiline()) break;
  }
  if (focused && m_caretOn && m_caretHidden == 0) {
    int caretLine = LineOf(m_selEnd);
    int top = LineTop(caretLine);
    if (!Multiline() || caretLine >= m_firstLine) {
      int x = static_cast<int>(area.left) - m_scrollX + XOf(m_selEnd);
      RECT caret{x, top, x + 1, top + LineHeight()};
      dc.FillSolidRect(&caret, ::GetSysColor(COLOR_WINDOWTEXT));
    }
  }
  dc.RestoreDC(saved);
}

}  // namespace platform::detail
