// Painting of the board control: the off-screen picture, the paint, and immediate repaints.

#include "control/StolvexCtrl.h"

void CStolvexCtrl::CalcBoardGeometry() {
  int cx = 0, cy = 0;
  GetControlSize(&cx, &cy);
  m_geometry.Calculate(cx, cy, m_labels);
}

void CStolvexCtrl::MakeNumberFont(int regionWidth) {
  int height = 12, weight = 100;
  if (regionWidth >= 35) {
    height = regionWidth <= 40 ? 15 : regionWidth <= 46 ? 18 : 20;
    weight = FW_BOLD;
  }
  m_numberFont.DeleteObject();
  m_numberFont.CreateFont(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, Cp949("바탕체"));
}

bool CStolvexCtrl::EnsureCanvas(int cx, int cy) {
  if (cx <= 0 || cy <= 0)
    return false;
  if (m_canvasView.pixels && m_canvasView.width == cx && m_canvasView.height == cy)
    return true;
  if (!m_canvasDC.GetSafeHdc() && !m_canvasDC.CreateCompatibleDC(nullptr))
    return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = cx;
  info.bmiHeader.biHeight = -cy;  // rows top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(m_canvasDC.GetSafeHdc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    m_canvasView = PixelView{};
    return false;
  }
  m_canvasDC.SelectObject(CBitmap::FromHandle(bitmap));
  m_canvas.DeleteObject();
  m_canvas.Attach(reinterpret_cast<HGDIOBJ>(bitmap));
  m_canvasView = PixelView{static_cast<std::uint32_t*>(bits), cx, cy, cx};
  return true;
}

PaintOptions CStolvexCtrl::Options() {
  return PaintOptions{m_starPoints, m_lastMoveMark, &m_numberFont, &m_labelFont};
}

void CStolvexCtrl::OnDraw(CDC* dc, const CRect& bounds, const CRect&) {
  if (!dc || !EnsureCanvas(bounds.Width(), bounds.Height()))
    return;
  m_painter.PaintBoard(m_canvasDC, m_canvasView, m_board, m_geometry, Options());
  dc->BitBlt(bounds.left, bounds.top, bounds.Width(), bounds.Height(), &m_canvasDC, 0, 0, SRCCOPY);
}

void CStolvexCtrl::PaintNow(int index) {
  if (!m_hWnd)
    return;
  CRect client;
  GetClientRect(&client);
  if (!EnsureCanvas(client.Width(), client.Height()))
    return;
  CClientDC dc(this);
  if (index < 0) {
    m_painter.PaintBoard(m_canvasDC, m_canvasView, m_board, m_geometry, Options());
    dc.BitBlt(0, 0, client.Width(), client.Height(), &m_canvasDC, 0, 0, SRCCOPY);
    return;
  }
  m_painter.PaintPoint(m_canvasDC, m_canvasView, m_board, m_geometry, Options(), index);
  const RECT& r = m_geometry.Region(m_board.GetRotate() == 1 ? RotateIndex(index) : index);
  dc.BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, &m_canvasDC, r.left, r.top, SRCCOPY);
}

void CStolvexCtrl::Redraw(SHORT row, SHORT col) {
  if (row == -1 && col == -1) {
    PaintNow(-1);
    return;
  }
  if (row == -2 && col == -2) {
    InvalidateControl();
    return;
  }
  if (!IsBoardRowCol(row, col))
    return;
  const int index = row * BOARD_LINES + col;
  // The points the move there changed, its own point first; a point without a record alone.
  const CStoneInfo* record = m_board.RecordAt(index);
  if (!record) {
    PaintNow(index);
    return;
  }
  for (int k = 0; k < record->NumOfChanged(); ++k)
    PaintNow(record->ChangeAt(k).position);
}
