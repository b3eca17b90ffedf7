#pragma once
// CWndHookMap: the program's one map from a window to the newest hook placed on it.

#include "platform/collections.h"
#include "platform/types.h"

class CSubclassWnd;

class CWndHookMap : private CMapPtrToPtr {
public:
  // The program-wide map, made on first use.
  static CWndHookMap& GetHookMap();

  // Puts hook in front of hwnd's chain, subclassing the window for its first hook.
  void AddHook(HWND hwnd, CSubclassWnd* hook);
  // Takes hook out of its window's chain; the last one gives the window its procedure back.
  void RemoveHook(CSubclassWnd* hook);
  // Takes every hook off hwnd, newest first.
  void RemoveAllHooks(HWND hwnd);
  // The newest hook of hwnd, or null.
  CSubclassWnd* FindHook(HWND hwnd) const;

private:
  CWndHookMap() : CMapPtrToPtr(10) {}
};
