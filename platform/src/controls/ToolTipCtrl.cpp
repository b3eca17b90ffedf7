#include <string>

#include "platform/controls.h"

namespace {
// Lookups need only the window and id of a rectangle tool, not its rectangle.
const RECT kAnyRect{0, 0, 0, 0};
}  // namespace

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
  return CreateEx(WS_EX_TOPMOST, "tooltips_class32", "", WS_POPUP | style, 0, 0, 0, 0, platform::SafeHwnd(parent), nullptr);
}

TOOLINFO CToolTipCtrl::Info(CWnd* wnd, UINT_PTR toolId, LPCRECT rect) const {
  TOOLINFO info{};
  info.cbSize = sizeof info;
  HWND hwnd = platform::SafeHwnd(wnd);
  if (rect) {
    info.hwnd = hwnd;
    info.uId = toolId;
    info.rect = *rect;
  } else {
    info.uFlags = TTF_IDISHWND;
    info.hwnd = hwnd ? ::GetParent(hwnd) : nullptr;
    info.uId = reinterpret_cast<UINT_PTR>(hwnd);
  }
  return info;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCTSTR text, LPCRECT rect, UINT_PTR toolId) {
  if (!wnd) return FALSE;
  TOOLINFO info = Info(wnd, toolId, rect);
  info.lpszText = const_cast<LPSTR>(text);
  return static_cast<BOOL>(::SendMessage(m_hWnd, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
}

// A rectangle tool is found by its window and id, a window tool by the window.
void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR toolId) {
  TOOLINFO info = Info(wnd, toolId, toolId ? &kAnyRect : nullptr);
  ::SendMessage(m_hWnd, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR toolId) {
  TOOLINFO info = Info(wnd, toolId, toolId ? &kAnyRect : nullptr);
  info.lpszText = const_cast<LPSTR>(text);
  ::SendMessage(m_hWnd, TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::GetText(CString& text, CWnd* wnd, UINT_PTR toolId) const {
  std::string buffer(1024, '\0');  // tip texts are short; the control copies at most this much
  TOOLINFO info = Info(wnd, toolId, toolId ? &kAnyRect : nullptr);
  info.lpszText = buffer.data();
  ::SendMessage(m_hWnd, TTM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&info));
  text = buffer.c_str();
}

int CToolTipCtrl::GetToolCount() const { return static_cast<int>(::SendMessage(m_hWnd, TTM_GETTOOLCOUNT, 0, 0)); }
void CToolTipCtrl::RelayEvent(LPMSG msg) { ::SendMessage(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
void CToolTipCtrl::Activate(BOOL activate) { ::SendMessage(m_hWnd, TTM_ACTIVATE, static_cast<WPARAM>(activate), 0); }
void CToolTipCtrl::SetDelayTime(UINT delay) { ::SendMessage(m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(delay)); }
int CToolTipCtrl::SetMaxTipWidth(int width) { return static_cast<int>(::SendMessage(m_hWnd, TTM_SETMAXTIPWIDTH, 0, width)); }
void CToolTipCtrl::Pop() { ::SendMessage(m_hWnd, TTM_POP, 0, 0); }
