#include "client/resources/ClientDialogs.h"

#include "client/app/ConfigDlg.h"
#include "client/resources/BoardDialogs.h"
#include "client/resources/BoardPictures.h"
#include "client/resources/StoneSound.h"
#include "platform/controls.h"
#include "platform/resources.h"

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;

}  // namespace

platform::DialogTemplate BuildConfigTemplate() {
  platform::DialogTemplate t;
  t.style = kDialogStyle;
  t.cx = 180;
  t.cy = 86;
  t.caption = "Configuration";
  t.items = {
      platform::VisibleItem("Static", CConfigDlg::kAddressLabel, 10, 14, 56, 8, SS_LEFT, "Server IP"),
      platform::VisibleItem("SysIPAddress32", CConfigDlg::kAddressCtrl, 70, 11, 100, 14, WS_TABSTOP),
      platform::VisibleItem("Static", CConfigDlg::kPortLabel, 10, 34, 56, 8, SS_LEFT, "Server Port"),
      platform::VisibleItem("Edit", CConfigDlg::kPortEdit, 70, 31, 44, 14, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("Button", CConfigDlg::kSoundCheck, 70, 50, 60, 10, BS_AUTOCHECKBOX | WS_TABSTOP, "Sound"),
      platform::VisibleItem("Button", IDOK, 36, 66, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      platform::VisibleItem("Button", IDCANCEL, 94, 66, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL RegisterClientDialogs(HINSTANCE instance) {
  platform::ResourceModule* module = platform::FindResourceModule(instance);
  if (module == nullptr) return FALSE;
  platform::AddDialogTemplate(*module, CConfigDlg::kTemplateId, BuildConfigTemplate());
  RegisterBoardDialogs(*module);
  RegisterBoardPictures(*module);
  RegisterStoneSound(*module);
  return TRUE;
}
