#include "client/resources/ClientDialogs.h"

#include "client/app/ConfigDlg.h"
#include "platform/controls.h"
#include "platform/resources.h"

namespace {

platform::DialogItemTemplate Item(const char* className, UINT id, int x, int y, int cx, int cy, DWORD style,
                                  const char* text = "") {
  platform::DialogItemTemplate item;
  item.className = className;
  item.id = id;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  item.style = style | WS_VISIBLE;
  item.text = text;
  return item;
}

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;

}  // namespace

platform::DialogTemplate BuildConfigTemplate() {
  platform::DialogTemplate t;
  t.style = kDialogStyle;
  t.cx = 180;
  t.cy = 86;
  t.caption = "Configuration";
  t.items = {
      Item("Static", CConfigDlg::kAddressLabel, 10, 14, 56, 8, SS_LEFT, "Server IP"),
      Item("SysIPAddress32", CConfigDlg::kAddressCtrl, 70, 11, 100, 14, WS_TABSTOP),
      Item("Static", CConfigDlg::kPortLabel, 10, 34, 56, 8, SS_LEFT, "Server Port"),
      Item("Edit", CConfigDlg::kPortEdit, 70, 31, 44, 14, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      Item("Button", CConfigDlg::kSoundCheck, 70, 50, 60, 10, BS_AUTOCHECKBOX | WS_TABSTOP, "Sound"),
      Item("Button", IDOK, 36, 66, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      Item("Button", IDCANCEL, 94, 66, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL RegisterClientDialogs(HINSTANCE instance) {
  platform::ResourceModule* module = platform::FindResourceModule(instance);
  if (module == nullptr) return FALSE;
  platform::AddDialogTemplate(*module, CConfigDlg::kTemplateId, BuildConfigTemplate());
  return TRUE;
}
