#include "orvanta/lobby/AssociationView.h"

#include <algorithm>
#include <cstdlib>

#include <platform/ddx.h>
#include <platform/frames.h>
#include <platform/gdi_dc.h>
#include <platform/msgbox.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/CommunityHost.h"
#include "orvanta/lobby/JoinSecedeDlg.h"
#include "orvanta/lobby/ListSorter.h"
#include "orvanta/lobby/ReportColumns.h"
#include "orvanta/lobby/SortImages.h"

namespace {

constexpr COLORREF kRowBackColour = 0xF7F7F7;
constexpr COLORREF kBackColour = 0xE8D8C8;
// Widths of the left edge and of the centre picture, which place the menu column.
constexpr int kEdgeWidth = 180;
// The forum list's distance from the view's left and its width, inside the left edge.
constexpr int kListMargin = 5;
constexpr int kListWidth = kEdgeWidth - 2 * kListMargin;
constexpr int kPictureWidth = 120;
constexpr int kButtonStep = 55;
constexpr int kButtonBend = 20;
constexpr int kCaptionMargin = 10;  // each side of a menu button's caption

CString MemberWord(BOOL joined) { return Cp949(joined ? "회원" : "비회원"); }

}  // namespace

IMPLEMENT_DYNCREATE(CAssociationView, CFormView)

BEGIN_MESSAGE_MAP(CAssociationView, CFormView)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_COMMAND_RANGE(CAssociationView::kFirstMenuCommand, CAssociationView::kLastMenuCommand, OnMenuCommand)
  ON_NOTIFY(NM_CLICK, CAssociationView::kForumList, OnListClick)
  ON_NOTIFY(NM_DBLCLK, CAssociationView::kForumList, OnListClick)
  ON_NOTIFY(LVN_COLUMNCLICK, CAssociationView::kForumList, OnColumnClick)
END_MESSAGE_MAP()

CAssociationView::CAssociationView() : CFormView(kTemplateId) {}

platform::DialogTemplate CAssociationView::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_CHILD | DS_CONTROL;
  // Fits the program's own 800x600 with its tool bar: the layout follows the view's size.
  t.cx = 440;
  t.cy = 230;
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("SysListView32", kForumList, 3, 30, 110, 300,
                            LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
  };
  return t;
}

void CAssociationView::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, static_cast<int>(kForumList), m_list); }

CCommunityHost* CAssociationView::GetFrame() const { return dynamic_cast<CCommunityHost*>(GetParentFrame()); }

void CAssociationView::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  ModifyStyle(0, WS_CLIPCHILDREN);
  m_forums.clear();
  m_menu.clear();
  m_strForumId = "-1";
  m_bSelectionEnabled = TRUE;
  if (!m_list.GetHeaderCtrl() || m_list.GetHeaderCtrl()->GetItemCount() == 0) {
    m_list.InsertColumn(0, "Status", LVCFMT_LEFT, 57);
    m_list.InsertColumn(1, "Name", LVCFMT_LEFT, 100);
  }
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  m_list.SetBkColor(kRowBackColour);
  AttachSortImages(m_list, m_sortImages);
  Layout();
  FitColumns();
}

void CAssociationView::FitColumns() {
  // The status column shows its heading beside the sort image whole; the names take the rest of
  // the list, which ends inside the left edge.
  WidenReportColumns(m_list, 1);
  CRect inside;
  m_list.GetClientRect(&inside);
  const int rest = inside.Width() - m_list.GetColumnWidth(0);
  if (rest > 0)
    m_list.SetColumnWidth(1, rest);
}

void CAssociationView::OnForumList(const CString& payload) {
  m_forums = ParseForumList(payload);
  for (const CForumRecord& forum : m_forums) {
    const int row = m_list.InsertItem(LVIF_TEXT | LVIF_STATE, m_list.GetItemCount(), MemberWord(forum.joined),
                                      INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK, 0, 0);
    m_list.SetItemText(row, 1, forum.name);
  }
  FitColumns();  // a scroll bar the rows bring narrows the list's inside
}

