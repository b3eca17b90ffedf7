#include "orvanta/lobby/MemoBoxDlg.h"

#include <cstdlib>

#include <platform/ddx.h>
#include <platform/menus.h>
#include <platform/msgbox.h>

#include "orvanta/lobby/ListSorter.h"
#include "orvanta/lobby/SendMessageDlg.h"

namespace {

constexpr const char* kFirstTip = "You can read a saved message by selecting the item.";
constexpr const char* kTips[] = {
    "If you check the box, the memo will be saved.",
    "You can reply by double clicking the item.",
    "Click mouse right button to see menu.",
    "You can read a saved message by selecting the item.",
};

}  // namespace

BEGIN_MESSAGE_MAP(CMemoBoxDlg, CDialog)
  ON_WM_TIMER()
  ON_WM_CONTEXTMENU()
  ON_BN_CLICKED(CMemoBoxDlg::kOkButton, OnHide)
  ON_NOTIFY(NM_CLICK, CMemoBoxDlg::kMemoList, OnListClick)
  ON_NOTIFY(LVN_ITEMCHANGED, CMemoBoxDlg::kMemoList, OnSelectionChanged)
  ON_NOTIFY(NM_DBLCLK, CMemoBoxDlg::kMemoList, OnListDblClk)
  ON_NOTIFY(LVN_COLUMNCLICK, CMemoBoxDlg::kMemoList, OnColumnClick)
  ON_COMMAND(CMemoBoxDlg::kReplyCommand, OnReply)
  ON_COMMAND(CMemoBoxDlg::kDeleteCommand, OnDelete)
  ON_COMMAND(CMemoBoxDlg::kDeleteAllCommand, OnDeleteAll)
END_MESSAGE_MAP()

CMemoBoxDlg::CMemoBoxDlg(CWnd* parent, const CString& path) : CDialog(kTemplateId, parent), m_strPath(path) {}

platform::DialogTemplate CMemoBoxDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 250;
  t.cy = 230;
  t.caption = "Memo Box";
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("SysListView32", kMemoList, 6, 6, 238, 110,
                            LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
      platform::VisibleItem("Edit", kContentsEdit, 6, 122, 238, 70,
                            ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_BORDER),
      platform::VisibleItem("Static", kTipLine, 6, 196, 238, 10, SS_LEFT, kFirstTip),
      platform::VisibleItem("Static", 0xFFFF, 6, 212, 170, 10, SS_LEFT, "Checked, Message will be saved."),
      platform::VisibleItem("Button", kOkButton, 190, 209, 54, 16, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"),
  };
  return t;
}

BOOL CMemoBoxDlg::CreateHidden(CWnd* parent) {
  if (!Create(kTemplateId, parent))
    return FALSE;
  ShowWindow(SW_HIDE);
  return TRUE;
}

BOOL CMemoBoxDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  for (int& flag : m_sortFlags) flag = 0;
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  m_list.InsertColumn(0, "", LVCFMT_CENTER, 25);
  m_list.InsertColumn(1, "Date", LVCFMT_CENTER, 140);
  m_list.InsertColumn(2, "ID", LVCFMT_LEFT, 90);
  m_list.InsertColumn(3, "Name", LVCFMT_RIGHT, 110);
  m_list.InsertColumn(4, "Contents", LVCFMT_LEFT, 0);
  LoadMemos();
  SetTip(kFirstTip);
  m_nTipTimer = SetTimer(kTipTimer, kTipPeriodMs);
  return TRUE;
}

void CMemoBoxDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Control(dx, static_cast<int>(kMemoList), m_list);
  DDX_Text(dx, static_cast<int>(kContentsEdit), m_strContents);
  DDX_Text(dx, static_cast<int>(kTipLine), m_strTip);
}

void CMemoBoxDlg::AddMemo(const CString& date, const CString& id, const CString& name, const CString& contents) {
  const int row = m_list.InsertItem(m_list.GetItemCount(), "");
  if (row < 0)
    return;
  m_list.SetItemText(row, 1, date);
  m_list.SetItemText(row, 2, id);
  m_list.SetItemText(row, 3, name);
  m_list.SetItemText(row, 4, contents);
}

