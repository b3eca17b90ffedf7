#pragma once
// The print job of a view: CPrintInfo describes the job and the page being printed.
//
// CView::OnFilePrint runs the job: OnPreparePrinting (which calls DoPreparePrinting), a printer
// context, OnBeginPrinting, then for each page OnPrepareDC and OnPrint between StartPage and
// EndPage, and OnEndPrinting. The printer writes each page as "<prefix><n>.png".
//
// CView::OnFilePrintPreview runs the same steps with m_bPreview set, but shows the pages in the
// frame instead (see preview.h): nothing is written until the user prints from the preview.

#include "platform/geometry.h"
#include "platform/strings.h"
#include "platform/types.h"

// Commands of the print preview's bar.
constexpr UINT AFX_ID_PREVIEW_CLOSE = 0xE300;
constexpr UINT AFX_ID_PREVIEW_NUMPAGE = 0xE301;  // one page or two side by side
constexpr UINT AFX_ID_PREVIEW_NEXT = 0xE302;
constexpr UINT AFX_ID_PREVIEW_PREV = 0xE303;
constexpr UINT AFX_ID_PREVIEW_PRINT = 0xE304;    // leaves the preview and prints the job
constexpr UINT AFX_ID_PREVIEW_ZOOMIN = 0xE305;
constexpr UINT AFX_ID_PREVIEW_ZOOMOUT = 0xE306;

class CPrintInfo {
public:
  CPrintInfo();

  void SetMinPage(UINT page) { m_nMinPage = page; }
  void SetMaxPage(UINT page) { m_nMaxPage = page; }
  UINT GetMinPage() const { return m_nMinPage; }
  // 0xFFFF while the number of pages is not known: printing then stops after page 1 unless
  // OnPrepareDC keeps m_bContinuePrinting set.
  UINT GetMaxPage() const { return m_nMaxPage; }
  // The pages to print: those the print dialog chose, else all of them.
  UINT GetFromPage() const { return m_nFromPage ? m_nFromPage : m_nMinPage; }
  UINT GetToPage() const { return m_nToPage ? m_nToPage : m_nMaxPage; }
  // Prints only pages from..to (0, 0: all).
  void SetPageRange(UINT from, UINT to) {
    m_nFromPage = from;
    m_nToPage = to;
  }

  BOOL m_bDirect{FALSE};            // print without asking the print dialog
  BOOL m_bPreview{FALSE};            // the job is previewed: no print dialog, no pages written
  BOOL m_bContinuePrinting{TRUE};   // cleared to end the job before the current page
  UINT m_nCurPage{1};
  UINT m_nNumPreviewPages{1};       // pages the preview shows side by side (1 or 2)
  LPVOID m_lpUserData{nullptr};
  CRect m_rectDraw;                 // the printable area of the current page, in device units
  CString m_strPageDesc;
  // Where the pages go: "<prefix><n>.png", n counting the sheets written from 1. The program's
  // printer's (platform::PrinterOutputPrefix).
  CString m_strOutputPrefix;
  int m_nDpi{300};

private:
  UINT m_nMinPage{1};
  UINT m_nMaxPage{0xFFFF};
  UINT m_nFromPage{0};
  UINT m_nToPage{0};
};

namespace platform {

enum class Paper { A4, Letter };

// The program's printer as Print Setup and the print dialog leave it. Like the printer a program
// keeps chosen, there is one for the whole program.
struct PrinterSetup {
  Paper paper{Paper::A4};
  bool landscape{false};
  CString chosenPrefix;  // where a person sent the pages; empty while nobody chose
};

PrinterSetup& ProgramPrinter();
// The sheet's width and height in millimetres, turned for landscape.
SIZE PaperSizeMm(const PrinterSetup& setup);
// Where pages go: the prefix a person chose, else PLATFORM_PRINT_PREFIX, else "printed-page-" in
// the working folder.
CString PrinterOutputPrefix(const PrinterSetup& setup);

}  // namespace platform
