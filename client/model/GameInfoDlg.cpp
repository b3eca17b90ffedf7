#include "client/model/GameInfoDlg.h"

#include "client/widgets/TextUtilities.h"
#include "client/model/GameInfo.h"
#include "platform/ddx.h"

namespace {

// "name rank dan": the rank as "%d " then "dan".
CString PlayerLine(const CString& name, int rank) {
  CString rankText;
  rankText.Format("%d ", rank);
  CString line;
  line.Format("%s %s%s", name.GetString(), rankText.GetString(), "dan");
  return line;
}

}  // namespace

CGameInfoDlg::CGameInfoDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

void CGameInfoDlg::SetGameInfo(const CGameInfo& info) {
  m_title = info.m_title;
  info.GetDateText(m_date);
  m_place = info.m_place;
  m_condition.Format("Dum %2.1f, Limit Time %02d : %02d", info.m_komi, info.m_timeLimit / 60, info.m_timeLimit % 60);
  m_whiteName = PlayerLine(info.m_whiteName, info.m_whiteRank);
  m_whiteAffiliation = info.m_whiteAffiliation;
  m_blackName = PlayerLine(info.m_blackName, info.m_blackRank);
  m_blackAffiliation = info.m_blackAffiliation;
}

void CGameInfoDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, kWhitePicture, m_whitePicture);
  DDX_Control(dx, kBlackPicture, m_blackPicture);
  DDX_Control(dx, kWhiteStone, m_whiteStone);
  DDX_Control(dx, kBlackStone, m_blackStone);
  DDX_Text(dx, kTitleText, m_title);
  DDX_Text(dx, kDateText, m_date);
  DDX_Text(dx, kPlaceText, m_place);
  DDX_Text(dx, kConditionText, m_condition);
  DDX_Text(dx, kWhiteName, m_whiteName);
  DDX_Text(dx, kWhiteAffiliation, m_whiteAffiliation);
  DDX_Text(dx, kBlackName, m_blackName);
  DDX_Text(dx, kBlackAffiliation, m_blackAffiliation);
}

BOOL CGameInfoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_blackStone.SetBitmaps(kBlackStoneBitmap, kStoneMaskBitmap);
  m_whiteStone.SetBitmaps(kWhiteStoneBitmap, kStoneMaskBitmap);
  CString text;
  LoadUiText("Game Information", text);
  SetWindowText(text);
  const struct {
    UINT id;
    const char* text;
  } labels[] = {{kTitleLabel, "Title"}, {kDateLabel, "Date"}, {kPlaceLabel, "Place"}, {kConditionLabel, "Condition"}};
  for (const auto& label : labels) {
    LoadUiText(label.text, text);
    SetDlgItemText(static_cast<int>(label.id), text);
  }
  return TRUE;
}
