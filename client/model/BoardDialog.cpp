#include "client/model/BoardDialog.h"

#include <algorithm>

#include "client/model/ViewMessages.h"
#include "platform/ddx.h"

namespace {

// Bitmaps of the buttons, in the order of the button members.
constexpr UINT kBitmaps[6] = {320, 323, 322, 321, 319, 324};

}  // namespace

CBoardDialog::CBoardDialog(UINT templateId, CWnd* ownerView, UINT numbersId, UINT closeId)
    : CDialog(templateId, ownerView), m_ownerView(ownerView), m_templateId(templateId), m_numbersId(numbersId),
      m_closeId(closeId) {}

BOOL CBoardDialog::CreateModeless(CWnd* ownerView) {
  m_ownerView = ownerView;
  const BOOL created = CDialog::Create(m_templateId, ownerView);
  if (created && ownerView) {
    CRect view;
    CRect mine;
    ownerView->GetWindowRect(&view);
    GetWindowRect(&mine);
    SetWindowPos(nullptr, view.right - mine.Width(), view.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  if (created) ShowWindow(SW_SHOW);
  return created;
}

void CBoardDialog::Close() { DestroyWindow(); }

void CBoardDialog::PostNcDestroy() { delete this; }

void CBoardDialog::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Text(dx, kMoveEdit, m_typedMove);
}

void CBoardDialog::LoadButtonBitmaps() {
  const UINT ids[6] = {kFirst, kPrevious, kNext, kLast, m_numbersId, m_closeId};
  for (int i = 0; i < 6; ++i) {
    CWnd* control = GetDlgItem(static_cast<int>(ids[i]));
    if (control == nullptr) continue;
    if (!m_buttons[i].GetSafeHwnd()) m_buttons[i].SubclassWindow(control->GetSafeHwnd());
    CBitmap probe;
    BITMAP size{};
    if (!probe.LoadBitmap(kBitmaps[i]) || !probe.GetBitmap(&size)) continue;
    m_buttons[i].LoadBitmaps(kBitmaps[i], size.bmWidth, size.bmHeight);
  }
}

BOOL CBoardDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
    const UINT id = LOWORD(wParam);
    if (id == kFirst) m_board.GoToFirst();
    else if (id == kPrevious) m_board.GoToPrevious();
    else if (id == kNext) m_board.GoToNext();
    else if (id == kLast) m_board.GoToLast();
    else if (id == m_numbersId) m_board.SetSequenceMode(!m_board.GetSequenceMode());
    else if (id == m_closeId) RequestClose();
    else return CDialog::OnCommand(wParam, lParam);
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CBoardDialog::RequestClose() {
  if (m_ownerView) m_ownerView->PostMessage(WM_DIALOG_CLOSED, m_templateId, 0);
}

void CBoardDialog::OnOK() {}

void CBoardDialog::OnCancel() { RequestClose(); }

BOOL CBoardDialog::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    CWnd* edit = GetDlgItem(kMoveEdit);
    if (edit && ::GetFocus() == edit->GetSafeHwnd()) {
      JumpToTypedMove();
      return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(msg);
}

void CBoardDialog::JumpToTypedMove() {
  UpdateData(TRUE);
  const int typed = std::max(m_typedMove, 0);
  const int base = m_board.GetBaseMove();
  const int reached = m_board.GoToMove(typed + base - 1);
  m_typedMove = reached - base + 1;
  UpdateData(FALSE);
}
