#include "orvanta/lobby/NegotiationDlg.h"

#include <cstdlib>

#include <platform/ddx.h>

#include "orvanta/lobby/NegotiationForm.h"
#include "orvanta/resources/LobbyBitmaps.h"

namespace {

constexpr int kFirstColumnWidth = 50;

using platform::VisibleItem;

constexpr DWORD kChoiceCombo = CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP | WS_GROUP;

bool OneOf(const CString& text, std::initializer_list<const char*> choices) {
  for (const char* choice : choices)
    if (text == choice)
      return true;
  return false;
}

}  // namespace

BEGIN_MESSAGE_MAP(CNegotiationDlg, CDialog)
  ON_BN_CLICKED(CNegotiationDlg::kEvenRadio, OnEven)
  ON_BN_CLICKED(CNegotiationDlg::kBlackRadio, OnBlack)
  ON_BN_CLICKED(CNegotiationDlg::kHandicapRadio, OnHandicap)
  ON_CBN_EDITCHANGE(CNegotiationDlg::kHandicapCombo, OnComboEdit)
  ON_CBN_EDITCHANGE(CNegotiationDlg::kTimeLimitCombo, OnComboEdit)
  ON_CBN_EDITCHANGE(CNegotiationDlg::kCountDownCombo, OnComboEdit)
  ON_CBN_EDITCHANGE(CNegotiationDlg::kIntervalCombo, OnComboEdit)
END_MESSAGE_MAP()

CNegotiationDlg::CNegotiationDlg(CWnd* parent)
    : CDialog(kTemplateId, parent), m_strInterval(Cp949("30초")), m_strTimeLimit(Cp949("30분")) {}

