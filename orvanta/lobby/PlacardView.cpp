#include "orvanta/lobby/PlacardView.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include <platform/ddx.h>
#include <platform/frames.h>
#include <platform/msgbox.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/SearchBulletinDlg.h"
#include "orvanta/lobby/CommunityHost.h"
#include "orvanta/lobby/BoardPayload.h"
#include "orvanta/lobby/ListPaging.h"
#include "orvanta/lobby/ListSorter.h"
#include "orvanta/lobby/SortImages.h"
#include "orvanta/lobby/LobbyText.h"
#include "orvanta/lobby/SeparatorFilter.h"

namespace {

using platform::VisibleItem;

// A 12-digit date (year, month, day, hour, minute) as the list shows it.
CString ListDate(const CString& date) {
  return date.Mid(0, 4) + Cp949("년 ") + date.Mid(4, 2) + Cp949("월 ") + date.Mid(6, 2) + Cp949("일 ") + date.Mid(8, 2) +
         ":" + date.Mid(10, 2);
}

}  // namespace

IMPLEMENT_DYNCREATE(CPlacardView, CFormView)

BEGIN_MESSAGE_MAP(CPlacardView, CFormView)
  ON_WM_SIZE()
  ON_WM_CTLCOLOR()
  ON_WM_ERASEBKGND()
  ON_NOTIFY(NM_DBLCLK, CPlacardView::kPostList, OnListDblClk)
  ON_NOTIFY(NM_RETURN, CPlacardView::kPostList, OnListDblClk)
  ON_NOTIFY(LVN_COLUMNCLICK, CPlacardView::kPostList, OnColumnClick)
  ON_MESSAGE(CFlatListCtrl::kScrollNotice, OnListScroll)
  ON_BN_CLICKED(CPlacardView::kWriteButton, OnWrite)
  ON_BN_CLICKED(CPlacardView::kSendButton, OnSend)
  ON_BN_CLICKED(CPlacardView::kModifyButton, OnModify)
  ON_BN_CLICKED(CPlacardView::kDeleteButton, OnDelete)
  ON_BN_CLICKED(CPlacardView::kCancelButton, OnCancelPost)
  ON_BN_CLICKED(CPlacardView::kNextPageButton, OnNextPage)
  ON_BN_CLICKED(CPlacardView::kSearchButton, OnSearchButton)
END_MESSAGE_MAP()

CPlacardView::CPlacardView() : CFormView(kTemplateId) {}

platform::DialogTemplate CPlacardView::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_CHILD | DS_CONTROL;
  t.cx = 530;
  t.cy = 340;
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  const DWORD readOnly = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER;
  t.items = {
      VisibleItem("SysListView32", kPostList, 7, 7, 516, 140, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER),
      VisibleItem("Static", kNumberLabel, 7, 156, 20, 9, SS_LEFT, "NO"),
      VisibleItem("Edit", kNumberEdit, 30, 154, 50, 12, readOnly),
      VisibleItem("Static", kAuthorLabel, 90, 156, 15, 9, SS_LEFT, "ID"),
      VisibleItem("Edit", kAuthorEdit, 108, 154, 80, 12, readOnly),
      VisibleItem("Static", kDateLabel, 198, 156, 20, 9, SS_LEFT, "Date"),
      VisibleItem("Edit", kDateEdit, 222, 154, 110, 12, readOnly),
      VisibleItem("Static", kTitleLabel, 7, 172, 20, 9, SS_LEFT, "Title"),
      VisibleItem("Edit", kTitleEdit, 30, 170, 493, 12, readOnly | WS_TABSTOP),
      VisibleItem("Static", kContentsLabel, 7, 188, 40, 9, SS_LEFT, "Contents"),
      VisibleItem("Edit", kContentsEdit, 7, 198, 516, 114,
                  ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_READONLY | WS_VSCROLL | WS_BORDER | WS_TABSTOP),
      VisibleItem("Button", kWriteButton, 7, 320, 60, 14, BS_PUSHBUTTON, Cp949("글쓰기")),
      VisibleItem("Button", kSendButton, 72, 320, 60, 14, BS_PUSHBUTTON, Cp949("글올리기")),
      VisibleItem("Button", kModifyButton, 137, 320, 60, 14, BS_PUSHBUTTON, Cp949("수정")),
      VisibleItem("Button", kDeleteButton, 202, 320, 60, 14, BS_PUSHBUTTON, Cp949("삭제")),
      VisibleItem("Button", kSearchButton, 267, 320, 60, 14, BS_PUSHBUTTON, Cp949("게시물검색")),
      VisibleItem("Button", kNextPageButton, 332, 320, 60, 14, BS_PUSHBUTTON, Cp949("다음페이지")),
      VisibleItem("Button", kCancelButton, 397, 320, 60, 14, BS_PUSHBUTTON, "Cancel"),
  };
  return t;
}

