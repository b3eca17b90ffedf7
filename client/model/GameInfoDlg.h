#pragma once
// CGameInfoDlg: the modal window of the relayed game's facts: title, date, place, conditions, and
// each player's picture, name with rank and affiliation. It reads a CGameInfo once and changes
// nothing.

#include "client/widgets/BitmapStatic.h"
#include "client/widgets/PaneStatic.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"

class CGameInfo;

class CGameInfoDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 136;
  // Controls.
  static constexpr UINT kTitleText = 1014;
  static constexpr UINT kDateText = 1015;
  static constexpr UINT kPlaceText = 1016;
  static constexpr UINT kConditionText = 1017;
  static constexpr UINT kBlackPicture = 1018;
  static constexpr UINT kBlackName = 1019;
  static constexpr UINT kWhiteName = 1021;
  static constexpr UINT kWhitePicture = 1022;
  static constexpr UINT kWhiteAffiliation = 1023;
  static constexpr UINT kBlackAffiliation = 1024;
  static constexpr UINT kWhiteStone = 1025;
  static constexpr UINT kBlackStone = 1026;
  static constexpr UINT kTitleLabel = 1057;
  static constexpr UINT kDateLabel = 1058;
  static constexpr UINT kConditionLabel = 1059;
  static constexpr UINT kPlaceLabel = 1060;
  // Pictures of the two stones and the mask they share.
  static constexpr UINT kWhiteStoneBitmap = 146;
  static constexpr UINT kBlackStoneBitmap = 148;
  static constexpr UINT kStoneMaskBitmap = 301;

  explicit CGameInfoDlg(CWnd* parent = nullptr);

  // Fills the texts from info; call before the dialog is shown.
  void SetGameInfo(const CGameInfo& info);
  BOOL OnInitDialog() override;
  // The panes that show the players' photographs; the caller gives them their pictures.
  CPaneStatic& GetBlackPicture() { return m_blackPicture; }
  CPaneStatic& GetWhitePicture() { return m_whitePicture; }

  // The texts shown, for the caller and for tests.
  CString m_title;
  CString m_date;
  CString m_place;
  CString m_condition;
  CString m_whiteName;   // "name rank dan"
  CString m_whiteAffiliation;
  CString m_blackName;
  CString m_blackAffiliation;

protected:
  void DoDataExchange(CDataExchange* dx) override;

private:
  CPaneStatic m_whitePicture;
  CPaneStatic m_blackPicture;
  CBitmapStatic m_whiteStone;
  CBitmapStatic m_blackStone;
};