void CAssociationView::BuildForumMenu(const CString& payload) {
  m_menu.clear();
  for (auto& button : m_buttons) {
    if (m_toolTip.GetSafeHwnd())
      m_toolTip.DelTool(button.get());
    if (button->m_hWnd)
      button->DestroyWindow();
  }
  m_buttons.clear();
  InvalidateRect(&m_menuArea);
  const CForumMenu menu = ParseForumMenu(payload);
  m_strForumId = menu.forumId;
  m_strForumName = menu.forumName;
  if (CWnd* top = GetTopLevelParent())
    top->SetWindowText("Orvanta 1.5(" + menu.forumName + ")");
  m_menu = menu.entries;
  m_nButtonWidth = kButtonWidth;
  CClientDC dc(this);
  const auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  CFont* oldFont = font ? dc.SelectObject(CFont::FromHandle(font)) : nullptr;
  for (std::size_t i = 0; i < m_menu.size(); ++i) {
    auto button = std::make_unique<CButton>();
    const CRect rect(0, 0, kButtonWidth, kButtonHeight);
    if (!button->Create(m_menu[i].caption, WS_CHILD | BS_PUSHBUTTON, rect, this,
                        kFirstMenuCommand + static_cast<UINT>(i)))
      continue;
    if (font)
      button->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const CString& caption = m_menu[i].caption;
    if (m_toolTip.GetSafeHwnd() || m_toolTip.Create(this))
      m_toolTip.AddTool(button.get(), caption);
    // A caption wider than the button widens the whole column, so no caption is cut.
    m_nButtonWidth = std::max<int>(m_nButtonWidth, dc.GetTextExtent(caption, caption.GetLength()).cx + 2 * kCaptionMargin);
    m_buttons.push_back(std::move(button));
  }
  if (oldFont)
    dc.SelectObject(oldFont);
  Layout();
  for (auto& button : m_buttons) button->ShowWindow(SW_SHOW);
}

int CAssociationView::GetMenuOrigin() const {
  CRect client;
  GetClientRect(&client);
  return kPictureWidth + kEdgeWidth + (client.Width() - kPictureWidth - kEdgeWidth) / 4;
}

void CAssociationView::Layout() {
  CRect client;
  GetClientRect(&client);
  if (m_list.m_hWnd) {
    // The list stands on the left edge and ends inside it.
    m_list.MoveWindow(client.left + kListMargin, client.top + 49, kListWidth, std::max(0, client.Height() - 60));
  }
  const int n = static_cast<int>(m_buttons.size());
  if (n == 0 || m_strForumId == "-1")
    return;
  const int half = n / 2;
  const int origin = GetMenuOrigin();
  const int firstTop = (client.Height() - kButtonStep * n + 30) / 2 - 15;
  // The column bends out by one step for each button of the first half and back for the rest.
  int left = origin;
  for (int i = 0; i < n; ++i) {
    const bool secondHalf = i >= half;
    if (secondHalf && n % 2 == 0 && i > 0)
      left -= kButtonBend;
    m_buttons[static_cast<std::size_t>(i)]->MoveWindow(left, firstTop + kButtonStep * i, m_nButtonWidth, kButtonHeight);
    if (!secondHalf)
      left += kButtonBend;
    else if (n % 2 == 1)
      left -= kButtonBend;
  }
  m_menuArea = CRect(origin, firstTop, origin + kButtonBend * half + m_nButtonWidth, firstTop + kButtonStep * n + 25);
}

void CAssociationView::OnSize(UINT type, int cx, int cy) {
  CFormView::OnSize(type, cx, cy);
  Layout();
}

BOOL CAssociationView::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, kBackColour);
  CRect edge(0, 0, kEdgeWidth, client.bottom);
  dc->FillSolidRect(&edge, 0xB09070);
  return TRUE;
}

CForumRecord* CAssociationView::FindForum(int id) {
  for (CForumRecord& forum : m_forums)
    if (forum.id == id)
      return &forum;
  return nullptr;
}

void CAssociationView::SelectForum() {
  if (!m_bSelectionEnabled || m_list.GetItemCount() == 0)
    return;
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0)
    return;
  const CString name = m_list.GetItemText(row, 1);
  for (const CForumRecord& forum : m_forums) {
    if (forum.name != name)
      continue;
    CString id;
    id.Format("%d", forum.id);
    if (id == m_strForumId)
      return;
    m_strForumId = id;
    if (CCommunityHost* frame = GetFrame())
      frame->SendForumRequest2("|" + id + "|");
    return;
  }
}

