#pragma once
// CPlacardView: a forum's bulletin board (view 450): the posts ten at a time, one post shown,
// writing, modifying and deleting one's own posts, searching, and paging on.

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/formview.h>

#include <optional>

#include "orvanta/lobby/BoardDraft.h"

#include "orvanta/lobby/SortState.h"
#include "orvanta/widgets/FlatListCtrl.h"

class CCommunityHost;

class CPlacardView : public CFormView {
  DECLARE_DYNCREATE(CPlacardView)
public:
  static constexpr UINT kTemplateId = 450;
  static constexpr UINT kPostList = 1370;
  static constexpr UINT kContentsEdit = 1371;
  static constexpr UINT kAuthorEdit = 1372;
  static constexpr UINT kTitleEdit = 1373;
  static constexpr UINT kDateEdit = 1374;
  static constexpr UINT kWriteButton = 1375;
  static constexpr UINT kSendButton = 1376;
  static constexpr UINT kModifyButton = 1377;
  static constexpr UINT kDeleteButton = 1378;
  static constexpr UINT kNumberEdit = 1379;
  static constexpr UINT kSearchButton = 1402;
  static constexpr UINT kNextPageButton = 1403;
  static constexpr UINT kCancelButton = 1422;
  // The captions before the post's boxes.
  static constexpr UINT kNumberLabel = 1430;
  static constexpr UINT kAuthorLabel = 1431;
  static constexpr UINT kDateLabel = 1432;
  static constexpr UINT kTitleLabel = 1433;
  static constexpr UINT kContentsLabel = 1434;
  static constexpr int kNewPost = 1;
  static constexpr int kModifyPost = 2;
  static constexpr COLORREF kContentsColour = 0xF8F0E8;

  CPlacardView();
  static platform::DialogTemplate BuildTemplate();
  void OnInitialUpdate() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  // Message 710: a page of posts, appended after a next-page request, else replacing the list.
  void OnPostList(const CString& payload);
  // Message 711: one post shown, unless one is being written (a post asked for earlier waits).
  void OnPostText(const CString& payload);
  // Messages 712 and 713: the first page again.
  void OnPostAdded();
  void OnPostDeleted();
  // Message 714: a post's read count and title.
  void OnReadCount(const CString& payload);
  // Asks for the selected post; refused while one is being written.
  void OpenSelectedPost();
  // A search by key ("LS", "LT", "LI", "LD") and its text, ending with its separator; refused
  // while a post is being written.
  void Search(const CString& key, const CString& text);
  void OnWrite();
  // The search button: the bulletin search dialog, then the search it asks for.
  void OnSearchButton();
  void OnSend();
  void OnModify();
  void OnDelete();
  void OnCancelPost();
  void OnNextPage();

  CFlatListCtrl& GetList() { return m_list; }
  int GetSortedColumn() const { return m_sort.GetSortedColumn(); }
  const CString& GetNextKey() const { return m_strNextKey; }
  int GetEditMode() const { return m_nEditMode; }
  BOOL IsEditing() const { return m_bEditing; }
  BOOL IsRequestPending() const { return m_bRequestPending; }
  // The post being written or modified, as typed, for the frame to keep while the board is away.
  std::optional<CBoardDraft> TakeDraft();

  CString m_strContents;
  CString m_strDate;
  CString m_strAuthor;
  CString m_strTitle;
  CString m_strNumber;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnSize(UINT type, int cx, int cy);
  void OnListDblClk(NMHDR* header, LRESULT* result);
  void OnColumnClick(NMHDR* header, LRESULT* result);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  // The board's own ground: nothing of the screen shown before it stays between its fields.
  BOOL OnEraseBkgnd(CDC* dc);
  // The list's notice of a vertical scroll: the next page when it scrolls past the last row.
  LRESULT OnListScroll(WPARAM code, LPARAM position);
  DECLARE_MESSAGE_MAP()

private:
  // Lays the list, the post's boxes and the row of buttons out over a client area of cx x cy.
  void RecalcLayout(int cx, int cy);
  // A child's rectangle in client coordinates (empty without the child).
  CRect ChildRect(UINT id) const;
  void MoveChild(UINT id, int x, int y, int width, int height);
  // Editing mode: the title and contents take typing; reading mode: everything is read-only.
  void SetEditMode(BOOL editing);
  void EnableButtons(BOOL write, BOOL send, BOOL modify, BOOL remove, BOOL cancel);
  void ClearPost();
  // Clears the post and returns to reading mode: read-only boxes, Write and next page offered.
  void ReturnToReading();
  void RequestFirstPage();
  // Writing again where a kept draft of this board left off.
  void ResumeDraft(const CBoardDraft& draft);
  BOOL IsOwnPost() const;
  CString BoardFields() const;
  CCommunityHost* GetFrame() const;

  CFlatListCtrl m_list;
  CSortState m_sort{5};
  CImageList m_sortImages;  // the header's sort arrows
  CBrush m_contentsBrush;    // the ground of the post's contents
  int m_nButtonWidth{0};     // the buttons' width in the template, taken at the first layout
  CString m_strForumId;
  CString m_strBoardCode;
  CString m_strNextKey{"0"};
  CString m_strSearchKey{"LS"};
  CString m_strSearchText{"|"};
  int m_nEditMode{0};
  BOOL m_bEditing{FALSE};
  BOOL m_bRequestPending{FALSE};
  BOOL m_bAppend{FALSE};
};
