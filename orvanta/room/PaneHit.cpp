#include "orvanta/room/PaneHit.h"

UINT PaneUnderMouse(const CWnd& parent, const MSG& msg, std::initializer_list<UINT> ids) {
  const auto packed = static_cast<DWORD_PTR>(msg.lParam);
  // The point is in the coordinates of the window the message went to.
  POINT point{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
  ::ClientToScreen(msg.hwnd, &point);
  for (UINT id : ids) {
    CWnd* pane = parent.GetDlgItem(id);
    if (!pane || !pane->m_hWnd) continue;
    CRect area;
    pane->GetWindowRect(&area);
    if (area.PtInRect(point)) return id;
  }
  return 0;
}
