#include "orvanta/lobby/SearchBulletinDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>
#include <platform/time.h>

#include "orvanta/lobby/LobbyText.h"

namespace {

using platform::VisibleItem;

const char* const kKindLabels[4] = {"Total", "Title", "ID", "Date"};
constexpr UINT kDateEdits[6] = {CSearchBulletinDlg::kFirstYear,  CSearchBulletinDlg::kFirstMonth,
                                CSearchBulletinDlg::kFirstDay,   CSearchBulletinDlg::kSecondYear,
                                CSearchBulletinDlg::kSecondMonth, CSearchBulletinDlg::kSecondDay};

}  // namespace

BEGIN_MESSAGE_MAP(CSearchBulletinDlg, CDialog)
  ON_CONTROL_RANGE(BN_CLICKED, 1389, 1392, OnKind)
END_MESSAGE_MAP()

platform::DialogTemplate CSearchBulletinDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 236;
  t.cy = 112;
  t.caption = "Search Bullutin";
  t.fontName = "Arial";
  t.fontSize = 9;
  const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP;
  for (int i = 0; i < 4; ++i)
    t.items.push_back(VisibleItem("Button", kKindRadios[i], 8, 8 + i * 18, 36, 10,
                                  BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0), kKindLabels[i]));
  t.items.push_back(VisibleItem("Edit", kTitleEdit, 50, 24, 178, 12, edit));
  t.items.push_back(VisibleItem("Edit", kIdEdit, 50, 42, 80, 12, edit));
  // Two dates, each year "---" month "Mon" day "Day".
  for (int d = 0; d < 2; ++d) {
    const int y = 60 + d * 16;
    t.items.push_back(VisibleItem("Edit", kDateEdits[d * 3], 50, y, 30, 12, edit));
    t.items.push_back(VisibleItem("Static", 0xFFFF, 82, y + 2, 14, 9, SS_LEFT, "---"));
    t.items.push_back(VisibleItem("Edit", kDateEdits[d * 3 + 1], 98, y, 20, 12, edit));
    t.items.push_back(VisibleItem("Static", 0xFFFF, 120, y + 2, 20, 9, SS_LEFT, "Mon"));
    t.items.push_back(VisibleItem("Edit", kDateEdits[d * 3 + 2], 142, y, 20, 12, edit));
    t.items.push_back(VisibleItem("Static", 0xFFFF, 164, y + 2, 20, 9, SS_LEFT, "Day"));
  }
  t.items.push_back(VisibleItem("Button", IDOK, 60, 94, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"));
  t.items.push_back(VisibleItem("Button", IDCANCEL, 126, 94, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"));
  return t;
}

BOOL CSearchBulletinDlg::OnInitDialog() {
  const CTime today = CTime::GetCurrentTime();
  m_strFirstYear = m_strSecondYear = today.Format("%Y");
  m_strFirstMonth = m_strSecondMonth = today.Format("%m");
  m_strFirstDay = m_strSecondDay = today.Format("%d");
  m_nKind = kTotal;
  CDialog::OnInitDialog();
  EnableInputs();
  return TRUE;
}

void CSearchBulletinDlg::EnableInputs() {
  const auto enable = [this](UINT id, bool on) {
    if (CWnd* control = GetDlgItem(static_cast<int>(id)))
      control->EnableWindow(on);
  };
  enable(kTitleEdit, m_nKind == kByTitle);
  enable(kIdEdit, m_nKind == kById);
  for (UINT id : kDateEdits) enable(id, m_nKind == kByDate);
}

void CSearchBulletinDlg::OnKind(UINT) {
  UpdateData(TRUE);
  EnableInputs();
}

void CSearchBulletinDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Radio(dx, static_cast<int>(kKindRadios[0]), m_nKind);
  DDX_Text(dx, static_cast<int>(kFirstDay), m_strFirstDay);
  DDX_Text(dx, static_cast<int>(kFirstMonth), m_strFirstMonth);
  DDX_Text(dx, static_cast<int>(kFirstYear), m_strFirstYear);
  DDX_Text(dx, static_cast<int>(kIdEdit), m_strId);
  DDX_Text(dx, static_cast<int>(kSecondDay), m_strSecondDay);
  DDX_Text(dx, static_cast<int>(kSecondMonth), m_strSecondMonth);
  DDX_Text(dx, static_cast<int>(kSecondYear), m_strSecondYear);
  DDX_Text(dx, static_cast<int>(kTitleEdit), m_strTitle);
}

void CSearchBulletinDlg::OnOK() {
  if (!UpdateData(TRUE))
    return;
  // A search without its text stays open.
  if (m_nKind == kByTitle && m_strTitle.IsEmpty())
    return;
  if (m_nKind == kById && m_strId.IsEmpty())
    return;
  if (m_nKind == kByDate)
    for (const CString* text : {&m_strFirstYear, &m_strFirstMonth, &m_strFirstDay, &m_strSecondYear,
                                &m_strSecondMonth, &m_strSecondDay})
      if (text->IsEmpty())
        return;
  m_bAccepted = TRUE;
  EndDialog(IDOK);
}

void CSearchBulletinDlg::GetSearch(CString& key, CString& text) const {
  switch (m_nKind) {
    case kByTitle:
      key = "LT";
      text = RemoveSeparators(m_strTitle) + "|";
      break;
    case kById:
      key = "LI";
      text = RemoveSeparators(m_strId) + "|";
      break;
    case kByDate:
      key = "LD";
      text = m_strFirstYear + m_strFirstMonth + m_strFirstDay + "|" + m_strSecondYear + m_strSecondMonth + m_strSecondDay;
      break;
    default:
      key = "LS";
      text = "|";
      break;
  }
}
