#pragma once
// Views: the windows that show a document, draw it (on screen and on the printer) and take the
// commands first.

#include "platform/document.h"
#include "platform/printing.h"
#include "platform/runtime_class.h"
#include "platform/windows.h"

class CFrameWnd;

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)
public:
  CView() = default;
  // Leaves the document's view list.
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }
  // The frame the view lives in (the nearest frame among its parents), or null.
  CFrameWnd* GetParentFrame() const;

  // Draws the document; used for painting and, by default, for printing.
  virtual void OnDraw(CDC* dc) = 0;
  // First showing of the view with its document: by default OnUpdate(null, 0, null).
  virtual void OnInitialUpdate();
  // The document changed: by default repaints the whole view.
  virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
  // The frame made the view active (activate) or another one (deactivate).
  virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView);
  // Prepares dc before drawing; for printing, ends the job after page 1 while the page count
  // is unknown.
  virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);

  // Printing steps (see printing.h).
  virtual BOOL OnPreparePrinting(CPrintInfo* info);
  // Asks the print dialog unless info->m_bDirect or info->m_bPreview; FALSE when the user cancels.
  BOOL DoPreparePrinting(CPrintInfo* info);
  virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
  virtual void OnPrint(CDC* dc, CPrintInfo* info);
  virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
  // Runs a whole print job; FALSE when it was cancelled or the printer failed.
  BOOL RunPrintJob(CPrintInfo& info);

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void PostNcDestroy() override;
  // The view's map, then its document's.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
  int OnCreate(LPCREATESTRUCT cs);
  void OnDestroy();
  void OnPaint();
  int OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message);
  LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
  void OnFilePrint();
  // Shows the print job's pages in the frame in place of the view (see preview.h).
  void OnFilePrintPreview();
  // A printer context for info's pages (its output prefix and resolution, the paper of the
  // program's printer), marked as printing;
  // FALSE, after telling the user, when it cannot be made.
  static BOOL CreatePrinterContext(CDC& dc, const CPrintInfo& info);
  DECLARE_MESSAGE_MAP()

  CDocument* m_pDocument{nullptr};

private:
  friend class CDocument;
  // The print dialog on screen: where the pages go and which; FALSE when the person cancels.
  BOOL AskPrintOnScreen(CPrintInfo& info);
};

// A view with a scrolled drawing: the drawing is total size large, shown through the client
// area at the scroll position. The view shows a bar along each side the drawing overflows and
// scrolls by the bars, the wheel and (while it holds the focus itself) the arrow and page keys.
class CScrollView : public CView {
  DECLARE_DYNAMIC(CScrollView)
public:
  // A zero page is a tenth of the drawing, a zero line a tenth of the page.
  void SetScrollSizes(int mapMode, SIZE total, SIZE page = SIZE{0, 0}, SIZE line = SIZE{0, 0});
  CSize GetTotalSize() const { return m_totalDev; }
  CPoint GetScrollPosition() const { return m_scrollPos; }
  // Moves the drawing so that point (clamped to the drawing) is at the top left.
  void ScrollToPosition(POINT point);
  // Screen drawing is moved by the scroll position; printing is not.
  void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;

protected:
  void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
  void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
  void OnSize(UINT type, int cx, int cy);
  // Scrolls three lines a notch (capped at a page) along the vertical bar, or the horizontal one
  // with Shift or when only that one shows.
  BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
  // Arrows, Page Up/Down, Home and End scroll along the bars that show.
  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  DECLARE_MESSAGE_MAP()

private:
  // The scroll position along one axis after a scroll-bar request.
  static int ScrolledPosition(int current, UINT code, UINT pos, int page, int line);
  // The largest scroll position along each axis for the current client size.
  CSize ScrollLimit() const;
  // The client size with no bar shown.
  CSize TrueClientSize() const;
  // Shows the bars the drawing needs and gives them their ranges. Showing or hiding a bar resizes
  // the client area, so the view is told of its own size while it is at work: those calls are
  // left to the pass in progress, which runs again (a few times at most) only when the true
  // client size or the drawing changed under it.
  void UpdateBars();
  // One pass of UpdateBars.
  void FitBars();

  int m_nMapMode{0};
  CSize m_totalDev;
  CSize m_pageDev;
  CSize m_lineDev;
  CPoint m_scrollPos;
  bool m_bInsideUpdate{false};  // UpdateBars is at work further up the stack
};
