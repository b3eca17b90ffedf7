#pragma once
// Tool tips: the owner relays its mouse messages (RelayEvent) and the tip shows the text of the
// tool under the mouse.

#include "platform/controls_defs.h"
#include "platform/windows.h"

class CToolTipCtrl : public CWnd {
public:
  // A hidden top-most pop-up owned by parent.
  using CWnd::Create;
  BOOL Create(CWnd* parent, DWORD style = 0);
  // A whole window (rect null) or a rectangle of it (client coordinates, told apart by toolId).
  BOOL AddTool(CWnd* wnd, LPCTSTR text, LPCRECT rect = nullptr, UINT_PTR toolId = 0);
  void DelTool(CWnd* wnd, UINT_PTR toolId = 0);
  void UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR toolId = 0);
  void GetText(CString& text, CWnd* wnd, UINT_PTR toolId = 0) const;
  int GetToolCount() const;
  void RelayEvent(LPMSG msg);
  void Activate(BOOL activate);
  void SetDelayTime(UINT delay);
  int SetMaxTipWidth(int width);
  void Pop();

private:
  TOOLINFO Info(CWnd* wnd, UINT_PTR toolId, LPCRECT rect) const;
};
