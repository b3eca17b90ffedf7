// Painting of the view (background, side panel, button-bar strip), control colours, palettes and
// printing.
#include <cstring>

#include "client/app/ClientView.h"
#include "client/widgets/DrawUtilities.h"
#include "client/model/BoardCoordinates.h"
#include "client/model/DiagramPrinter.h"
#include "client/resources/ClientIds.h"

namespace {

enum Piece { kPanelTop = 0, kPanelMiddle = 1, kPanelBottom = 2, kBarTile = 3, kBarLeft = 4 };

}  // namespace

void CClientView::OnDraw(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  // The picture and the background tile are kept between paints: a resize repaints the whole
  // view, and making them anew each time cost more than the painting itself.
  CDC* memory = m_canvas.Begin(dc, client.Width(), client.Height());
  if (memory == nullptr) return;
  if (m_background.GetSafeHandle() == nullptr) LoadSysColorBitmap(IDB_BACKGROUND, m_background, m_backgroundPalette);
  if (m_background.GetSafeHandle() != nullptr) {
    BITMAP info{};
    m_background.GetBitmap(&info);
    CDC tile;
    tile.CreateCompatibleDC(dc);
    CBitmap* oldTile = tile.SelectObject(&m_background);
    for (int y = 0; info.bmHeight > 0 && y < client.Height(); y += info.bmHeight) {
      for (int x = 0; info.bmWidth > 0 && x < client.Width(); x += info.bmWidth)
        memory->BitBlt(x, y, info.bmWidth, info.bmHeight, &tile, 0, 0, SRCCOPY);
    }
    tile.SelectObject(oldTile);
  } else {
    memory->FillSolidRect(&client, kPaneColour);
  }
  PaintPanel(*memory, PanelRect());
  if (m_buttonBar) PaintButtonBar(*memory, ButtonBarRect());
  dc->BitBlt(0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
  if (m_coordinates && m_board.GetSafeHwnd()) DrawBoardCoordinates(dc, this, &m_board, RGB(80, 50, 20));
}

void CClientView::BlitPiece(CDC& dc, int index, int x, int y, int width, int height, int srcX) {
  if (width <= 0 || height <= 0 || m_bitmaps[index].GetSafeHandle() == nullptr) return;
  CDC piece;
  piece.CreateCompatibleDC(&dc);
  CPalette* oldPalette = nullptr;
  if (m_palettes[index].GetSafeHandle()) {
    oldPalette = dc.SelectPalette(&m_palettes[index], FALSE);
    dc.RealizePalette();
  }
  CBitmap* old = piece.SelectObject(&m_bitmaps[index]);
  dc.BitBlt(x, y, width, height, &piece, srcX, 0, SRCCOPY);
  piece.SelectObject(old);
  if (oldPalette) dc.SelectPalette(oldPalette, FALSE);
}

void CClientView::PaintPanel(CDC& dc, const CRect& panel) {
  const CSize top = BitmapSize(kPanelTop);
  const CSize middle = BitmapSize(kPanelMiddle);
  const CSize bottom = BitmapSize(kPanelBottom);
  BlitPiece(dc, kPanelTop, panel.left, panel.top, top.cx, std::min(static_cast<int>(top.cy), static_cast<int>(panel.Height())));
  const int middleEnd = panel.bottom - bottom.cy;
  for (int y = panel.top + top.cy; middle.cy > 0 && y < middleEnd; y += middle.cy) {
    BlitPiece(dc, kPanelMiddle, panel.left, y, middle.cx, std::min(static_cast<int>(middle.cy), middleEnd - y));
  }
  if (middleEnd >= panel.top + top.cy) BlitPiece(dc, kPanelBottom, panel.left, middleEnd, bottom.cx, bottom.cy);
}

void CClientView::PaintButtonBar(CDC& dc, const CRect& strip) {
  const CSize left = BitmapSize(kBarLeft);
  const CSize tile = BitmapSize(kBarTile);
  BlitPiece(dc, kBarLeft, strip.left, strip.top, left.cx, strip.Height());
  const int half = tile.cx / 2;
  if (half <= 0) return;
  for (int x = strip.left + left.cx; x < strip.right; x += half) {
    // The last step draws the tile's right half, its closing edge.
    const bool last = strip.right - x < half;
    BlitPiece(dc, kBarTile, x, strip.top, std::min(half, static_cast<int>(strip.right) - x), strip.Height(), last ? half : 0);
  }
}

BOOL CClientView::OnEraseBkgnd(CDC* dc) {
  (void)dc;
  return TRUE;
}

HBRUSH CClientView::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
  (void)ctlColor;
  if (wnd != nullptr) {
    char className[32] = {};
    ::GetClassName(wnd->GetSafeHwnd(), className, sizeof className);
    if (::strcasecmp(className, "static") == 0) {
      dc->SetBkMode(TRANSPARENT);
      return reinterpret_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    const int id = wnd->GetDlgCtrlID();
    if (id == IDC_COMMENT_PANE || id == IDC_ANSWER_PANE || id == IDC_QUESTION_EDIT) {
      dc->SetBkColor(RGB(242, 237, 223));
      return reinterpret_cast<HBRUSH>(m_backgroundBrush.GetSafeHandle());
    }
  }
  return reinterpret_cast<HBRUSH>(Default());
}

void CClientView::OnPaletteChanged(CWnd* focusWnd) {
  RealizeOwnPalette();
  if (m_board.GetSafeHwnd()) {
    m_board.SendMessage(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(focusWnd ? focusWnd->GetSafeHwnd() : nullptr), 0);
  }
}

BOOL CClientView::OnQueryNewPalette() {
  RealizeOwnPalette();
  if (m_board.GetSafeHwnd()) m_board.SendMessage(WM_QUERYNEWPALETTE, 0, 0);
  return TRUE;
}

void CClientView::RealizeOwnPalette() {
  if (m_palettes[kPanelTop].GetSafeHandle()) {
    CClientDC dc(this);
    CPalette* old = dc.SelectPalette(&m_palettes[kPanelTop], FALSE);
    dc.RealizePalette();
    dc.SelectPalette(old, FALSE);
  }
  Invalidate(FALSE);
}

BOOL CClientView::OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }

void CClientView::OnBeginPrinting(CDC* dc, CPrintInfo* info) {
  CNodeArray moves;
  m_board.CopyMoves(&moves);
  m_printer = std::make_unique<CDiagramPrinter>();
  m_printer->LayoutPage(dc, info, &moves);
  m_printer->SetHeader(&GetGameInfo());
  moves.DeleteAll();
}

void CClientView::OnPrint(CDC* dc, CPrintInfo* info) {
  if (m_printer) m_printer->PrintPage(dc, info);
}

void CClientView::OnEndPrinting(CDC* dc, CPrintInfo* info) {
  (void)dc;
  (void)info;
  m_printer.reset();
}
