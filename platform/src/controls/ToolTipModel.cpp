#include "ToolTipModel.h"

#include <algorithm>
#include <cstring>

namespace platform::detail {

bool ToolTipModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  auto* info = reinterpret_cast<TOOLINFO*>(lParam);
  switch (message) {
    case TTM_ADDTOOL: {
      if (!info) { result = FALSE; return true; }
      Pop();
      Tool tool{info->uFlags, info->hwnd, info->uId, info->rect, info->lpszText ? info->lpszText : ""};
      Tool* existing = Find(*info);
      if (existing) *existing = tool; else m_tools.push_back(tool);
      result = TRUE;
      return true;
    }
    case TTM_DELTOOL:
      if (!info) return true;
      Pop();
      m_tools.erase(std::remove_if(m_tools.begin(), m_tools.end(), [&](const Tool& t) { return t.hwnd == info->hwnd && t.id == info->uId; }),
                    m_tools.end());
      return true;
    case TTM_UPDATETIPTEXT:
      if (Tool* tool = info ? Find(*info) : nullptr) tool->text = info->lpszText ? info->lpszText : "";
      return true;
    case TTM_GETTEXT: {
      Tool* tool = info ? Find(*info) : nullptr;
      if (info && info->lpszText && wParam > 0) {
        std::size_t n = tool ? std::min(tool->text.size(), static_cast<std::size_t>(wParam) - 1) : 0;
        if (n) std::memcpy(info->lpszText, tool->text.data(), n);
        info->lpszText[n] = '\0';
      }
      return true;
    }
    case TTM_GETTOOLCOUNT: result = static_cast<LRESULT>(m_tools.size()); return true;
    case TTM_ACTIVATE:
      m_active = wParam != 0;
      if (!m_active) Pop();
      return true;
    case TTM_RELAYEVENT:
      if (lParam) Relay(*reinterpret_cast<const MSG*>(lParam));
      return true;
    case TTM_POP: Pop(); return true;
    case TTM_SETDELAYTIME:
    case TTM_SETMAXTIPWIDTH: return true;  // the tip shows at once and on one line
    case WM_NCHITTEST: result = HTTRANSPARENT; return true;
    default: return false;
  }
}

ToolTipModel::Tool* ToolTipModel::Find(const TOOLINFO& info) {
  auto it = std::find_if(m_tools.begin(), m_tools.end(), [&](const Tool& t) { return t.hwnd == info.hwnd && t.id == info.uId; });
  return it == m_tools.end() ? nullptr : &*it;
}

ToolTipModel::Tool* ToolTipModel::ToolAt(const MSG& msg) {
  POINT point = CPoint(msg.lParam);
  for (Tool& tool : m_tools) {
    if (tool.flags & TTF_IDISHWND) {
      if (reinterpret_cast<HWND>(tool.id) == msg.hwnd) return &tool;
    } else if (tool.hwnd == msg.hwnd && ::PtInRect(&tool.rect, point)) {
      return &tool;
    }
  }
  return nullptr;
}

void ToolTipModel::Relay(const MSG& msg) {
  if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN) {
    Pop();
    return;
  }
  if (msg.message != WM_MOUSEMOVE || !m_active) return;
  const Tool* tool = ToolAt(msg);
  if (tool == m_shown) return;
  Pop();
  if (!tool || tool->text.empty()) return;
  m_shown = tool;
  POINT at = CPoint(msg.lParam);
  ::ClientToScreen(msg.hwnd, &at);
  CWindowDC dc(nullptr);
  CSize extent = dc.GetTextExtent(tool->text.c_str(), static_cast<int>(tool->text.size()));
  ::DefWindowProc(Hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tool->text.c_str()));
  ::SetWindowPos(Hwnd(), HWND_TOPMOST, at.x, at.y + 20, extent.cx + 8, extent.cy + 4, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void ToolTipModel::Pop() {
  m_shown = nullptr;
  if (::IsWindowVisible(Hwnd())) ::ShowWindow(Hwnd(), SW_HIDE);
}

void ToolTipModel::Paint(CDC& dc, const RECT& client) {
  RECT r = client;
  dc.FillSolidRect(&r, ::GetSysColor(COLOR_INFOBK));
  dc.Draw3dRect(&r, RGB(0, 0, 0), RGB(0, 0, 0));
  COLORREF old = dc.SetTextColor(::GetSysColor(COLOR_INFOTEXT));
  int mode = dc.SetBkMode(TRANSPARENT);
  ::InflateRect(&r, -4, -2);
  dc.DrawText(Text(), &r, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  dc.SetBkMode(mode);
  dc.SetTextColor(old);
}

}  // namespace platform::detail
