#pragma once
// Status bar controls: panes with texts at the bottom of a frame.

#include "platform/controls_defs.h"
#include "platform/windows.h"

class CStatusBarCtrl : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // Right edges of the panes, left to right; -1 for the last runs to the end. FALSE when they go
  // backwards.
  BOOL SetParts(int count, int* rights);
  int GetParts(int count, int* rights) const;
  // type: 0, SBT_NOBORDERS, SBT_POPOUT or SBT_OWNERDRAW.
  BOOL SetText(LPCTSTR text, int pane, int type);
  CString GetText(int pane, int* type = nullptr) const;
  BOOL GetRect(int pane, LPRECT rect) const;
};
