#include "orvanta/resources/CommunityResources.h"

#include <platform/dialog_template.h>

#include "orvanta/lobby/AssociationView.h"
#include "orvanta/lobby/ContinuePlayDlg.h"
#include "orvanta/lobby/InvitationDlg.h"
#include "orvanta/lobby/InviteDlg.h"
#include "orvanta/lobby/NegotiationDlg.h"
#include "orvanta/lobby/OptionsDlg.h"
#include "orvanta/lobby/RankSelectDlg.h"
#include "orvanta/lobby/SearchBulletinDlg.h"
#include "orvanta/lobby/SearchGiboDlg.h"
#include "orvanta/lobby/SearchRoomDlg.h"
#include "orvanta/lobby/SearchUserDlg.h"
#include "orvanta/lobby/UserInfoListDlg.h"
#include "orvanta/lobby/JoinSecedeDlg.h"
#include "orvanta/lobby/MemoBoxDlg.h"
#include "orvanta/lobby/PlacardView.h"
#include "orvanta/lobby/ReceivedMessageDlg.h"
#include "orvanta/lobby/SelectReplayDlg.h"
#include "orvanta/lobby/SendMemoDlg.h"
#include "orvanta/lobby/SendMessageDlg.h"
#include "orvanta/lobby/UserRecordDlg.h"

void RegisterCommunityDialogs(platform::ResourceModule& module) {
  platform::AddDialogTemplate(module, CAssociationView::kTemplateId, CAssociationView::BuildTemplate());
  platform::AddDialogTemplate(module, CJoinSecedeDlg::kTemplateId, CJoinSecedeDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CPlacardView::kTemplateId, CPlacardView::BuildTemplate());
  platform::AddDialogTemplate(module, CUserRecordDlg::kTemplateId, CUserRecordDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CMemoBoxDlg::kTemplateId, CMemoBoxDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CReceivedMessageDlg::kTemplateId, CReceivedMessageDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CSendMemoDlg::kTemplateId, CSendMemoDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CSendMessageDlg::kTemplateId, CSendMessageDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CSelectReplayDlg::kTemplateId, CSelectReplayDlg::BuildTemplate());
  // Invitations, searches, options, continuing a paused game and the rank selection.
  platform::AddDialogTemplate(module, COptionsDlg::kTemplateId, COptionsDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CNegotiationDlg::kTemplateId, CNegotiationDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CInvitationDlg::kTemplateId, CInvitationDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CInviteDlg::kTemplateId, CInviteDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CUserInfoListDlg::kTemplateId, CUserInfoListDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CSearchUserDlg::kTemplateId, CSearchUserDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CSearchGiboDlg::kTemplateId, CSearchGiboDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CSearchBulletinDlg::kTemplateId, CSearchBulletinDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CSearchRoomDlg::kTemplateId, CSearchRoomDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CContinuePlayDlg::kTemplateId, CContinuePlayDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CRankSelectDlg::kTemplateId, CRankSelectDlg::BuildTemplate());
}
