#pragma once
// The board control: an automation control around the board model. Containers create it by class
// identifier and reach it through the dispatch interface _DStolvex; it reports clicks, refusals
// and captures through _DStolvexEvents, paints the board and turns clicks into Position events.

#include <memory>

#include "control/BoardGeometry.h"
#include "control/BoardPainter.h"
#include "control/DibImage.h"
#include "control/StolvexBoard.h"
#include "control/StolvexIds.h"
#include "platform/gdi.h"
#include "platform/olecontrol.h"

class CStolvexCtrl : public COleControl, public CBoardEventSink {
public:
  CStolvexCtrl();
  ~CStolvexCtrl() override;

  // ---- properties (_DStolvex 1..9) ----
  BSTR GetImagePath();
  void SetImagePath(BSTR path);
  LONG GetGameMode();
  void SetGameMode(LONG mode);
  SHORT GetUserColor();
  void SetUserColor(SHORT colour);
  SHORT GetNumOfAdvatage();
  void SetNumOfAdvatage(SHORT count);
  SHORT GetLogicalPos();
  void SetLogicalPos(SHORT position);
  SHORT GetBreakPoint();
  void SetBreakPoint(SHORT position);
  SHORT GetEnable();
  void SetEnable(SHORT enable);
  SHORT GetRotate();
  void SetRotate(SHORT rotate);
  SHORT GetTest();
  void SetTest(SHORT test);

  // ---- methods (_DStolvex 10..35) ----
  void GoPrev(SHORT flag);
  void GoNext(SHORT flag);
  void SetDrawStone(SHORT row, SHORT col, SHORT colour, SHORT count);
  VARIANT GetStone(SHORT state);
  VARIANT GetStoneList();
  void SetDrawChar(SHORT row, SHORT col, SHORT character);
  void Redraw(SHORT row, SHORT col);
  void SetStoneList(VARIANT* stoneList);
  SHORT GetLastColor();
  void Again();
  void SetSizeControl(SHORT cx, SHORT cy);
  void Init();
  SHORT GetResult(SHORT re);
  void SetHandicap(SHORT colour, SHORT count);
  VARIANT GetAreaInfo();
  void RemoveStone(SHORT mask);
  void SetStone(SHORT row, SHORT col, SHORT mask);
  void UnCheckStone(SHORT mask);
  SHORT GetChangedCount();
  void SetMyTurn(SHORT flag);
  void SetDrawNinePoint(SHORT value);
  void SetDrawNumber(SHORT value);
  void SetDrawLastPoint(SHORT value);
  BSTR GetStone2(SHORT state);
  BSTR GetBigPos(SHORT mask);
  void SetBigPos(SHORT index, SHORT flag);

  // ---- events, also the board model's sink ----
  void FirePosition(short row, short col, short colour) override;
  void FireErrorEvent(short code) override;
  void FireNumOfEat(short colour, short count) override;
  void InvalidateControl() override { COleControl::InvalidateControl(); }

  // ---- COleControl ----
  void OnDraw(CDC* dc, const CRect& bounds, const CRect& invalid) override;
  void DoPropExchange(CPropExchange* px) override;
  void OnResetState() override;

  // ---- for tests and benchmarks ----
  CStolvexBoard& Board() { return m_board; }
  const CBoardGeometry& Geometry() const { return m_geometry; }
  bool ShowsCoordinates() const { return m_labels; }
  // The cursor the control set last (0 none, else its resource id).
  UINT CurrentCursor() const { return m_cursorId; }
  // The point region under a client pixel (-1: none), before the turned-board mapping.
  int HitTest(POINT pixel) const { return m_geometry.HitTest(pixel); }
  // The font of the move numbers, sized for the present regions.
  const CFont& NumberFont() const { return m_numberFont; }

protected:
  void OnLButtonDown(UINT flags, CPoint point);
  void OnMouseMove(UINT flags, CPoint point);
  BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
  void OnContextMenu(CWnd* window, CPoint point);
  void OnSize(UINT type, int cx, int cy);
  void OnRotateBoard();
  void OnShowCoordinates();
  void OnUpdateShowCoordinates(CCmdUI* cmdUI);

  DECLARE_MESSAGE_MAP()
  DECLARE_DISPATCH_MAP()
  DECLARE_EVENT_MAP()

private:
  LONG WindowHandleArgument() const;
  void CalcBoardGeometry();
  void MakeNumberFont(int regionWidth);
  // True when a click at the mouse position could do something there (the play cursor).
  bool CanTakeClick(int region) const;
  void ShowCursor(UINT id);
  // The off-screen picture of the control's size, made when needed; false when it cannot be.
  bool EnsureCanvas(int cx, int cy);
  // Moves the painted pixels into the off-screen bitmap and writes the texts over them.
  void FinishCanvas();
  // The same for one point's region after a repaint of that point alone.
  void FinishCanvasRegion(const RECT& r);
  // The part of a point's region that lies inside the off-screen picture (possibly empty).
  RECT ClipToCanvas(const RECT& region) const;
  PaintOptions Options();
  // The loaded picture as pixels for the background; empty without one.
  void MakeTexture();
  // Paints the whole board (index -1) or one point straight into the window.
  void PaintNow(int index);

  CStolvexBoard m_board{*this};
  CBoardGeometry m_geometry;
  CBoardPainter m_painter;
  CFont m_numberFont;
  CFont m_labelFont;
  CDC m_canvasDC;
  CBitmap m_canvas;
  std::vector<std::uint32_t> m_pixels;  // painted here, then copied into m_canvas
  PixelView m_canvasView;
  CString m_imagePath;
  std::unique_ptr<CDibImage> m_image;
  platform::Surface m_texture;  // m_image's pixels, drawn in place of the wood
  bool m_labels{false};
  bool m_starPoints{true};
  bool m_lastMoveMark{true};
  UINT m_cursorId{0};
  CPoint m_mouse{0, 0};
};
