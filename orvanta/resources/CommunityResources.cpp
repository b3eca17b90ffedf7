#include "orvanta/resources/CommunityResources.h"

#include <platform/dialog_template.h>

#include "orvanta/lobby/MemoBoxDlg.h"
#include "orvanta/lobby/ReceivedMessageDlg.h"
#include "orvanta/lobby/SelectReplayDlg.h"
#include "orvanta/lobby/SendMemoDlg.h"
#include "orvanta/lobby/SendMessageDlg.h"

void RegisterCommunityDialogs(platform::ResourceModule& module) {
  platform::AddDialogTemplate(module, CMemoBoxDlg::kTemplateId, CMemoBoxDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CReceivedMessageDlg::kTemplateId, CReceivedMessageDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CSendMemoDlg::kTemplateId, CSendMemoDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CSendMessageDlg::kTemplateId, CSendMessageDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CSelectReplayDlg::kTemplateId, CSelectReplayDlg::BuildTemplate());
}
