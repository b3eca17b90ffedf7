// A static splitter: a fixed grid of panes laid out from the rows' and columns' ideal sizes.
#include "platform/splitter.h"

#include <algorithm>

#include "platform/gdi.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

namespace {
constexpr int kMaxRowsCols = 16;
}

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
  ON_WM_SIZE()
  ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CSplitterWnd::CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id) {
  if (!parent || m_hWnd || rows < 1 || cols < 1 || rows > kMaxRowsCols || cols > kMaxRowsCols) return FALSE;
  m_rows.assign(static_cast<size_t>(rows), RowColInfo{});
  m_cols.assign(static_cast<size_t>(cols), RowColInfo{});
  CRect rect;
  parent->GetClientRect(&rect);
  if (!CreateEx(0, "AfxWnd", nullptr, style | WS_CHILD | WS_CLIPCHILDREN, rect, parent, id)) {
    m_rows.clear();
    m_cols.clear();
    return FALSE;
  }
  return TRUE;
}

bool CSplitterWnd::ValidPane(int row, int col) const {
  return row >= 0 && col >= 0 && row < GetRowCount() && col < GetColumnCount();
}

int CSplitterWnd::IdFromRowCol(int row, int col) const {
  return static_cast<int>(AFX_IDW_PANE_FIRST) + row * kMaxRowsCols + col;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
  return ValidPane(row, col) ? GetDlgItem(IdFromRowCol(row, col)) : nullptr;
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* viewClass, SIZE initialSize, CCreateContext* context) {
  if (!m_hWnd || !ValidPane(row, col) || GetPane(row, col) || !viewClass) return FALSE;
  m_rows[static_cast<size_t>(row)].ideal = initialSize.cy;
  m_cols[static_cast<size_t>(col)].ideal = initialSize.cx;
  CObject* object = viewClass->CreateObject();
  auto* wnd = dynamic_cast<CWnd*>(object);
  if (!wnd) {
    delete object;
    return FALSE;
  }
  // A view that fails to be created deletes itself (PostNcDestroy).
  if (!wnd->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, initialSize.cx, initialSize.cy), this,
                   static_cast<UINT>(IdFromRowCol(row, col)), context)) {
    return FALSE;
  }
  RecalcLayout();
  return TRUE;
}

void CSplitterWnd::DeleteView(int row, int col) {
  CWnd* pane = GetPane(row, col);
  if (!pane) return;
  CFrameWnd* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
  if (frame && frame->GetActiveView() == CWnd::FromHandlePermanent(pane->m_hWnd)) {
    // The active view goes: another pane's view takes its place.
    CView* next = nullptr;
    for (int r = 0; r < GetRowCount() && !next; ++r) {
      for (int c = 0; c < GetColumnCount() && !next; ++c) {
        if (r == row && c == col) continue;
        if (CWnd* other = GetPane(r, c)) next = dynamic_cast<CView*>(CWnd::FromHandlePermanent(other->m_hWnd));
      }
    }
    frame->SetActiveView(next);
  }
  pane->DestroyWindow();
}

CView* CSplitterWnd::ReplaceView(int row, int col, CRuntimeClass* viewClass) {
  CWnd* pane = GetPane(row, col);
  auto* oldView = pane ? dynamic_cast<CView*>(CWnd::FromHandlePermanent(pane->m_hWnd)) : nullptr;
  CDocument* doc = oldView ? oldView->GetDocument() : nullptr;
  CFrameWnd* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
  bool wasActive = frame && oldView && frame->GetActiveView() == oldView;
  CRect rect;
  if (pane) pane->GetClientRect(&rect);
  // The document must outlive the moment it has no view.
  BOOL autoDelete = doc ? doc->m_bAutoDelete : FALSE;
  if (doc) doc->m_bAutoDelete = FALSE;
  DeleteView(row, col);
  CCreateContext context;
  context.m_pCurrentDoc = doc;
  context.m_pCurrentFrame = frame;
  context.m_pNewViewClass = viewClass;
  int ideal = m_rows.empty() || !ValidPane(row, col) ? 0 : m_rows[static_cast<size_t>(row)].ideal;
  int idealWidth = m_cols.empty() || !ValidPane(row, col) ? 0 : m_cols[static_cast<size_t>(col)].ideal;
  BOOL created = CreateView(row, col, viewClass, SIZE{idealWidth, ideal}, &context);
  if (doc) doc->m_bAutoDelete = autoDelete;
  CWnd* newPane = created ? GetPane(row, col) : nullptr;
  auto* newView = newPane ? dynamic_cast<CView*>(CWnd::FromHandlePermanent(newPane->m_hWnd)) : nullptr;
  RecalcLayout();
  if (!newView) return nullptr;
  newView->OnInitialUpdate();
  if (wasActive || (frame && !frame->GetActiveView())) frame->SetActiveView(newView);
  return newView;
}

