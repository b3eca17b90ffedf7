// The part every control bar shares: its strip in the frame's layout and its idle updates.
#include "platform/controlbars.h"

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CControlBar::CreateBar(CWnd* parent, DWORD style, UINT id, bool atBottom) {
  m_atBottom = atBottom;
  return CWnd::Create(nullptr, nullptr, style | WS_CHILD, CRect(0, 0, 0, GetBarHeight()), parent, id);
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto* params = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  if (!params || !(GetStyle() & WS_VISIBLE)) return 0;
  RECT& space = params->rect;
  int height = std::min(GetBarHeight(), static_cast<int>(space.bottom - space.top));
  if (height < 0) height = 0;
  int top = m_atBottom ? space.bottom - height : space.top;
  MoveWindow(space.left, top, space.right - space.left, height);
  if (m_atBottom) {
    space.bottom -= height;
  } else {
    space.top += height;
  }
  return TRUE;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if (!(GetStyle() & WS_VISIBLE)) return 0;
  auto* frame = dynamic_cast<CFrameWnd*>(GetParent());
  if (frame) OnUpdateCmdUI(frame, static_cast<BOOL>(wParam));
  return 0;
}

void CControlBar::OnSize(UINT, int cx, int cy) { OnBarResized(cx, cy); }
