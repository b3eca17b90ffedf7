#include "orvanta/lobby/NegotiationAskDlg.h"

#include <cstdlib>

#include <platform/ddx.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/GradeOrder.h"
#include "orvanta/lobby/SeparatorFilter.h"

namespace {

using platform::VisibleItem;

constexpr UINT kLabel = 0xFFFF;
constexpr DWORD kReadOnlyEdit = ES_READONLY | ES_AUTOHSCROLL | WS_BORDER;
constexpr DWORD kEditCombo = CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP;

}  // namespace

BEGIN_MESSAGE_MAP(CNegotiationAskDlg, CDialog)
  ON_BN_CLICKED(CNegotiationAskDlg::kOkButton, OnOK)
  ON_BN_CLICKED(CNegotiationAskDlg::kRenegoButton, OnRenego)
  ON_BN_CLICKED(CNegotiationAskDlg::kEvenRadio, OnEven)
  ON_BN_CLICKED(CNegotiationAskDlg::kBlackRadio, OnBlack)
  ON_BN_CLICKED(CNegotiationAskDlg::kHandicapRadio, OnHandicap)
  ON_BN_CLICKED(CNegotiationAskDlg::kChangeColourButton, OnChangeColor)
  ON_BN_CLICKED(CNegotiationAskDlg::kAutoColourCheck, OnAutoSelectColor)
  ON_WM_TIMER()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CNegotiationAskDlg::CNegotiationAskDlg(const CString& text, const CString& ownId, CWnd* parent)
    : CDialog(kTemplateId, parent),
      m_strInterval(Cp949("30초")),
      m_strTimeLimit(Cp949("30분")),
      m_strProposal(text),
      m_strUserId(ownId) {}

