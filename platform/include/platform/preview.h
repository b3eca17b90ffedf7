#pragma once
// Print preview: the pages of a view's print job, drawn by the view's own OnPrepareDC and OnPrint
// on the printer context, shown scaled down in the frame in place of the view, with a bar of
// commands (print, next and previous page, one or two pages, zoom in and out, close).

#include <array>
#include <memory>
#include <vector>

#include "platform/controlbars.h"
#include "platform/controls_basic.h"
#include "platform/frames.h"
#include "platform/printing.h"
#include "platform/surface.h"
#include "platform/view.h"

// The bar along the top of the frame while a preview shows: one push button per command. A click
// goes to the frame as the button's command, which the frame routes to the preview.
class CPreviewBar : public CControlBar {
public:
  using CWnd::Create;
  BOOL Create(CFrameWnd* parent);
  // The button of command id, or null.
  CButton* GetButton(UINT id);
  // The command of the enabled button whose caption marks letter with "&" (either case); 0 when
  // there is none.
  UINT CommandOfLetter(char letter);
  void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
  int GetBarHeight() const override { return 30; }

protected:
  void OnBarResized(int cx, int cy) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnPaint();
  DECLARE_MESSAGE_MAP()

private:
  // Places the buttons left to right, each as wide as its caption needs.
  void PlaceButtons();

  struct Command {
    UINT id;
    const char* caption;
  };
  static const std::array<Command, 7> kCommands;

  std::array<CButton, 7> m_buttons;
};

class CPreviewView : public CScrollView {
  DECLARE_DYNCREATE(CPreviewView)
public:
  CPreviewView() = default;

  // Runs printView's preparing steps for a previewed job and shows the preview in its frame.
  // FALSE when the view has no frame, the frame already previews, the user cancelled or the
  // printer context could not be made (nothing shown then).
  static BOOL ShowPreview(CView* printView);

  UINT GetCurrentPage() const { return m_nCurrentPage; }
  // Shows page (and in two-page mode the one after it, when the job has it); FALSE, and nothing
  // changed, for a page the job does not have.
  BOOL SetCurrentPage(UINT page);
  // Pages shown side by side now: 1, or 2 in two-page mode when the second page exists.
  int GetPagesShown() const { return static_cast<int>(m_pages.size()); }
  // 0 fits the whole page in the window; each step in doubles the size, up to printer pixels.
  int GetZoomLevel() const { return m_nZoom; }
  // Where shown page index lies in the client area; empty when there is no such page.
  CRect GetPageRect(int index) const;
  // The view the preview stands in for (null once it is gone).
  CView* GetPrintView() const;
  CPreviewBar& GetBar() { return m_bar; }

  // Ends the job (OnEndPrinting), gives the frame its view back and destroys the preview.
  void ClosePreview();

  void OnDraw(CDC* dc) override;
  // Escape closes the preview; Alt and a letter presses the bar's button marked with it.
  BOOL PreTranslateMessage(MSG* msg) override;

protected:
  void OnDestroy();
  void OnSize(UINT type, int cx, int cy);
  // The wheel moves a zoomed page up and down (sideways with Shift).
  BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
  // Page Down and Page Up turn the pages; the arrow keys move a zoomed page.
  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  void OnPreviewClose();
  void OnPreviewPrint();
  // Already previewing: nothing more to show.
  void OnPreviewPrintPreview();
  void OnNextPage();
  void OnPrevPage();
  void OnNumPageChange();
  void OnZoomIn();
  void OnZoomOut();
  void OnUpdateNextPage(CCmdUI* cmdUI);
  void OnUpdatePrevPage(CCmdUI* cmdUI);
  void OnUpdateNumPageChange(CCmdUI* cmdUI);
  void OnUpdateZoomIn(CCmdUI* cmdUI);
  void OnUpdateZoomOut(CCmdUI* cmdUI);
  DECLARE_MESSAGE_MAP()

private:
  // A page as the printer drew it, and its copy at the size it is shown.
  struct ShownPage {
    platform::Surface printed;
    platform::Surface scaled;
  };
  // Sizes of the shown pages on screen for the current window size and zoom.
  struct Layout {
    double scale{1.0};
    CSize page;
    CSize total;
    CPoint origin;  // top left of the first page in the drawing
  };
  static constexpr int kMaxZoom = 2;
  static constexpr int kGap = 8;     // around and between pages
  static constexpr int kStep = 40;   // pixels a zoomed page moves per wheel notch or arrow key

  // Takes over the frame's pane and the job prepared in info; FALSE when the window cannot be made.
  BOOL Open(CFrameWnd* frame, CView* printView, std::unique_ptr<CPrintInfo> info);
  // Asks the print view whether the job has page (its OnPrepareDC may end an open-ended job).
  bool HasPage(UINT page);
  // Draws page through the print view on the printer context and copies the result.
  bool PrintPage(UINT page, platform::Surface& out);
  // Prepares the printer context for page; the caller restores the saved state.
  bool PreparePage(UINT page, int& saved);
  // Prints the pages to show from page on; false, and nothing changed, when page itself cannot
  // be printed.
  bool LoadPages(UINT page, int count);
  // Shows the pages from page on, as many as the user chose; false when page cannot be shown.
  bool ShowPages(UINT page);
  Layout ComputeLayout() const;
  // Fits the drawing to the window, rescales the pages and repaints.
  void UpdateLayout();
  void UpdateBar();
  void DrawPage(CDC* dc, const ShownPage& page, const CRect& where);
  void ScrollBy(int dx, int dy);
  // Ends the job and gives the frame back; safe to call more than once.
  void EndPreview();
  CFrameWnd* LiveFrame() const;

  HWND m_hWndPrintView{nullptr};
  CView* m_pPrintView{nullptr};
  HWND m_hWndFrame{nullptr};
  std::unique_ptr<CPrintInfo> m_pPreviewInfo;
  CDC m_printerDC;
  CPrintPreviewState m_state;
  CPreviewBar m_bar;
  std::vector<ShownPage> m_pages;
  UINT m_nCurrentPage{1};
  int m_nPagesWanted{1};  // 1 or 2, as the user chose
  int m_nZoom{0};
  bool m_hasNextPage{false};  // the job has a page after the last one shown
  bool m_active{false};       // the frame shows this preview and the job is open
};
