#include "client/widgets/SubclassWnd.h"

#include "client/widgets/WndHookMap.h"

IMPLEMENT_DYNAMIC(CSubclassWnd, CObject)

BOOL CSubclassWnd::SetHookedWindow(CWnd* window) {
  CWndHookMap& map = CWndHookMap::GetHookMap();
  if (window != nullptr) {
    if (m_pTargetWnd != nullptr) map.RemoveHook(this);  // one window at a time
    m_pTargetWnd = window;
    m_hwndLast = window->GetSafeHwnd();
    map.AddHook(m_hwndLast, this);
  } else {
    if (m_pTargetWnd != nullptr) map.RemoveHook(this);
    m_pTargetWnd = nullptr;
  }
  return TRUE;
}

LRESULT CSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pNextHook != nullptr) return m_pNextHook->WindowProc(message, wParam, lParam);
  if (m_pfnPrevProc != nullptr) return ::CallWindowProc(m_pfnPrevProc, m_hwndLast, message, wParam, lParam);
  // Unhooked before the chain was entered: the window's own procedure takes the message.
  return m_hwndLast ? ::DefWindowProc(m_hwndLast, message, wParam, lParam) : 0;
}

LRESULT CSubclassWnd::Default() {
  const MSG* current = CWnd::GetCurrentMessage();
  if (current == nullptr) return 0;
  // The base version: an override calling Default must not reach itself again.
  return CSubclassWnd::WindowProc(current->message, current->wParam, current->lParam);
}

LRESULT SubclassWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // The platform records this message as the current one for the whole delivery.
  CWndHookMap& map = CWndHookMap::GetHookMap();
  CSubclassWnd* hook = map.FindHook(hwnd);
  if (message == WM_NCDESTROY) {
    WNDPROC previous = hook ? hook->m_pfnPrevProc : nullptr;
    map.RemoveAllHooks(hwnd);
    if (previous != nullptr) return ::CallWindowProc(previous, hwnd, message, wParam, lParam);
    return ::DefWindowProc(hwnd, message, wParam, lParam);
  }
  if (hook == nullptr) return ::DefWindowProc(hwnd, message, wParam, lParam);
  return hook->WindowProc(message, wParam, lParam);
}