void CMemoBoxDlg::SelectNewest() {
  const int count = m_list.GetItemCount();
  for (int i = 0; i < count; ++i) m_list.SetItemState(i, 0, LVIS_SELECTED);
  if (count > 0) {
    m_list.SetItemState(count - 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(count - 1, FALSE);
    ShowContents(count - 1);
  }
  m_list.SetFocus();
  Invalidate();
}

void CMemoBoxDlg::SaveMemos() {
  if (m_list.GetItemCount() > 0) {
    std::vector<CMemoEntry> kept;
    for (int i = 0; i < m_list.GetItemCount(); ++i)
      if (m_list.GetCheck(i))
        kept.push_back({m_list.GetItemText(i, 1), m_list.GetItemText(i, 2), m_list.GetItemText(i, 3),
                        m_list.GetItemText(i, 4)});
    CMemoFile::WriteText(m_strPath, CMemoFile::Compose(kept));
  }
  if (m_nTipTimer != 0) {
    if (m_hWnd)
      KillTimer(m_nTipTimer);
    m_nTipTimer = 0;
  }
}

void CMemoBoxDlg::LoadMemos() {
  m_list.DeleteAllItems();
  CString text;
  if (!CMemoFile::ReadText(m_strPath, text))
    return;
  for (const CMemoEntry& memo : CMemoFile::Parse(text)) {
    const int row = m_list.GetItemCount();
    AddMemo(memo.date, memo.id, memo.name, memo.contents);
    m_list.SetCheck(row, TRUE);
  }
}

void CMemoBoxDlg::OnCancel() { ShowWindow(SW_HIDE); }

void CMemoBoxDlg::OnHide() { ShowWindow(SW_HIDE); }

void CMemoBoxDlg::OnTimer(UINT_PTR id) {
  if (id != kTipTimer || !IsWindowEnabled())
    return;
  SetTip("");
  SetTip(kTips[std::rand() % 4]);
}

void CMemoBoxDlg::SetTip(const CString& tip) {
  m_strTip = tip;
  SetDlgItemText(static_cast<int>(kTipLine), tip);
}

void CMemoBoxDlg::OnContextMenu(CWnd*, CPoint point) {
  if (point.x == -1 && point.y == -1) {
    CRect window;
    GetWindowRect(&window);
    point = CPoint(window.left + 5, window.top + 5);
  }
  CRect listRect;
  m_list.GetWindowRect(&listRect);
  if (!listRect.PtInRect(point))
    return;
  CMenu menu;
  if (!menu.CreatePopupMenu())
    return;
  menu.AppendMenu(MF_STRING, kReplyCommand, "Reply Message");
  menu.AppendMenu(MF_STRING, kDeleteCommand, "Delete Message");
  menu.AppendMenu(MF_STRING, kDeleteAllCommand, "Delete All Message");
  CWnd* owner = this;
  while (owner->GetParent() && (owner->GetStyle() & WS_CHILD)) owner = owner->GetParent();
  menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, owner);
}

int CMemoBoxDlg::FirstSelected() const { return m_list.GetNextItem(-1, LVNI_SELECTED); }

void CMemoBoxDlg::ShowContents(int row) {
  m_strContents = row >= 0 ? m_list.GetItemText(row, 4) : CString();
  SetDlgItemText(static_cast<int>(kContentsEdit), m_strContents);
}

void CMemoBoxDlg::OnListClick(NMHDR*, LRESULT* result) {
  const int row = FirstSelected();
  if (row >= 0)
    ShowContents(row);
  *result = 0;
}

void CMemoBoxDlg::OnSelectionChanged(NMHDR* header, LRESULT* result) {
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
  if ((change->uChanged & LVIF_STATE) && (change->uNewState & ~change->uOldState & LVIS_SELECTED))
    ShowContents(change->iItem);
  *result = 0;
}

void CMemoBoxDlg::OnListDblClk(NMHDR*, LRESULT* result) {
  OnReply();
  *result = 0;
}

void CMemoBoxDlg::OnColumnClick(NMHDR* header, LRESULT* result) {
  const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
  *result = 0;
  if (column < 0 || column >= kColumns)
    return;
  const BOOL ascending = m_sortFlags[column] != 0;
  m_sortFlags[column] = !m_sortFlags[column];
  CListSorter sorter(m_list, column);
  sorter.Sort(ascending, column == 3 ? CListSorter::kWholeNumber : CListSorter::kText);
}

void CMemoBoxDlg::OnReply() {
  const int row = FirstSelected();
  if (row < 0)
    return;
  const CString sender = m_list.GetItemText(row, 2);
  CSendMessageDlg dialog(this);
  dialog.m_strReceiver = sender;
  // The answer always goes to the memo's sender, whatever the receiver box was changed to.
  if (dialog.DoModal() == IDOK && m_sendMemo)
    m_sendMemo(sender, dialog.m_strText);
  Invalidate();
}

void CMemoBoxDlg::OnDelete() {
  if (FirstSelected() < 0)
    return;
  if (::MessageBox(m_hWnd, "Do you wish to delete the selected message?", "Confirm", MB_YESNO) != IDYES)
    return;
  for (int row = m_list.GetItemCount() - 1; row >= 0; --row)
    if (m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED)
      m_list.DeleteItem(row);
  // A deleted memo's text never stays in the pane as if it were still there.
  ShowContents(FirstSelected());
  Invalidate();
}

void CMemoBoxDlg::OnDeleteAll() {
  if (::MessageBox(m_hWnd, "Do you wish to delete all memos?", "Confirm", MB_YESNO) == IDYES) {
    m_list.DeleteAllItems();
    ShowContents(-1);
  }
}