void CPlacardView::DoDataExchange(CDataExchange* dx) {
  DDX_Control(dx, static_cast<int>(kPostList), m_list);
  DDX_Text(dx, static_cast<int>(kContentsEdit), m_strContents);
  DDX_Text(dx, static_cast<int>(kDateEdit), m_strDate);
  DDX_Text(dx, static_cast<int>(kAuthorEdit), m_strAuthor);
  DDX_Text(dx, static_cast<int>(kTitleEdit), m_strTitle);
  DDX_Text(dx, static_cast<int>(kNumberEdit), m_strNumber);
}

CCommunityHost* CPlacardView::GetFrame() const { return dynamic_cast<CCommunityHost*>(GetParentFrame()); }

void CPlacardView::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  if (!m_list.GetHeaderCtrl() || m_list.GetHeaderCtrl()->GetItemCount() == 0) {
    m_list.InsertColumn(0, "No", LVCFMT_RIGHT, 100);
    m_list.InsertColumn(1, "ID", LVCFMT_LEFT, 130);
    m_list.InsertColumn(2, "Date", LVCFMT_CENTER, 190);
    m_list.InsertColumn(3, "Count", LVCFMT_RIGHT, 80);
    m_list.InsertColumn(4, "Title", LVCFMT_LEFT, 190);
  }
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  AttachSortImages(m_list, m_sortImages);
  SetEditMode(FALSE);
  EnableButtons(TRUE, FALSE, FALSE, FALSE, FALSE);
  CRect client;
  GetClientRect(&client);
  RecalcLayout(client.Width(), client.Height());
}

HBRUSH CPlacardView::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
  if (wnd && wnd->GetDlgCtrlID() == static_cast<int>(kContentsEdit)) {
    if (!m_contentsBrush.GetSafeHandle())
      m_contentsBrush.CreateSolidBrush(kContentsColour);
    dc->SetBkColor(kContentsColour);
    return static_cast<HBRUSH>(m_contentsBrush);
  }
  return CFormView::OnCtlColor(dc, wnd, ctlColor);
}

BOOL CPlacardView::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
  return TRUE;
}

void CPlacardView::OnSize(UINT type, int cx, int cy) {
  CFormView::OnSize(type, cx, cy);
  if (type != SIZE_MINIMIZED && cx > 0 && cy > 0)
    RecalcLayout(cx, cy);
}

CRect CPlacardView::ChildRect(UINT id) const {
  CRect rect;
  if (CWnd* child = GetDlgItem(static_cast<int>(id))) {
    child->GetWindowRect(&rect);
    ScreenToClient(&rect);
  }
  return rect;
}

void CPlacardView::MoveChild(UINT id, int x, int y, int width, int height) {
  if (CWnd* child = GetDlgItem(static_cast<int>(id)))
    child->MoveWindow(x, y, std::max(width, 0), std::max(height, 0), FALSE);
}

