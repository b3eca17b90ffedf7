#include "client/resources/ClientResources.h"

#include "client/widgets/ProgressStatusBar.h"
#include "client/resources/ClientBitmaps.h"
#include "client/resources/ClientDialogs.h"
#include "client/resources/ClientIds.h"
#include "client/resources/ClientTemplates.h"
#include "platform/app.h"
#include "platform/controlbars.h"
#include "platform/menus.h"

namespace {

using platform::MenuItemTemplate;

MenuItemTemplate Item(const char* text, UINT id) { return MenuItemTemplate{text, id, 0, {}}; }
MenuItemTemplate Separator() { return MenuItemTemplate{}; }
MenuItemTemplate Popup(const char* text, std::vector<MenuItemTemplate> items) {
  return MenuItemTemplate{text, 0, 0, std::move(items)};
}

void RegisterMenu(platform::ResourceModule& module) {
  platform::MenuTemplate menu;
  menu.items = {
      Popup("&File", {Item("&Open...\tCtrl-O", ID_FILE_OPEN), Item("Save &as...", ID_FILE_SAVE_AS), Separator(),
                      Item("&Print...\tCtrl+P", ID_FILE_PRINT), Item("Print Pre&view", ID_FILE_PRINT_PREVIEW),
                      Item("P&rint Setup...", ID_FILE_PRINT_SETUP), Separator(), Item("E&xit", ID_APP_EXIT)}),
      Popup("&View", {Item("&Toolbar", ID_VIEW_TOOLBAR), Item("&Statusbar", ID_VIEW_STATUS_BAR),
                      Item("&Full Screen\tF11", ID_VIEW_FULLSCREEN), Item("View &Change", ID_VIEW_CHANGE),
                      Item("C&oordinate", ID_VIEW_COORDINATE), Item("&Buttonbar", ID_VIEW_BUTTONBAR)}),
      Popup("&Etc", {Item("&Voice Commentary", ID_VOICE_COMMENTARY), Item("&Auto View", ID_AUTO_VIEW),
                     Item("&User Move", ID_USER_MOVE), Item("Game &Diagram", ID_GAME_DIAGRAM),
                     Item("&Sequence", ID_SEQUENCE), Item("Game &Info", ID_GAME_INFO), Separator(),
                     Item("Delay &Time Setup", ID_DELAY_SETUP), Separator(), Item("&Connect", ID_CONNECT),
                     Item("Dis&connect", ID_DISCONNECT), Item("Con&fig Setup", ID_CONFIG_SETUP)}),
      Popup("&Move", {Item("&Beginning Move", ID_MOVE_FIRST), Item("&Previous Move", ID_MOVE_PREV),
                      Item("&Next Move", ID_MOVE_NEXT), Item("&Ending Move", ID_MOVE_LAST)}),
      Popup("&Help", {Item("Client &Information", ID_APP_ABOUT), Item("&Help", ID_HELP)}),
  };
  platform::AddMenuResource(module, IDR_MAINFRAME, std::move(menu));
  platform::AcceleratorTemplate keys;
  keys.entries = {
      ACCEL{FVIRTKEY | FCONTROL, 'O', static_cast<WORD>(ID_FILE_OPEN)},
      ACCEL{FVIRTKEY | FCONTROL, 'P', static_cast<WORD>(ID_FILE_PRINT)},
      ACCEL{FVIRTKEY, static_cast<WORD>(VK_F11), static_cast<WORD>(ID_VIEW_FULLSCREEN)},
  };
  platform::AddAcceleratorResource(module, IDR_MAINFRAME, std::move(keys));
  platform::ToolBarTemplate tools;
  tools.items = {ID_FILE_OPEN, ID_FILE_SAVE_AS, ID_FILE_PRINT, ID_SEPARATOR, ID_MOVE_FIRST, ID_MOVE_PREV,
                 ID_MOVE_NEXT, ID_MOVE_LAST, ID_SEPARATOR, ID_HELP};
  platform::AddToolBarResource(module, IDR_MAINFRAME, std::move(tools));
}

void RegisterStrings(platform::ResourceModule& module) {
  module.AddString(IDR_MAINFRAME, "Ondrivo Client\n\nClient\n\n\nClient.Document\nClient Document");
  module.AddString(ID_INDICATOR_PROGRESS, Cp949("진행수 : @@@"));
  module.AddString(ID_INDICATOR_NEXTSTONE, "@");
}

}  // namespace

BOOL RegisterClientResources(HINSTANCE instance) {
  platform::ResourceModule* module = platform::FindResourceModule(instance);
  if (module == nullptr || !RegisterClientDialogs(instance)) return FALSE;
  RegisterClientTemplates(*module);
  RegisterMenu(*module);
  RegisterStrings(*module);
  RegisterClientBitmaps(*module);
  platform::AddIconResource(*module, IDR_MAINFRAME);
  return TRUE;
}
