#include "orvanta/resources/OrvantaResources.h"

#include <platform/dialog_template.h>
#include <platform/strings.h>

#include "orvanta/app/ConnectDlg.h"
#include "orvanta/resources/CommunityResources.h"
#include "orvanta/resources/LobbyResources.h"
#include "orvanta/resources/MenuBarResources.h"
#include "orvanta/resources/OrvantaBitmaps.h"
#include "orvanta/resources/ReviewButtonImages.h"
#include "orvanta/resources/ReviewResources.h"
#include "orvanta/resources/RoomResources.h"

BOOL RegisterOrvantaResources(HINSTANCE module) {
  platform::ResourceModule* table = platform::FindResourceModule(module);
  if (!table)
    return FALSE;
  RegisterOrvantaDialogs(*table);
  RegisterOrvantaStrings(*table);
  RegisterOrvantaIcons(*table);
  RegisterOrvantaScreens(*table);
  RegisterOrvantaBitmaps(*table);
  RegisterReviewButtonImages(*table);
  RegisterOrvantaMenus(*table);
  return TRUE;
}

void RegisterOrvantaDialogs(platform::ResourceModule& module) {
  platform::AddDialogTemplate(module, CConnectDlg::kTemplateId, CConnectDlg::BuildTemplate());
  RegisterLobbyDialogs(module);
  RegisterRoomDialogs(module);
  RegisterReviewDialogs(module);
  RegisterCommunityDialogs(module);
}

void RegisterOrvantaStrings(platform::ResourceModule& module) {
  module.AddString(IDR_MAINFRAME,
                   Cp949("Orvanta\n\nBaduk\nBaduk파일 (*.sgf)\n.sgf\nOrvanta.Document\nBaduk Document"));
  module.AddString(ID_INDICATOR_CAPS, "CAP");
  module.AddString(ID_INDICATOR_NUM, "NUM");
  module.AddString(ID_INDICATOR_SCRL, "SCRL");
}

void RegisterOrvantaIcons(platform::ResourceModule& module) { platform::AddIconResource(module, IDR_MAINFRAME); }