void CPlacardView::RecalcLayout(int cx, int cy) {
  if (!m_list.m_hWnd)
    return;
  constexpr int kMargin = 10;
  constexpr int kGap = 5;
  constexpr UINT kButtons[] = {kWriteButton, kSendButton, kModifyButton, kDeleteButton,
                               kSearchButton, kNextPageButton, kCancelButton};
  constexpr int kNarrowestButton = 64;
  constexpr int kButtonCount = static_cast<int>(std::size(kButtons));
  if (m_nButtonWidth == 0)
    m_nButtonWidth = ChildRect(kWriteButton).Width();
  const CRect field = ChildRect(kNumberEdit);
  const CRect label = ChildRect(kContentsLabel);
  // The row of buttons narrows with the view down to a width that still shows their captions;
  // below that the view scrolls rather than squeezing its parts out of sight.
  const int minWidth = kButtonCount * (kNarrowestButton + kGap) - kGap + 2 * kMargin;
  const int fitted = (std::max(cx, minWidth) - 2 * kMargin - (kButtonCount - 1) * kGap) / kButtonCount;
  const CRect button(0, 0, std::clamp(fitted, kNarrowestButton, std::max(m_nButtonWidth, kNarrowestButton)),
                     ChildRect(kWriteButton).Height());
  const int fieldRows = 2 * (field.Height() + kGap) + label.Height() + 2;
  const int minHeight = 2 * kMargin + 60 + kGap + fieldRows + 40 + kGap + button.Height();
  SetScrollSizes(MM_TEXT, SIZE{minWidth, minHeight});
  const CPoint origin = GetScrollPosition();
  const int width = std::max(cx, minWidth);
  const int height = std::max(cy, minHeight);
  const int left = kMargin - origin.x;
  const int inner = width - 2 * kMargin;

  // The buttons along the bottom; the list and the contents share what is left above them.
  const int buttonTop = height - kMargin - button.Height() - origin.y;
  for (std::size_t i = 0; i < std::size(kButtons); ++i)
    MoveChild(kButtons[i], left + static_cast<int>(i) * (button.Width() + kGap), buttonTop, button.Width(),
              button.Height());
  const int top = kMargin - origin.y;
  const int flexible = buttonTop - kGap - top - kGap - fieldRows;
  const int listHeight = std::max(60, flexible / 2);
  m_list.MoveWindow(left, top, inner, listHeight, FALSE);

  // One row of number, author and date, each label before its box.
  int y = top + listHeight + kGap;
  const int labelDrop = (field.Height() - label.Height()) / 2;
  int x = left;
  const std::pair<UINT, UINT> row[] = {{kNumberLabel, kNumberEdit}, {kAuthorLabel, kAuthorEdit}, {kDateLabel, kDateEdit}};
  for (const auto& [labelId, editId] : row) {
    const CRect caption = ChildRect(labelId);
    const CRect box = ChildRect(editId);
    MoveChild(labelId, x, y + labelDrop, caption.Width(), caption.Height());
    x += caption.Width() + kGap;
    MoveChild(editId, x, y, box.Width(), box.Height());
    x += box.Width() + 2 * kGap;
  }
  y += field.Height() + kGap;
  const CRect titleCaption = ChildRect(kTitleLabel);
  MoveChild(kTitleLabel, left, y + labelDrop, titleCaption.Width(), titleCaption.Height());
  const int titleLeft = left + std::max(titleCaption.Width(), ChildRect(kNumberLabel).Width()) + kGap;
  MoveChild(kTitleEdit, titleLeft, y, left + inner - titleLeft, field.Height());
  y += field.Height() + kGap;
  MoveChild(kContentsLabel, left, y, label.Width(), label.Height());
  y += label.Height() + 2;
  MoveChild(kContentsEdit, left, y, inner, buttonTop - kGap - y);
  Invalidate();
}

void CPlacardView::SetEditMode(BOOL editing) {
  for (UINT id : {kTitleEdit, kContentsEdit})
    if (CWnd* edit = GetDlgItem(static_cast<int>(id)))
      edit->SendMessage(EM_SETREADONLY, editing ? FALSE : TRUE);
}

