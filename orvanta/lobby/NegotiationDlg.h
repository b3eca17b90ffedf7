#pragma once
// CNegotiationDlg: inside a game room, the user picks an opponent among the room's other seat and
// its observers and sets the play conditions and his own colour (template 145). After IDOK the
// caller reads the chosen opponent and the condition values.

#include <array>
#include <vector>

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CNegotiationDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 145;
  static constexpr UINT kUserList = 1065;
  static constexpr UINT kBlackColourRadio = 1068, kWhiteColourRadio = 1069, kAutoColourRadio = 1152;
  static constexpr UINT kIntervalCombo = 1097, kTimeLimitCombo = 1095, kCountDownCombo = 1096;
  static constexpr UINT kHandicapCombo = 1093, kKomiEdit = 1094;
  static constexpr UINT kEvenRadio = 1092, kBlackRadio = 1238, kHandicapRadio = 1091;
  static constexpr UINT kRankingCheck = 1276;
  enum Condition { kEven, kBlack, kHandicap };
  // A seat of the game room: the player's name, his second text, waiting room and seat flag.
  struct Seat {
    CString name;
    CString second;
    CString number;
    BOOL flag{FALSE};
  };
  // An observer row: display text, waiting room, ID, grade and a fifth text.
  using ObserverRow = std::array<CString, 5>;

  explicit CNegotiationDlg(CWnd* parent = nullptr);
  static platform::DialogTemplate BuildTemplate();
  // The room the opponent is chosen in, and the user's own ID.
  void SetRoom(const Seat& first, const Seat& second, const std::vector<ObserverRow>& observers, const CString& ownId);
  BOOL OnInitDialog() override;
  CListCtrl& GetList() { return m_list; }

  CString m_strOpponentId;
  CString m_strOpponentNumber{"-1"};
  int m_nColour{0};  // 0 black, 1 white, 2 automatic
  CString m_strInterval;
  CString m_strTimeLimit;
  CString m_strCountDown{"3"};
  CString m_strHandicap{"2"};
  float m_fKomi{0.0f};
  int m_nCondition{kBlack};
  int m_nApplyRanking{1};

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  void OnEven();
  void OnBlack();
  void OnHandicap();
  void OnComboEdit();
  DECLARE_MESSAGE_MAP()

private:
  void FillList();
  void AddRow(const ObserverRow& row);
  void ApplyCondition(int condition);
  void Enable(UINT id, BOOL on);

  Seat m_seats[2];
  std::vector<ObserverRow> m_observers;
  CString m_strOwnId;
  CListCtrl m_list;
  CImageList m_userImages;  // each row's mark of the user's waiting room
  BOOL m_bReloading{FALSE};  // the controls are being loaded from the values
};
