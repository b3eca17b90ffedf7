// Geometry and drawing of the board window.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "client/widgets/DrawUtilities.h"
#include "client/model/BadukCtrl.h"
#include "client/model/SelectionStack.h"
#include "client/model/StonePictures.h"
#include "platform/resources.h"

namespace {

constexpr int kStarPoints[] = {4, 10, 16};

// v to the nearest integer, halves up (v is never negative here).
int Round(double v) { return static_cast<int>(std::floor(v + 0.5)); }

// Selects the bitmap into a fresh memory context for the life of the object.
class CBitmapDC : public CDC {
public:
  explicit CBitmapDC(CBitmap* bitmap) {
    CreateCompatibleDC(nullptr);
    m_stack.Push(this, bitmap);
  }
  ~CBitmapDC() override { m_stack.PopAll(); }

private:
  CSelectionStack m_stack;
};

// Loads bitmap resource id with its palette, then keeps the picture in the screen's format:
// blitting from a bitmap in the screen's format needs no colour-table lookups.
int LoadDeviceBitmap(UINT id, CBitmap& bitmap, CPalette& palette) {
  CBitmap loaded;
  if (!LoadSysColorBitmap(id, loaded, palette)) return 0;
  BITMAP size{};
  loaded.GetBitmap(&size);
  CClientDC screen(nullptr);
  bitmap.DeleteObject();
  bitmap.CreateCompatibleBitmap(&screen, size.bmWidth, size.bmHeight);
  CBitmapDC target(&bitmap);
  CBitmapDC source(&loaded);
  target.BitBlt(0, 0, size.bmWidth, size.bmHeight, &source, 0, 0, SRCCOPY);
  return 1;
}

// Gives bitmap a fresh picture of size in the screen's format. One of the same size is kept: it is
// painted over in full anyway, and a board picture is large.
void ReplaceBitmap(CBitmap& bitmap, CSize size) {
  BITMAP old{};
  if (bitmap.GetSafeHandle() && bitmap.GetBitmap(&old) && old.bmWidth == size.cx && old.bmHeight == size.cy &&
      old.bmBitsPixel == 32)
    return;
  bitmap.DeleteObject();
  CClientDC screen(nullptr);
  bitmap.CreateCompatibleBitmap(&screen, size.cx, size.cy);
}

}  // namespace

CSize CBadukCtrl::CalcBoardSize(int width, int height, int* stone, int* cell, int* marginX, int* marginY) {
  const int w = width >= 1 ? width : Round(height * 42.0 / 45.0);
  const int c = w / 19;
  const int mx = Round(c * 0.6);
  const int my = Round(c * 45.0 / 42.0 * 0.6);
  const int fitted = (w - 2 * mx) / 18;
  const int s = SnapStoneSize(fitted - 1);
  const int cellWidth = s + 1;
  if (stone) *stone = s;
  if (cell) *cell = cellWidth;
  if (marginX) *marginX = mx;
  if (marginY) *marginY = my;
  return CSize(cellWidth * 18 + 2 * mx, Round(cellWidth * 45.0 / 42.0 * 18.0) + 2 * my);
}

int CBadukCtrl::SnapStoneSize(int s) {
  int snapped = kStonePictures[0].size;
  for (const StonePictures& entry : kStonePictures)
    if (entry.size <= s) snapped = entry.size;
  return snapped;
}

CSize CBadukCtrl::PictureSize(const SIZE* size) const {
  if (size) return CSize(size->cx, size->cy);
  CRect client;
  if (m_hWnd) GetClientRect(&client);
  return CSize(client.Width(), client.Height());
}

void CBadukCtrl::Layout(const SIZE* size) {
  const CSize area = PictureSize(size);
  int stone = 0;
  int cell = 0;
  const CSize board = CalcBoardSize(area.cx, area.cy, &stone, &cell, &m_marginX, &m_marginY);
  m_stoneSize = static_cast<short>(stone);
  m_cellWidth = cell;
  m_cellHeight = cell * 45.0 / 42.0;
  const CPoint centre(area.cx / 2, area.cy / 2);
  m_boardRect = CRect(centre.x - board.cx / 2, centre.y - board.cy / 2, centre.x + board.cx / 2,
                      centre.y + board.cy / 2);
  if (!m_numberFont.GetSafeHandle()) MakeNumberFont();
  if (m_loadedStoneSize != m_stoneSize) LoadStonePictures();
  m_laidOutSize = area;
  m_renderDue = true;
  m_renderAsked = false;
}

void CBadukCtrl::RenderIfDue() {
  if (m_renderDue) RenderBoard(&m_laidOutSize);
}

void CBadukCtrl::MakeNumberFont() {
  m_numberFont.DeleteObject();
  if (m_hWnd) {
    CClientDC dc(this);
    m_numberFont.Attach(reinterpret_cast<HGDIOBJ>(CreateDeviceFont(&dc, Cp949("굴림"), 75, 0, 0, true)));
  } else {
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    m_numberFont.Attach(reinterpret_cast<HGDIOBJ>(CreateDeviceFont(&screen, Cp949("굴림"), 75, 0, 0, true)));
  }
}

