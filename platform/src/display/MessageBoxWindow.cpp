#include "MessageBoxWindow.h"

#include <algorithm>

#include "MessageBoxIcon.h"
#include "platform/controls_defs.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/msgbox.h"
#include "platform/windows.h"

namespace platform::detail {
namespace {

constexpr const char* kClassName = "PlatformMessageBox";
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kMaxTextWidth = 420;
constexpr int kMinTextWidth = 120;
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;

void RegisterBoxClass() {
  WNDCLASS wc{};
  if (::GetClassInfo(nullptr, kClassName, &wc)) return;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = ::DefWindowProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kClassName;
  ::RegisterClass(&wc);
}

HFONT BoxFont() { return reinterpret_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

// Centres size over the owner (or the screen), kept on the screen.
POINT CentredOver(HWND owner, SIZE size) {
  SIZE screen = GetScreenSize();
  RECT area{0, 0, screen.cx, screen.cy};
  if (owner) ::GetWindowRect(owner, &area);
  LONG x = area.left + (area.right - area.left - size.cx) / 2;
  LONG y = area.top + (area.bottom - area.top - size.cy) / 2;
  return POINT{std::clamp<LONG>(x, 0, std::max<LONG>(0, screen.cx - size.cx)),
               std::clamp<LONG>(y, 0, std::max<LONG>(0, screen.cy - size.cy))};
}

}  // namespace

MessageBoxWindow::MessageBoxWindow(CString text, CString caption, std::vector<MessageBoxButton> buttons,
                                   std::size_t defaultIndex, int cancelId, UINT iconKind)
    : m_text(std::move(text)),
      m_caption(std::move(caption)),
      m_buttons(std::move(buttons)),
      m_defaultIndex(defaultIndex < m_buttons.size() ? defaultIndex : 0),
      m_cancelId(cancelId),
      m_iconKind(iconKind & MB_ICONMASK) {
  m_hasIcon = m_iconKind != 0 && (m_iconKind == MB_ICONSTOP || m_iconKind == MB_ICONQUESTION ||
                                  m_iconKind == MB_ICONEXCLAMATION || m_iconKind == MB_ICONINFORMATION);
}

MessageBoxWindow::~MessageBoxWindow() {
  if (m_hwnd && ::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
}

int MessageBoxWindow::Run(HWND owner) {
  HWND top = owner ? ::GetAncestorTopLevel(owner) : nullptr;
  // Taken before the owner is disabled, which takes the focus from it.
  HWND oldFocus = ::GetFocus();
  bool disabledOwner = top && ::IsWindowEnabled(top);
  if (disabledOwner) ::EnableWindow(top, FALSE);
  int fallback = m_cancelId ? m_cancelId : (m_buttons.empty() ? IDOK : m_buttons[m_defaultIndex].id);
  m_result = fallback;
  if (Create(top)) {
    ::ShowWindow(m_hwnd, SW_SHOW);
    // The default button has the keys: Space presses it, Tab and the arrows go to the others.
    HWND first = m_buttons.empty() ? nullptr : ::GetDlgItem(m_hwnd, m_buttons[m_defaultIndex].id);
    ::SetFocus(first ? first : m_hwnd);
    auto keys = [this](MSG& msg) { return ::IsDialogMessage(m_hwnd, &msg) != FALSE; };
    if (!RunModalLoop([this] { return m_answered || !::IsWindow(m_hwnd); }, keys)) m_result = fallback;
  }
  if (disabledOwner && ::IsWindow(top)) ::EnableWindow(top, TRUE);
  if (m_hwnd && ::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
  m_hwnd = nullptr;
  if (oldFocus && ::IsWindow(oldFocus)) ::SetFocus(oldFocus);
  return m_result;
}

bool MessageBoxWindow::Create(HWND owner) {
  RegisterBoxClass();
  SIZE text = MeasureText();
  int buttonsWidth = static_cast<int>(m_buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
  // The icon stands left of the text; a short text is centred on it.
  int iconWidth = m_hasIcon ? kMessageBoxIconSize + kMargin : 0;
  int body = std::max<int>(text.cy, m_hasIcon ? kMessageBoxIconSize : 0);
  int clientWidth = std::max<int>(iconWidth + text.cx, buttonsWidth) + 2 * kMargin;
  int clientHeight = kMargin + body + kMargin + kButtonHeight + kMargin;
  int textTop = kMargin + (body - static_cast<int>(text.cy)) / 2;
  m_textRect = RECT{kMargin + iconWidth, textTop, kMargin + iconWidth + text.cx, textTop + text.cy};
  RECT frame{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_DLGMODALFRAME);
  SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  POINT at = CentredOver(owner, size);
  m_hwnd = ::CreateWindowEx(WS_EX_DLGMODALFRAME, kClassName, m_caption, kStyle, at.x, at.y, size.cx, size.cy, owner,
                            nullptr, nullptr, nullptr);
  if (!m_hwnd) return false;
  ::SetWindowLongPtr(m_hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtr(m_hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageBoxWindow::Procedure));
  CreateButtons(kMargin + body + kMargin, clientWidth);
  return ::IsWindow(m_hwnd);
}

SIZE MessageBoxWindow::MeasureText() const {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  HGDIOBJ old = dc.SelectObject(reinterpret_cast<HGDIOBJ>(BoxFont()));
  RECT r{0, 0, kMaxTextWidth, 0};
  dc.DrawText(m_text, &r, kTextFormat | DT_CALCRECT);
  if (old) dc.SelectObject(old);
  return SIZE{std::max<LONG>(r.right - r.left, kMinTextWidth), std::max<LONG>(r.bottom - r.top, 16)};
}

void MessageBoxWindow::CreateButtons(int top, int width) {
  int total = static_cast<int>(m_buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
  int x = (width - total) / 2;
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == m_defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    HWND button = ::CreateWindowEx(0, "Button", m_buttons[i].label, style, x, top, kButtonWidth, kButtonHeight, m_hwnd,
                                   reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(m_buttons[i].id)), nullptr,
                                   nullptr);
    if (button) ::SendMessage(button, WM_SETFONT, reinterpret_cast<WPARAM>(BoxFont()), FALSE);
    x += kButtonWidth + kButtonGap;
  }
}

LRESULT MessageBoxWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<MessageBoxWindow*>(::GetWindowLongPtr(hwnd, GWL_USERDATA));
  if (!box || box->m_hwnd != hwnd) return ::DefWindowProc(hwnd, message, wParam, lParam);
  return box->Handle(message, wParam, lParam);
}

LRESULT MessageBoxWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return 0;
      // Escape asks for IDCANCEL: a box without Cancel answers its only OK, and a Yes/No box
      // ignores it, for a question must be answered by a choice.
      if (LOWORD(wParam) == IDCANCEL && !::GetDlgItem(m_hwnd, IDCANCEL)) {
        if (m_cancelId) Answer(m_cancelId);
        return 0;
      }
      Answer(LOWORD(wParam));
      return 0;
    case DM_GETDEFID:
      return m_buttons.empty() ? 0 : MAKELONG(static_cast<WORD>(m_buttons[m_defaultIndex].id), DC_HASDEFID);
    case WM_CLOSE:
      // A box without a way to cancel (Yes/No) must be answered with a button.
      if (m_cancelId) Answer(m_cancelId);
      return 0;
    default: return ::DefWindowProc(m_hwnd, message, wParam, lParam);
  }
}

void MessageBoxWindow::Paint() {
  CPaintDC dc(CWnd::FromHandle(m_hwnd));
  RECT client;
  ::GetClientRect(m_hwnd, &client);
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
  HGDIOBJ old = dc.SelectObject(reinterpret_cast<HGDIOBJ>(BoxFont()));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  RECT text = m_textRect;
  dc.DrawText(m_text, &text, kTextFormat);
  if (old) dc.SelectObject(old);
  if (m_hasIcon) DrawMessageBoxIcon(dc, m_iconKind, kMargin, kMargin);
}

void MessageBoxWindow::Answer(int id) {
  m_result = id;
  m_answered = true;
}

}  // namespace platform::detail
