#pragma once
// CNegotiationAskDlg: the proposing side's modeless "Play Negotiation" dialog (template 444). It
// shows a fresh proposal to edit, or the opponent's counter-proposal to accept, change or refuse,
// and counts down the time left to answer. It tells its notify window what the user did with
// kNotifyMessage (code in wParam); the window builds the request and closes the dialog.
//
// Before each notification the dialog marks itself answered and stops its timer, and it touches
// nothing of itself after the notification returns: the window may close it in its handler.

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>

#include "orvanta/lobby/NegotiationForm.h"
#include "orvanta/lobby/NegotiationTerms.h"

class CNegotiationAskDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 444;
  static constexpr UINT kNotifyMessage = WM_USER + 0xCB;
  // Notification codes.
  static constexpr int kNotifyPropose = 1;
  static constexpr int kNotifyRenego = 2;
  static constexpr int kNotifyAccept = 3;
  static constexpr int kNotifyRefuse = 4;
  static constexpr int kNotifyCancelUnsent = 5;
  // Controls.
  static constexpr UINT kStatusText = 1464;
  static constexpr UINT kProgress = kNegotiationProgress;
  static constexpr UINT kOkButton = 1151;
  static constexpr UINT kRenegoButton = 1367;
  static constexpr UINT kHandicapCombo = kNegotiationHandicapCombo;
  static constexpr UINT kKomiEdit = kNegotiationKomiEdit;
  static constexpr UINT kTimeLimitCombo = 1095;
  static constexpr UINT kCountDownCombo = 1096;
  static constexpr UINT kIntervalCombo = 1097;
  static constexpr UINT kChangeColourButton = 1354;
  static constexpr UINT kPasswordEdit = 1356;
  static constexpr UINT kRankingCheck = 1276;
  static constexpr UINT kEvenRadio = 1092;
  static constexpr UINT kBlackRadio = 1238;
  static constexpr UINT kHandicapRadio = 1091;
  static constexpr UINT kHintCheck = 1366;
  static constexpr UINT kTitleEdit = 1122;
  static constexpr UINT kAutoColourCheck = 1442;
  static constexpr UINT kOwnColourEdit = 1450;
  static constexpr UINT kOwnIdEdit = 1350;
  static constexpr UINT kOwnGradeEdit = 1351;
  static constexpr UINT kOpponentColourEdit = 1451;
  static constexpr UINT kOpponentIdEdit = 1352;
  static constexpr UINT kOpponentGradeEdit = 1353;
  static constexpr UINT kTimerId = 100;
  static constexpr int kTickLimit = kNegotiationTickLimit;
  static constexpr int kCounterStartTick = 5;

  // text: the proposal text; ownId: the user's ID, which tells the user's block from the
  // opponent's.
  CNegotiationAskDlg(const CString& text, const CString& ownId, CWnd* parent = nullptr);
  static platform::DialogTemplate BuildTemplate();

  using CDialog::Create;
  // Makes the modeless window (hidden until the caller shows it).
  BOOL Create(CWnd* parent);
  void SetNotifyWindow(HWND window) { m_hNotifyWnd = window; }
  void SetOwnColourCode(const CString& code) { m_strOwnColourCode = code; }
  // Stores text and initialises the dialog from it again (a counter-proposal).
  void SetProposalText(const CString& text);
  // FALSE: Renego hidden and the conditions locked while the opponent answers.
  void EnableEditing(BOOL enable);
  // The conditions payload of the values on screen with the answer word.
  CNegotiationConditions GetConditions(const CString& answer) const;

  BOOL IsSendPending() const { return m_bSendPending; }
  BOOL IsAnswered() const { return m_bAnswered; }
  UINT_PTR GetTimerId() const { return m_nTimerId; }
  int GetTickCount() const { return m_nTickCount; }
  const CString& GetOwnColourCode() const { return m_strOwnColourCode; }

  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  // Dialog data.
  CString m_strInterval;
  CString m_strTimeLimit;
  CString m_strHandicap{"2"};
  float m_fKomi{0.0f};
  CString m_strCountDown{"3"};
  CString m_strPassword;
  int m_nApplyRanking{1};
  int m_nCondition{kConditionBlack};
  int m_nHint{1};
  CString m_strTitle;
  int m_nAutoColour{0};
  CString m_strOwnColour;
  CString m_strOwnId;
  CString m_strOwnGrade;
  CString m_strOpponentColour;
  CString m_strOpponentId;
  CString m_strOpponentGrade;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnRenego();
  void OnEven();
  void OnBlack();
  void OnHandicap();
  void OnChangeColor();
  void OnAutoSelectColor();
  void OnTimer(UINT_PTR id);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

private:
  BOOL InitialiseFromText();
  void FillCombos();
  void ApplyAutomaticTerms();
  void ApplyCondition(int condition);
  void ApplyCounterProposal();
  // Kills the timer and starts the answer count-down from tick with the status text of seconds.
  void StartAnswerTimer(int startTick, int seconds);
  void StopTimer();
  // Marks the dialog answered, stops its timer and tells the notify window; nothing of the
  // dialog is touched after the window's handler returns.
  void Notify(int code);
  // "3" for Auto Select Color, else "1" (black) or "2" (white) for the user.
  CString ChosenColourCode() const;
  // Cancel and time-out: 5 for a proposal never sent, else 4.
  int CancelCode() const;
  void EnableControl(UINT id, BOOL enable);
  void ShowControl(UINT id, BOOL show);
  // Takes the typed values, explaining a refused one; the clock waits meanwhile, so an
  // explanation is never overtaken by the time-out.
  BOOL TakeValues();
  // Takes the typed values for a refusal without a word: a refused komi keeps the last one taken.
  void TakeValuesQuietly();

  HWND m_hNotifyWnd{nullptr};
  CString m_strProposal;
  CString m_strOwnNumber;
  CString m_strOpponentNumber;
  CString m_strOwnSpare;
  CString m_strOpponentSpare;
  CString m_strRoom;
  CString m_strUserId;  // the logged-in user
  BOOL m_bSendPending{FALSE};
  CString m_strOwnColourCode;
  BOOL m_bAnswered{FALSE};
  UINT_PTR m_nTimerId{0};
  int m_nTickCount{0};
  int m_nProgressPos{0};
  BOOL m_bTakingValues{FALSE};  // a value is being checked: the clock does not tick
};