void CPlacardView::EnableButtons(BOOL write, BOOL send, BOOL modify, BOOL remove, BOOL cancel) {
  // Paging and searching would take the post being written away, so both are offered only with Write.
  const std::pair<UINT, BOOL> states[] = {{kWriteButton, write},     {kSendButton, send},
                                          {kModifyButton, modify},   {kDeleteButton, remove},
                                          {kCancelButton, cancel},   {kNextPageButton, write},
                                          {kSearchButton, write}};
  for (const auto& [id, enabled] : states)
    if (CWnd* button = GetDlgItem(static_cast<int>(id)))
      button->EnableWindow(enabled);
}

void CPlacardView::ClearPost() {
  m_strContents.Empty();
  m_strDate.Empty();
  m_strAuthor.Empty();
  m_strTitle.Empty();
  m_strNumber.Empty();
  m_nEditMode = 0;
  m_bEditing = FALSE;
  UpdateData(FALSE);
}

void CPlacardView::ReturnToReading() {
  ClearPost();
  SetEditMode(FALSE);
  EnableButtons(TRUE, FALSE, FALSE, FALSE, FALSE);
}

BOOL CPlacardView::IsOwnPost() const {
  CCommunityHost* frame = GetFrame();
  return frame && !m_strAuthor.IsEmpty() && m_strAuthor == frame->GetUserId();
}

CString CPlacardView::BoardFields() const { return "|" + m_strForumId + "|" + m_strBoardCode; }

void CPlacardView::OnPostList(const CString& payload) {
  if (!m_bAppend && m_list.GetItemCount() > 0)
    m_list.DeleteAllItems();
  const CBoardPage page = CBoardPage::Parse(payload);
  m_strForumId = page.forumId;
  m_strBoardCode = page.boardCode;
  m_strNextKey = page.startKey;
  for (const CBoardPost& post : page.posts) {
    m_strNextKey = post.number;
    const int row = m_list.InsertItem(m_list.GetItemCount(), post.number);
    m_list.SetItemText(row, 1, post.author);
    m_list.SetItemText(row, 2, ListDate(post.date));
    m_list.SetItemText(row, 3, post.reads);
    m_list.SetItemText(row, 4, post.title);
  }
  m_bAppend = FALSE;
  m_bRequestPending = FALSE;
  CCommunityHost* frame = GetFrame();
  if (!frame)
    return;
  frame->EndWaitCapture();
  if (!m_bEditing)
    if (std::optional<CBoardDraft> draft = frame->TakeBoardDraft(m_strForumId, m_strBoardCode))
      ResumeDraft(*draft);
}

std::optional<CBoardDraft> CPlacardView::TakeDraft() {
  if (!m_bEditing || m_nEditMode == 0)
    return std::nullopt;
  UpdateData(TRUE);
  return CBoardDraft{m_strForumId, m_strBoardCode, m_strNumber, m_strTitle, m_strContents, m_nEditMode};
}

void CPlacardView::ResumeDraft(const CBoardDraft& draft) {
  if (draft.editMode == kModifyPost) {
    m_strNumber = draft.number;
    m_strAuthor = GetFrame() ? GetFrame()->GetUserId() : CString();
    OnModify();
  } else {
    OnWrite();
  }
  m_strTitle = draft.title;
  m_strContents = draft.contents;
  UpdateData(FALSE);
}

void CPlacardView::OnPostText(const CString& payload) {
  if (m_bEditing)
    return;
  CFieldTokenizer fields(payload);
  SetEditMode(FALSE);
  m_strNumber = fields.GetField(2);
  m_strAuthor = fields.GetField(3);
  const CString date = fields.GetField(4);
  m_strDate = date.Mid(0, 4) + ": " + date.Mid(4, 2) + ": " + date.Mid(6, 2) + " ";
  m_strTitle = fields.GetField(6);
  m_strContents = fields.GetField(7);
  m_bEditing = FALSE;
  m_nEditMode = 0;
  UpdateData(FALSE);
  const BOOL own = IsOwnPost();
  EnableButtons(TRUE, FALSE, own, own, FALSE);
}

