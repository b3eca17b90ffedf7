#include "client/app/AboutDlg.h"

#include <vector>

#include "client/widgets/TextUtilities.h"
#include "client/resources/ClientIds.h"
#include "platform/controls.h"
#include "platform/gdi.h"

namespace {

// An icon showing the whole of the program's picture; null when the picture is missing.
HICON MakeProgramIcon() {
  CBitmap picture;
  if (!picture.LoadBitmap(IDB_PROGRAM_ICON)) return nullptr;
  BITMAP info{};
  picture.GetBitmap(&info);
  // An all-zero mask: every pixel of the picture is shown.
  const std::vector<unsigned char> clear(static_cast<std::size_t>((info.bmWidth + 15) / 16 * 2 * info.bmHeight), 0);
  CBitmap mask;
  if (!mask.CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, clear.data())) return nullptr;
  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmMask = static_cast<HBITMAP>(mask);
  icon.hbmColor = static_cast<HBITMAP>(picture);
  return ::CreateIconIndirect(&icon);
}

}  // namespace

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

CAboutDlg::~CAboutDlg() {
  if (m_icon) ::DestroyIcon(m_icon);
}

BOOL CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CString text;
  LoadUiText("Ondrivo Client Information", text);
  SetWindowText(text);
  LoadUiText("Ondrivo Client Version 1.0", text);
  SetDlgItemText(IDC_ABOUT_VERSION, text);
  if (m_icon == nullptr) m_icon = MakeProgramIcon();
  SendDlgItemMessage(IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_icon), 0);
  return TRUE;
}