void CBadukCtrl::LoadStonePictures() {
  m_stones = m_stonePictures.Get(m_stoneSize, kTransparent);
  if (m_stones) m_loadedStoneSize = m_stoneSize;
  if (!m_lastMoveMark.IsLoaded()) m_lastMoveMark.Load(kLastMoveMarkId, kTransparent, m_markPalette);
}

CPoint CBadukCtrl::CellCentre(int x, int y) const {
  if (m_halfTurn) {
    x = 20 - x;
    y = 20 - y;
  }
  return CPoint(m_boardRect.left + m_marginX + (x - 1) * m_cellWidth,
                m_boardRect.top + Round(m_marginY + (y - 1) * m_cellHeight));
}

CPoint CBadukCtrl::HitTest(CPoint point) const {
  if (!m_boardRect.PtInRect(point) || m_cellWidth <= 0 || m_cellHeight <= 0.0) return CPoint(0, 0);
  const CPoint shown(static_cast<int>((point.x - m_boardRect.left) / static_cast<double>(m_cellWidth)) + 1,
                     static_cast<int>((point.y - m_boardRect.top) / m_cellHeight) + 1);
  return m_halfTurn ? CPoint(20 - shown.x, 20 - shown.y) : shown;
}

void CBadukCtrl::SetHalfTurn(BOOL turned) {
  m_halfTurn = turned ? TRUE : FALSE;
  if (m_hWnd) {
    Layout(nullptr);
    Invalidate(TRUE);
  }
}

void CBadukCtrl::GetBoardRect(int& left, int& top, int& right, int& bottom) const {
  left = m_boardRect.left;
  top = m_boardRect.top;
  right = m_boardRect.right;
  bottom = m_boardRect.bottom;
}

void CBadukCtrl::DrawBoardImage(const SIZE* size) {
  const CSize area = PictureSize(size);
  ReplaceBitmap(m_cleanBoard, area);
  CBitmapDC dc(&m_cleanBoard);
  CSelectionStack stack;

  // The texture never changes: it is loaded (with the board palette) for the first rendering only.
  if (m_texture.GetSafeHandle() || LoadDeviceBitmap(kTextureId, m_texture, m_boardPalette)) {
    stack.Push(&dc, &m_boardPalette);
    dc.RealizePalette();
    BITMAP tile{};
    m_texture.GetBitmap(&tile);
    CBitmapDC source(&m_texture);
    for (int y = 0; tile.bmHeight > 0 && y < area.cy; y += tile.bmHeight)
      for (int x = 0; tile.bmWidth > 0 && x < area.cx; x += tile.bmWidth)
        dc.BitBlt(x, y, tile.bmWidth, tile.bmHeight, &source, 0, 0, SRCCOPY);
  }

  stack.PushStock(&dc, BLACK_PEN);
  stack.PushStock(&dc, BLACK_BRUSH);
  const CRect& r = m_boardRect;
  for (double y = r.top + m_marginY; y < r.bottom - m_marginY + 2.0; y += m_cellHeight) {
    dc.MoveTo(r.left + m_marginX, Round(y));
    dc.LineTo(r.right - m_marginX, Round(y));
  }
  for (int x = r.left + m_marginX; x <= r.right - m_marginX; x += m_cellWidth) {
    dc.MoveTo(x, Round(r.top + m_marginY));
    dc.LineTo(x, Round(r.bottom - m_marginY + 2.0));
  }
  for (int column : kStarPoints) {
    for (int row : kStarPoints) {
      const CPoint c = CellCentre(column, row);
      dc.Ellipse(c.x - 3, c.y - 3, c.x + 4, c.y + 4);
    }
  }
  stack.PopAll();
}

void CBadukCtrl::RenderBoard(const SIZE* size) {
  m_renderDue = false;
  DrawBoardImage(size);
  m_pictureSize = PictureSize(size);
  ReplaceBitmap(m_boardPicture, m_pictureSize);
  // Every point is drawn from its cell below: nothing marked before is left to draw.
  m_pendingOrder.fill(0);
  m_pendingCount = 0;
  CBitmapDC dc(&m_boardPicture);
  {
    CBitmapDC clean(&m_cleanBoard);
    dc.BitBlt(0, 0, m_pictureSize.cx, m_pictureSize.cy, &clean, 0, 0, SRCCOPY);
  }
  {
    for (int y = 1; y <= 19; ++y)
      for (int x = 1; x <= 19; ++x)
        if (GetCell(x, y).GetState() != 0) DrawStone(&dc, x, y, FALSE);
    if (const CStoneNode* shown = GetPosition().GetCurrentNode()) DrawStone(&dc, shown->GetX(), shown->GetY(), TRUE);
  }
}

