#include "orvanta/lobby/RankSelectDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>

#include "orvanta/lobby/ServerGrade.h"

namespace {

using platform::VisibleItem;

const char* const kKindLabels[8] = {"Rank in Total", "Grade(Total)", "Rank in Kiwon", "Grade(Kiwon)",
                                    "Max Player",    "Max Winner",   "Max Loser",     "Win Rate"};

}  // namespace

BEGIN_MESSAGE_MAP(CRankSelectDlg, CDialog)
  ON_CONTROL_RANGE(BN_CLICKED, 1156, 1159, OnKind)
  ON_CONTROL_RANGE(BN_CLICKED, 1411, 1414, OnKind)
  ON_CBN_EDITCHANGE(CRankSelectDlg::kTotalGradeCombo, OnComboEdit)
  ON_CBN_EDITCHANGE(CRankSelectDlg::kKiwonGradeCombo, OnComboEdit)
END_MESSAGE_MAP()

platform::DialogTemplate CRankSelectDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 226;
  t.cy = 120;
  t.caption = "Select Rank List";
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items.push_back(VisibleItem("Button", kOptionsFrame, 6, 4, 214, 88, BS_GROUPBOX, "Options"));
  for (int i = 0; i < 8; ++i) {
    const int column = i < 4 ? 0 : 1;
    const int row = i % 4;
    DWORD style = BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
    t.items.push_back(VisibleItem("Button", kKindRadios[i], 14 + column * 126, 16 + row * 18, 62, 10, style,
                                  kKindLabels[i]));
  }
  const DWORD combo = CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
  // Wide enough for the longest grade, "15K", beside the combo's button.
  t.items.push_back(VisibleItem("ComboBox", kTotalGradeCombo, 80, 32, 48, 120, combo));
  t.items.push_back(VisibleItem("ComboBox", kKiwonGradeCombo, 80, 68, 48, 120, combo));
  t.items.push_back(VisibleItem("Button", IDOK, 55, 100, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"));
  t.items.push_back(VisibleItem("Button", IDCANCEL, 121, 100, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"));
  return t;
}

BOOL CRankSelectDlg::OnInitDialog() {
  int count = 0;
  const char* const* grades = ServerGradeTexts(count);
  for (UINT id : {kTotalGradeCombo, kKiwonGradeCombo})
    if (CWnd* combo = GetDlgItem(static_cast<int>(id)))
      for (int i = 0; i < count; ++i) combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(grades[i]));
  CDialog::OnInitDialog();
  EnableCombos();
  return TRUE;
}

void CRankSelectDlg::EnableCombos() {
  if (CWnd* total = GetDlgItem(static_cast<int>(kTotalGradeCombo)))
    total->EnableWindow(m_nKind == kGradeTotal);
  if (CWnd* kiwon = GetDlgItem(static_cast<int>(kKiwonGradeCombo)))
    kiwon->EnableWindow(m_nKind == kGradeKiwon);
}

void CRankSelectDlg::OnKind(UINT) {
  UpdateData(TRUE);
  EnableCombos();
}

// Only a grade chosen from the list counts: typing is undone at once.
void CRankSelectDlg::OnComboEdit() {
  // Loading the controls changes the lists' texts again; that change is not the user's.
  if (m_bReloading)
    return;
  m_bReloading = TRUE;
  UpdateData(FALSE);
  m_bReloading = FALSE;
}

void CRankSelectDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Radio(dx, static_cast<int>(kKindRadios[0]), m_nKind);
  DDX_CBString(dx, static_cast<int>(kKiwonGradeCombo), m_strKiwonGrade);
  DDX_CBString(dx, static_cast<int>(kTotalGradeCombo), m_strTotalGrade);
}

void CRankSelectDlg::OnOK() {
  if (!UpdateData(TRUE))
    return;
  m_strGradeNumber.Empty();
  if (m_nKind == kGradeTotal)
    m_strGradeNumber.Format("%d", ServerGradeNumber(m_strTotalGrade));
  else if (m_nKind == kGradeKiwon)
    m_strGradeNumber.Format("%d", ServerGradeNumber(m_strKiwonGrade));
  EndDialog(IDOK);
}