platform::DialogTemplate CNegotiationAskDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.cx = 300;
  t.cy = 232;
  t.caption = "Play Negotiation";
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      VisibleItem("Button", kLabel, 6, 4, 288, 44, BS_GROUPBOX, "Players"),
      VisibleItem("Edit", kOwnColourEdit, 14, 16, 24, 12, kReadOnlyEdit),
      VisibleItem("Edit", kOwnIdEdit, 42, 16, 80, 12, kReadOnlyEdit),
      VisibleItem("Edit", kOwnGradeEdit, 126, 16, 40, 12, kReadOnlyEdit),
      VisibleItem("Edit", kOpponentColourEdit, 14, 31, 24, 12, kReadOnlyEdit),
      VisibleItem("Edit", kOpponentIdEdit, 42, 31, 80, 12, kReadOnlyEdit),
      VisibleItem("Edit", kOpponentGradeEdit, 126, 31, 40, 12, kReadOnlyEdit),
      VisibleItem("Button", kChangeColourButton, 176, 16, 56, 14, BS_PUSHBUTTON | WS_TABSTOP, "Change Color"),
      VisibleItem("Button", kAutoColourCheck, 176, 33, 110, 10, BS_AUTOCHECKBOX | WS_TABSTOP, "Auto Select Color"),
      VisibleItem("Button", kLabel, 6, 52, 288, 44, BS_GROUPBOX, "Play Condition"),
      VisibleItem("Button", kEvenRadio, 14, 64, 40, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Even"),
      VisibleItem("Button", kBlackRadio, 58, 64, 40, 10, BS_AUTORADIOBUTTON, "Black"),
      VisibleItem("Button", kHandicapRadio, 102, 64, 50, 10, BS_AUTORADIOBUTTON, "Handicap"),
      VisibleItem("Static", kLabel, 14, 80, 30, 8, SS_LEFT | WS_GROUP, "Komi"),
      VisibleItem("Edit", kKomiEdit, 46, 78, 40, 12, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      VisibleItem("Static", kLabel, 100, 80, 40, 8, SS_LEFT, "Handicap"),
      VisibleItem("ComboBox", kHandicapCombo, 142, 78, 40, 90, kEditCombo),
      VisibleItem("Button", kLabel, 6, 100, 288, 30, BS_GROUPBOX, "Play Time"),
      VisibleItem("ComboBox", kTimeLimitCombo, 14, 112, 60, 120, kEditCombo),
      VisibleItem("ComboBox", kIntervalCombo, 82, 112, 60, 100, kEditCombo),
      VisibleItem("ComboBox", kCountDownCombo, 150, 112, 40, 90, kEditCombo),
      VisibleItem("Static", kLabel, 196, 114, 40, 8, SS_LEFT, "times"),
      VisibleItem("Button", kLabel, 6, 134, 288, 44, BS_GROUPBOX, "Room"),
      VisibleItem("Static", kLabel, 14, 148, 24, 8, SS_LEFT, "Title"),
      VisibleItem("Edit", kTitleEdit, 40, 146, 130, 12, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      VisibleItem("Static", kLabel, 176, 148, 36, 8, SS_LEFT, "Password"),
      VisibleItem("Edit", kPasswordEdit, 214, 146, 72, 12, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      VisibleItem("Button", kRankingCheck, 14, 162, 70, 10, BS_AUTOCHECKBOX | WS_TABSTOP, "Apply Ranking"),
      VisibleItem("Button", kHintCheck, 100, 162, 90, 10, BS_AUTOCHECKBOX | WS_TABSTOP, "Other's Help(hint)"),
      VisibleItem("Static", kStatusText, 6, 184, 288, 8, SS_LEFT, ""),
      VisibleItem("msctls_progress32", kProgress, 6, 194, 288, 8, 0),
      VisibleItem("Button", kOkButton, 60, 210, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"),
      VisibleItem("Button", kRenegoButton, 125, 210, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Renego"),
      VisibleItem("Button", IDCANCEL, 190, 210, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL CNegotiationAskDlg::Create(CWnd* parent) { return CDialog::Create(kTemplateId, parent); }

BOOL CNegotiationAskDlg::OnInitDialog() {
  SetDefID(kOkButton);
  FillCombos();
  if (m_strProposal.IsEmpty())
    return FALSE;
  m_bAnswered = FALSE;
  return InitialiseFromText();
}

void CNegotiationAskDlg::SetProposalText(const CString& text) {
  m_strProposal = text;
  if (m_hWnd && !m_strProposal.IsEmpty()) {
    m_bAnswered = FALSE;
    InitialiseFromText();
  }
}

void CNegotiationAskDlg::FillCombos() {
  const auto fill = [this](UINT id, std::initializer_list<const char*> items) { FillDialogCombo(*this, id, items); };
  fill(kHandicapCombo, {"2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"});
  fill(kTimeLimitCombo,
       {"5 Min", "10 Min", "20 Min", "30 Min", "40 Min", "1 Hour", "2시간", "3시간", "4시간", "5시간", "24시간"});
  fill(kCountDownCombo, {"1", "2", "3", "4", "5"});
  fill(kIntervalCombo, {"20 Sec", "30 Sec", "40 Sec", "60 Sec", "120 Sec"});
}

BOOL CNegotiationAskDlg::InitialiseFromText() {
  CFieldTokenizer fields(m_strProposal);
  m_strRoom = fields.GetField(0);
  CNegotiationPlayer black;
  CNegotiationPlayer white;
  ReadProposalPlayers(m_strProposal, black, white);
  const auto take = [this](const CNegotiationPlayer& own, const CNegotiationPlayer& other, const char* ownColour,
                           const char* otherColour) {
    m_strOwnId = own.id;
    m_strOwnGrade = own.grade;
    m_strOwnNumber = own.number;
    m_strOwnSpare = own.spare;
    m_strOpponentId = other.id;
    m_strOpponentGrade = other.grade;
    m_strOpponentNumber = other.number;
    m_strOpponentSpare = other.spare;
    m_strOwnColour = ownColour;
    m_strOpponentColour = otherColour;
  };
  if (m_strUserId == black.id)
    take(black, white, BlackColourText(), WhiteColourText());
  else if (m_strUserId == white.id)
    take(white, black, WhiteColourText(), BlackColourText());
  const BOOL equalGrades = black.grade == white.grade;
  ShowControl(kAutoColourCheck, equalGrades);
  if (fields.GetField(1) == "3") {
    if (equalGrades)
      EnableControl(kChangeColourButton, FALSE);
    ShowControl(kRenegoButton, FALSE);
    m_bSendPending = TRUE;
    UpdateData(FALSE);
    ApplyAutomaticTerms();
  } else {
    m_bSendPending = FALSE;
    ApplyCounterProposal();
  }
  UpdateData(FALSE);
  return TRUE;
}

void CNegotiationAskDlg::ApplyAutomaticTerms() {
  const bool ownBlack = m_strOwnColour == BlackColourText();
  const bool ownWhite = m_strOwnColour == WhiteColourText();
  const int blackNumber = GradeToNumber(ownBlack ? m_strOwnGrade : m_strOpponentGrade);
  const int whiteNumber = GradeToNumber(ownWhite ? m_strOwnGrade : m_strOpponentGrade);
  const CAutomaticTerms terms = ChooseAutomaticTerms(blackNumber, whiteNumber);
  ApplyCondition(terms.condition);
  if (terms.condition == kConditionHandicap) {
    m_strHandicap = terms.handicap;
    UpdateData(FALSE);
  }
  if (terms.swapColours) {
    std::swap(m_strOwnColour, m_strOpponentColour);
    UpdateData(FALSE);
  }
  if (terms.autoSelectColour) {
    m_nAutoColour = 1;
    UpdateData(FALSE);
    OnAutoSelectColor();
  }
}

void CNegotiationAskDlg::ApplyCounterProposal() {
  const CNegotiationTerms terms = ReadCounterProposal(m_strProposal);
  m_strOwnColourCode = terms.colourCode;
  m_strHandicap = terms.handicap;
  m_nCondition = terms.condition;
  if (terms.condition == kConditionEven)
    m_fKomi = terms.komi;
  else
    m_fKomi = 0.0f;
  EnableControl(kKomiEdit, terms.condition == kConditionEven);
  EnableControl(kHandicapCombo, terms.condition == kConditionHandicap);
  m_nAutoColour = terms.colourCode == "3" ? 1 : 0;
  m_strTimeLimit = terms.timeLimitText;
  m_strCountDown = terms.countDownText;
  m_strInterval = terms.intervalText;
  m_nApplyRanking = terms.applyRanking ? 1 : 0;
  m_strTitle = terms.title;
  m_strPassword = terms.password;
  StartAnswerTimer(kCounterStartTick, kTickLimit - kCounterStartTick);
}

void CNegotiationAskDlg::ApplyCondition(int condition) {
  ApplyNegotiationCondition(*this, condition, m_nCondition, m_strHandicap, m_fKomi);
}

void CNegotiationAskDlg::OnEven() { ApplyCondition(kConditionEven); }
void CNegotiationAskDlg::OnBlack() { ApplyCondition(kConditionBlack); }
void CNegotiationAskDlg::OnHandicap() { ApplyCondition(kConditionHandicap); }

void CNegotiationAskDlg::OnChangeColor() {
  TakeValues();
  std::swap(m_strOwnColour, m_strOpponentColour);
  if (m_strOwnColour == BlackColourText())
    m_strOwnColourCode = "1";
  else if (m_strOwnColour == WhiteColourText())
    m_strOwnColourCode = "2";
  UpdateData(FALSE);
}

void CNegotiationAskDlg::OnAutoSelectColor() {
  const BOOL automatic = IsDlgButtonChecked(static_cast<int>(kAutoColourCheck)) != 0;
  EnableControl(kChangeColourButton, !automatic);
}

void CNegotiationAskDlg::EnableEditing(BOOL enable) {
  ShowControl(kRenegoButton, enable);
  for (UINT id : {kOkButton, kHandicapCombo, kTimeLimitCombo, kCountDownCombo, kIntervalCombo, kKomiEdit, kPasswordEdit,
                  kTitleEdit})
    EnableControl(id, enable);
}

void CNegotiationAskDlg::OnOK() {
  if (!m_bSendPending) {
    // Accepting the opponent's conditions: what is sent is what they proposed.
    UpdateData(FALSE);
    Notify(kNotifyAccept);
    return;
  }
  if (!TakeValues())
    return;
  Notify(kNotifyPropose);
}

void CNegotiationAskDlg::OnRenego() {
  if (!TakeValues())
    return;
  Notify(kNotifyRenego);
}

void CNegotiationAskDlg::OnCancel() {
  StopTimer();
  TakeValuesQuietly();
  Notify(CancelCode());
}

BOOL CNegotiationAskDlg::TakeValues() {
  m_bTakingValues = TRUE;
  const BOOL taken = UpdateData(TRUE);
  m_bTakingValues = FALSE;
  return taken;
}

void CNegotiationAskDlg::TakeValuesQuietly() {
  CString komi;
  GetDlgItemText(static_cast<int>(kKomiEdit), komi);
  char* end = nullptr;
  const double value = std::strtod(komi.GetString(), &end);
  const bool passes = !komi.IsEmpty() && end && *end == '\0' && value >= 0.0 && value <= 15.5;
  if (passes)
    UpdateData(TRUE);
}

int CNegotiationAskDlg::CancelCode() const {
  return m_bSendPending && !m_bAnswered ? kNotifyCancelUnsent : kNotifyRefuse;
}

void CNegotiationAskDlg::OnTimer(UINT_PTR id) {
  if (id != kTimerId || m_bTakingValues)
    return;
  if (m_nTickCount >= kTickLimit) {
    StopTimer();
    TakeValuesQuietly();
    Notify(CancelCode());
    return;
  }
  StepNegotiationClock(*this, m_nTickCount, m_nProgressPos);
}

void CNegotiationAskDlg::Notify(int code) {
  m_bAnswered = TRUE;
  StopTimer();
  // A sent proposal or counter-proposal waits for the opponent's answer on a fresh clock; the
  // clock starts before the window hears of it, so a window that closes the dialog stops it too.
  if (code == kNotifyPropose || code == kNotifyRenego)
    StartAnswerTimer(0, kTickLimit);
  if (m_hNotifyWnd)
    ::SendMessage(m_hNotifyWnd, kNotifyMessage, static_cast<WPARAM>(code), 0);
}

void CNegotiationAskDlg::StartAnswerTimer(int startTick, int seconds) {
  StopTimer();
  m_nTickCount = startTick;
  m_nProgressPos = 0;
  if (CWnd* progress = GetDlgItem(static_cast<int>(kProgress))) {
    progress->SendMessage(PBM_SETRANGE32, 0, static_cast<LPARAM>(seconds));
    progress->SendMessage(PBM_SETPOS, 0);
  }
  m_nTimerId = SetTimer(kTimerId, 1000);
  CString status;
  status.Format("If you don't answer in %d seconds, automatic cancelled.", seconds);
  SetDlgItemText(static_cast<int>(kStatusText), status);
}

void CNegotiationAskDlg::StopTimer() {
  if (m_nTimerId != 0 && m_hWnd)
    KillTimer(m_nTimerId);
  m_nTimerId = 0;
}

void CNegotiationAskDlg::OnDestroy() {
  StopTimer();
  CDialog::OnDestroy();
}

BOOL CNegotiationAskDlg::PreTranslateMessage(MSG* msg) {
  // The title and the password go into the conditions payload.
  if (IsSeparatorKeyForEdit(msg))
    return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

CString CNegotiationAskDlg::ChosenColourCode() const {
  if (m_nAutoColour)
    return "3";
  if (m_strOwnColourCode == "1" || m_strOwnColourCode == "2")
    return m_strOwnColourCode;
  // A counter-proposal that chose the colours automatically leaves the code at "3"; once the user
  // unticks the box, the colour on screen is the choice.
  return m_strOwnColour == WhiteColourText() ? "2" : "1";
}

CNegotiationConditions CNegotiationAskDlg::GetConditions(const CString& answer) const {
  CNegotiationConditions c;
  c.room = m_strRoom;
  c.answer = answer;
  c.opponentNumber = m_strOpponentNumber;
  c.opponentId = m_strOpponentId;
  c.colourCode = ChosenColourCode();
  c.handicap = m_strHandicap;
  c.komi = m_fKomi;
  c.timeLimitText = m_strTimeLimit;
  c.intervalText = m_strInterval;
  c.countDownText = m_strCountDown;
  c.applyRanking = m_nApplyRanking != 0;
  c.title = m_strTitle;
  c.hint = m_nHint != 0;
  c.password = m_strPassword;
  return c;
}

void CNegotiationAskDlg::DoDataExchange(CDataExchange* dx) {
  DDX_CBString(dx, static_cast<int>(kIntervalCombo), m_strInterval);
  DDX_CBString(dx, static_cast<int>(kTimeLimitCombo), m_strTimeLimit);
  DDX_CBString(dx, static_cast<int>(kHandicapCombo), m_strHandicap);
  DDX_Text(dx, static_cast<int>(kKomiEdit), m_fKomi);
  DDV_MinMaxFloat(dx, m_fKomi, 0.0f, 15.5f);
  DDX_CBString(dx, static_cast<int>(kCountDownCombo), m_strCountDown);
  DDX_Text(dx, static_cast<int>(kPasswordEdit), m_strPassword);
  DDV_MaxChars(dx, m_strPassword, 10);
  DDX_Check(dx, static_cast<int>(kRankingCheck), m_nApplyRanking);
  DDX_Radio(dx, static_cast<int>(kEvenRadio), m_nCondition);
  DDX_Check(dx, static_cast<int>(kHintCheck), m_nHint);
  DDX_Text(dx, static_cast<int>(kTitleEdit), m_strTitle);
  DDX_Check(dx, static_cast<int>(kAutoColourCheck), m_nAutoColour);
  DDX_Text(dx, static_cast<int>(kOwnColourEdit), m_strOwnColour);
  DDX_Text(dx, static_cast<int>(kOwnIdEdit), m_strOwnId);
  DDX_Text(dx, static_cast<int>(kOwnGradeEdit), m_strOwnGrade);
  DDX_Text(dx, static_cast<int>(kOpponentColourEdit), m_strOpponentColour);
  DDX_Text(dx, static_cast<int>(kOpponentIdEdit), m_strOpponentId);
  DDX_Text(dx, static_cast<int>(kOpponentGradeEdit), m_strOpponentGrade);
}

void CNegotiationAskDlg::EnableControl(UINT id, BOOL enable) { EnableDialogControl(*this, id, enable); }

void CNegotiationAskDlg::ShowControl(UINT id, BOOL show) {
  if (CWnd* control = GetDlgItem(static_cast<int>(id)))
    control->ShowWindow(show ? SW_SHOW : SW_HIDE);
}
