#include "orvanta/resources/CommunityResources.h"

#include <platform/dialog_template.h>

#include "orvanta/lobby/AssociationView.h"
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
}
