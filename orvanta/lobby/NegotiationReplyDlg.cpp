#include "orvanta/lobby/NegotiationReplyDlg.h"

#include <cstdlib>

#include <platform/controls.h>
#include <platform/ddx.h>

#include "orvanta/connection/FieldTokenizer.h"

namespace {

using platform::VisibleItem;

constexpr UINT kLabel = 0xFFFF;
constexpr DWORD kEditCombo = CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP;

}  // namespace

BEGIN_MESSAGE_MAP(CNegotiationReplyDlg, CDialog)
  ON_BN_CLICKED(CNegotiationReplyDlg::kRenegoButton, OnRenego)
  ON_BN_CLICKED(CNegotiationReplyDlg::kEvenRadio, OnEven)
  ON_BN_CLICKED(CNegotiationReplyDlg::kBlackRadio, OnBlack)
  ON_BN_CLICKED(CNegotiationReplyDlg::kHandicapRadio, OnHandicap)
  ON_WM_TIMER()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CNegotiationReplyDlg::CNegotiationReplyDlg(const CString& text, const CString& ownNumber, const CString& ownId,
                                           int mode, int second)
    : CDialog(kTemplateId, nullptr),
      m_nMode(mode),
      m_nSecond(second),
      m_strProposal(text),
      m_strInterval(Cp949("30초")),
      m_strTimeLimit(Cp949("30분")),
      m_strOwnNumber(ownNumber),
      m_strOwnId(ownId) {}

