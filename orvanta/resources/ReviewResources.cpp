#include "orvanta/resources/ReviewResources.h"

#include <platform/dialog_template.h>

#include "orvanta/room/GameReviewDlg.h"
#include "orvanta/room/ReviewPlayDlg.h"
#include "orvanta/room/SelfPlayDlg.h"

void RegisterReviewDialogs(platform::ResourceModule& module) {
  platform::AddDialogTemplate(module, CGameReviewDlg::kTemplateId, CGameReviewDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CSelfPlayDlg::kTemplateId, CSelfPlayDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CReviewPlayDlg::kTemplateId, CReviewPlayDlg::BuildTemplate());
}
