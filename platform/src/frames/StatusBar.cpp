// The status bar: a row of panes, the first stretching, the others sized to their texts.
#include "platform/controlbars.h"

#include "platform/app.h"
#include "platform/gdi_dc.h"

namespace {

// Lets an update handler enable a pane or set its text.
class CStatusCmdUI : public CCmdUI {
public:
  explicit CStatusCmdUI(CStatusBar& bar) : m_bar(bar) {}
  void Enable(BOOL on) override {
    m_bEnableChanged = TRUE;
    m_pane->enabled = on != FALSE;
    m_bar.ShowPane(static_cast<int>(m_nIndex));
  }
  void SetCheck(int) override {}
  void SetText(LPCTSTR text) override {
    m_pane->text = text ? text : "";
    m_bar.ShowPane(static_cast<int>(m_nIndex));
  }
  CStatusBar::Pane* m_pane{nullptr};

private:
  CStatusBar& m_bar;
};

constexpr int kPaneMargin = 8;

}  // namespace

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
  if (!CreateBar(parent, style, id, true)) return FALSE;
  CRect client;
  GetClientRect(&client);
  return m_ctrl.Create(WS_CHILD | WS_VISIBLE, client, this, 1);
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
  if (count < 0 || (count > 0 && !ids)) return FALSE;
  m_panes.assign(static_cast<size_t>(count), Pane{});
  BOOL allFound = TRUE;
  CClientDC dc(this);
  for (int i = 0; i < count; ++i) {
    Pane& pane = m_panes[static_cast<size_t>(i)];
    pane.id = ids[i];
    if (pane.id != ID_SEPARATOR && !AfxLoadStringResource(pane.id, pane.text)) allFound = FALSE;
    pane.width = dc.GetTextExtent(pane.text).cx + kPaneMargin;
  }
  LayoutPanes();
  for (int i = 0; i < count; ++i) ShowPane(i);
  return allFound;
}

BOOL CStatusBar::SetPaneText(int index, LPCTSTR text) {
  if (index < 0 || index >= static_cast<int>(m_panes.size())) return FALSE;
  m_panes[static_cast<size_t>(index)].text = text ? text : "";
  ShowPane(index);
  return TRUE;
}

CString CStatusBar::GetPaneText(int index) const {
  if (index < 0 || index >= static_cast<int>(m_panes.size())) return CString();
  return m_panes[static_cast<size_t>(index)].text;
}

UINT CStatusBar::GetItemID(int index) const {
  if (index < 0 || index >= static_cast<int>(m_panes.size())) return ID_SEPARATOR;
  return m_panes[static_cast<size_t>(index)].id;
}

int CStatusBar::CommandToIndex(UINT id) const {
  for (size_t i = 0; i < m_panes.size(); ++i) {
    if (m_panes[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const {
  if (!rect) return;
  *rect = RECT{0, 0, 0, 0};
  if (index >= 0 && index < static_cast<int>(m_panes.size())) m_ctrl.GetRect(index, rect);
}

void CStatusBar::ShowPane(int index) {
  const Pane& pane = m_panes[static_cast<size_t>(index)];
  if (!::IsWindow(m_ctrl.m_hWnd)) return;
  const CString shown = pane.enabled ? pane.text : CString();
  // Update handlers set the panes at every idle turn: only a change is painted, or the loop
  // would never rest.
  if (m_ctrl.GetText(index) == shown) return;
  m_ctrl.SetText(shown, index, 0);
  // A bar that paints its panes itself (its pane control hidden) shows the new text too.
  CRect area;
  GetItemRect(index, &area);
  InvalidateRect(&area, FALSE);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
  CStatusCmdUI state(*this);
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(m_panes.size());
  for (size_t i = 0; i < m_panes.size(); ++i) {
    // The stretching pane carries messages, not a command.
    if (m_panes[i].id == ID_SEPARATOR) continue;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = m_panes[i].id;
    state.m_pane = &m_panes[i];
    state.DoUpdate(target, disableIfNoHandler);
  }
}

void CStatusBar::OnBarResized(int cx, int cy) {
  if (::IsWindow(m_ctrl.m_hWnd)) m_ctrl.MoveWindow(0, 0, cx, cy);
  LayoutPanes();
}

void CStatusBar::LayoutPanes() {
  if (!::IsWindow(m_ctrl.m_hWnd) || m_panes.empty()) return;
  CRect client;
  GetClientRect(&client);
  // The fixed panes are packed against the right edge; the first takes what is left.
  std::vector<int> rights(m_panes.size());
  int right = client.Width();
  for (size_t i = m_panes.size() - 1; i > 0; --i) {
    rights[i] = right;
    right -= m_panes[i].width;
  }
  rights[0] = std::max(right, 0);
  for (size_t i = 1; i < rights.size(); ++i) rights[i] = std::max(rights[i], rights[i - 1]);
  rights.back() = -1;
  m_ctrl.SetParts(static_cast<int>(rights.size()), rights.data());
}