void CSplitterWnd::SetRowInfo(int row, int ideal, int minimum) {
  if (row < 0 || row >= GetRowCount()) return;
  m_rows[static_cast<size_t>(row)].ideal = std::max(ideal, 0);
  m_rows[static_cast<size_t>(row)].minimum = std::max(minimum, 0);
}

void CSplitterWnd::GetRowInfo(int row, int& current, int& minimum) const {
  if (row < 0 || row >= GetRowCount()) {
    current = minimum = 0;
    return;
  }
  current = m_rows[static_cast<size_t>(row)].current;
  minimum = m_rows[static_cast<size_t>(row)].minimum;
}

void CSplitterWnd::SetColumnInfo(int col, int ideal, int minimum) {
  if (col < 0 || col >= GetColumnCount()) return;
  m_cols[static_cast<size_t>(col)].ideal = std::max(ideal, 0);
  m_cols[static_cast<size_t>(col)].minimum = std::max(minimum, 0);
}

void CSplitterWnd::GetColumnInfo(int col, int& current, int& minimum) const {
  if (col < 0 || col >= GetColumnCount()) {
    current = minimum = 0;
    return;
  }
  current = m_cols[static_cast<size_t>(col)].current;
  minimum = m_cols[static_cast<size_t>(col)].minimum;
}

void CSplitterWnd::LayoutRowCol(std::vector<RowColInfo>& infos, int space) {
  int remaining = std::max(space, 0);
  for (size_t i = 0; i < infos.size(); ++i) {
    RowColInfo& info = infos[i];
    bool last = i + 1 == infos.size();
    int size = last ? remaining : std::min(info.ideal, remaining);
    // A row that cannot have its minimum is folded away (the last one takes what is left).
    if (!last && size < info.minimum) size = 0;
    info.current = size;
    remaining -= size;
    if (!last) remaining = std::max(remaining - kSplitterGap, 0);
  }
}

void CSplitterWnd::RecalcLayout() {
  if (!m_hWnd || m_rows.empty()) return;
  CRect client;
  GetClientRect(&client);
  LayoutRowCol(m_rows, client.Height());
  LayoutRowCol(m_cols, client.Width());
  int y = 0;
  for (int r = 0; r < GetRowCount(); ++r) {
    int x = 0;
    int height = m_rows[static_cast<size_t>(r)].current;
    for (int c = 0; c < GetColumnCount(); ++c) {
      int width = m_cols[static_cast<size_t>(c)].current;
      if (CWnd* pane = GetPane(r, c)) pane->MoveWindow(x, y, width, height);
      x += width + kSplitterGap;
    }
    y += height + kSplitterGap;
  }
}

void CSplitterWnd::OnSize(UINT type, int, int) {
  if (type != SIZE_MINIMIZED) RecalcLayout();
}

void CSplitterWnd::OnPaint() {
  // The panes cover their own areas; what shows between them is the bars. Painting only the bars
  // spares filling the whole window under panes that paint it again.
  CPaintDC dc(this);
  for (CWnd* pane = GetWindow(GW_CHILD); pane; pane = pane->GetNextWindow()) {
    if (!pane->IsWindowVisible()) continue;
    CRect rect;
    pane->GetWindowRect(&rect);
    ScreenToClient(&rect);
    dc.ExcludeClipRect(&rect);
  }
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_3DFACE));
}
