#include "orvanta/resources/LobbyResources.h"

#include <platform/dialog_template.h>

#include "orvanta/lobby/ChatMacroDlg.h"
#include "orvanta/lobby/NegotiationAskDlg.h"
#include "orvanta/lobby/NegotiationReplyDlg.h"
#include "orvanta/lobby/NoticeDlg.h"
#include "orvanta/lobby/OpenRoomDlg.h"
#include "orvanta/lobby/PasswordDlg.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/lobby/ViewModeDlg.h"

void RegisterLobbyDialogs(platform::ResourceModule& module) {
  platform::AddDialogTemplate(module, CTirvoDListView::kTemplateId, CTirvoDListView::BuildTemplate());
  platform::AddDialogTemplate(module, CNegotiationAskDlg::kTemplateId, CNegotiationAskDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CNegotiationReplyDlg::kTemplateId, CNegotiationReplyDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CPasswordDlg::kTemplateId, CPasswordDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CChatMacroDlg::kTemplateId, CChatMacroDlg::BuildTemplate());
  platform::AddDialogTemplate(module, COpenRoomDlg::kTemplateId, COpenRoomDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CNoticeDlg::kTemplateId, CNoticeDlg::BuildTemplate());
  platform::AddDialogTemplate(module, CViewModeDlg::kTemplateId, CViewModeDlg::BuildTemplate());
}
