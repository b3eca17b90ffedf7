// Painting of the board control: the off-screen picture, the paint, and immediate repaints.

#include "control/StolvexCtrl.h"

#include <algorithm>
#include <cstdlib>

void CStolvexCtrl::CalcBoardGeometry() {
  int cx = 0, cy = 0;
  // With a window the board fills its client area, the area painted and clicked; a border would
  // otherwise put the last row and column outside the picture.
  if (m_hWnd) {
    CRect client;
    GetClientRect(&client);
    cx = client.Width();
    cy = client.Height();
  } else {
    GetControlSize(&cx, &cy);
  }
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
  m_canvasView = PixelView{};
  if (!m_canvasDC.GetSafeHdc() && !m_canvasDC.CreateCompatibleDC(nullptr))
    return false;
  // A plain bitmap: the pixels are composed in memory and copied in once per paint, so the text
  // drawn through the context never has to bring a DIB's memory up to date.
  CBitmap fresh;
  if (!fresh.CreateBitmap(cx, cy, 1, 32, nullptr))
    return false;
  m_canvasDC.SelectObject(&fresh);
  m_canvas.DeleteObject();
  m_canvas.Attach(fresh.Detach());
  m_pixels.assign(static_cast<std::size_t>(cx) * cy, 0);
  m_canvasView = PixelView{m_pixels.data(), cx, cy, cx};
  return true;
}

void CStolvexCtrl::FinishCanvas() {
  m_canvas.SetBitmapBits(static_cast<DWORD>(m_pixels.size() * 4), m_pixels.data());
  m_painter.DrawTexts(m_canvasDC, m_geometry, Options());
}

RECT CStolvexCtrl::ClipToCanvas(const RECT& region) const {
  return RECT{std::max<LONG>(region.left, 0), std::max<LONG>(region.top, 0),
              std::min<LONG>(region.right, m_canvasView.width), std::min<LONG>(region.bottom, m_canvasView.height)};
}

void CStolvexCtrl::FinishCanvasRegion(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0)
    return;
  // Only the region goes into the bitmap: the texts of the other points stay as they were drawn.
  std::vector<std::uint32_t> part(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    std::copy_n(m_pixels.data() + static_cast<std::size_t>(r.top + y) * m_canvasView.stride + r.left, w,
                part.data() + static_cast<std::size_t>(y) * w);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetDIBitsToDevice(m_canvasDC.GetSafeHdc(), r.left, r.top, w, h, 0, 0, 0, h, part.data(), &info, DIB_RGB_COLORS);
  m_painter.DrawTexts(m_canvasDC, m_geometry, Options());
}

PaintOptions CStolvexCtrl::Options() {
  return PaintOptions{m_starPoints, m_lastMoveMark, &m_numberFont, &m_labelFont, &m_texture};
}

void CStolvexCtrl::MakeTexture() {
  m_texture = platform::Surface{};
  if (!m_image || !m_image->HasImage())
    return;
  const int w = m_image->Width(), h = std::abs(m_image->Height());
  const std::size_t table = sizeof(BITMAPINFOHEADER) + static_cast<std::size_t>(m_image->DIBNumColors()) * 4;
  // A header may claim fewer pixel bytes than its rows take: such a picture is not drawn.
  if (m_image->Block().size() < table + static_cast<std::size_t>(m_image->Stride()) * h)
    return;
  CDC memory;
  CBitmap bitmap;
  if (!memory.CreateCompatibleDC(nullptr) || !bitmap.CreateBitmap(w, h, 1, 32, nullptr))
    return;
  CBitmap* old = memory.SelectObject(&bitmap);
  // The block is an info header, its colour table and the rows, as a device-independent bitmap.
  const auto* info = reinterpret_cast<const BITMAPINFO*>(m_image->Block().data());
  const std::uint8_t* bits = m_image->Block().data() + table;
  ::SetDIBitsToDevice(memory.GetSafeHdc(), 0, 0, w, h, 0, 0, 0, h, bits, info, DIB_RGB_COLORS);
  platform::CopyDCPixels(&memory, m_texture);
  memory.SelectObject(old);
}

void CStolvexCtrl::OnDraw(CDC* dc, const CRect& bounds, const CRect&) {
  if (!dc || !EnsureCanvas(bounds.Width(), bounds.Height()))
    return;
  m_painter.PaintBoard(m_canvasView, m_board, m_geometry, Options());
  FinishCanvas();
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
    m_painter.PaintBoard(m_canvasView, m_board, m_geometry, Options());
    FinishCanvas();
    dc.BitBlt(0, 0, client.Width(), client.Height(), &m_canvasDC, 0, 0, SRCCOPY);
    return;
  }
  if (!IsBoardPoint(index))
    return;  // a foreign history may name any position
  m_painter.PaintPoint(m_canvasView, m_board, m_geometry, Options(), index);
  // A region may reach past the picture: rows of a control wider than tall start above it.
  const RECT r = ClipToCanvas(m_geometry.Region(m_board.GetRotate() == 1 ? RotateIndex(index) : index));
  FinishCanvasRegion(r);
  if (r.right > r.left && r.bottom > r.top)
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
