#include "orvanta/lobby/SearchGiboDlg.h"

#include <algorithm>

#include <platform/ddx.h>

#include "orvanta/lobby/LobbyText.h"
#include "orvanta/lobby/ServerGrade.h"

namespace {

using platform::VisibleItem;

const char* const kKindLabels[5] = {"Search Total", "Search by ID", "Search by Name", "Search by Grade",
                                    "Search by Date"};

}  // namespace

BEGIN_MESSAGE_MAP(CSearchGiboDlg, CDialog)
  ON_CONTROL_RANGE(BN_CLICKED, 1135, 1137, OnKind)
  ON_CONTROL_RANGE(BN_CLICKED, 1087, 1087, OnKind)
  ON_CONTROL_RANGE(BN_CLICKED, 1239, 1239, OnKind)
  ON_CBN_EDITCHANGE(CSearchGiboDlg::kFirstGradeCombo, OnComboEdit)
  ON_CBN_EDITCHANGE(CSearchGiboDlg::kSecondGradeCombo, OnComboEdit)
  ON_CBN_EDITCHANGE(CSearchGiboDlg::kBothCombo, OnComboEdit)
END_MESSAGE_MAP()

platform::DialogTemplate CSearchGiboDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 250;
  t.cy = 140;
  t.caption = "Search Play Records";
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items.push_back(VisibleItem("Button", kOptionsFrame, 6, 4, 238, 108, BS_GROUPBOX, "Search Options"));
  for (int i = 0; i < 5; ++i)
    t.items.push_back(VisibleItem("Button", kKindRadios[i], 14, 16 + i * 19, 76, 10,
                                  BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0), kKindLabels[i]));
  const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP;
  const DWORD combo = CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
  t.items.push_back(VisibleItem("Edit", kIdEdit, 96, 33, 80, 12, edit));
  t.items.push_back(VisibleItem("Edit", kNameEdit, 96, 52, 80, 12, edit));
  t.items.push_back(VisibleItem("ComboBox", kFirstGradeCombo, 96, 71, 40, 120, combo));
  t.items.push_back(VisibleItem("ComboBox", kSecondGradeCombo, 140, 71, 40, 120, combo));
  t.items.push_back(VisibleItem("ComboBox", kBothCombo, 184, 71, 40, 60, combo));
  t.items.push_back(VisibleItem("SysDateTimePick32", kFirstDate, 96, 90, 66, 12, WS_TABSTOP | WS_GROUP));
  t.items.push_back(VisibleItem("SysDateTimePick32", kSecondDate, 168, 90, 66, 12, WS_TABSTOP));
  t.items.push_back(VisibleItem("Button", IDOK, 60, 120, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"));
  t.items.push_back(VisibleItem("Button", IDCANCEL, 140, 120, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"));
  return t;
}

CString CSearchGiboDlg::BuildQuery(int kind, const CString& id, const CString& name, const CString& firstGrade,
                                   const CString& secondGrade, BOOL both, const CTime& firstDate,
                                   const CTime& secondDate, const CString& previous) {
  switch (kind) {
    case kTotal: return CString();
    // Typed or pasted, a separator would split the query's fields.
    case kById: return "|LI|" + RemoveSeparators(id) + "|";
    case kByName: return "|LN|" + RemoveSeparators(name) + "|";
    case kByGrade: {
      const int a = ServerGradeNumber(firstGrade);
      const int b = ServerGradeNumber(secondGrade);
      CString query;
      query.Format("|LK|%s|%d|%d|", both ? "A" : "O", std::min(a, b), std::max(a, b));
      return query;
    }
    case kByDate: {
      const bool inOrder = firstDate.GetTime() <= secondDate.GetTime();
      const CTime& earlier = inOrder ? firstDate : secondDate;
      const CTime& later = inOrder ? secondDate : firstDate;
      return "|LD|" + earlier.Format("%Y%m%d") + "|" + later.Format("%Y%m%d") + "|";
    }
    default: return previous;
  }
}

BOOL CSearchGiboDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  int count = 0;
  const char* const* grades = ServerGradeTexts(count);
  for (UINT id : {kFirstGradeCombo, kSecondGradeCombo})
    if (CWnd* combo = GetDlgItem(static_cast<int>(id)))
      for (int i = 0; i < count; ++i) combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(grades[i]));
  m_bothCombo.AddString("Both");
  m_bothCombo.AddString("One");
  m_bothCombo.SetCurSel(0);
  m_nKind = kTotal;
  UpdateData(FALSE);
  EnableInputs();
  return TRUE;
}

void CSearchGiboDlg::EnableInputs() {
  const auto enable = [this](UINT id, bool on) {
    if (CWnd* control = GetDlgItem(static_cast<int>(id)))
      control->EnableWindow(on);
  };
  enable(kIdEdit, m_nKind == kById);
  enable(kNameEdit, m_nKind == kByName);
  for (UINT id : {kFirstGradeCombo, kSecondGradeCombo, kBothCombo}) enable(id, m_nKind == kByGrade);
  for (UINT id : {kFirstDate, kSecondDate}) enable(id, m_nKind == kByDate);
  const UINT focus = m_nKind == kById ? kIdEdit : m_nKind == kByName ? kNameEdit : 0;
  if (CWnd* edit = focus ? GetDlgItem(static_cast<int>(focus)) : nullptr) {
    edit->SetFocus();
    edit->SendMessage(EM_SETSEL, 0, -1);
  }
}

void CSearchGiboDlg::OnKind(UINT) {
  UpdateData(TRUE);
  EnableInputs();
}

// Only choices from the lists count: typing is undone at once.
void CSearchGiboDlg::OnComboEdit() {
  // Loading the controls changes the lists' texts again; that change is not the user's.
  if (m_bReloading)
    return;
  m_bReloading = TRUE;
  UpdateData(FALSE);
  m_bReloading = FALSE;
}

void CSearchGiboDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Control(dx, static_cast<int>(kBothCombo), m_bothCombo);
  DDX_Control(dx, static_cast<int>(kFirstDate), m_firstDate);
  DDX_Control(dx, static_cast<int>(kSecondDate), m_secondDate);
  DDX_Text(dx, static_cast<int>(kIdEdit), m_strId);
  DDV_MaxChars(dx, m_strId, 10);
  DDX_Text(dx, static_cast<int>(kNameEdit), m_strName);
  DDV_MaxChars(dx, m_strName, 30);
  DDX_CBString(dx, static_cast<int>(kFirstGradeCombo), m_strFirstGrade);
  DDX_CBString(dx, static_cast<int>(kSecondGradeCombo), m_strSecondGrade);
  DDX_Radio(dx, static_cast<int>(kKindRadios[0]), m_nKind);
}

void CSearchGiboDlg::OnOK() {
  if (!UpdateData(TRUE))
    return;
  CTime first = CTime::GetCurrentTime();
  CTime second = first;
  m_firstDate.GetTime(first);
  m_secondDate.GetTime(second);
  m_strQuery = BuildQuery(m_nKind, m_strId, m_strName, m_strFirstGrade, m_strSecondGrade,
                          m_bothCombo.GetCurSel() == 0, first, second, m_strQuery);
  EndDialog(IDOK);
}