void CAssociationView::OnListClick(NMHDR*, LRESULT* result) {
  SelectForum();
  *result = 0;
}

BOOL CAssociationView::PreTranslateMessage(MSG* msg) {
  if (msg && m_toolTip.GetSafeHwnd())
    m_toolTip.RelayEvent(msg);
  if (msg && msg->hwnd == m_list.m_hWnd && (msg->wParam == VK_UP || msg->wParam == VK_DOWN)) {
    if (msg->message == WM_KEYDOWN) {
      m_bSelectionEnabled = FALSE;
    } else if (msg->message == WM_KEYUP) {
      m_bSelectionEnabled = TRUE;
      SelectForum();
      return TRUE;
    }
  }
  if (msg && msg->hwnd == m_list.m_hWnd && msg->message == WM_KEYUP && msg->wParam == VK_RETURN)
    SelectForum();
  return CFormView::PreTranslateMessage(msg);
}

void CAssociationView::OnMenuCommand(UINT id) { RunMenuEntry(static_cast<int>(id - kFirstMenuCommand)); }

void CAssociationView::RunMenuEntry(int index) {
  if (index < 0 || index >= static_cast<int>(m_menu.size()))
    return;
  CForumRecord* forum = FindForum(std::atoi(m_strForumId));
  CCommunityHost* frame = GetFrame();
  if (!forum || !frame || m_strForumId == "-1")
    return;
  const CForumMenuEntry entry = m_menu[static_cast<std::size_t>(index)];
  CString code;
  code.Format("%d", entry.code);
  const CString idAndCode = "|" + m_strForumId + "|" + code + "|";
  switch (entry.kind) {
    case 1: {
      CJoinSecedeDlg dialog(this);
      dialog.SetMember(forum->joined);
      const INT_PTR result = dialog.DoModal();
      if (result == CJoinSecedeDlg::kJoinResult)
        frame->SendForumMembership(3, idAndCode);
      else if (result == CJoinSecedeDlg::kSecedeResult)
        frame->SendForumMembership(4, idAndCode);
      break;
    }
    case 2:
    case 4:
      if (!forum->joined) {
        ::MessageBox(m_hWnd, "If you join a forum, you can use this menu.", "", MB_OK);
        break;
      }
      frame->OpenForumBoard(m_strForumId, code, entry.target, forum->name, forum->joined);
      if (entry.kind == 2)
        frame->SendForumRequest10("|" + m_strForumId + "|" + code + "|-1|10|LS|||");
      else
        frame->EnterForumWaitingRoom(entry.target);
      break;
    default:
      break;
  }
}

void CAssociationView::OnJoinForum(const CString& payload) { SetMembership(payload, TRUE); }

void CAssociationView::OnSecedeForum(const CString& payload) { SetMembership(payload, FALSE); }

void CAssociationView::SetMembership(const CString& payload, BOOL joined) {
  CFieldTokenizer fields(payload);
  CForumRecord* forum = FindForum(std::atoi(fields.GetField(0)));
  if (!forum)
    return;
  forum->joined = joined;
  for (int row = 0; row < m_list.GetItemCount(); ++row)
    if (m_list.GetItemText(row, 1) == forum->name)
      m_list.SetItemText(row, 0, MemberWord(joined));
  const CString name = fields.GetField(2);
  ::MessageBox(m_hWnd, joined ? "You join " + name + "." : "You secede from " + name + ".", "", MB_OK);
}

void CAssociationView::OnColumnClick(NMHDR* header, LRESULT* result) {
  *result = 0;
  const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
  if (column < 0 || column >= 2 || m_list.GetItemCount() == 0)
    return;
  const bool ascending = m_sort.Click(column);
  {
    CListSorter sorter(m_list, column);
    sorter.Sort(ascending ? TRUE : FALSE, CListSorter::kText);
  }
  m_sort.ShowMarks(m_list);
}

CString CAssociationView::GetButtonTip(std::size_t i) const {
  CString text;
  if (i < m_buttons.size() && m_toolTip.GetSafeHwnd())
    m_toolTip.GetText(text, m_buttons[i].get());
  return text;
}
