#include "orvanta/resources/RoomResources.h"

#include <platform/dialog_template.h>

#include "orvanta/room/CapturedStonesConfirmDlg.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/room/GotoMoveDlg.h"
#include "orvanta/room/PlayRecordListDlg.h"
#include "orvanta/room/RoomInfoDlg.h"

void RegisterRoomDialogs(platform::ResourceModule& module) {
  platform::AddDialogTemplate(module, CDagukRoomView::kTemplateId, CDagukRoomView::BuildTemplate());
  platform::AddDialogTemplate(module, CRoomInfoDlg::kTemplateId, CRoomInfoDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CPlayRecordListDlg::kTemplateId, CPlayRecordListDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CGotoMoveDlg::kTemplateId, CGotoMoveDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CCapturedStonesConfirmDlg::kTemplateId,
                              CCapturedStonesConfirmDlg::BuildTemplate());
}