void CPlacardView::RequestFirstPage() {
  m_bAppend = FALSE;
  if (CCommunityHost* frame = GetFrame())
    frame->SendForumRequest10(BoardFields() + "|-1|10|" + m_strSearchKey + "|" + m_strSearchText + "|");
}

void CPlacardView::OnPostAdded() { RequestFirstPage(); }

void CPlacardView::OnPostDeleted() { RequestFirstPage(); }

void CPlacardView::OnReadCount(const CString& payload) {
  CFieldTokenizer fields(payload);
  const CString number = fields.GetField(2);
  for (int row = 0; row < m_list.GetItemCount(); ++row)
    if (m_list.GetItemText(row, 0) == number) {
      m_list.SetItemText(row, 3, fields.GetField(5));
      m_list.SetItemText(row, 4, fields.GetField(6));
    }
}

void CPlacardView::OpenSelectedPost() {
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  CCommunityHost* frame = GetFrame();
  if (row >= 0 && frame && !m_bEditing)
    frame->SendForumRequest(11, BoardFields() + "|" + m_list.GetItemText(row, 0) + "|");
}

void CPlacardView::OnListDblClk(NMHDR*, LRESULT* result) {
  OpenSelectedPost();
  *result = 0;
}

void CPlacardView::Search(const CString& key, const CString& text) {
  if (m_bEditing)
    return;
  m_strSearchKey = key;
  m_strSearchText = text;
  ReturnToReading();
  RequestFirstPage();
}

void CPlacardView::OnSearchButton() {
  if (m_bEditing)
    return;
  CSearchBulletinDlg dialog(this);
  const HWND self = m_hWnd;
  // A connection lost while the dialog is open replaces this view with the start view.
  if (dialog.DoModal() != IDOK || !::IsWindow(self))
    return;
  CString key;
  CString text;
  dialog.GetSearch(key, text);
  Search(key, text);
}

void CPlacardView::OnWrite() {
  // Write again while writing would start the post anew over what was typed.
  if (m_bEditing)
    return;
  SetEditMode(TRUE);
  m_bEditing = TRUE;
  EnableButtons(FALSE, TRUE, FALSE, FALSE, TRUE);
  char date[64];
  const std::time_t now = std::time(nullptr);
  std::strftime(date, sizeof date, Cp949("%Y년 %m월 %d일"), std::localtime(&now));
  m_strDate = date;
  m_strAuthor = GetFrame() ? GetFrame()->GetUserId() : CString();
  m_strTitle.Empty();
  m_strContents.Empty();
  m_strNumber.Empty();
  UpdateData(FALSE);
  if (CWnd* title = GetDlgItem(static_cast<int>(kTitleEdit)))
    title->SetFocus();
  m_nEditMode = kNewPost;
}

void CPlacardView::OnModify() {
  if (!IsOwnPost() || m_bEditing)
    return;
  m_bEditing = TRUE;
  SetEditMode(TRUE);
  EnableButtons(FALSE, TRUE, FALSE, FALSE, TRUE);
  if (CWnd* contents = GetDlgItem(static_cast<int>(kContentsEdit)))
    contents->SetFocus();
  m_nEditMode = kModifyPost;
}

