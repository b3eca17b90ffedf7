#pragma once
// The print job of a view: CPrintInfo describes the job and the page being printed.
//
// CView::OnFilePrint runs the job: OnPreparePrinting (which calls DoPreparePrinting), a printer
// context, OnBeginPrinting, then for each page OnPrepareDC and OnPrint between StartPage and
// EndPage, and OnEndPrinting. The printer writes each page as "<prefix><n>.png".

#include "platform/geometry.h"
#include "platform/strings.h"
#include "platform/types.h"

class CPrintInfo {
public:
  CPrintInfo();

  void SetMinPage(UINT page) { m_nMinPage = page; }
  void SetMaxPage(UINT page) { m_nMaxPage = page; }
  UINT GetMinPage() const { return m_nMinPage; }
  // 0xFFFF while the number of pages is not known: printing then stops after page 1 unless
  // OnPrepareDC keeps m_bContinuePrinting set.
  UINT GetMaxPage() const { return m_nMaxPage; }
  UINT GetFromPage() const { return m_nMinPage; }
  UINT GetToPage() const { return m_nMaxPage; }

  BOOL m_bDirect{FALSE};            // print without asking the print dialog
  BOOL m_bPreview{FALSE};
  BOOL m_bContinuePrinting{TRUE};   // cleared to end the job before the current page
  UINT m_nCurPage{1};
  UINT m_nNumPreviewPages{1};
  LPVOID m_lpUserData{nullptr};
  CRect m_rectDraw;                 // the printable area of the current page, in device units
  CString m_strPageDesc;
  // Where the pages go: "<prefix><page>.png". From PLATFORM_PRINT_PREFIX, else "printed-page-"
  // in the working folder.
  CString m_strOutputPrefix;
  int m_nDpi{300};

private:
  UINT m_nMinPage{1};
  UINT m_nMaxPage{0xFFFF};
};
