#pragma once
// CNegotiationReplyDlg: the answering side's "Play Negotiation" dialog (template 408), run
// modally for a proposal from another user. IDOK agrees, IDCANCEL refuses (also after 30 ticks
// of one second without an answer), kRenegoResult sends the changed conditions back.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

#include "orvanta/lobby/NegotiationForm.h"
#include "orvanta/lobby/NegotiationTerms.h"

class CNegotiationReplyDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 408;
  static constexpr int kRenegoResult = 100;
  static constexpr UINT kProgress = kNegotiationProgress;
  static constexpr UINT kRenegoButton = 1294;
  static constexpr UINT kHandicapCombo = kNegotiationHandicapCombo;
  static constexpr UINT kKomiEdit = kNegotiationKomiEdit;
  static constexpr UINT kTimeLimitCombo = 1095;
  static constexpr UINT kCountDownCombo = 1096;
  static constexpr UINT kIntervalCombo = 1097;
  static constexpr UINT kBlackColourRadio = 1068;
  static constexpr UINT kWhiteColourRadio = 1069;
  static constexpr UINT kAutoColourRadio = 1152;
  static constexpr UINT kEvenRadio = 1092;
  static constexpr UINT kBlackRadio = 1238;
  static constexpr UINT kHandicapRadio = 1091;
  static constexpr UINT kRankingCheck = 1276;
  static constexpr UINT kOpponentIdEdit = 1127;
  static constexpr UINT kOpponentGradeEdit = 1136;
  static constexpr UINT kTimerId = 100;
  static constexpr int kTickLimit = kNegotiationTickLimit;

  // text: the proposal (message 513); ownNumber and ownId: the user, to tell the opponent's block.
  CNegotiationReplyDlg(const CString& text, const CString& ownNumber, const CString& ownId, int mode = 0,
                       int second = 0);
  static platform::DialogTemplate BuildTemplate();

  BOOL OnInitDialog() override;
  UINT_PTR GetTimerId() const { return m_nTimerId; }
  int GetTickCount() const { return m_nTickCount; }
  // The proposal's fields as read: 0, 1, black ID (3), black number (2), 4, black grade (5),
  // white ID (7), white number (6), 8, white grade (9).
  const CString& GetProposalField(int index) const;

  int m_nMode{0};
  int m_nSecond{0};
  CString m_strOpponentNumber;
  CString m_strProposal;
  // Dialog data.
  int m_nOpponentColour{0};  // 0 black, 1 white, 2 automatic
  CString m_strInterval;
  CString m_strTimeLimit;
  CString m_strCountDown{"3"};
  CString m_strHandicap{"2"};
  float m_fKomi{0.0f};
  int m_nCondition{kConditionBlack};
  int m_nApplyRanking{1};
  CString m_strOpponentId;
  CString m_strOpponentGrade;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  // Agree: the class library's, with the clock held while the values are checked.
  void OnOK() override;
  void OnRenego();
  void OnEven();
  void OnBlack();
  void OnHandicap();
  void OnTimer(UINT_PTR id);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

private:
  void ReadProposal();
  void ApplyCondition(int condition);
  void EnableControl(UINT id, BOOL enable);

  CString m_strOwnNumber;
  CString m_strOwnId;
  CString m_fields[10];
  UINT_PTR m_nTimerId{0};
  int m_nTickCount{0};
  // Set while the values are taken: a refused komi's message box must not run the clock out
  // under the person answering it.
  BOOL m_bTakingValues{FALSE};
};
