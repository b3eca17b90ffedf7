#include "client/widgets/WndHookMap.h"

#include "client/widgets/SubclassWnd.h"

CWndHookMap& CWndHookMap::GetHookMap() {
  static CWndHookMap map;
  return map;
}

CSubclassWnd* CWndHookMap::FindHook(HWND hwnd) const {
  void* hook = nullptr;
  if (hwnd == nullptr || !Lookup(hwnd, hook)) return nullptr;
  return static_cast<CSubclassWnd*>(hook);
}

void CWndHookMap::AddHook(HWND hwnd, CSubclassWnd* hook) {
  CSubclassWnd* older = FindHook(hwnd);
  hook->m_pNextHook = older;
  SetAt(hwnd, hook);
  if (older != nullptr) {
    hook->m_pfnPrevProc = older->m_pfnPrevProc;
  } else {
    hook->m_pfnPrevProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassWndProc)));
  }
}

void CWndHookMap::RemoveHook(CSubclassWnd* hook) {
  HWND hwnd = hook->m_pTargetWnd ? hook->m_hwndLast : nullptr;
  CSubclassWnd* newest = FindHook(hwnd);
  if (newest == nullptr) return;
  if (newest == hook) {
    if (hook->m_pNextHook != nullptr) {
      SetAt(hwnd, hook->m_pNextHook);
    } else {
      RemoveKey(hwnd);
      ::SetWindowLongPtr(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(hook->m_pfnPrevProc));
    }
    return;
  }
  for (CSubclassWnd* h = newest; h != nullptr; h = h->m_pNextHook) {
    if (h->m_pNextHook == hook) {
      h->m_pNextHook = hook->m_pNextHook;
      return;
    }
  }
}

void CWndHookMap::RemoveAllHooks(HWND hwnd) {
  while (CSubclassWnd* hook = FindHook(hwnd)) {
    hook->SetHookedWindow(nullptr);
    if (FindHook(hwnd) == hook) break;  // never spin on an entry that will not go
  }
}
