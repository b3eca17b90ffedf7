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
// area at the scroll position.
class CScrollView : public CView {
  DECLARE_DYNAMIC(CScrollView)
public:
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
  DECLARE_MESSAGE_MAP()

private:
  // The scroll position along one axis after a scroll-bar request.
  static int ScrolledPosition(int current, UINT code, UINT pos, int page, int line);
  // The largest scroll position along each axis for the current client size.
  CSize ScrollLimit() const;
  // Keeps the scroll position within the drawing for the present client size.
  void UpdateBars();

  int m_nMapMode{0};
  CSize m_totalDev;
  CSize m_pageDev;
  CSize m_lineDev;
  CPoint m_scrollPos;
};