void CBadukCtrl::DrawStone(CDC* dc, int x, int y, BOOL mark) {
  const CStoneNode& cell = GetCell(x, y);
  const CPoint centre = CellCentre(x, y);
  const int left = centre.x - m_stoneSize / 2;
  const int top = centre.y - m_stoneSize / 2;
  if (!cell.HasStone()) {
    CBitmapDC clean(&m_cleanBoard);
    dc->BitBlt(left, top, m_stoneSize, m_stoneSize, &clean, left, top, SRCCOPY);
    return;
  }
  const bool black = cell.IsBlack();
  CSelectionStack stack;
  if (m_stones) {
    stack.Push(dc, black ? &m_stones->blackPalette : &m_stones->whitePalette);
    dc->RealizePalette();
    (black ? m_stones->black : m_stones->white).Draw(dc, left, top);
  }
  if (mark && m_lastMoveMark.IsLoaded()) {
    const CSize size = m_lastMoveMark.GetSize();
    m_lastMoveMark.Draw(dc, centre.x - Round(size.cx / 2.0), centre.y - Round(size.cy / 2.0));
  }
  const int number = cell.GetSeq() - m_baseMove + 1;
  if (m_showNumbers && number > 0) {
    CString text;
    text.Format("%d", number);
    stack.Push(dc, &m_numberFont);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc->SetTextColor(black ? RGB(255, 255, 255) : RGB(0, 0, 0));
    CRect box(centre.x - 30, centre.y - 10, centre.x + 30, centre.y + 10);
    dc->DrawText(text, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SetBkMode(oldMode);
    dc->SetTextColor(oldColour);
  }
  stack.PopAll();
}

void CBadukCtrl::DrawCell(int x, int y, BOOL mark) {
  // A picture still to be rendered draws every point: the paint only has to come, and one
  // invalidation asks for it.
  if (m_renderDue) {
    if (m_hWnd && !m_renderAsked) Invalidate(TRUE);
    m_renderAsked = m_hWnd != nullptr;
    return;
  }
  if (!m_boardPicture.GetSafeHandle() || !m_cleanBoard.GetSafeHandle() || !IsOnBoard(x, y)) return;
  // The first point marked since the last drawing invalidates the window; the paint that follows
  // draws it and every point marked after it.
  if (m_pendingCount == 0 && m_hWnd) Invalidate(TRUE);
  const int index = x * 20 + y;
  m_pendingOrder[index] = ++m_pendingCount;
  m_pendingMark[index] = mark != FALSE;
}

void CBadukCtrl::DrawPendingCells() {
  if (m_pendingCount == 0) return;
  // Drawn in the order of their last marking, as they would have been drawn at once: a number
  // wider than its stone reaches into the squares beside it, and which of two squares is drawn
  // last decides what shows there.
  std::array<int, 400> cells{};
  std::size_t count = 0;
  for (int index = 0; index < 400; ++index)
    if (m_pendingOrder[index] != 0) cells[count++] = index;
  std::sort(cells.begin(), cells.begin() + count,
            [this](int a, int b) { return m_pendingOrder[a] < m_pendingOrder[b]; });
  {
    CBitmapDC dc(&m_boardPicture);
    for (std::size_t i = 0; i < count; ++i) DrawStone(&dc, cells[i] / 20, cells[i] % 20, m_pendingMark[cells[i]]);
  }
  m_pendingOrder.fill(0);
  m_pendingCount = 0;
}

CBitmap* CBadukCtrl::GetBoardPicture() {
  RenderIfDue();
  if (!m_boardPicture.GetSafeHandle()) return nullptr;
  DrawPendingCells();
  return &m_boardPicture;
}

void CBadukCtrl::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  Layout(nullptr);
}

void CBadukCtrl::OnPaint() {
  CPaintDC dc(this);
  RenderIfDue();
  if (!m_boardPicture.GetSafeHandle()) return;
  DrawPendingCells();
  CRect client;
  GetClientRect(&client);
  CBitmapDC picture(&m_boardPicture);
  dc.BitBlt(0, 0, client.Width(), client.Height(), &picture, 0, 0, SRCCOPY);
}

BOOL CBadukCtrl::OnEraseBkgnd(CDC* dc) {
  (void)dc;
  return TRUE;  // the picture covers the whole window
}

void CBadukCtrl::RealizeBoardPalette() {
  if (!m_hWnd || !m_boardPalette.GetSafeHandle()) return;
  CClientDC dc(this);
  CSelectionStack stack;
  stack.Push(&dc, &m_boardPalette);
  dc.RealizePalette();
  stack.PopAll();
  Invalidate(TRUE);
}

void CBadukCtrl::OnPaletteChanged(CWnd* focusWnd) {
  CWnd::OnPaletteChanged(focusWnd);
  RealizeBoardPalette();
}

BOOL CBadukCtrl::OnQueryNewPalette() {
  RealizeBoardPalette();
  return TRUE;
}
