#pragma once
// CProgressStatusBar: the main frame's status bar, drawn by itself: pane 0 the message text,
// pane 1 the number of moves received ("progress : n"), pane 2 a stone of the colour to move.

#include "platform/controlbars.h"
#include "platform/gdi.h"

// Panes 1 and 2; their string resources give their widths.
constexpr UINT ID_INDICATOR_PROGRESS = 59142;
constexpr UINT ID_INDICATOR_NEXTSTONE = 59143;
// The stone pictures of pane 2, keyed on pure green.
constexpr UINT IDB_STATUS_WHITE = 298;
constexpr UINT IDB_STATUS_BLACK = 277;

class CProgressStatusBar : public CStatusBar {
public:
  CProgressStatusBar();
  ~CProgressStatusBar() override = default;

  // Creates the bar at the bottom of parent with its three panes and progress 0; false when the
  // bar or its indicators cannot be made.
  bool Create(CWnd* parent);
  // Shows n in pane 1 when it differs from what is shown. Repeated changes before the bar paints
  // cost one invalidation: a relay replaying a game changes the count once per line.
  void SetProgress(int n);
  // Shows a stone of colour (2 black, else white) in pane 2; force repaints even when unchanged.
  void SetNextColor(int colour, bool force);

  int GetProgress() const { return m_progress; }
  int GetNextColor() const { return m_nextColor; }
  // "progress : n" for the number shown, formatted when first asked for after a change.
  const CString& GetProgressText() const;

protected:
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()

private:
  // Pane's rectangle in the bar's client coordinates.
  CRect PaneRect(int index) const;
  // Invalidates the pane unless it is already waiting for the next paint.
  void InvalidatePane(int index);
  // Draws text in the bar's blue with the bar's small font.
  void DrawPaneText(CDC& dc, const CString& text, CRect rect, UINT format);

  CWnd* m_parent{nullptr};
  int m_nextColor{2};
  int m_progress{-1};
  CBitmap m_whiteStone;
  CBitmap m_blackStone;
  mutable CString m_progressText;
  mutable int m_progressTextFor{-1};  // the number m_progressText was formatted for
  unsigned m_panesPending{0};         // bit i: pane i invalidated and not painted since
  COLORREF m_background{0};
};
