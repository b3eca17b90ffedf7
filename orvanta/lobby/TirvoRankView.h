#pragma once
// CTirvoRankView: the club's ranking (view 5001), page by page upwards from rank 1. Moving past
// the last row asks for the next page; a double-click or Enter asks for that user's information.

#include <platform/controls.h>
#include <platform/view.h>

#include "orvanta/widgets/FlatListCtrl.h"

class CCommunityHost;

class CTirvoRankView : public CView {
  DECLARE_DYNCREATE(CTirvoRankView)
public:
  static constexpr UINT kListId = 1;
  static constexpr int kColumns = 7;
  static constexpr int kPageRows = 50;

  void OnDraw(CDC*) override {}
  void OnInitialUpdate() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  // Message 101: rows of kind 1 (a view showing kind 2 is emptied first).
  void AddRankRowsKind1(const CString& payload);
  // Messages 102 and 104: rows of kind 2 (a view showing kind 1 is emptied first).
  void AddRankRowsKind2(const CString& payload);
  void ClearList() { m_list.DeleteAllItems(); }
  void SaveColumnWidths();
  // Asks for the selected user's information.
  void RequestSelectedUserInfo();
  // Asks for the page after the rows shown, by the current query.
  void RequestNextPage();

  CListCtrl& GetList() { return m_list; }
  int GetListKind() const { return m_nListKind; }
  const CString& GetNextKey() const { return m_strNextKey; }
  const CString& GetQuery() const { return m_strQuery; }
  BOOL IsRequestPending() const { return m_bRequestPending; }
  // A reply without rows ends the wait for a page as well.
  void ClearRequestPending() { m_bRequestPending = FALSE; }

protected:
  int OnCreate(LPCREATESTRUCT cs);
  void OnSize(UINT type, int cx, int cy);
  void OnListDblClk(NMHDR* header, LRESULT* result);
  void OnListReturn(NMHDR* header, LRESULT* result);
  void OnColumnClick(NMHDR* header, LRESULT* result);
  void OnContextMenu(CWnd* wnd, CPoint point);
  // The list's notice of a vertical scroll: the next page when it scrolls past the last row.
  LRESULT OnListScroll(WPARAM code, LPARAM position);
  DECLARE_MESSAGE_MAP()

private:
  void AddRows(const CString& payload);
  CCommunityHost* GetFrame() const;

  CFlatListCtrl m_list;
  int m_nListKind{1};
  CString m_strQuery;
  CString m_strNextKey{"1"};
  int m_sortFlags[kColumns]{};
  BOOL m_bRequestPending{FALSE};
  BOOL m_bFitColumns{FALSE};  // no stored widths: the columns widen to their texts as rows come
  CString m_strFittedWidths;   // the widths the last fit gave, told from a person's own
  BOOL m_bCaptureAfterFill{FALSE};  // a page asked for by the line-down arrow: the fill retakes the capture
};