platform::DialogTemplate CNegotiationReplyDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 260;
  t.cy = 210;
  t.caption = "Play Negotiation";
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      VisibleItem("Button", 1301, 6, 4, 248, 30, BS_GROUPBOX, "Opponent's Information"),
      VisibleItem("Edit", kOpponentIdEdit, 14, 16, 100, 12, ES_READONLY | ES_AUTOHSCROLL | WS_BORDER),
      VisibleItem("Edit", kOpponentGradeEdit, 120, 16, 50, 12, ES_READONLY | ES_AUTOHSCROLL | WS_BORDER),
      VisibleItem("Button", 1304, 6, 38, 248, 28, BS_GROUPBOX, "Color / Ranking"),
      VisibleItem("Button", kBlackColourRadio, 14, 50, 40, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Black"),
      VisibleItem("Button", kWhiteColourRadio, 58, 50, 40, 10, BS_AUTORADIOBUTTON, "White"),
      VisibleItem("Button", kAutoColourRadio, 102, 50, 40, 10, BS_AUTORADIOBUTTON, "Auto"),
      VisibleItem("Button", kRankingCheck, 160, 50, 80, 10, BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, "Apply Ranking"),
      VisibleItem("Button", 1299, 6, 70, 248, 44, BS_GROUPBOX, "Play Condition"),
      VisibleItem("Button", kEvenRadio, 14, 82, 40, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Even"),
      VisibleItem("Button", kBlackRadio, 58, 82, 40, 10, BS_AUTORADIOBUTTON, "Black"),
      VisibleItem("Button", kHandicapRadio, 102, 82, 50, 10, BS_AUTORADIOBUTTON, "Handicap"),
      VisibleItem("Static", kLabel, 14, 98, 30, 8, SS_LEFT | WS_GROUP, "Komi"),
      VisibleItem("Edit", kKomiEdit, 46, 96, 40, 12, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      VisibleItem("ComboBox", kHandicapCombo, 100, 96, 40, 90, kEditCombo),
      VisibleItem("Button", 1300, 6, 118, 248, 30, BS_GROUPBOX, "Play Time"),
      VisibleItem("ComboBox", kTimeLimitCombo, 14, 130, 60, 120, kEditCombo),
      VisibleItem("ComboBox", kIntervalCombo, 82, 130, 60, 100, kEditCombo),
      VisibleItem("ComboBox", kCountDownCombo, 150, 130, 40, 90, kEditCombo),
      VisibleItem("Button", 1303, 6, 152, 248, 34, BS_GROUPBOX, "Negotiation"),
      VisibleItem("Static", kLabel, 14, 162, 230, 8, SS_LEFT, "Cancel nego, if you don't answer in 25 seconds"),
      VisibleItem("msctls_progress32", kProgress, 14, 172, 230, 8, 0),
      VisibleItem("Button", IDOK, 40, 190, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "Agree"),
      VisibleItem("Button", kRenegoButton, 105, 190, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Renego"),
      VisibleItem("Button", IDCANCEL, 170, 190, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Reject"),
  };
  return t;
}

const CString& CNegotiationReplyDlg::GetProposalField(int index) const {
  static const CString kNone;
  return index >= 0 && index < 10 ? m_fields[index] : kNone;
}

BOOL CNegotiationReplyDlg::OnInitDialog() {
  FillNegotiationCombos(*this, 13);
  if (m_nMode == 0)
    ReadProposal();
  if (CWnd* progress = GetDlgItem(static_cast<int>(kProgress))) {
    progress->SendMessage(PBM_SETRANGE32, 0, kTickLimit);
    progress->SendMessage(PBM_SETPOS, 0);
  }
  UpdateData(FALSE);
  m_nTimerId = SetTimer(kTimerId, 1000);
  return TRUE;
}

void CNegotiationReplyDlg::ReadProposal() {
  CFieldTokenizer fields(m_strProposal);
  static const int kOrder[10] = {0, 1, 3, 2, 4, 5, 7, 6, 8, 9};
  for (int i = 0; i < 10; ++i) m_fields[i] = fields.GetField(kOrder[i]);
  const CNegotiationTerms terms = ReadIncomingProposal(m_strProposal);
  m_nCondition = terms.condition;
  m_strHandicap = terms.condition == kConditionHandicap ? terms.handicap : m_strHandicap;
  // The proposer's komi stands whatever the condition, so a Renego that keeps it sends it back.
  m_fKomi = static_cast<float>(std::atof(fields.GetField(11)));
  EnableControl(kKomiEdit, terms.condition == kConditionEven);
  EnableControl(kHandicapCombo, terms.condition == kConditionHandicap);
  m_strTimeLimit = terms.timeLimitText;
  m_strCountDown = terms.countDownText;
  m_strInterval = terms.intervalText;
  m_nOpponentColour = terms.colourCode == "1" ? 0 : terms.colourCode == "2" ? 1 : 2;
  m_nApplyRanking = terms.applyRanking ? 1 : 0;
  // The user is the black player only when both the ID and the waiting room match.
  const bool userIsBlack = m_strOwnId == m_fields[2] && m_strOwnNumber == m_fields[3];
  m_strOpponentId = userIsBlack ? m_fields[6] : m_fields[2];
  m_strOpponentGrade = userIsBlack ? m_fields[9] : m_fields[5];
  m_strOpponentNumber = userIsBlack ? m_fields[7] : m_fields[3];
}

void CNegotiationReplyDlg::ApplyCondition(int condition) {
  // Only an even game lets the colours be chosen automatically.
  ApplyNegotiationCondition(*this, condition, m_nCondition, m_strHandicap, m_fKomi, {kAutoColourRadio});
}

void CNegotiationReplyDlg::OnEven() { ApplyCondition(kConditionEven); }
void CNegotiationReplyDlg::OnBlack() { ApplyCondition(kConditionBlack); }
void CNegotiationReplyDlg::OnHandicap() { ApplyCondition(kConditionHandicap); }

void CNegotiationReplyDlg::OnOK() {
  m_bTakingValues = TRUE;
  CDialog::OnOK();
  m_bTakingValues = FALSE;
}

void CNegotiationReplyDlg::OnRenego() {
  m_bTakingValues = TRUE;
  const BOOL taken = UpdateData(TRUE);
  m_bTakingValues = FALSE;
  if (taken && m_fKomi >= 0.0f && m_fKomi <= 15.5f)
    EndDialog(kRenegoResult);
}

void CNegotiationReplyDlg::OnTimer(UINT_PTR id) {
  if (id != kTimerId || m_bTakingValues)
    return;
  int position = m_nTickCount;
  if (StepNegotiationClock(*this, m_nTickCount, position))
    return;
  // No answer in time refuses.
  KillTimer(m_nTimerId);
  m_nTimerId = 0;
  m_nTickCount = 0;
  EndDialog(IDCANCEL);
}

void CNegotiationReplyDlg::OnDestroy() {
  if (m_nTimerId != 0)
    KillTimer(m_nTimerId);
  m_nTimerId = 0;
  CDialog::OnDestroy();
}

void CNegotiationReplyDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Radio(dx, static_cast<int>(kBlackColourRadio), m_nOpponentColour);
  DDX_CBString(dx, static_cast<int>(kIntervalCombo), m_strInterval);
  DDX_CBString(dx, static_cast<int>(kTimeLimitCombo), m_strTimeLimit);
  DDX_CBString(dx, static_cast<int>(kCountDownCombo), m_strCountDown);
  DDX_CBString(dx, static_cast<int>(kHandicapCombo), m_strHandicap);
  DDX_Text(dx, static_cast<int>(kKomiEdit), m_fKomi);
  DDV_MinMaxFloat(dx, m_fKomi, 0.0f, 15.5f);
  DDX_Radio(dx, static_cast<int>(kEvenRadio), m_nCondition);
  DDX_Check(dx, static_cast<int>(kRankingCheck), m_nApplyRanking);
  DDX_Text(dx, static_cast<int>(kOpponentIdEdit), m_strOpponentId);
  DDX_Text(dx, static_cast<int>(kOpponentGradeEdit), m_strOpponentGrade);
}

void CNegotiationReplyDlg::EnableControl(UINT id, BOOL enable) { EnableDialogControl(*this, id, enable); }
