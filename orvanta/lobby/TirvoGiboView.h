#pragma once
// CTirvoGiboView: the list of the club's stored game records (view 5002), page by page as the
// server sends them. Moving past the last row asks for the next page, a search shows its
// results, and a double-click or Enter fetches a record and opens it for review.

#include <platform/controls.h>
#include <platform/view.h>

#include "orvanta/lobby/RecordListPayload.h"
#include "orvanta/lobby/SortState.h"
#include "orvanta/widgets/FlatListCtrl.h"
#include "orvanta/room/GiboRecord.h"

class CCommunityHost;

class CTirvoGiboView : public CView {
  DECLARE_DYNCREATE(CTirvoGiboView)
public:
  static constexpr UINT kListId = 1;
  static constexpr int kColumns = 10;
  static constexpr int kPageRows = 50;
  static constexpr int kBrowseMode = 1;
  static constexpr int kSearchMode = 2;

  void OnDraw(CDC*) override {}
  void OnInitialUpdate() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  // Message 61 with records: empties the list when showing search results or nothing yet, then
  // appends the page.
  void OnRecordListPage(const CString& payload);
  // Message 62: a search's page, or with no records the browse state back and a message.
  void OnRecordSearchResult(const CString& payload);
  // Message 63: the record's SGF text (field 1) loaded into a freshly reset record, then shown
  // for review.
  void OpenReceivedRecord(const CString& payload);
  // A new search (an empty query browses all): the first page is asked for with key "-1".
  void StartSearch(const CString& query);
  // Asks for the record of the selected row (message (6,3)).
  void OpenSelectedRecord();
  // Asks for the page after the rows shown, by the current query.
  void RequestNextPage();
  void SaveColumnWidths();
  // A page reply without records: paging may start again.
  void ClearRequestPending() { m_bRequestPending = FALSE; }

  CListCtrl& GetList() { return m_list; }
  const CString& GetQuery() const { return m_strQuery; }
  const CString& GetLastQuery() const { return m_strLastQuery; }
  void SetLastQuery(const CString& query) { m_strLastQuery = query; }
  const CString& GetNextKey() const { return m_strNextKey; }
  int GetMode() const { return m_nMode; }
  BOOL IsRequestPending() const { return m_bRequestPending; }
  void SetRequestPending() { m_bRequestPending = TRUE; }
  // The record a received record was loaded into: the document's list record, or the view's own
  // without a document.
  CGiboRecord& GetListRecord();

protected:
  int OnCreate(LPCREATESTRUCT cs);
  void OnSize(UINT type, int cx, int cy);
  void OnListDblClk(NMHDR* header, LRESULT* result);
  void OnColumnClick(NMHDR* header, LRESULT* result);
  // The list's notice of a vertical scroll: the next page when it scrolls past the last row.
  LRESULT OnListScroll(WPARAM code, LPARAM position);
  DECLARE_MESSAGE_MAP()

private:
  void FillPage(const CRecordListPayload& page);
  CCommunityHost* GetFrame() const;

  CFlatListCtrl m_list;
  CGiboRecord m_record;
  CString m_strLastQuery;
  CString m_strQuery;
  CString m_strNextKey{"0"};
  CString m_strSavedKey{"0"};
  int m_nMode{kBrowseMode};
  int m_sortFlags[kColumns]{};
  BOOL m_bRequestPending{FALSE};
  BOOL m_bCaptureAfterFill{FALSE};  // a page asked for by the line-down arrow: the fill retakes the capture
};