void CPlacardView::OnSend() {
  UpdateData(TRUE);
  if (m_strTitle.IsEmpty()) {
    ::MessageBox(m_hWnd, "Title is empty.\nYou must enter title.", "", MB_OK);
    return;
  }
  if (m_strContents.IsEmpty()) {
    ::MessageBox(m_hWnd, "Contents is empty.\nYou must enter contents.", "", MB_OK);
    return;
  }
  if (m_nEditMode == 0 || ::MessageBox(m_hWnd, "Do you wish to send?", "Confirm", MB_YESNO) != IDYES)
    return;
  if (CCommunityHost* frame = GetFrame()) {
    if (m_nEditMode == kNewPost)
      frame->SendForumRequest(12, BoardFields() + "|" + RemoveSeparators(m_strTitle) + "|" +
                                      RemoveSeparators(m_strContents) + "|");
    else
      frame->SendForumRequest(14, BoardFields() + "|" + m_strNumber + "|" + RemoveSeparators(m_strTitle) + "|" +
                                      RemoveSeparators(m_strContents) + "|");
  }
  ReturnToReading();
}

void CPlacardView::OnDelete() {
  if (!IsOwnPost() || m_bEditing || ::MessageBox(m_hWnd, "Do you wish to delete?", "Confirm", MB_YESNO) != IDYES)
    return;
  if (CCommunityHost* frame = GetFrame())
    frame->SendForumRequest(13, BoardFields() + "|" + m_strNumber + "|");
  ReturnToReading();
}

void CPlacardView::OnCancelPost() { ReturnToReading(); }

void CPlacardView::OnNextPage() {
  // A post being written or modified is never cleared by paging: the page waits for Send or Cancel.
  if (m_bEditing)
    return;
  if (m_strNextKey == "1") {
    // The oldest post is shown: nothing more to ask for, and paging is not left locked.
    m_bAppend = FALSE;
    m_bRequestPending = FALSE;
    return;
  }
  CCommunityHost* frame = GetFrame();
  if (!frame || m_bRequestPending)
    return;
  ReturnToReading();
  m_bAppend = TRUE;
  m_bRequestPending = TRUE;
  frame->BeginWaitCapture();
  const CString key = SteppedNumberText(m_strNextKey, -1);
  frame->SendForumRequest10(BoardFields() + "|" + key + "|10|" + m_strSearchKey + "|" + m_strSearchText + "|");
}

LRESULT CPlacardView::OnListScroll(WPARAM code, LPARAM position) {
  BOOL captureAfterFill = FALSE;  // the board keeps no capture past its page
  if (m_bEditing)
    return 0;
  PageOnScroll(m_list, static_cast<UINT>(code), static_cast<int>(position), m_bRequestPending, captureAfterFill,
               [this] { OnNextPage(); });
  return 0;
}

void CPlacardView::OnColumnClick(NMHDR* header, LRESULT* result) {
  *result = 0;
  const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
  if (column < 0 || column >= 5 || m_list.GetItemCount() == 0)
    return;
  const bool ascending = m_sort.Click(column);
  int kind = CListSorter::kText;
  if (column == 0 || column == 3)
    kind = CListSorter::kWholeNumber;
  else if (column == 2)
    kind = CListSorter::kDate;
  {
    CListSorter sorter(m_list, column);
    sorter.Sort(ascending ? TRUE : FALSE, kind);
  }
  m_sort.ShowMarks(m_list);
}

BOOL CPlacardView::PreTranslateMessage(MSG* msg) {
  if (msg && msg->message == WM_CHAR) {
    const HWND title = ::GetDlgItem(m_hWnd, static_cast<int>(kTitleEdit));
    const HWND contents = ::GetDlgItem(m_hWnd, static_cast<int>(kContentsEdit));
    if ((msg->hwnd == title || msg->hwnd == contents) && (!m_bEditing || IsSeparatorKeyForEdit(msg)))
      return TRUE;
  }
  if (msg && msg->hwnd == m_list.m_hWnd && msg->message == WM_KEYUP && msg->wParam == VK_DOWN &&
      m_list.GetItemCount() > 0 && m_list.GetNextItem(-1, LVNI_SELECTED) == m_list.GetItemCount() - 1) {
    OnNextPage();
    return TRUE;
  }
  return CFormView::PreTranslateMessage(msg);
}
