#pragma once
// CSubclassWnd: lets an object that is not a window see and answer the messages of a window
// another object owns. Hooks of one window form a chain, the newest first; what a hook passes on
// reaches the next older one and, after the oldest, the window's own procedure.

#include "platform/object.h"
#include "platform/runtime_class.h"
#include "platform/windows.h"

class CSubclassWnd : public CObject {
  DECLARE_DYNAMIC(CSubclassWnd)
public:
  CSubclassWnd() = default;
  // Does not unhook: the owner unhooks first, or the window's destruction does.
  ~CSubclassWnd() override = default;
  CSubclassWnd(const CSubclassWnd&) = delete;
  CSubclassWnd& operator=(const CSubclassWnd&) = delete;

  // Hooks window (in front of the hooks already there), or with null unhooks. Always TRUE.
  BOOL SetHookedWindow(CWnd* window);
  BOOL IsHooked() const { return m_pTargetWnd != nullptr; }
  CWnd* GetHookedWindow() const { return m_pTargetWnd; }

  // Handles one message of the hooked window; this default passes it along the chain.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Passes the message being processed along the chain.
  LRESULT Default();

private:
  friend class CWndHookMap;
  friend LRESULT SubclassWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  CWnd* m_pTargetWnd{nullptr};
  WNDPROC m_pfnPrevProc{nullptr};  // the window's procedure before the first hook of its chain
  CSubclassWnd* m_pNextHook{nullptr};  // the next older hook of the same window
  // The window last hooked: a hook taken off while it handles a message still passes it on.
  HWND m_hwndLast{nullptr};
};

// The procedure every hooked window gets.
LRESULT SubclassWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