platform::DialogTemplate CNegotiationDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 260;
  t.cy = 214;
  t.caption = "Play Negotiation";
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      VisibleItem("Button", 1301, 6, 4, 248, 74, BS_GROUPBOX, "Opponent"),
      VisibleItem("SysListView32", kUserList, 12, 14, 236, 58,
                  LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
      VisibleItem("Button", kBlackColourRadio, 14, 84, 40, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Black"),
      VisibleItem("Button", kWhiteColourRadio, 58, 84, 40, 10, BS_AUTORADIOBUTTON, "White"),
      VisibleItem("Button", kAutoColourRadio, 102, 84, 40, 10, BS_AUTORADIOBUTTON, "Auto"),
      VisibleItem("Button", kRankingCheck, 160, 84, 80, 10, BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, "Apply Ranking"),
      VisibleItem("Button", 1300, 6, 98, 248, 30, BS_GROUPBOX, "Play Time"),
      VisibleItem("ComboBox", kTimeLimitCombo, 14, 110, 50, 120, kChoiceCombo),
      VisibleItem("ComboBox", kIntervalCombo, 70, 110, 50, 120, kChoiceCombo),
      VisibleItem("ComboBox", kCountDownCombo, 126, 110, 30, 120, kChoiceCombo),
      VisibleItem("Button", 1299, 6, 132, 248, 54, BS_GROUPBOX, "Play Condition"),
      VisibleItem("Button", kEvenRadio, 14, 144, 40, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Even"),
      VisibleItem("Button", kBlackRadio, 58, 144, 40, 10, BS_AUTORADIOBUTTON, "Black"),
      VisibleItem("Button", kHandicapRadio, 102, 144, 50, 10, BS_AUTORADIOBUTTON, "Handicap"),
      VisibleItem("Static", 0xFFFF, 14, 164, 30, 8, SS_LEFT | WS_GROUP, "Komi"),
      VisibleItem("Edit", kKomiEdit, 46, 162, 40, 12, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      VisibleItem("ComboBox", kHandicapCombo, 100, 162, 40, 120, kChoiceCombo),
      VisibleItem("Button", IDOK, 60, 194, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      VisibleItem("Button", IDCANCEL, 150, 194, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

void CNegotiationDlg::SetRoom(const Seat& first, const Seat& second, const std::vector<ObserverRow>& observers,
                              const CString& ownId) {
  m_seats[0] = first;
  m_seats[1] = second;
  m_observers = observers;
  m_strOwnId = ownId;
}

BOOL CNegotiationDlg::OnInitDialog() {
  FillNegotiationCombos(*this, 9);
  CDialog::OnInitDialog();
  if (m_userImages.Create(kUserImagesBitmap, kUserImageWidth, 0, kWhiteImageMask))
    m_list.SetImageList(&m_userImages, LVSIL_SMALL);
  m_list.InsertColumn(0, "Observers", LVCFMT_CENTER, kFirstColumnWidth);
  for (int i = 1; i <= 3; ++i) m_list.InsertColumn(i, "Grade", LVCFMT_CENTER, 40);
  FillList();
  // The first column names the players: it shows them whole, never narrower than its heading.
  if (m_list.GetItemCount() > 0) {
    m_list.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
    if (m_list.GetColumnWidth(0) < kFirstColumnWidth)
      m_list.SetColumnWidth(0, kFirstColumnWidth);
  }
  ApplyCondition(kEven);
  // The komi box has the keyboard; the dialog must not move it to its first stop.
  return FALSE;
}

void CNegotiationDlg::AddRow(const ObserverRow& row) {
  const int item = m_list.InsertItem(LVIF_TEXT | LVIF_STATE | LVIF_IMAGE, m_list.GetItemCount(), row[0],
                                     INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK, std::atoi(row[1]) - 1, 0);
  for (int column = 1; column < 5; ++column) m_list.SetItemText(item, column, row[column]);
}

void CNegotiationDlg::FillList() {
  if (!m_seats[0].name.IsEmpty()) {
    // The user sitting in one seat sees the other seat first.
    const Seat* other = nullptr;
    if (m_strOwnId == m_seats[1].name && m_seats[1].flag)
      other = &m_seats[0];
    else if (m_strOwnId == m_seats[0].name && m_seats[0].flag)
      other = &m_seats[1];
    // An empty seat has nobody to propose to: it is not offered.
    if (other && !other->name.IsEmpty())
      AddRow({other->name + "-" + other->second, other->number, other->name, CString(), other->second});
  }
  for (const ObserverRow& row : m_observers)
    if (row[2] != m_strOwnId)
      AddRow(row);
}

void CNegotiationDlg::Enable(UINT id, BOOL on) {
  if (CWnd* control = GetDlgItem(static_cast<int>(id)))
    control->EnableWindow(on);
}

void CNegotiationDlg::ApplyCondition(int condition) {
  UpdateData(TRUE);
  m_nCondition = condition;
  m_strHandicap = condition == kHandicap ? "2" : "0";
  m_fKomi = condition == kEven ? 6.5f : 0.0f;
  Enable(kHandicapCombo, condition == kHandicap);
  Enable(kAutoColourRadio, condition == kEven);
  Enable(kKomiEdit, condition == kEven);
  UpdateData(FALSE);
  if (condition == kEven)
    if (CWnd* komi = GetDlgItem(static_cast<int>(kKomiEdit))) {
      komi->SetFocus();
      komi->SendMessage(EM_SETSEL, 0, -1);
    }
}

void CNegotiationDlg::OnEven() { ApplyCondition(kEven); }
void CNegotiationDlg::OnBlack() { ApplyCondition(kBlack); }
void CNegotiationDlg::OnHandicap() { ApplyCondition(kHandicap); }

// Only choices from the lists count: typing is undone at once.
void CNegotiationDlg::OnComboEdit() {
  // Loading the controls changes the lists' texts again; that change is not the user's.
  if (m_bReloading)
    return;
  m_bReloading = TRUE;
  UpdateData(FALSE);
  m_bReloading = FALSE;
}

void CNegotiationDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Control(dx, static_cast<int>(kUserList), m_list);
  DDX_Radio(dx, static_cast<int>(kBlackColourRadio), m_nColour);
  DDX_CBString(dx, static_cast<int>(kIntervalCombo), m_strInterval);
  DDX_CBString(dx, static_cast<int>(kTimeLimitCombo), m_strTimeLimit);
  DDX_CBString(dx, static_cast<int>(kCountDownCombo), m_strCountDown);
  DDX_CBString(dx, static_cast<int>(kHandicapCombo), m_strHandicap);
  DDX_Text(dx, static_cast<int>(kKomiEdit), m_fKomi);
  DDX_Radio(dx, static_cast<int>(kEvenRadio), m_nCondition);
  DDX_Check(dx, static_cast<int>(kRankingCheck), m_nApplyRanking);
}

void CNegotiationDlg::OnOK() {
  if (!UpdateData(TRUE))
    return;
  if (!OneOf(m_strCountDown, {"1", "2", "3", "4", "5"}))
    m_strCountDown = "3";
  if (!OneOf(m_strInterval, {Cp949("20초"), Cp949("30초"), Cp949("40초"), Cp949("120초")}))
    m_strInterval = Cp949("60초");
  const int row = m_list.GetItemCount() == 1 ? 0 : m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row >= 0) {
    m_strOpponentNumber = m_list.GetItemText(row, 1);
    m_strOpponentId = m_list.GetItemText(row, 2);
  }
  UpdateData(FALSE);
  if (m_fKomi < 0.0f || m_fKomi > 15.5f)
    return;
  if (row < 0) {
    MessageBox("Please, select a user.", "Inform", MB_ICONEXCLAMATION);
    return;
  }
  EndDialog(IDOK);
}
